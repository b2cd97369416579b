#pragma once
// The controls Tab reaches in a window, once round from the first stop; a focus proxy is named by
// the control it stands for.

#include <string>
#include <vector>

#include "ui/toolkit/toolkit.h"

namespace vm::testing {

inline std::vector<std::string> TabWalk(ui::Form& window, bool forward = true) {
  std::vector<std::string> names;
  ui::WindowedControl* first = ui::NextTabStop(window, nullptr, forward);
  for (ui::WindowedControl* w = first; w;) {
    auto* proxy = dynamic_cast<ui::FocusProxy*>(w);
    names.push_back(proxy && proxy->Target() ? proxy->Target()->Name() : w->Name());
    w = ui::NextTabStop(window, w, forward);
    if (w == first) break;
  }
  return names;
}

}  // namespace vm::testing
