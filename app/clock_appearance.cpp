// The clock's fonts and colours: applying them, following the screen colour, and the Font and
// Form Color items of the Appearance menu.

#include <initializer_list>

#include "app/clock_fonts.h"
#include "app/main_form.h"

namespace vm {

ui::Color TForm1::ToRgb(ui::Color colour) { return App().GetBackend().Colors().ToRgb(colour); }

void TForm1::ApplyClockFont(const ChooseFontRecord& dialog, const LogFontRecord& logFont) {
  const ui::Font clockFont = FontFromLogFont(logFont, dialog.Color, services_.codec);
  TimeLabel.SetFont(clockFont);
  DateLabel.SetFont(clockFont);
  settings.FontColor = dialog.Color;

  // Seconds and weekday at half the height (truncated); a font of one pixel keeps its size
  // rather than vanish.
  ui::Font halfFont = clockFont;
  halfFont.height = clockFont.height / 2 != 0 ? clockFont.height / 2 : clockFont.height;
  SecLabel.SetFont(halfFont);
  DaywL.SetFont(halfFont);
  ApplyFontColour(settings.FontColor);
}

void TForm1::ApplyFontColour(std::uint32_t colour) {
  settings.FontColor = colour;
  SetFontColor(colour);
  for (ui::Control* text : std::initializer_list<ui::Control*>{&MemProcL, &VML, &TimeLabel, &DateLabel,
                                                                &SecLabel, &DaywL})
    text->SetFontColor(colour);
  SetTransparentColor(settings.TransColor);
  SetTransparentColorValue(ToRgb(GetColor()));
}

void TForm1::MatchBackground() {
  if (!settings.TransColor) return;
  const ui::Color under = App().GetScreen().PixelAt({Left() + 10, Top() + 10});
  if (under == ToRgb(GetColor())) return;
  SetColor(under);
  SetTransparentColorValue(under);
}

void TForm1::Font1Click(ui::MenuItem&) {
  const ui::Font& current = TimeLabel.GetFont();
  ui::FontChoice choice = ChoiceFromFont(current, ToRgb(current.color));
  const WindowId owner = Handle();
  if (!App().GetDialogs().ChooseFont(choice, owner)) return;
  if (choice.height > kSmallestChosenClockHeight) choice.height = kSmallestChosenClockHeight;

  settings.LogFont = LogFontFromChoice(choice, services_.codec);
  settings.FontDialog = DialogRecordFromChoice(choice, static_cast<std::uint32_t>(owner));
  ApplyClockFont(settings.FontDialog, settings.LogFont);
  settings.FontColor = choice.color;
  ApplyFontColour(settings.FontColor);
  SetRegistryInfo(kDataTypeFontColor);
  SetRegistryInfo(kDataTypeFontLog);
  SetSize();
}

void TForm1::Color1Click(ui::MenuItem&) {
  ui::ColorChoice choice;
  choice.color = ToRgb(TimeLabel.GetFont().color);
  choice.customColors = CustomColours;
  choice.flags = ui::kColorDialogRgbInit | ui::kColorDialogFullOpen;
  const bool chosen = App().GetDialogs().ChooseColor(choice, Handle());
  // The custom colours the user mixed stay for the next dialog, chosen or not.
  CustomColours = choice.customColors;
  if (!chosen) return;
  SetColor(choice.color);
  settings.FormColor = choice.color;
  SetRegistryInfo(kDataTypeFormColor);
}

}  // namespace vm
