// The windowed controls through the headless backend: the user's path (field first, then the
// event) against the code's path (no event), focus and key preview.
#include <string>
#include <vector>

#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class EditorForm : public Form {
 public:
  explicit EditorForm(Application& app) : Form(app, "EditorForm") {
    SetClientSize(400, 300);
    Check.SetBounds(10, 10, 100, 20);
    Name.SetBounds(10, 40, 100, 22);
    Count.SetBounds(10, 70, 40, 22);
    Spin.SetBounds(50, 70, 16, 22);
    Kind.SetBounds(10, 100, 120, 22);
    Ok.SetBounds(10, 130, 75, 25);
  }
  CheckBox Check{*this, "Check"};
  Edit Name{*this, "Name"};
  MaskEdit Count{*this, "Count"};
  UpDown Spin{*this, "Spin"};
  ComboBox Kind{*this, "Kind"};
  Button Ok{*this, "Ok"};
  Panel Box{*this, "Box"};
  Edit Inner{Box, "Inner"};
};

class ControlsTest : public ToolkitTest {
 protected:
  ControlsTest() { form.Show(); }
  EditorForm form{app};
};

TEST_F(ControlsTest, CheckBoxClickUpdatesCheckedBeforeOnClickAndCodeFiresNothing) {
  std::vector<bool> seen;
  form.Check.OnClick = [&](Control&) { seen.push_back(form.Check.Checked()); };
  form.Check.SetChecked(true);  // loading a record: no user change
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(backend.ControlPeer(form.Check)->checked);

  backend.ClickControl(form.Check);
  backend.ClickControl(form.Check);
  EXPECT_EQ(seen, (std::vector<bool>{false, true}));
  EXPECT_TRUE(backend.ControlPeer(form.Check)->checked);
}

TEST_F(ControlsTest, CheckBoxMouseClickReportsThePressTheClickAndTheReleaseOnce) {
  std::vector<std::string> seen;
  form.Check.OnMouseDown = [&](Control&, MouseButton, ShiftState, int, int) {
    seen.push_back(form.Check.Checked() ? "down:on" : "down:off");
  };
  form.Check.OnClick = [&](Control&) { seen.push_back(form.Check.Checked() ? "click:on" : "click:off"); };
  form.Check.OnMouseUp = [&](Control&, MouseButton, ShiftState, int, int) { seen.push_back("up"); };
  backend.MouseClickCheckBox(form.Check);
  EXPECT_EQ(seen, (std::vector<std::string>{"down:off", "click:on", "up"}));
  EXPECT_EQ(backend.FocusedControl(), &form.Check);
  // A press alone neither toggles nor clicks: the click is the system's own report.
  seen.clear();
  backend.MouseDownOn(form.Check, {2, 2});
  backend.MouseUpOn(form.Check, {2, 2});
  EXPECT_EQ(seen, (std::vector<std::string>{"down:on", "up"}));
  EXPECT_TRUE(form.Check.Checked());
}

TEST_F(ControlsTest, CheckBoxHandlerThatTogglesBackDoesNotReenter) {
  int calls = 0;
  form.Check.OnClick = [&](Control&) {
    ++calls;
    form.Check.PeerClicked();  // a window echoing the change from inside the handler
  };
  backend.ClickControl(form.Check);
  EXPECT_EQ(calls, 1);
}

TEST_F(ControlsTest, DisabledOrHiddenControlsCannotBeReachedByTheUser) {
  form.Check.SetEnabled(false);
  EXPECT_THROW(backend.ClickControl(form.Check), std::logic_error);
  form.Box.Hide();
  EXPECT_THROW(backend.TypeText(form.Inner, "x"), std::logic_error);
}

TEST_F(ControlsTest, TypingIntoAnEditChangesTextPerCharacterAndSetTextIsSilent) {
  std::vector<std::string> seen;
  form.Name.OnChange = [&](Control&) { seen.push_back(form.Name.Text()); };
  form.Name.SetText("Al");
  EXPECT_TRUE(seen.empty());
  backend.TypeText(form.Name, "ex\b");
  EXPECT_EQ(seen, (std::vector<std::string>{"Ale", "Alex", "Ale"}));
  EXPECT_EQ(backend.ControlPeer(form.Name)->text, "Ale");
  // The typed text is never pushed back to the window (that would move its caret): only the
  // SetText above reached it.
  EXPECT_EQ(backend.ControlPeer(form.Name)->Pushes("TextChanged"), 1);
}

