// Keyboard use of a window: focus proxies for graphic controls (tab place, the focus mark,
// Enter and Space), the window's tab sequence, and Esc closing a window as its close box does.
#include <memory>
#include <string>
#include <vector>

#include "support/tab_walk.h"
#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

using vm::testing::TabWalk;
using Names = std::vector<std::string>;

class LinksForm : public Form {
 public:
  explicit LinksForm(Application& app) : Form(app, "LinksForm") {
    SetClientSize(300, 200);
    SetColor(clWhite);
    Name.SetBounds(10, 10, 100, 22);
    Link.SetBounds(10, 40, 60, 16);
    Picture.SetBounds(10, 70, 40, 24);
    Kind.SetBounds(120, 10, 100, 22);
  }
  Edit Name{*this, "Name"};
  Label Link{*this, "Link"};
  Image Picture{*this, "Picture"};
  ComboBox Kind{*this, "Kind"};
  Button Ok{*this, "Ok"};
  FocusProxy LinkFocus{Link};
  FocusProxy PictureFocus{Picture};
};

class KeyboardAccessTest : public ToolkitTest {
 protected:
  KeyboardAccessTest() {
    form.Link.OnClick = [this](Control& c) { clicks.push_back(c.Name()); };
    form.Show();
  }
  LinksForm form{app};
  Names clicks;
};

TEST_F(KeyboardAccessTest, AProxyTakesItsControlsPlaceInTheTabOrderWhileTheControlCanBeUsed) {
  EXPECT_EQ(TabWalk(form), (Names{"Name", "Link", "Picture", "Kind", "Ok"}));  // declared after Ok
  EXPECT_EQ(TabWalk(form, false), (Names{"Ok", "Kind", "Picture", "Link", "Name"}));
  EXPECT_TRUE(form.LinkFocus.Bounds().IsEmpty());  // no area: the mouse still meets the control
  // A control that goes while its proxy has the focus takes the focus with it.
  form.LinkFocus.SetFocus();
  form.Link.Hide();
  EXPECT_EQ(form.ActiveControl(), nullptr);
  form.PictureFocus.SetFocus();
  form.Picture.SetEnabled(false);
  EXPECT_EQ(form.ActiveControl(), nullptr);
  EXPECT_EQ(TabWalk(form), (Names{"Name", "Kind", "Ok"}));
}

TEST_F(KeyboardAccessTest, EnterAndSpaceClickAtTheirReleaseButNotAReleaseWhosePressWentElsewhere) {
  form.Name.SetFocus();
  backend.PressKey(form, kKeyTab);
  ASSERT_EQ(backend.FocusedControl(), &form.LinkFocus);
  backend.PressKey(form, kKeyEnter);
  backend.PressKey(form, kKeySpace);
  EXPECT_EQ(clicks, (Names{"Link", "Link"}));
  form.LinkFocus.PeerKeyUp(kKeyEnter, {});  // pressed in another window, released here
  form.LinkFocus.PeerKeyDown(kKeySpace, ShiftState{.ctrl = true});
  form.LinkFocus.PeerKeyUp(kKeySpace, {});
  form.LinkFocus.PeerKeyDown(kKeyEnter, {});
  backend.FocusControl(form.Name);  // the focus went while the key was held
  form.LinkFocus.PeerKeyUp(kKeyEnter, {});
  EXPECT_EQ(clicks.size(), 2u);
}

// A window that holds its focus windows back until it is on the screen.
class HeldLinksForm : public LinksForm {
 public:
  explicit HeldLinksForm(Application& app) : LinksForm(app) {
    Box.SetBounds(150, 60, 100, 60);
    Inner.SetBounds(5, 5, 40, 16);
    HoldFocusWindows();
  }
  Panel Box{*this, "Box"};
  Label Inner{Box, "Inner"};
  FocusProxy InnerFocus{Inner};
};

