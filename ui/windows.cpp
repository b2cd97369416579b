#include "ui/windows.h"

#include "app/main_form.h"
#include "ui/options/about_form.h"
#include "ui/options/options_form.h"

namespace vm {

WindowKinds AllWindowKinds() {
  WindowKinds kinds{};
  kinds[kOptionsWindow] = [](TForm1& clock) -> std::unique_ptr<ui::Form> { return std::make_unique<TOptF>(clock.App(), clock); };
  kinds[kAboutWindow] = [](TForm1& clock) -> std::unique_ptr<ui::Form> { return std::make_unique<TForm5>(clock.App(), clock); };
  return kinds;
}

}  // namespace vm
