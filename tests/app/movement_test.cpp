// Moving the clock with the mouse, its menu on a right press, and panel mode.

#include <gtest/gtest.h>

#include "main_form_fixture.h"

namespace vm::testing {
namespace {

class MovementTest : public MainFormTest {
 protected:
  TForm1& CreateShown() {
    Create().Show();
    return *form;
  }
  // A point of the window where `control` gets the mouse.
  ui::Point PointOn(ui::Control& control) {
    const ui::Rect r = control.BoundsIn(*form);
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (&form->ControlAt({x, y}) == &control) return {x, y};
    ADD_FAILURE() << "no free point on " << control.Name();
    return {};
  }
  void Deactivate() {
    backend.AppActivation(true);
    backend.AppActivation(false);
  }
  static constexpr ui::ShiftState kLeftHeld{.left = true};
};

TEST_F(MovementTest, ARightPressOpensTheClocksMenuAtTheMouseALeftPressOnTheTimeMovesTheWindow) {
  auto& f = CreateShown();
  for (ui::Control* control : std::initializer_list<ui::Control*>{&f.TimeLabel, &f.Label2}) {
    const ui::Point p = PointOn(*control);
    backend.MouseDown(f, p, ui::MouseButton::Right);
    backend.MouseUp(f, p, ui::MouseButton::Right);
    EXPECT_EQ(backend.Popups().back().menu, &f.OptMenu) << control->Name();
    EXPECT_EQ(backend.Popups().back().at, f.ClientToScreen(p)) << control->Name();
  }
  EXPECT_EQ(backend.State(f)->moveDrags, 0);
  backend.MouseDown(f, PointOn(f.TimeLabel));
  EXPECT_EQ(backend.State(f)->moveDrags, 1);
}

TEST_F(MovementTest, ALeftDragOnTheBandMovesTheWindowByTheMousesOffset) {
  auto& f = CreateShown();
  const ui::Point p = PointOn(f.MemProcL);
  const int left = f.Left(), top = f.Top();
  backend.MouseDown(f, p);
  backend.MouseMove(f, {p.x + 15, p.y - 7}, kLeftHeld);
  EXPECT_EQ(f.Left(), left + 15);
  EXPECT_EQ(f.Top(), top - 7);
  // The window moved under the mouse: the next offset counts from the same pressed point.
  backend.MouseMove(f, {p.x + 5, p.y}, kLeftHeld);
  EXPECT_EQ(f.Left(), left + 20);
  EXPECT_EQ(f.Top(), top - 7);
  backend.MouseUp(f, {p.x + 5, p.y});
  backend.MouseMove(f, {p.x + 30, p.y + 30}, kLeftHeld);
  EXPECT_EQ(f.Left(), left + 20);
}

TEST_F(MovementTest, ADragWhoseReleaseWentElsewhereEndsWhenTheMouseMovesWithoutAButton) {
  auto& f = CreateShown();
  const ui::Point p = PointOn(f.Label2);
  const ui::Point next{p.x + 1, p.y};
  ASSERT_EQ(&f.ControlAt(next), &f.Label2);
  const ui::Rect before = f.Bounds();
  backend.MouseDown(f, p);
  f.PeerCaptureLost();  // the release goes to another window
  backend.MouseMove(f, next);
  EXPECT_EQ(f.Bounds(), before);
}

TEST_F(MovementTest, InPanelModeTheClockSlidesUpWhenTheProgramLosesTheFocusAndComesBackUnderTheMouse) {
  auto& f = CreateShown();
  const int top = f.Top();
  f.SetTag(1);
  Deactivate();  // panel mode off: the clock stays, the mark goes all the same
  EXPECT_EQ(f.Top(), top);
  EXPECT_EQ(f.Tag(), 0);
  f.settings.AsPanel = true;
  f.SetTag(1);
  Deactivate();
  EXPECT_EQ(f.Top(), 5 - f.Height());
  EXPECT_EQ(f.Tag(), 0);
  backend.MouseMove(f, PointOn(f.TimeLabel));  // the mouse on the visible strip
  EXPECT_EQ(f.Top(), 5);
  f.settings.StayOnTop = true;  // on top: no panel
  Deactivate();
  EXPECT_EQ(f.Top(), 5);
}

TEST_F(MovementTest, LeavingTheClockSlidesThePanelUpOnlyWithoutADragMark) {
  auto& f = CreateShown();
  f.settings.AsPanel = true;
  f.SetTop(5);
  // Onto the program name, which does not bring the panel back by itself: no leave.
  backend.MouseMove(f, PointOn(f.Label2));
  backend.MouseMove(f, PointOn(f.VML));
  EXPECT_EQ(f.Top(), 5);
  backend.MouseMove(f, PointOn(f.Label2));
  backend.MouseDown(f, PointOn(f.Label2));  // the mark holds the panel
  backend.MouseUp(f, PointOn(f.Label2));
  backend.MouseLeave(f);
  EXPECT_EQ(f.Top(), 5);
  Deactivate();  // clears it
  backend.MouseMove(f, PointOn(f.Label2));
  backend.MouseLeave(f);
  EXPECT_EQ(f.Top(), 5 - f.Height());
}

TEST_F(MovementTest, AMarkLeftFromBeforePanelModeDoesNotHoldThePanel) {
  auto& f = CreateShown();
  backend.MouseDown(f, PointOn(f.Label2));
  backend.MouseUp(f, PointOn(f.Label2));
  Deactivate();  // panel mode still off
  f.settings.AsPanel = true;
  f.SetTop(5);
  backend.MouseMove(f, PointOn(f.Label2));
  backend.MouseLeave(f);
  EXPECT_EQ(f.Top(), 5 - f.Height());
}

TEST_F(MovementTest, TheNextTaskLineShowsWhollyAsItsTooltipWhenTheMouseComesOverIt) {
  auto& f = CreateShown();
  const std::string line = "Message 01.02.2027 07:30:00 and a text longer than the label is wide";
  f.MemProcL.SetCaption(line);
  backend.MouseMove(f, PointOn(f.Label2));
  backend.MouseMove(f, PointOn(f.MemProcL));
  EXPECT_EQ(f.MemProcL.Hint(), line);
  EXPECT_EQ(backend.State(f)->hint, line);
  // A changed line is taken at the next entry.
  f.MemProcL.SetCaption("Vemtaro");
  backend.MouseMove(f, PointOn(f.Label2));
  backend.MouseMove(f, PointOn(f.MemProcL));
  EXPECT_EQ(backend.State(f)->hint, "Vemtaro");
}

}  // namespace
}  // namespace vm::testing