TEST_F(ControlsTest, EditMaxLengthCutsWholeCharactersAndReadOnlyRefusesTyping) {
  form.Name.SetMaxLength(3);
  int changes = 0;
  form.Name.OnChange = [&](Control&) { ++changes; };
  backend.TypeText(form.Name, "ab\xC3\xA9z");  // a, b, e-acute, z
  EXPECT_EQ(form.Name.Text(), "ab\xC3\xA9");
  EXPECT_EQ(changes, 3);  // the fourth character changed nothing

  form.Name.SetText("");
  form.Name.PeerTextChanged("wxyz");  // pasted: cut, and the window shows the cut text
  EXPECT_EQ(form.Name.Text(), "wxy");
  EXPECT_EQ(backend.ControlPeer(form.Name)->text, "wxy");
  form.Name.SetText("ab");

  form.Name.SetMaxLength(1);  // the text set before the limit is cut too
  EXPECT_EQ(form.Name.Text(), "a");
  form.Name.SetReadOnly(true);
  backend.TypeText(form.Name, "q");
  EXPECT_EQ(form.Name.Text(), "a");
}

TEST_F(ControlsTest, KeyPressHandlerSwallowsCharactersAndKeyPreviewRunsFirst) {
  std::vector<std::string> order;
  form.SetKeyPreview(true);
  form.OnKeyPress = [&](Control&, char32_t& ch) {
    order.push_back("form");
    if (ch == 'x') ch = 0;
  };
  form.Name.OnKeyPress = [&](Control&, char32_t&) { order.push_back("edit"); };
  backend.TypeText(form.Name, "ax");
  EXPECT_EQ(order, (std::vector<std::string>{"form", "edit", "form"}));
  EXPECT_EQ(form.Name.Text(), "a");
}

TEST_F(ControlsTest, MaskEditTakesDigitsOnlyUpToTheMaskLength) {
  form.Count.SetEditMask("!999;1; ");
  EXPECT_EQ(form.Count.MaxLength(), 3);
  backend.TypeText(form.Count, "1a2345");
  EXPECT_EQ(form.Count.Text(), "123");
  EXPECT_EQ(backend.ControlPeer(form.Count)->text, "123");  // the refused text was put back
}

TEST_F(ControlsTest, UpDownWrapsOrStopsAtTheEndsAndReportsTheDirection) {
  form.Spin.SetRange(1, 3);
  form.Spin.SetAssociate(&form.Count);
  form.Spin.SetPosition(3);
  std::vector<std::pair<int, UpDownDirection>> asked;
  std::vector<UpDownButton> clicked;
  form.Spin.OnChangingEx = [&](Control&, bool&, int value, UpDownDirection d) { asked.emplace_back(value, d); };
  form.Spin.OnClick = [&](Control&, UpDownButton b) { clicked.push_back(b); };

  backend.Spin(form.Spin, UpDownDirection::Up);  // at the end, no wrap: nothing happens
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(form.Spin.Position(), 3);

  form.Spin.SetWrap(true);
  backend.Spin(form.Spin, UpDownDirection::Up);
  EXPECT_EQ(form.Spin.Position(), 1);
  backend.Spin(form.Spin, UpDownDirection::Down);
  EXPECT_EQ(form.Spin.Position(), 3);
  EXPECT_EQ(asked, (std::vector<std::pair<int, UpDownDirection>>{{1, UpDownDirection::Up}, {3, UpDownDirection::Down}}));
  EXPECT_EQ(clicked, (std::vector<UpDownButton>{UpDownButton::Next, UpDownButton::Previous}));
  EXPECT_EQ(form.Count.Text(), "3");
}

