// User input through the form: clicks reach the control under the mouse, the mouse is captured
// while pressed, enter/leave follow the pointer, keys reach the form, hints and cursors follow
// the control under the mouse.

#include <string>
#include <vector>

#include "toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

// A small clock-like window: a label and an image over a background label that fills it.
class ClockForm : public Form {
 public:
  explicit ClockForm(Application& app) : Form(app, "Clock") {
    SetBorderStyle(BorderStyle::None);
    SetBounds(0, 0, 272, 55);
    Background.SetAutoSize(false);
    Background.SetBounds(0, 0, 272, 55);
    TimeLabel.SetAutoSize(false);
    TimeLabel.SetBounds(7, 5, 87, 30);
    Picture.SetBounds(200, 20, 24, 24);
  }
  Label Background{*this, "Background"};
  Label TimeLabel{*this, "TimeLabel"};
  Image Picture{*this, "Picture"};
};

class InputTest : public ToolkitTest {
 protected:
  void SetUp() override { form.Show(); }
  ClockForm form{app};
  std::vector<std::string> log;

  void Record(Control& c, const char* what) {
    c.OnClick = [this, what](Control& s) { log.push_back(s.Name() + std::string(".") + what + "click"); };
  }
};

TEST_F(InputTest, ClickOnALabelOrImageReachesItsOnClickOnly) {
  Record(form.TimeLabel, "");
  Record(form.Picture, "");
  Record(form.Background, "");
  backend.Click(form.TimeLabel);
  backend.Click(form.Picture);
  backend.Click(form, {150, 50});  // only the background there
  EXPECT_EQ(log, (std::vector<std::string>{"TimeLabel.click", "Picture.click", "Background.click"}));
}

TEST_F(InputTest, MouseEventsCarryControlCoordinatesAndTheClickComesBeforeTheRelease) {
  form.TimeLabel.OnMouseDown = [&](Control&, MouseButton b, ShiftState s, int x, int y) {
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y) + (s.left ? " left" : ""));
  };
  form.TimeLabel.OnMouseUp = [&](Control&, MouseButton, ShiftState, int x, int y) {
    log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  };
  Record(form.TimeLabel, "");
  backend.MouseDown(form, {17, 15});
  backend.MouseUp(form, {17, 15});
  EXPECT_EQ(log, (std::vector<std::string>{"down 10,10 left", "TimeLabel.click", "up 10,10"}));
}

TEST_F(InputTest, ReleaseOutsideThePressedControlGivesNoClickButStillAReleaseToIt) {
  Record(form.TimeLabel, "");
  Record(form.Background, "");
  int ups = 0;
  form.TimeLabel.OnMouseUp = [&](Control&, MouseButton, ShiftState, int x, int) {
    ++ups;
    EXPECT_GT(x, form.TimeLabel.Width());  // captured: coordinates outside the control
  };
  backend.MouseDown(form, {10, 10});
  backend.MouseMove(form, {150, 40});
  backend.MouseUp(form, {150, 40});
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(ups, 1);
}

TEST_F(InputTest, CapturedControlKeepsGettingMovesWhileTheButtonIsDown) {
  std::vector<Point> moves;
  form.Background.OnMouseMove = [&](Control&, ShiftState, int x, int y) { moves.push_back({x, y}); };
  backend.MouseDown(form, {150, 50});
  backend.MouseMove(form, {20, 10});  // over TimeLabel, but the background holds the mouse
  backend.MouseUp(form, {20, 10});
  backend.MouseMove(form, {20, 10});  // released: the label gets it now
  EXPECT_EQ(moves, (std::vector<Point>{{20, 10}}));
}

TEST_F(InputTest, RightButtonNeverClicks) {
  Record(form.TimeLabel, "");
  MouseButton seen = MouseButton::Left;
  form.TimeLabel.OnMouseDown = [&](Control&, MouseButton b, ShiftState s, int, int) {
    seen = b;
    EXPECT_TRUE(s.right);
  };
  backend.Click(form.TimeLabel, MouseButton::Right);
  EXPECT_EQ(seen, MouseButton::Right);
  EXPECT_TRUE(log.empty());
}

TEST_F(InputTest, DoubleClickGivesOneClickThenTheDoubleClick) {
  Record(form.TimeLabel, "");
  form.TimeLabel.OnDblClick = [&](Control&) { log.push_back("dbl"); };
  bool sawDoubleShift = false;
  form.TimeLabel.OnMouseDown = [&](Control&, MouseButton, ShiftState s, int, int) {
    sawDoubleShift = sawDoubleShift || s.doubleClick;
  };
  backend.DoubleClick(form, {10, 10});
  EXPECT_EQ(log, (std::vector<std::string>{"TimeLabel.click", "dbl"}));
  EXPECT_TRUE(sawDoubleShift);
}

