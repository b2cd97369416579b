#pragma once
// A headless backend with an application on it, shared by the toolkit tests.

#include <gtest/gtest.h>

#include "ui/toolkit/headless/headless_backend.h"
#include "ui/toolkit/toolkit.h"

namespace vm::ui::testing {

class ToolkitTest : public ::testing::Test {
 protected:
  HeadlessBackend backend;
  Application app{backend};
};

// The fixed metrics of the headless backend: n characters of a font |h| high.
inline int FixedWidth(int chars, int height) { return (chars * (height < 0 ? -height : height) * 6 + 5) / 10; }

}  // namespace vm::ui::testing