TEST_F(ControlsTest, UpDownChangeRefusedKeepsPositionAndNoClick) {
  form.Spin.SetRange(0, 10);
  form.Spin.OnChangingEx = [](Control&, bool& allow, int value, UpDownDirection) { allow = value <= 1; };
  int clicks = 0;
  form.Spin.OnClick = [&](Control&, UpDownButton) { ++clicks; };
  backend.Spin(form.Spin, UpDownDirection::Up);
  backend.Spin(form.Spin, UpDownDirection::Up);
  EXPECT_EQ(form.Spin.Position(), 1);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, ComboBoxChoiceFiresChangeOnceAndCodeIsSilent) {
  form.Kind.SetItems({"Once", "Daily", "Weekly"});
  std::vector<std::string> seen;
  int drops = 0;
  form.Kind.OnChange = [&](Control&) { seen.push_back(form.Kind.Text()); };
  form.Kind.OnDropDown = [&](Control&) { ++drops; };
  form.Kind.SetItemIndex(1);
  backend.ChooseItem(form.Kind, 2);
  backend.ChooseItem(form.Kind, 2);  // the same item again: no change
  EXPECT_EQ(seen, (std::vector<std::string>{"Weekly"}));
  EXPECT_EQ(drops, 2);
  EXPECT_FALSE(form.Kind.DroppedDown());

  form.Kind.SetItems({"Only"});  // the chosen index no longer exists
  EXPECT_EQ(form.Kind.ItemIndex(), -1);
  EXPECT_EQ(form.Kind.Text(), "");
  form.Kind.SetItemIndex(5);
  EXPECT_EQ(form.Kind.ItemIndex(), -1);
}

TEST_F(ControlsTest, ButtonClickSetsTheModalResultOfTheForm) {
  form.Ok.SetModalResult(mrOk);
  int clicks = 0;
  form.Ok.OnClick = [&](Control&) { ++clicks; };
  backend.ClickControl(form.Ok);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.ModalResult(), mrOk);
}

TEST_F(ControlsTest, TabMovesFocusInTabOrderWithEnterAndExitAndSkipsDisabled) {
  std::vector<std::string> events;
  for (WindowedControl* c : std::vector<WindowedControl*>{&form.Check, &form.Name, &form.Count, &form.Kind, &form.Ok}) {
    c->OnEnter = [&events, c](Control&) { events.push_back("enter " + c->Name()); };
    c->OnExit = [&events, c](Control&) { events.push_back("exit " + c->Name()); };
  }
  form.Count.SetEnabled(false);
  form.Name.SetFocus();
  backend.PressKey(form, kKeyTab);
  backend.PressKey(form, kKeyTab, ShiftState{.shift = true});
  EXPECT_EQ(events, (std::vector<std::string>{"enter Name", "exit Name", "enter Kind", "exit Kind", "enter Name"}));
  EXPECT_EQ(backend.FocusedControl(), &form.Name);

  form.Name.Hide();  // focus leaves a control that goes away
  EXPECT_EQ(form.ActiveControl(), nullptr);
  EXPECT_EQ(events.back(), "exit Name");
}

TEST_F(ControlsTest, PeersFollowTheFormAndNestedControlsSitInTheirContainer) {
  EXPECT_EQ(backend.ControlPeer(form.Inner)->parent, form.Box.Peer());
  EXPECT_EQ(backend.ControlPeer(form.Check)->parent, form.Peer());
  form.Check.SetBounds(20, 30, 50, 20);
  EXPECT_EQ(backend.ControlPeer(form.Check)->bounds, Rect::FromXYWH(20, 30, 50, 20));
  const int before = backend.LiveControlWindows();
  {
    Edit late{form, "Late"};
    late.CreatePeers();
    EXPECT_EQ(backend.LiveControlWindows(), before + 1);
  }
  EXPECT_EQ(backend.LiveControlWindows(), before);
}

TEST(ControlsLifetime, DestroyingTheFormTakesEveryControlWindow) {
  HeadlessBackend backend;
  Application app{backend};
  {
    EditorForm form{app};
    form.Show();
    EXPECT_GT(backend.LiveControlWindows(), 5);
  }
  EXPECT_EQ(backend.LiveControlWindows(), 0);
}

}  // namespace
}  // namespace vm::ui::testing
