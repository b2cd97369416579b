// Keyboard use of a window: focus proxies for graphic controls (tab place, the focus mark,
// Enter and Space), the window's tab sequence, and Esc closing a window as its close box does.
#include <string>
#include <vector>

#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class LinksForm : public Form {
 public:
  explicit LinksForm(Application& app) : Form(app, "LinksForm") {
    SetClientSize(300, 200);
    SetColor(clWhite);
    Name.SetBounds(10, 10, 100, 22);
    Link.SetBounds(10, 40, 60, 16);
    Link.SetCaption("Open");
    Picture.SetBounds(10, 70, 40, 24);
    Kind.SetBounds(120, 10, 100, 22);
    Ok.SetBounds(120, 100, 75, 25);
  }
  Edit Name{*this, "Name"};
  Label Link{*this, "Link"};
  Image Picture{*this, "Picture"};
  ComboBox Kind{*this, "Kind"};
  Button Ok{*this, "Ok"};
};

class KeyboardAccessTest : public ToolkitTest {
 protected:
  KeyboardAccessTest() {
    form.Link.OnClick = [this](Control& c) { clicks.push_back(c.Name()); };
    form.Picture.OnClick = [this](Control& c) { clicks.push_back(c.Name()); };
    form.Show();
  }
  // The names of the controls Tab reaches from the first, once round.
  std::vector<std::string> TabWalk(bool forward = true) {
    std::vector<std::string> names;
    WindowedControl* first = NextTabStop(form, nullptr, forward);
    for (WindowedControl* w = first; w;) {
      const FocusProxy* proxy = dynamic_cast<FocusProxy*>(w);
      names.push_back(proxy && proxy->Target() ? proxy->Target()->Name() : w->Name());
      w = NextTabStop(form, w, forward);
      if (w == first) break;
    }
    return names;
  }
  LinksForm form{app};
  std::vector<std::string> clicks;
};

TEST_F(KeyboardAccessTest, AProxyTakesItsControlsPlaceInTheTabOrderAndOnlyWhileTheControlCanBeUsed) {
  FocusProxy link{form.Link};
  FocusProxy picture{form.Picture};
  EXPECT_EQ(TabWalk(), (std::vector<std::string>{"Name", "Link", "Picture", "Kind", "Ok"}));
  EXPECT_EQ(TabWalk(false), (std::vector<std::string>{"Ok", "Kind", "Picture", "Link", "Name"}));
  EXPECT_TRUE(link.Bounds().IsEmpty());  // no area of its own: the control stays what the mouse meets
  form.Link.Hide();
  form.Picture.SetEnabled(false);
  EXPECT_EQ(TabWalk(), (std::vector<std::string>{"Name", "Kind", "Ok"}));
}

TEST_F(KeyboardAccessTest, AControlHiddenOrDisabledWhileItsProxyHasTheFocusTakesTheFocusWithIt) {
  FocusProxy link{form.Link};
  FocusProxy picture{form.Picture};
  link.SetFocus();
  form.Link.Hide();
  EXPECT_EQ(form.ActiveControl(), nullptr);
  picture.SetFocus();
  form.Picture.SetEnabled(false);
  EXPECT_EQ(form.ActiveControl(), nullptr);
}

