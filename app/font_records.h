#pragma once
// Portable images of the two 60-byte font records that the settings keep in the registry: the
// logical font (LOGFONTA) and the font-choice record (CHOOSEFONTA) in its 32-bit layout. Both are
// written and read field by field, little-endian, so that every build (32 or 64 bit) produces and
// accepts the same 60 bytes. The pointer and handle fields of the font-choice record are kept as
// the 32-bit numbers that were stored; they are never used as pointers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vm {

class TextCodec;

inline constexpr std::size_t kFontRecordSize = 60;
using FontRecordBytes = std::array<std::uint8_t, kFontRecordSize>;

// LOGFONTA: five 32-bit integers, eight bytes, a 32-byte face name in the ANSI code page.
struct LogFontRecord {
  static constexpr std::size_t kFaceNameSize = 32;  // at most 31 bytes + NUL

  std::int32_t Height = 0;  // negative: character height, positive: cell height (pixels)
  std::int32_t Width = 0;
  std::int32_t Escapement = 0;
  std::int32_t Orientation = 0;
  std::int32_t Weight = 0;  // 400 normal, 700 bold
  std::uint8_t Italic = 0;
  std::uint8_t Underline = 0;
  std::uint8_t StrikeOut = 0;
  std::uint8_t CharSet = 0;
  std::uint8_t OutPrecision = 0;
  std::uint8_t ClipPrecision = 0;
  std::uint8_t Quality = 0;
  std::uint8_t PitchAndFamily = 0;
  std::array<char, kFaceNameSize> FaceName{};  // ANSI bytes, always NUL-terminated

  // The face name's ANSI bytes up to the terminating NUL.
  std::string Face() const;
  // Stores ANSI bytes, cut to 31 so that the terminating NUL always fits; the rest is zeroed.
  void SetFace(std::string_view ansi);
  // The face name as UTF-8 / set from UTF-8; the latter cuts whole characters only.
  std::string FaceUtf8(TextCodec& codec) const;
  void SetFaceUtf8(std::string_view utf8, TextCodec& codec);

  FontRecordBytes ToBytes() const;
  // Nothing unless `bytes` holds exactly 60 bytes. A face name without NUL in its 32 bytes is
  // cut to 31 bytes, so the record can always be handed to the system safely.
  static std::optional<LogFontRecord> FromBytes(std::span<const std::uint8_t> bytes);

  bool operator==(const LogFontRecord&) const = default;
};

// CHOOSEFONTA as a 32-bit program lays it out (byte offsets in the comments).
struct ChooseFontRecord {
  std::uint32_t StructSize = kFontRecordSize;  //  0 lStructSize
  std::uint32_t Owner = 0;                     //  4 hwndOwner
  std::uint32_t DC = 0;                        //  8 hDC
  std::uint32_t LogFontPointer = 0;            // 12 lpLogFont
  std::int32_t PointSize = 0;                  // 16 iPointSize, tenths of a point
  std::uint32_t Flags = 0;                     // 20
  std::uint32_t Color = 0;                     // 24 rgbColors: the chosen text colour
  std::uint32_t CustData = 0;                  // 28 lCustData
  std::uint32_t Hook = 0;                      // 32 lpfnHook
  std::uint32_t TemplateName = 0;              // 36 lpTemplateName
  std::uint32_t Instance = 0;                  // 40 hInstance
  std::uint32_t StylePointer = 0;              // 44 lpszStyle
  std::uint16_t FontType = 0;                  // 48 nFontType
  std::uint16_t Padding = 0;                   // 50 alignment bytes, kept as read
  std::int32_t SizeMin = 0;                    // 52 nSizeMin
  std::int32_t SizeMax = 0;                    // 56 nSizeMax

  static constexpr std::size_t kColorOffset = 24;

  FontRecordBytes ToBytes() const;
  // Nothing unless `bytes` holds exactly 60 bytes.
  static std::optional<ChooseFontRecord> FromBytes(std::span<const std::uint8_t> bytes);

  bool operator==(const ChooseFontRecord&) const = default;
};

// The pair the main window shares between the clock font and the desktop-time font.
struct FontRecords {
  ChooseFontRecord dialog;
  LogFontRecord logFont;

  bool operator==(const FontRecords&) const = default;
};

}  // namespace vm
