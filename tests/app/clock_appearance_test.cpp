// The clock's fonts and colours: the font and colour dialogs, the background that follows the
// screen, and the stored fonts applied at start.

#include <gtest/gtest.h>

#include <climits>

#include "clock_fixture.h"

namespace vm::testing {
namespace {

const ui::Color kActiveCaptionRgb = ui::DefaultSystemColor(2);

ui::FontChoice Choice(const std::string& face, int height, ui::Color color) {
  ui::FontChoice choice;
  choice.faceName = face;
  choice.height = height;
  choice.color = color;
  return choice;
}

TEST_F(ClockTest, AnEightPointFontChoiceGivesThirteenPixelsAndIsSaved) {
  TForm1& f = Shown();
  backend.DialogScript().AnswerFont(Choice("Arial", -11, ui::clRed));
  backend.ChooseMenuItem(f.Font1);

  const ui::FontChoice& asked = backend.DialogScript().FontRequests().at(0);
  EXPECT_EQ(asked.faceName, "Georgia");  // starts from the clock's font
  EXPECT_EQ(asked.height, -25);
  EXPECT_EQ(asked.flags, 321u);
  EXPECT_EQ(asked.color, kActiveCaptionRgb);  // the system colour as the dialog can show it

  EXPECT_EQ(f.TimeLabel.GetFont().height, -13);
  EXPECT_EQ(f.DateLabel.GetFont().name, "Arial");
  EXPECT_EQ(f.DaywL.GetFont().height, -6);
  EXPECT_EQ(f.VML.GetFont().color, ui::clRed);
  EXPECT_EQ(Stored("FontColor")->number, ui::clRed);
  auto dialog = ChooseFontRecord::FromBytes(Stored("FontLog")->bytes);
  auto logFont = LogFontRecord::FromBytes(Stored("FontLog2")->bytes);
  ASSERT_TRUE(dialog && logFont);
  EXPECT_EQ(dialog->Flags, 321u);
  EXPECT_EQ(dialog->Color, ui::clRed);
  EXPECT_EQ(logFont->Height, -13);
  EXPECT_EQ(logFont->Face(), "Arial");
  // Laid out again: 7 + 39 + 4 + 7 + 10 + 46 + 10 + 70 + 2 + 14 + 3 wide, 6 + 13 + 24 + 5 high.
  EXPECT_EQ(f.Width(), 212);
  EXPECT_EQ(f.Height(), 48);
}

TEST_F(ClockTest, ChosenHeightsAboveMinusThirteenAreRaisedAndCancelChangesNothing) {
  TForm1& f = Shown();
  for (auto [chosen, shown] : {std::pair{-12, -13}, std::pair{20, -13}, std::pair{-13, -13},
                               std::pair{-14, -14}}) {
    backend.DialogScript().AnswerFont(Choice("Arial", chosen, ui::clBlack));
    f.Font1Click(f.Font1);
    EXPECT_EQ(f.TimeLabel.GetFont().height, shown) << chosen;
  }
  const ui::Font before = f.TimeLabel.GetFont();
  const int layouts = LogCount("TForm1::SetSize");
  registry.DeleteValue(RegRoot::CurrentUser, "Software\\Vemtaro", "FontLog");
  backend.DialogScript().AnswerFont(std::nullopt);
  f.Font1Click(f.Font1);
  EXPECT_EQ(f.TimeLabel.GetFont(), before);
  EXPECT_EQ(LogCount("TForm1::SetSize"), layouts);
  EXPECT_FALSE(Stored("FontLog"));
}

TEST_F(ClockTest, ChosenWindowColourIsShownAndSavedAndCancelKeepsIt) {
  TForm1& f = Shown();
  backend.DialogScript().AnswerColor(std::nullopt);
  f.Color1Click(f.Color1);
  EXPECT_EQ(f.GetColor(), ui::clWindow);
  EXPECT_FALSE(Stored("FormColor"));

  f.CustomColours[3] = 0x00123456;
  backend.DialogScript().AnswerColor(ui::Color{0x00336699});
  backend.ChooseMenuItem(f.Color1);
  const ui::ColorChoice& asked = backend.DialogScript().ColorRequests().at(1);
  EXPECT_EQ(asked.flags, 3u);
  EXPECT_EQ(asked.color, kActiveCaptionRgb);  // starts from the clock's text colour
  EXPECT_EQ(asked.customColors[3], 0x00123456u);
  EXPECT_EQ(f.GetColor(), 0x00336699u);
  EXPECT_EQ(Stored("FormColor")->number, 0x00336699u);
}

TEST_F(ClockTest, TransparentBackgroundTakesTheScreenColourUnderTheWindow) {
  StoreDword("TransColor", 1);
  ui::Color desktop = ui::clBlue;
  backend.ScreenColorAt = [&](ui::Point p) { return p == ui::Point{356, 310} ? desktop : ui::clRed; };
  TForm1& f = Shown();
  EXPECT_TRUE(f.TransparentColor());
  EXPECT_EQ(f.TransparentColorValue(), ui::DefaultSystemColor(5));  // clWindow as RGB
  Tick();
  EXPECT_EQ(f.GetColor(), ui::clBlue);  // the pixel at left + 10, top + 10
  EXPECT_EQ(f.TransparentColorValue(), ui::clBlue);
  desktop = ui::clGreen;  // moved over another colour
  Tick();
  EXPECT_EQ(f.GetColor(), ui::clGreen);
  EXPECT_EQ(f.TransparentColorValue(), ui::clGreen);
  EXPECT_FALSE(Stored("FormColor"));  // followed, not chosen

  f.settings.TransColor = false;  // switched off: the colour stays where it is
  desktop = ui::clNavy;
  Tick();
  EXPECT_EQ(f.GetColor(), ui::clGreen);
}

TEST_F(ClockTest, StoredFontsAndColoursAreApplied) {
  LogFontRecord font;
  font.Height = -30;
  font.Weight = 400;
  font.Italic = 1;
  font.SetFace("Verdana");
  ChooseFontRecord dialog = Settings::DesignFontDialog();
  dialog.Color = ui::clRed;  // FontColor wins over the record's colour
  StoreBinary("FontLog", dialog.ToBytes());
  StoreBinary("FontLog2", font.ToBytes());
  font.SetFace("Times New Roman");
  font.Height = -40;
  dialog.Color = ui::clFuchsia;
  StoreBinary("DisplayFont", dialog.ToBytes());
  StoreBinary("DisplayFont2", font.ToBytes());
  StoreDword("FontColor", ui::clTeal);
  StoreDword("FormColor", ui::clYellow);
  TForm1& f = Create();
  EXPECT_EQ(f.TimeLabel.GetFont().name, "Verdana");
  EXPECT_FALSE(f.TimeLabel.GetFont().bold);
  EXPECT_TRUE(f.DateLabel.GetFont().italic);
  EXPECT_EQ(f.SecLabel.GetFont().height, -15);
  EXPECT_EQ(f.TimeLabel.GetFont().color, ui::clTeal);
  EXPECT_EQ(f.GetColor(), ui::clYellow);
  EXPECT_EQ(f.TransparentColorValue(), ui::clYellow);
  EXPECT_EQ(f.BufLab.GetFont().name, "Times New Roman");
  EXPECT_EQ(f.BufLab.GetFont().color, ui::clFuchsia);
}

TEST_F(ClockTest, FontLogWithoutFontLog2KeepsTheDesignFontsButTakesTheColour) {
  StoreBinary("FontLog", Settings::DesignFontDialog().ToBytes());
  StoreDword("FontColor", ui::clMaroon);
  TForm1& f = Create();
  EXPECT_EQ(f.TimeLabel.GetFont().height, -25);
  EXPECT_TRUE(f.SecLabel.GetFont().underline);
  EXPECT_EQ(f.TimeLabel.GetFont().color, ui::clMaroon);
}

// A damaged FontLog2: the stored height, the height shown.
class DamagedFontTest : public ClockTest,
                        public ::testing::WithParamInterface<std::pair<std::int32_t, int>> {};

TEST_P(DamagedFontTest, GivesAUsableClock) {
  auto [stored, shown] = GetParam();
  LogFontRecord font = Settings::DesignLogFont();
  font.Height = stored;
  StoreBinary("FontLog", Settings::DesignFontDialog().ToBytes());
  StoreBinary("FontLog2", font.ToBytes());
  TForm1& f = Shown();
  Tick();
  EXPECT_EQ(f.TimeLabel.GetFont().height, shown);
  EXPECT_EQ(f.SecLabel.GetFont().height, shown / 2);
  EXPECT_GT(f.Height(), 0);
}

INSTANTIATE_TEST_SUITE_P(Heights, DamagedFontTest,
                         ::testing::Values(std::pair<std::int32_t, int>{INT_MIN, -1000},
                                           std::pair<std::int32_t, int>{INT_MAX, 1000},
                                           std::pair<std::int32_t, int>{0, -13}));

}  // namespace
}  // namespace vm::testing
