// The time drawn onto the desktop while the clock sits in the notification area, and the icon
// brought back after the desktop shell restarted.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "main_form_fixture.h"
#include "scheduler/speech.h"

namespace vm::testing {
namespace {

using ::testing::Contains;

class DesktopTimeTest : public MainFormTest {
 protected:
  DesktopTimeTest() {
    services.desktop = &desktop;
    clock.Set(46363.5 + (34 * 60 + 56) / 86400.0);  // off the full hour: no announcements meanwhile
    speech.canWaitUntilDone = true;
  }
  ~DesktopTimeTest() override {
    if (form && form->Speaker) form->Speaker->WaitForWorkers(std::chrono::seconds(10));
  }
  // The clock hidden in the notification area for `seconds` ticks of Timer3.
  TForm1& HiddenFor(int seconds) {
    if (!form) Create();
    form->HideToTray();
    backend.AdvanceMs(1000LL * seconds);
    return *form;
  }
};

TEST_F(DesktopTimeTest, DayLineAtHalfSizeThenTimeLineAtFullSizeEachAfterItsPlaceWasRepainted) {
  auto& f = Create();
  ui::Font font = f.BufLab.GetFont();
  font.SetSizePoints(17);
  f.BufLab.SetFont(font);
  f.settings.DispLeft = 40;
  f.settings.DispTop = 60;
  HiddenFor(2);

  ASSERT_EQ(desktop.drawnOn, (std::vector<WindowId>{desktop.view, desktop.view}));
  const std::string dayLine = f.DaywL.Caption() + " " + std::to_string(SplitDateTime(clock.Now())->date.day);
  const std::string timeLine = locale.LongTime(clock.Now());
  ui::RecordingCanvas* drawing = desktop.LastDrawing();
  ASSERT_EQ(drawing->Texts(), (std::vector<std::string>{dayLine, timeLine}));
  const ui::DrawCall* day = drawing->FindText(dayLine);
  const ui::DrawCall* time = drawing->FindText(timeLine);
  EXPECT_EQ(day->font.SizePoints(), 8);
  EXPECT_EQ(time->font.SizePoints(), 17);
  EXPECT_EQ(day->from, (ui::Point{40, 60}));
  EXPECT_EQ(time->from, (ui::Point{40, day->rect.bottom + 5}));
  EXPECT_TRUE(day->transparentText && time->transparentText);
  EXPECT_EQ(time->color, font.color);

  ASSERT_EQ(desktop.repaints.size(), 4u);  // two each second: the day's place, then the time's
  EXPECT_EQ(desktop.repaints[2].window, desktop.desktopWindow);
  EXPECT_EQ(desktop.repaints[2].textsBefore, 0u);
  EXPECT_EQ(desktop.repaints[2].rect, day->rect);
  const ui::Rect timeRect = desktop.repaints[3].rect;
  EXPECT_EQ(desktop.repaints[3].textsBefore, 1u);
  EXPECT_EQ(timeRect.TopLeft(), time->from);
  EXPECT_EQ(timeRect.Height(), time->rect.Height());
  EXPECT_GT(timeRect.Width(), time->rect.Width());  // room for a wider time next second
  EXPECT_EQ(desktop.contextsReleased, 2);
}

TEST_F(DesktopTimeTest, NothingIsDrawnWithoutTheIconViewOrWithDisplayTimeOffAndThenNoIconComesBack) {
  desktop.view = 0;
  HiddenFor(2);
  EXPECT_TRUE(desktop.drawnOn.empty());

  desktop.view = 0x2200;
  form->settings.DisplayTime = false;
  const auto trayCalls = backend.TrayCalls().size();
  desktop.desktopWindow = 0x5500;  // the shell restarted
  backend.AdvanceMs(2000);
  EXPECT_TRUE(desktop.drawnOn.empty());
  EXPECT_EQ(backend.TrayCalls().size(), trayCalls);
  for (auto& line : log.Messages()) EXPECT_EQ(line.find("Ошибка"), std::string::npos) << line;
}

TEST_F(DesktopTimeTest, WithTheDesktopTimeOffTheHiddenClockRunsItsTickAloneUntilTheOptionSwitchesItOn) {
  auto& f = Create();
  f.Show();
  f.settings.DisplayTime = false;
  HiddenFor(200);  // past the start-up repaints and the fade
  std::vector<const ui::Timer*> running;
  for (const auto& [timer, interval] : backend.RunningTimers()) running.push_back(timer);
  EXPECT_EQ(running, (std::vector<const ui::Timer*>{&f.Timer1}));

  // The options window stores the setting while the clock stays hidden.
  f.settings.DisplayTime = true;
  f.SetRegistryInfo(kDataTypeDisplayTime);
  EXPECT_TRUE(f.Timer3.Running());
  backend.AdvanceMs(1000);
  EXPECT_EQ(desktop.drawnOn.size(), 1u);
  f.settings.DisplayTime = false;
  f.SetRegistryInfo(kDataTypeDisplayTime);
  EXPECT_FALSE(f.Timer3.Running());

  // Shown, the clock draws no desktop time whatever the option says.
  backend.SendRegisteredMessage(f, "VMR_SHOW");
  f.settings.DisplayTime = true;
  f.SetRegistryInfo(kDataTypeDisplayTime);
  EXPECT_FALSE(f.Timer3.Running());
}

TEST_F(DesktopTimeTest, ARestartedDesktopShellGetsTheIconBackOnce) {
  auto& f = HiddenFor(1);
  const auto trayCalls = backend.TrayCalls().size();
  desktop.desktopWindow = 0x5500;
  backend.AdvanceMs(2000);
  const auto& calls = backend.TrayCalls();
  ASSERT_EQ(calls.size(), trayCalls + 3);
  EXPECT_EQ(calls[trayCalls].action, ui::TrayAction::Delete);
  EXPECT_EQ(calls[trayCalls + 1].action, ui::TrayAction::Add);
  EXPECT_EQ(calls[trayCalls + 2].action, ui::TrayAction::Modify);
  EXPECT_TRUE(backend.TrayIconShown());
  EXPECT_EQ(f.DesktopWindow, 0x5500u);
}

TEST_F(DesktopTimeTest, FailuresInEitherBlockAreLoggedWithTheirTextAndTheDrawingGoesOn) {
  HiddenFor(1);
  desktop.throwInFindView = "view lookup failed";
  backend.AdvanceMs(1000);
  EXPECT_THAT(log.Messages(), Contains("Ошибка в 1-ом блоке"));
  EXPECT_THAT(log.Messages(), Contains("  view lookup failed"));
  EXPECT_EQ(desktop.drawnOn, (std::vector<WindowId>{desktop.view, desktop.view}));  // on the view found before

  desktop.throwInRepaint = "cannot repaint";
  backend.AdvanceMs(2000);
  EXPECT_THAT(log.Messages(), Contains("Ошибка в 2-ом блоке"));
  EXPECT_THAT(log.Messages(), Contains("  cannot repaint"));
  EXPECT_EQ(desktop.contextsReleased, 4);
  EXPECT_EQ(desktop.LastDrawing()->Texts().size(), 2u);  // the next second draws again
}

TEST_F(DesktopTimeTest, TheDesktopTimeStopsAndIsClearedOnceASecondStartShowsTheClock) {
  auto& f = HiddenFor(1);
  desktop.redraws.clear();
  backend.SendRegisteredMessage(f, "VMR_SHOW");
  ASSERT_TRUE(f.Visible());
  backend.AdvanceMs(3000);
  EXPECT_EQ(desktop.drawnOn.size(), 1u);
  EXPECT_FALSE(f.Timer3.Enabled());
  EXPECT_EQ(desktop.redraws, (std::vector<WindowId>{desktop.desktopWindow}));
}

}  // namespace
}  // namespace vm::testing
