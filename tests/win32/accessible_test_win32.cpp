// Screen readers' view of a real window through oleacc, as a reader asks for it: the form's
// client object, its children with names, roles and places, a themed button found through its
// focus window, a grid's rows and cells, the standard controls' own objects, the default
// action, and an object kept after its control went.

#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/toolkit_support_win32.h"

#include "theme/dbut.h"
#include "ui/toolkit/win32/accessible_win32.h"

namespace vm::ui::testing {
namespace {

class ReaderForm : public Form {
 public:
  explicit ReaderForm(Application& app) : Form(app, "ReaderForm") {
    SetBounds(100, 100, 360, 260);
    SetCaption("Reader test");
    Heading.SetBounds(8, 8, 120, 16);
    Heading.SetCaption("Alarm was set to:");
    Stop.SetBounds(8, 30, 41, 25);
    Stop.SetHint("Stop");
    Name.SetBounds(60, 30, 120, 22);
    Table.SetBounds(8, 70, 300, 100);
    Table.SetColCount(2);
    Table.SetRowCount(3);
    Table.SetDefaultRowHeight(20);
    Table.SetColWidth(0, 120);
    Table.SetColWidth(1, 150);
    Table.SetCell(0, 0, "Date");
    Table.SetCell(1, 0, "Message");
    Table.SetCell(0, 1, "1 Mar 2027");
    Table.SetCell(1, 1, "Wake up");
  }
  Label Heading{*this, "Heading"};
  Image Stop{*this, "Stop"};
  Edit Name{*this, "Name"};
  StringGrid Table{*this, "Table"};
};

// A VARIANT that clears itself.
struct Var {
  Var() { VariantInit(&v); }
  ~Var() { VariantClear(&v); }
  VARIANT v;
};

VARIANT Self() {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

std::string NameOf(IAccessible* object, VARIANT child = Self()) {
  BSTR name = nullptr;
  if (object->get_accName(child, &name) != S_OK || !name) return {};
  std::string text = win32::Narrow(name);
  SysFreeString(name);
  return text;
}

long RoleOf(IAccessible* object, VARIANT child = Self()) {
  Var role;
  if (FAILED(object->get_accRole(child, &role.v)) || role.v.vt != VT_I4) return -1;
  return role.v.lVal;
}

long StateOf(IAccessible* object, VARIANT child = Self()) {
  Var state;
  if (FAILED(object->get_accState(child, &state.v)) || state.v.vt != VT_I4) return -1;
  return state.v.lVal;
}

// The children as objects (simple elements are not used by our objects).
std::vector<IAccessible*> Children(IAccessible* parent) {
  long count = 0;
  parent->get_accChildCount(&count);
  std::vector<VARIANT> raw(static_cast<std::size_t>(count));
  long got = 0;
  std::vector<IAccessible*> out;
  if (count == 0 || FAILED(AccessibleChildren(parent, 0, count, raw.data(), &got))) return out;
  for (long i = 0; i < got; ++i) {
    IAccessible* child = nullptr;
    if (raw[i].vt == VT_DISPATCH && raw[i].pdispVal)
      raw[i].pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child));
    VariantClear(&raw[i]);
    out.push_back(child);
  }
  return out;
}

void ReleaseAll(std::vector<IAccessible*>& objects) {
  for (IAccessible* o : objects)
    if (o) o->Release();
  objects.clear();
}

class AccessibleWin32Test : public Win32ToolkitTest {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    frames.SetMasked(false);
    for (int f = 0; f < 3; ++f) frames.Add(Bitmap(20, 23, 0xFF404040u));
    stop = std::make_unique<theme::DBut>(form.Stop, form, nullptr, frames);
    stop->SetCaption("X");
    stop->DrawFrame(theme::DBut::kFrameNormal);
    form.Stop.OnClick = [this](Control&) { ++clicks; };
    form.Show();
    PumpFor(50);
  }
  void TearDown() override {
    ReleaseAll(children);
    if (client) client->Release();
    stop.reset();
  }
  IAccessible* ClientOf(HWND hwnd) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))))
      return nullptr;
    return object;
  }
  bool OurObjects() {
    client = ClientOf(Hwnd(form));
    if (!client) return false;
    children = Children(client);
    return true;
  }

  ReaderForm form{app};
  ImageList frames{20, 23};
  std::unique_ptr<theme::DBut> stop;
  int clicks = 0;
  IAccessible* client = nullptr;
  std::vector<IAccessible*> children;
};

