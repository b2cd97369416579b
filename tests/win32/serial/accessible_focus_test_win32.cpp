// A themed button's focus window answers screen readers for the button, and the form names it
// as the focused object once it has the focus. The focus is the desktop's: this runs alone.

#include "win32/accessible_support_win32.h"

namespace vm::ui::testing {
namespace {

using AccessibleFocusWin32Test = AccessibleWin32Fixture;

TEST_F(AccessibleFocusWin32Test, TheButtonsFocusWindowAnswersForTheButtonWhichTheFormNamesAsFocused) {
  IAccessible* button = ClientOf(Win32Backend::WindowOf(stop->FocusWindow().Peer()));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(NameOf(button), "Stop");
  EXPECT_EQ(AskNumber(button, true) & STATE_SYSTEM_FOCUSED, 0);
  stop->FocusWindow().SetFocus();
  PumpFor(20);
  EXPECT_EQ(AskNumber(button, true) & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);
  button->Release();
  VARIANT focus;
  VariantInit(&focus);
  ASSERT_EQ(client->get_accFocus(&focus), S_OK);
  ASSERT_EQ(focus.vt, VT_DISPATCH);
  IAccessible* focused = AsAccessible(focus.pdispVal);
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(NameOf(focused), "Stop");
  focused->Release();
}

}  // namespace
}  // namespace vm::ui::testing