TEST_F(KeyboardAccessTest, HeldFocusWindowsComeWhenTheWindowAsksOrAProxyTakesTheFocusFirst) {
  HeldLinksForm held(app);
  held.Link.OnClick = [this](Control& c) { clicks.push_back(c.Name()); };
  held.Show();
  ASSERT_NE(held.Name.Peer(), 0u);  // only the focus windows wait
  EXPECT_EQ(held.LinkFocus.Peer(), 0u);
  EXPECT_EQ(held.InnerFocus.Peer(), 0u);
  // Tab before they are made: the proxy gets its window with the focus, and then the keys.
  held.Name.SetFocus();
  backend.PressKey(held, kKeyTab);
  ASSERT_EQ(held.ActiveControl(), &held.LinkFocus);
  EXPECT_NE(held.LinkFocus.Peer(), 0u);
  EXPECT_EQ(backend.FocusedControl(), &held.LinkFocus);
  backend.PressKey(held, kKeyEnter);
  EXPECT_EQ(clicks, (Names{"Link"}));
  EXPECT_EQ(held.PictureFocus.Peer(), 0u);
  held.MakeFocusWindows();
  EXPECT_NE(held.PictureFocus.Peer(), 0u);
  EXPECT_NE(held.InnerFocus.Peer(), 0u);  // inside a panel too
  EXPECT_EQ(TabWalk(held), (Names{"Name", "Link", "Picture", "Kind", "Ok", "Inner"}));
}

TEST_F(KeyboardAccessTest, TheFocusedProxysControlIsFramedWithDotsInsideItsEdgeAndOnlyThen) {
  form.PictureFocus.SetFocusInset(3);
  const Rect inside = form.Picture.Bounds().Inflate(-3, -3);
  auto dot = [&](int dx) { return backend.PaintForm(form).Surface().ColorAt(inside.left + dx, inside.top); };
  EXPECT_EQ(dot(0), clWhite);
  form.PictureFocus.SetFocus();
  EXPECT_EQ(dot(0), clBlack);  // white inverted
  EXPECT_EQ(dot(1), clWhite);
  form.PictureFocus.SetFocusInset(-1);  // the control shows its focus itself
  EXPECT_EQ(dot(0), clWhite);
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
  form.SetTabSequence({&form.Kind, &form.Picture, &form.Name, &form.Kind, &form.Link});
  EXPECT_EQ(TabWalk(form), (Names{"Kind", "Picture", "Name", "Link", "Ok"}));
  form.Kind.SetEnabled(false);  // a listed stop that cannot be used is passed over
  EXPECT_EQ(TabWalk(form), (Names{"Picture", "Name", "Link", "Ok"}));
  form.Name.SetFocus();
  backend.PressKey(form, kKeyTab);  // the real path follows it too
  EXPECT_EQ(backend.FocusedControl(), &form.LinkFocus);
}

TEST_F(KeyboardAccessTest, EscClosesAWindowThatAsksForItWithItsQuestionsButNotAnOpenList) {
  int questions = 0;
  bool allow = false;
  form.OnCloseQuery = [&](Form&, bool& canClose) {
    ++questions;
    canClose = allow;
  };
  backend.PressKey(form, kKeyEscape);  // not asked for
  form.SetCloseOnEscape(true);
  form.Kind.SetFocus();
  backend.PressKey(form, kKeyEscape, ShiftState{.shift = true});
  form.Kind.SetDroppedDown(true);
  backend.PressKey(form, kKeyEscape);  // the list's own
  EXPECT_EQ(questions, 0);
  form.Kind.SetDroppedDown(false);
  backend.PressKey(form, kKeyEscape);
  EXPECT_EQ(questions, 1);
  EXPECT_TRUE(form.Visible());  // the question said no
  allow = true;
  form.Name.OnKeyDown = [](Control&, KeyCode& key, ShiftState) { key = 0; };
  form.Name.SetFocus();
  backend.PressKey(form, kKeyEscape);  // swallowed by the control's handler
  EXPECT_EQ(questions, 1);
  backend.FocusControl(form.Kind);
  form.Kind.SetVisible(false);  // no control has the focus: the window still hears Esc
  backend.PressKey(form, kKeyEscape);
  EXPECT_EQ(questions, 2);
  EXPECT_FALSE(form.Visible());
}

}  // namespace
}  // namespace vm::ui::testing