TEST_F(AccessibleWin32Test, TheFormsChildrenCarryTheirNamesRolesAndPlaces) {
  ASSERT_TRUE(OurObjects()) << "oleacc gave no object for the form's client area";
  EXPECT_EQ(NameOf(client), "Reader test");
  EXPECT_EQ(RoleOf(client), ROLE_SYSTEM_CLIENT);
  ASSERT_EQ(children.size(), 4u);
  for (IAccessible* c : children) ASSERT_NE(c, nullptr);
  EXPECT_EQ(NameOf(children[0]), "Alarm was set to:");
  EXPECT_EQ(RoleOf(children[0]), ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(NameOf(children[1]), "Stop");  // the symbol "X" is no name: the hint is
  EXPECT_EQ(RoleOf(children[1]), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(StateOf(children[1]) & STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_FOCUSABLE);
  // The edit is the system's own object of its window.
  HWND edit = nullptr;
  EXPECT_EQ(WindowFromAccessibleObject(children[2], &edit), S_OK);
  EXPECT_EQ(edit, Win32Backend::WindowOf(form.Name.Peer()));
  EXPECT_EQ(RoleOf(children[3]), ROLE_SYSTEM_TABLE);
  // Places on the screen, in device pixels.
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(children[1]->accLocation(&left, &top, &width, &height, Self()), S_OK);
  POINT corner{ToDevice(8, Dpi(form)), ToDevice(30, Dpi(form))};
  ClientToScreen(Hwnd(form), &corner);
  EXPECT_EQ(left, corner.x);
  EXPECT_EQ(top, corner.y);
  EXPECT_EQ(width, ToDevice(41, Dpi(form)));
  // Each child names the form's client as its parent.
  IDispatch* parent = nullptr;
  ASSERT_EQ(children[0]->get_accParent(&parent), S_OK);
  IAccessible* parentObject = nullptr;
  parent->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&parentObject));
  parent->Release();
  ASSERT_NE(parentObject, nullptr);
  EXPECT_EQ(NameOf(parentObject), "Reader test");
  parentObject->Release();
}

TEST_F(AccessibleWin32Test, TheButtonsFocusWindowAnswersForTheButtonAndTheFocusIsFound) {
  IAccessible* button = ClientOf(Win32Backend::WindowOf(stop->FocusWindow().Peer()));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(NameOf(button), "Stop");
  EXPECT_EQ(RoleOf(button), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(StateOf(button) & STATE_SYSTEM_FOCUSED, 0);
  stop->FocusWindow().SetFocus();
  PumpFor(20);
  EXPECT_EQ(StateOf(button) & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);
  button->Release();
  ASSERT_TRUE(OurObjects());
  Var focus;
  ASSERT_EQ(client->get_accFocus(&focus.v), S_OK);
  ASSERT_EQ(focus.v.vt, VT_DISPATCH);
  IAccessible* focused = nullptr;
  focus.v.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&focused));
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(NameOf(focused), "Stop");
  focused->Release();
}

TEST_F(AccessibleWin32Test, TheGridShowsRowsAndCellsAndACellIsReachedByTheIdOfAFocusEvent) {
  ASSERT_TRUE(OurObjects());
  std::vector<IAccessible*> rows = Children(children[3]);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(RoleOf(rows[1]), ROLE_SYSTEM_ROW);
  EXPECT_EQ(NameOf(rows[1]), "1 Mar 2027, Wake up");
  std::vector<IAccessible*> cells = Children(rows[1]);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(RoleOf(cells[1]), ROLE_SYSTEM_CELL);
  EXPECT_EQ(NameOf(cells[1]), "Wake up");
  ReleaseAll(cells);
  ReleaseAll(rows);
  // The id a focus event on the grid's window names (row 1, column 1).
  VARIANT id;
  id.vt = VT_I4;
  id.lVal = win32::ItemChildId(1, 1);
  EXPECT_EQ(NameOf(children[3], id), "Wake up");
  EXPECT_EQ(RoleOf(children[3], id), ROLE_SYSTEM_CELL);
  IDispatch* cell = nullptr;
  ASSERT_EQ(children[3]->get_accChild(id, &cell), S_OK);
  cell->Release();
}

TEST_F(AccessibleWin32Test, TheDefaultActionClicksFromTheMessageQueueAndAnObjectOutlivingItsControlSaysSo) {
  auto late = std::make_unique<Label>(form, "Late");
  late->SetCaption("Cancel");
  late->SetBounds(200, 8, 60, 16);
  ASSERT_TRUE(OurObjects());
  ASSERT_EQ(children.size(), 5u);
  ASSERT_EQ(children[1]->accDoDefaultAction(Self()), S_OK);
  EXPECT_EQ(clicks, 0);  // not inside the reader's call
  EXPECT_TRUE(PumpUntil([this] { return clicks == 1; }, 1000));
  EXPECT_EQ(children[0]->accDoDefaultAction(Self()), DISP_E_MEMBERNOTFOUND);  // a text has none
  IAccessible* cancel = children[4];
  EXPECT_EQ(NameOf(cancel), "Cancel");
  late.reset();  // gone, while the reader still holds its object
  BSTR name = nullptr;
  EXPECT_EQ(cancel->get_accName(Self(), &name), RPC_E_DISCONNECTED);
  long count = 0;
  client->get_accChildCount(&count);
  EXPECT_EQ(count, 4);
}

}  // namespace
}  // namespace vm::ui::testing