TEST_F(KeyboardAccessTest, EnterAndSpaceClickTheControlAtTheirReleaseButNotAReleaseWhosePressWentElsewhere) {
  FocusProxy link{form.Link};
  form.Name.SetFocus();
  backend.PressKey(form, kKeyTab);
  ASSERT_EQ(backend.FocusedControl(), &link);
  backend.PressKey(form, kKeyEnter);
  backend.PressKey(form, kKeySpace);
  EXPECT_EQ(clicks, (std::vector<std::string>{"Link", "Link"}));
  link.PeerKeyUp(kKeyEnter, {});  // pressed in another window, released here
  link.PeerKeyDown(kKeySpace, ShiftState{.ctrl = true});
  link.PeerKeyUp(kKeySpace, {});
  link.PeerKeyDown(kKeyEnter, {});
  backend.FocusControl(form.Name);  // the focus went while the key was held
  link.PeerKeyUp(kKeyEnter, {});
  EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(KeyboardAccessTest, TheFocusedProxysControlIsFramedWithDotsInsideItsEdgeAndOnlyThen) {
  FocusProxy picture{form.Picture};
  picture.SetFocusInset(3);
  const Rect inside = form.Picture.Bounds().Inflate(-3, -3);
  auto topLeftDot = [&] { return backend.PaintForm(form).Surface().ColorAt(inside.left, inside.top); };
  EXPECT_EQ(topLeftDot(), clWhite);
  picture.SetFocus();
  EXPECT_EQ(topLeftDot(), clBlack);  // white inverted
  EXPECT_EQ(backend.PaintForm(form).Surface().ColorAt(inside.left + 1, inside.top), clWhite);
  picture.SetFocusInset(-1);  // the control shows its focus itself
  EXPECT_EQ(topLeftDot(), clWhite);
}

TEST_F(KeyboardAccessTest, AProxyOutlivingItsControlDoesNothingAndASecondProxyTakesOver) {
  auto label = std::make_unique<Label>(form, "Late");
  label->OnClick = [this](Control&) { clicks.push_back("Late"); };
  FocusProxy first{*label};
  FocusProxy second{*label};
  EXPECT_EQ(label->KeyboardProxy(), &second);
  EXPECT_EQ(first.Target(), nullptr);
  label.reset();
  EXPECT_EQ(second.Target(), nullptr);
  EXPECT_FALSE(second.CanFocus());
  second.PeerKeyDown(kKeyEnter, {});
  second.PeerKeyUp(kKeyEnter, {});
  EXPECT_TRUE(clicks.empty());
}

TEST_F(KeyboardAccessTest, TheTabSequenceComesFirstAndStopsItLeavesOutFollowInDeclarationOrder) {
  FocusProxy link{form.Link};
  FocusProxy picture{form.Picture};
  form.SetTabSequence({&form.Kind, &form.Picture, &form.Name, &form.Kind, &form.Link});
  EXPECT_EQ(TabWalk(), (std::vector<std::string>{"Kind", "Picture", "Name", "Link", "Ok"}));
  form.Kind.SetEnabled(false);  // a listed stop that cannot be used is passed over
  EXPECT_EQ(TabWalk(), (std::vector<std::string>{"Picture", "Name", "Link", "Ok"}));
  // Tab on the real path follows the sequence too.
  form.Name.SetFocus();
  backend.PressKey(form, kKeyTab);
  EXPECT_EQ(backend.FocusedControl(), &link);
}

TEST_F(KeyboardAccessTest, EscClosesAWindowThatAsksForItWithItsQuestionsButNotAnOpenList) {
  int questions = 0;
  bool allow = false;
  form.OnCloseQuery = [&](Form&, bool& canClose) {
    ++questions;
    canClose = allow;
  };
  form.Name.SetFocus();
  backend.PressKey(form, kKeyEscape);
  EXPECT_EQ(questions, 0);  // not asked for
  form.SetCloseOnEscape(true);
  backend.PressKey(form, kKeyEscape, ShiftState{.shift = true});
  backend.PressKey(form, kKeyEscape, ShiftState{.ctrl = true});
  EXPECT_EQ(questions, 0);
  form.Kind.SetDroppedDown(true);
  form.Kind.SetFocus();
  backend.PressKey(form, kKeyEscape);
  EXPECT_EQ(questions, 0);  // the list's own
  form.Kind.SetDroppedDown(false);
  backend.PressKey(form, kKeyEscape);
  EXPECT_EQ(questions, 1);
  EXPECT_TRUE(form.Visible());  // the question said no
  allow = true;
  form.Name.OnKeyDown = [](Control&, KeyCode& key, ShiftState) { key = 0; };
  form.Name.SetFocus();
  backend.PressKey(form, kKeyEscape);  // swallowed by the control's handler
  EXPECT_EQ(questions, 1);
  form.Kind.SetFocus();
  backend.PressKey(form, kKeyEscape);
  EXPECT_EQ(questions, 2);
  EXPECT_FALSE(form.Visible());
}

TEST_F(KeyboardAccessTest, EscReachesTheWindowAlsoWithoutAFocusedControl) {
  form.SetCloseOnEscape(true);
  ASSERT_EQ(form.ActiveControl(), nullptr);
  backend.PressKey(form, kKeyEscape);
  EXPECT_FALSE(form.Visible());
}

}  // namespace
}  // namespace vm::ui::testing
