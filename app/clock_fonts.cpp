#include "app/clock_fonts.h"

#include <cstdlib>

#include "platform/services.h"

namespace vm {

int ShownFontHeight(int height) {
  if (height == 0) return kSmallestChosenClockHeight;
  if (height > kLargestClockHeight) return kLargestClockHeight;
  if (height < -kLargestClockHeight) return -kLargestClockHeight;
  return height;
}

ui::Font FontFromLogFont(const LogFontRecord& logFont, ui::Color color, TextCodec& codec) {
  ui::Font font;
  font.name = logFont.FaceUtf8(codec);
  font.height = ShownFontHeight(logFont.Height);
  font.bold = logFont.Weight >= kBoldWeight;
  font.italic = logFont.Italic != 0;
  font.underline = logFont.Underline != 0;
  font.strikeOut = logFont.StrikeOut != 0;
  font.charset = logFont.CharSet;
  switch (logFont.PitchAndFamily & 0x03) {
    case 1: font.pitch = ui::FontPitch::Fixed; break;
    case 2: font.pitch = ui::FontPitch::Variable; break;
    default: font.pitch = ui::FontPitch::Default; break;
  }
  font.color = color;
  return font;
}

ui::FontChoice ChoiceFromFont(const ui::Font& font, ui::Color rgb) {
  ui::FontChoice choice;
  choice.height = font.height;
  choice.charSet = 1;  // the system's default character set, whatever the label had
  choice.pitchAndFamily = static_cast<std::uint8_t>(font.pitch);
  choice.faceName = font.name;
  choice.weight = font.bold ? 700 : 400;
  choice.italic = font.italic ? 1 : 0;
  choice.underline = font.underline ? 1 : 0;
  choice.strikeOut = font.strikeOut ? 1 : 0;
  choice.color = rgb;
  choice.flags = kClockFontDialogFlags;
  return choice;
}

LogFontRecord LogFontFromChoice(const ui::FontChoice& choice, TextCodec& codec) {
  LogFontRecord r;
  r.Height = choice.height;
  r.Width = choice.width;
  r.Escapement = choice.escapement;
  r.Orientation = choice.orientation;
  r.Weight = choice.weight;
  r.Italic = choice.italic;
  r.Underline = choice.underline;
  r.StrikeOut = choice.strikeOut;
  r.CharSet = choice.charSet;
  r.OutPrecision = choice.outPrecision;
  r.ClipPrecision = choice.clipPrecision;
  r.Quality = choice.quality;
  r.PitchAndFamily = choice.pitchAndFamily;
  r.SetFaceUtf8(choice.faceName, codec);
  return r;
}

ChooseFontRecord DialogRecordFromChoice(const ui::FontChoice& choice, std::uint32_t owner) {
  ChooseFontRecord r;
  r.StructSize = kFontRecordSize;
  r.Owner = owner;
  // The pointer fields stay 0: an address of this process means nothing to a later reader.
  r.LogFontPointer = 0;
  r.PointSize = ui::MulDiv(std::abs(ShownFontHeight(choice.height)), 720, 96);
  r.Flags = choice.flags;
  r.Color = choice.color;
  return r;
}

}  // namespace vm
