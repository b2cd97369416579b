// The clock display: the tick's texts, the seconds drawn on the window, the hourly spoken time,
// the layout and the start-up repaints.
//
// Layout numbers come from the headless backend's fixed metrics: n characters in a font of
// height h are round(0.6 * |h| * n) wide and |h| high. At FormCreate the clock shows "12:00" and
// "12/7/2026" (Monday); VML keeps the window's 11-pixel font; the hidden SecLabel measures "00".

#include <gtest/gtest.h>

#include "clock_fixture.h"

namespace vm::testing {
namespace {

TEST_F(ClockTest, TickShowsTwoDigitTimeAndSecondsOnlyWhileVisible) {
  TForm1& f = Create();
  At(9, 5, 7);
  Tick();  // hidden: the time is split, nothing is shown
  EXPECT_EQ(f.ClockMinute, 5);
  EXPECT_EQ(f.TimeLabel.Caption(), "12:00");
  EXPECT_EQ(backend.Surface(f), nullptr);

  f.Show();
  const std::pair<int, const char*> seconds[] = {{7, "07"}, {59, "59"}, {0, "00"}};
  for (auto [second, text] : seconds) {
    At(9, 5, second);
    Tick();
    EXPECT_EQ(f.TimeLabel.Caption(), "09:05");
    EXPECT_EQ(f.SecText, text);
    const ui::DrawCall* drawn = backend.Surface(f)->FindText(text);
    ASSERT_NE(drawn, nullptr) << text;
    EXPECT_EQ(drawn->from, (ui::Point{f.SecLabel.Left(), f.SecLabel.Top()}));
    EXPECT_TRUE(drawn->font.underline);  // SecLabel's font
  }
  EXPECT_TRUE(backend.Surface(f)->HasFill(f.SecLabel.Bounds(), f.GetColor()));
}

TEST_F(ClockTest, OnlySecondOneMovesTheSecondsBesideTheMinutes) {
  TForm1& f = Shown();
  f.SecLabel.SetLeft(200);
  At(9, 6, 2);
  Tick();
  EXPECT_EQ(f.SecLabel.Left(), 200);
  At(9, 7, 1);
  Tick();
  EXPECT_EQ(f.SecLabel.Left(), 86);  // TimeLabel "09:07": 7 + 75 + 4
  EXPECT_TRUE(backend.Surface(f)->HasText("01", {86, 5}));
  // The old place was cleared before the move.
  EXPECT_TRUE(backend.Surface(f)->HasFill(ui::Rect::FromXYWH(200, 5, 23, 19), f.GetColor()));
}

TEST_F(ClockTest, ARepaintBetweenTicksKeepsTheSeconds) {
  TForm1& f = Shown();
  EXPECT_EQ(backend.PaintForm(f).FindText("00"), nullptr);  // no tick yet: no seconds to show
  At(9, 5, 7);
  Tick();
  // A window moved over the clock, StT's repaint: the paint cycle draws the seconds of the last
  // tick, in SecLabel's font, over the background it filled first.
  ui::RecordingCanvas& painted = backend.PaintForm(f);
  const ui::DrawCall* drawn = painted.FindText("07");
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(drawn->from, (ui::Point{f.SecLabel.Left(), f.SecLabel.Top()}));
  EXPECT_TRUE(drawn->font.underline);
  At(9, 7, 1);  // the seconds move beside the minutes; the paint follows them
  Tick();
  drawn = backend.PaintForm(f).FindText("01");
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(drawn->from, (ui::Point{86, 5}));
}

class GermanClockTest : public ClockTest {
 protected:
  fakes::FakeLocale germanLocale{true};
  MainServices german{clock, germanLocale, codec, registry, files, env, boxes};
};

TEST_F(GermanClockTest, TimeUsesTheUsersSeparator) {
  german.actions = services.actions;
  form = &app.CreateForm<TForm1>(german, language, startup);
  form->Show();
  At(9, 5, 7);
  Tick();
  EXPECT_EQ(form->TimeLabel.Caption(), "09.05");
}

TEST_F(ClockTest, WeekdayFollowsALanguageChangeAtTheNextTick) {
  TForm1& f = Shown();
  EXPECT_EQ(f.DaywL.Caption(), "Monday");
  UseLanguage("C.8Montag\r\nC.9Dienstag\r\nC.13Samstag\r\nC.14Sonntag\r\n");
  f.ApplyLanguage();
  Tick();
  EXPECT_EQ(f.DaywL.Caption(), "Montag");
  At(12, 0, 0, 13);  // the last key of the week
  Tick();
  EXPECT_EQ(f.DaywL.Caption(), "Sonntag");
}

TEST_F(ClockTest, TheFullHourIsSpokenOnceAtSecondZeroOfMinuteZero) {
  Create();
  At(14, 0, 1);
  Tick();
  At(14, 30, 0);
  Tick();
  EXPECT_EQ(Spoken("14:00"), 0);
  At(14, 0, 0);
  Tick();
  Tick();  // a late tick and one on time in the same second
  EXPECT_EQ(Spoken("14:00"), 1);
  At(14, 0, 0, 8);  // the next day
  Tick();
  EXPECT_EQ(Spoken("14:00"), 2);
}

TEST_F(ClockTest, AHiddenClockSpeaksButNotWithUseMonitorOff) {
  TForm1& f = Create();
  ASSERT_FALSE(f.Visible());
  At(0, 0, 0);
  Tick();
  EXPECT_EQ(Spoken("0:00"), 1);
  f.settings.UseMonitor = false;
  f.Show();
  At(15, 0, 0);
  Tick();
  EXPECT_EQ(Spoken("15:00"), 0);
}

TEST_F(ClockTest, SetSizeLaysOutTheDesignFonts) {
  TForm1& f = Create();
  // TimeLabel 75 x 25 at 7, 5; SecLabel 23 x 19; VML 46 x 11; DaywL "Monday" 40 x 11 at top 1;
  // DateLabel 135 x 25.
  EXPECT_EQ(f.SecLabel.Left(), 86);    // 7 + 75 + 4
  EXPECT_EQ(f.VML.Left(), 119);        // 86 + 23 + 10
  EXPECT_EQ(f.DaywL.Left(), 175);      // 119 + 46 + 10
  EXPECT_EQ(f.OffP.Left(), 312);       // 175 + 135 - 14 + 14 + 2
  EXPECT_EQ(f.Image3.Width(), 180);    // 175 + 5
  EXPECT_EQ(f.DateLabel.Top(), 12);    // 1 + 11
  EXPECT_EQ(f.MemProcL.Top(), 42);     // 12 + 25 + 5
  EXPECT_EQ(f.TopP.Left(), 254);       // 312 + 14 - 3 * 24
  EXPECT_EQ(f.TopH.Left(), 302);
  EXPECT_EQ(f.TopH.Top(), 38);
  EXPECT_EQ(f.Width(), 329);           // 312 + 14 + 3
  EXPECT_EQ(f.Height(), 65);           // 11 + 25 + 24 + 5
  EXPECT_EQ(f.VML.Top(), 10);          // (65 / 2 - 11) / 2
  EXPECT_EQ(f.Image1.Top(), 35);       // the band stays along the bottom
}

TEST_F(ClockTest, SetSizeFollowsAZoomedStoredFont) {
  LogFontRecord font = Settings::DesignLogFont();
  font.Height = -40;
  StoreBinary("FontLog", Settings::DesignFontDialog().ToBytes());
  StoreBinary("FontLog2", font.ToBytes());
  TForm1& f = Create();
  // TimeLabel 120 x 40; seconds and weekday at 20: 24 x 20 and 72 x 20; DateLabel 216 x 40.
  EXPECT_EQ(f.VML.Left(), 165);        // 7 + 120 + 4 + 24 + 10
  EXPECT_EQ(f.OffP.Left(), 439);       // 165 + 46 + 10 + 216 - 14 + 14 + 2
  EXPECT_EQ(f.TopP.Top(), 62);         // 1 + 20 + 40 + 1
  EXPECT_EQ(f.Width(), 456);
  EXPECT_EQ(f.Height(), 89);           // 20 + 40 + 24 + 5
  EXPECT_EQ(f.VML.Top(), 16);          // (89 / 2 - 11) / 2
}

TEST_F(ClockTest, StartupTimerRepaintsTwentyNineTimesThenStopsItself) {
  TForm1& f = Shown();
  f.Timer1.SetEnabled(false);  // its ticks would repaint too
  backend.AdvanceMs(140000);
  backend.PaintForm(f);
  backend.AdvanceMs(5000);
  EXPECT_EQ(f.StartupRepaints, 29);
  EXPECT_TRUE(f.StT.Running());
  EXPECT_GT(backend.State(f)->invalidations, 0);
  backend.PaintForm(f);
  backend.AdvanceMs(5000);
  EXPECT_EQ(f.StartupRepaints, 30);
  EXPECT_EQ(backend.State(f)->invalidations, 0);
  EXPECT_FALSE(f.StT.Running());
}

TEST_F(ClockTest, StartupRepaintsWaitWhileTheClockIsHiddenAndGoOnWhenItIsShownAgain) {
  TForm1& f = Shown();
  backend.AdvanceMs(10000);
  EXPECT_EQ(f.StartupRepaints, 2);
  backend.PressKey(f, ui::KeyOf('Y'), {.ctrl = true});
  EXPECT_FALSE(f.StT.Running());
  backend.AdvanceMs(60000);
  EXPECT_EQ(f.StartupRepaints, 2);  // nothing to repaint, no tick
  backend.SendRegisteredMessage(f, "VMR_SHOW");
  EXPECT_TRUE(f.StT.Running());
  backend.AdvanceMs(140000);
  EXPECT_EQ(f.StartupRepaints, 30);
  EXPECT_FALSE(f.StT.Running());
  f.HideToTray();
  backend.SendRegisteredMessage(f, "VMR_SHOW");
  EXPECT_FALSE(f.StT.Running());  // done for good
}

}  // namespace
}  // namespace vm::testing
