// The Win32 peers of the control kinds: a class derived from a kind gets its base kind's
// native window, a class without a peer is refused by name, and a container's window leaves
// its children's windows where the controls put them.

#include <stdexcept>
#include <string>

#include "toolkit_support_win32.h"

namespace vm::ui::testing {
namespace {

class Gadget : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  static constexpr ControlClass kClass{"Gadget"};
  const ControlClass& PeerClass() const override { return kClass; }
};

class RoundBox : public CheckBox {
 public:
  using CheckBox::CheckBox;
};

class PeersForm : public Form {
 public:
  explicit PeersForm(Application& app) : Form(app, "PeersForm") {
    SetBounds(100, 100, 400, 300);
    Box.SetBounds(8, 8, 120, 20);
    Box.SetCaption("Round");
    Holder.SetBounds(8, 40, 200, 120);
    Inner.SetBounds(10, 10, 80, 22);
    Other.SetBounds(10, 40, 80, 22);
  }
  RoundBox Box{*this, "Box"};
  Panel Holder{*this, "Holder"};
  Edit Inner{Holder, "Inner"};
  Button Other{Holder, "Other"};
};

class ControlPeersWin32Test : public Win32ToolkitTest {
 protected:
  static HWND Of(const Control& c) { return Win32Backend::WindowOf(c.Peer()); }
  static std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
  }
  // The window's bounds in its parent's client coordinates.
  static RECT PlaceOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

TEST_F(ControlPeersWin32Test, ADerivedClassGetsItsBaseKindsNativeWindow) {
  PeersForm form(app);
  form.Show();
  PumpFor(50);
  HWND box = Of(form.Box);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ClassOf(box), L"Button");
  form.Box.SetChecked(true);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(box, BM_CLICK, 0, 0);
  PumpFor(20);
  EXPECT_FALSE(form.Box.Checked());
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(ClassOf(Of(form.Holder)), L"VemtaroControl");
}

TEST_F(ControlPeersWin32Test, AKindWithoutPeerIsRefusedByName) {
  PeersForm form(app);
  Gadget gadget(form, "Gizmo");
  try {
    form.Show();
    FAIL() << "a control without a peer was shown";
  } catch (const ProgramFault& e) {
    EXPECT_NE(std::string(e.what()).find("'Gadget'"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("'Gizmo'"), std::string::npos) << e.what();
  }
  EXPECT_EQ(gadget.Peer(), 0u);
  EXPECT_NE(Of(form.Box), nullptr);  // the windows made before it stay
}

TEST_F(ControlPeersWin32Test, ResizingAPanelLeavesItsChildWindowsInPlace) {
  PeersForm form(app);
  form.Show();
  PumpFor(50);
  const RECT inner = PlaceOf(Of(form.Inner));
  const RECT other = PlaceOf(Of(form.Other));
  form.Holder.SetBounds(8, 40, 300, 200);
  PumpFor(50);
  const RECT innerNow = PlaceOf(Of(form.Inner));
  const RECT otherNow = PlaceOf(Of(form.Other));
  EXPECT_TRUE(EqualRect(&inner, &innerNow)) << innerNow.left << "," << innerNow.top << " " << innerNow.right << ","
                                            << innerNow.bottom;
  EXPECT_TRUE(EqualRect(&other, &otherNow));
}

}  // namespace
}  // namespace vm::ui::testing