TEST_F(InputTest, HiddenAndDisabledControlsLetTheClickThrough) {
  Record(form.TimeLabel, "");
  Record(form.Background, "");
  form.TimeLabel.SetEnabled(false);
  backend.Click(form, {10, 10});
  form.TimeLabel.SetEnabled(true);
  form.TimeLabel.Hide();
  backend.Click(form, {10, 10});
  EXPECT_EQ(log, (std::vector<std::string>{"Background.click", "Background.click"}));
}

TEST_F(InputTest, EnterAndLeaveFollowThePointerAcrossControls) {
  for (Control* c : std::vector<Control*>{&form.Background, &form.TimeLabel}) {
    c->OnMouseEnter = [&](Control& s) { log.push_back("enter " + s.Name()); };
    c->OnMouseLeave = [&](Control& s) { log.push_back("leave " + s.Name()); };
  }
  backend.MouseMove(form, {150, 50});
  backend.MouseMove(form, {151, 50});  // same control: nothing new
  backend.MouseMove(form, {10, 10});
  backend.MouseLeave(form);
  EXPECT_EQ(log, (std::vector<std::string>{"enter Background", "leave Background", "enter TimeLabel",
                                           "leave TimeLabel"}));
}

TEST_F(InputTest, HintAndCursorFollowTheControlUnderThePointer) {
  form.SetShowHint(true);
  form.TimeLabel.SetHint("time");
  form.TimeLabel.SetCursor(Cursor::Hand);
  // A handler that sets the hint on entry: the hint shown is the new one.
  form.Background.OnMouseEnter = [&](Control& s) { s.SetHint("set on entry"); };
  backend.MouseMove(form, {10, 10});
  EXPECT_EQ(backend.State(form)->hint, "time");
  EXPECT_EQ(backend.State(form)->cursor, Cursor::Hand);
  backend.MouseMove(form, {150, 50});
  EXPECT_EQ(backend.State(form)->hint, "set on entry");
  EXPECT_EQ(backend.State(form)->cursor, Cursor::Arrow);
  form.SetShowHint(false);
  backend.MouseMove(form, {10, 10});
  EXPECT_EQ(backend.State(form)->hint, "");
}

TEST_F(InputTest, KeysReachTheFormAndAHandlerMaySwallowThem) {
  std::vector<KeyCode> downs, ups;
  std::u32string chars;
  form.SetKeyPreview(true);
  form.OnKeyDown = [&](Control&, KeyCode& key, ShiftState) {
    downs.push_back(key);
    if (key == KeyOf('x')) key = 0;
  };
  form.OnKeyUp = [&](Control&, KeyCode& key, ShiftState s) { ups.push_back(s.ctrl ? key + 1000 : key); };
  form.OnKeyPress = [&](Control&, char32_t& ch) { chars += ch; };
  backend.PressKey(form, KeyOf('p'), ShiftState{.ctrl = true});
  backend.PressKey(form, KeyOf('a'));
  backend.PressKey(form, KeyOf('x'));
  backend.PressKey(form, kKeyF1);
  EXPECT_EQ(downs, (std::vector<KeyCode>{'P', 'A', 'X', kKeyF1}));
  EXPECT_EQ(ups, (std::vector<KeyCode>{'P' + 1000, 'A', 'X', kKeyF1}));
  EXPECT_EQ(chars, U"a");  // Ctrl+P gives no character, the swallowed X neither
}

TEST_F(InputTest, InputToAFormThatIsNotShownIsATestError) {
  Form hidden(app, "Hidden");
  EXPECT_THROW(backend.Click(hidden, {1, 1}), std::logic_error);
}

TEST_F(InputTest, ControlDestroyedWhileCapturedLeavesNoDanglingTarget) {
  auto* extra = new Label(form, "Extra");
  extra->SetBounds(100, 0, 20, 20);
  backend.MouseDown(form, {105, 5});
  delete extra;
  int backgroundUps = 0;
  form.Background.OnMouseUp = [&](Control&, MouseButton, ShiftState, int, int) { ++backgroundUps; };
  backend.MouseUp(form, {105, 5});
  EXPECT_EQ(backgroundUps, 1);
}

}  // namespace
}  // namespace vm::ui::testing
