// Screen readers' view of a real window through oleacc: the form's client object, its children
// with names, roles and places, a grid's cells, the standard controls' own objects, the default
// action, and an object kept past its control.

#include "win32/accessible_support_win32.h"

#include "ui/toolkit/win32/accessible_win32.h"

namespace vm::ui::testing {
namespace {

using AccessibleWin32Test = AccessibleWin32Fixture;

TEST_F(AccessibleWin32Test, TheFormsChildrenCarryTheirNamesRolesAndPlacesAndTheEditIsTheSystems) {
  EXPECT_EQ(NameOf(client), "Reader test");
  ASSERT_EQ(children.size(), 4u);
  for (IAccessible* c : children) ASSERT_NE(c, nullptr);
  EXPECT_EQ(NameOf(children[0]), "Alarm was set to:");
  EXPECT_EQ(AskNumber(children[0], false), ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(NameOf(children[1]), "Stop");  // the symbol "X" is no name: the hint is
  EXPECT_EQ(AskNumber(children[1], false), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(AskNumber(children[3], false), ROLE_SYSTEM_TABLE);
  HWND edit = nullptr;
  EXPECT_EQ(WindowFromAccessibleObject(children[2], &edit), S_OK);
  EXPECT_EQ(edit, Win32Backend::WindowOf(form.Name.Peer()));
  // The button's place on the screen in device pixels, and its parent the form's client.
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(children[1]->accLocation(&left, &top, &width, &height, Id()), S_OK);
  POINT corner{ToDevice(8, Dpi(form)), ToDevice(30, Dpi(form))};
  ClientToScreen(Hwnd(form), &corner);
  EXPECT_EQ(std::vector<long>({left, top, width}), std::vector<long>({corner.x, corner.y, ToDevice(41, Dpi(form))}));
  IDispatch* parent = nullptr;
  ASSERT_EQ(children[0]->get_accParent(&parent), S_OK);
  IAccessible* up = AsAccessible(parent);
  ASSERT_NE(up, nullptr);
  EXPECT_EQ(NameOf(up), "Reader test");
  up->Release();
}

TEST_F(AccessibleWin32Test, TheGridsCellsAreReachedAsChildrenAndByTheIdAFocusEventNames) {
  std::vector<IAccessible*> rows = Children(children[3]);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(AskNumber(rows[1], false), ROLE_SYSTEM_ROW);
  EXPECT_EQ(NameOf(rows[1]), "1 Mar 2027, Wake up");
  for (IAccessible* r : rows) r->Release();
  const VARIANT cell = Id(win32::ItemChildId(1, 1));  // row 1, column 1
  EXPECT_EQ(NameOf(children[3], cell), "Wake up");
  EXPECT_EQ(AskNumber(children[3], false, cell), ROLE_SYSTEM_CELL);
  IDispatch* object = nullptr;
  ASSERT_EQ(children[3]->get_accChild(cell, &object), S_OK);
  object->Release();
}

TEST_F(AccessibleWin32Test, TheDefaultActionClicksFromTheMessageQueueAndAnObjectOutlivingItsControlSaysSo) {
  ASSERT_EQ(children[1]->accDoDefaultAction(Id()), S_OK);
  EXPECT_EQ(clicks, 0);  // not inside the reader's call
  EXPECT_TRUE(PumpUntil([this] { return clicks == 1; }, 1000));
  EXPECT_EQ(children[0]->accDoDefaultAction(Id()), DISP_E_MEMBERNOTFOUND);  // a text has none
  auto late = std::make_unique<Label>(form, "Late");
  late->SetCaption("Cancel");
  std::vector<IAccessible*> now = Children(client);
  ASSERT_EQ(now.size(), 5u);
  EXPECT_EQ(NameOf(now[4]), "Cancel");
  late.reset();  // gone, while the reader still holds its object
  BSTR name = nullptr;
  EXPECT_EQ(now[4]->get_accName(Id(), &name), RPC_E_DISCONNECTED);
  for (IAccessible* c : now) c->Release();
}

}  // namespace
}  // namespace vm::ui::testing
