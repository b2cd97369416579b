#include "app/font_records.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "fakes/platform_fakes.h"

namespace vm {
namespace {

std::uint32_t U32At(const FontRecordBytes& b, std::size_t offset) {
  return b[offset] | (b[offset + 1] << 8) | (b[offset + 2] << 16) |
         (static_cast<std::uint32_t>(b[offset + 3]) << 24);
}

std::vector<std::uint8_t> CountingBytes(std::size_t size, std::uint8_t first) {
  std::vector<std::uint8_t> bytes(size);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

// Like a double-byte code page: every non-ASCII character becomes two bytes.
class DoubleByteCodec : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override { return std::string(ansi); }
  std::string Utf8ToAnsi(std::string_view utf8) override {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(utf8[i]);
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (c >= 0xC0) {
        out += "\x88\x40";  // a lead byte and a trail byte
      }
    }
    return out;
  }
};

TEST(LogFontRecordTest, FieldsSitAtTheirOffsetsLittleEndian) {
  LogFontRecord r{.Height = -25, .Width = 0x01020304, .Escapement = -900, .Orientation = 450,
                  .Weight = 700, .Italic = 0x11, .Underline = 0x22, .StrikeOut = 0x33,
                  .CharSet = 0x44, .OutPrecision = 0x55, .ClipPrecision = 0x66, .Quality = 0x77,
                  .PitchAndFamily = 0x88};
  r.SetFace("Georgia");

  FontRecordBytes b = r.ToBytes();
  EXPECT_EQ(U32At(b, 0), 0xFFFFFFE7u);
  EXPECT_EQ(b[4], 0x04);
  EXPECT_EQ(b[7], 0x01);
  EXPECT_EQ(U32At(b, 8), static_cast<std::uint32_t>(-900));
  EXPECT_EQ(U32At(b, 12), 450u);
  EXPECT_EQ(U32At(b, 16), 700u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(b[20 + i], 0x11 * (i + 1)) << "byte " << 20 + i;
  EXPECT_EQ(std::string(b.begin() + 28, b.begin() + 35), "Georgia");
  for (std::size_t i = 35; i < kFontRecordSize; ++i) EXPECT_EQ(b[i], 0) << "byte " << i;
}

TEST(LogFontRecordTest, BytesSurviveARoundTripAndOtherSizesAreRefused) {
  auto bytes = CountingBytes(kFontRecordSize, 0x80);
  bytes[59] = 0;  // a terminated face name
  auto r = LogFontRecord::FromBytes(bytes);
  ASSERT_TRUE(r.has_value());
  FontRecordBytes again = r->ToBytes();
  EXPECT_EQ(std::vector<std::uint8_t>(again.begin(), again.end()), bytes);

  EXPECT_FALSE(LogFontRecord::FromBytes(CountingBytes(59, 1)).has_value());
  EXPECT_FALSE(LogFontRecord::FromBytes(CountingBytes(61, 1)).has_value());
  EXPECT_FALSE(LogFontRecord::FromBytes({}).has_value());
}

TEST(LogFontRecordTest, FaceNameIsAlwaysTerminated) {
  std::vector<std::uint8_t> bytes(kFontRecordSize, 'A');
  auto r = LogFontRecord::FromBytes(bytes);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->Face(), std::string(31, 'A'));
  EXPECT_EQ(r->ToBytes()[59], 0);

  LogFontRecord f;
  f.SetFace(std::string(40, 'B'));
  EXPECT_EQ(f.Face(), std::string(31, 'B'));
  f.SetFace("Arial");  // a shorter name leaves nothing of the longer one behind
  FontRecordBytes b = f.ToBytes();
  EXPECT_EQ(f.Face(), "Arial");
  for (std::size_t i = 28 + 5; i < kFontRecordSize; ++i) EXPECT_EQ(b[i], 0) << "byte " << i;
}

TEST(LogFontRecordTest, Utf8FaceNamesAreConvertedAndCutAtCharacters) {
  fakes::Latin1Codec latin1;
  LogFontRecord r;
  r.SetFaceUtf8("G\xC3\xA9nova", latin1);  // "Génova"
  EXPECT_EQ(r.Face(), "G\xE9nova");
  EXPECT_EQ(r.FaceUtf8(latin1), "G\xC3\xA9nova");

  // 30 ASCII bytes + a character of two ANSI bytes do not fit into 31: the whole character goes.
  DoubleByteCodec dbcs;
  r.SetFaceUtf8(std::string(30, 'x') + "\xE8\xAA\x9E", dbcs);
  EXPECT_EQ(r.Face(), std::string(30, 'x'));
  r.SetFaceUtf8(std::string(29, 'x') + "\xE8\xAA\x9E", dbcs);
  EXPECT_EQ(r.Face(), std::string(29, 'x') + "\x88\x40");
}

TEST(ChooseFontRecordTest, LayoutIsThe32BitOneOnEveryBuild) {
  ChooseFontRecord r{.StructSize = 60, .Owner = 0x11111111, .DC = 0x22222222,
                     .LogFontPointer = 0x33333333, .PointSize = -120, .Flags = 321,
                     .Color = 0x00FF8040, .CustData = 0x44444444, .Hook = 0x55555555,
                     .TemplateName = 0x66666666, .Instance = 0x77777777,
                     .StylePointer = 0x88888888, .FontType = 0x2001, .Padding = 0xBEEF,
                     .SizeMin = 8, .SizeMax = -72};
  FontRecordBytes b = r.ToBytes();
  const std::pair<std::size_t, std::uint32_t> fields[] = {
      {0, 60},           {4, 0x11111111},  {8, 0x22222222},  {12, 0x33333333},
      {16, 0xFFFFFF88},  {20, 321},        {24, 0x00FF8040}, {28, 0x44444444},
      {32, 0x55555555},  {36, 0x66666666}, {40, 0x77777777}, {44, 0x88888888},
      {48, 0xBEEF2001},  {52, 8},          {56, 0xFFFFFFB8}};
  for (auto [offset, value] : fields) EXPECT_EQ(U32At(b, offset), value) << "offset " << offset;
  EXPECT_EQ(b[ChooseFontRecord::kColorOffset], 0x40) << "the colour starts with red";
}

TEST(ChooseFontRecordTest, AnySixtyBytesSurviveARoundTrip) {
  auto bytes = CountingBytes(kFontRecordSize, 0xC4);  // wraps through 0xFF, every byte differs
  auto r = ChooseFontRecord::FromBytes(bytes);
  ASSERT_TRUE(r.has_value());
  FontRecordBytes again = r->ToBytes();
  EXPECT_EQ(std::vector<std::uint8_t>(again.begin(), again.end()), bytes);

  EXPECT_FALSE(ChooseFontRecord::FromBytes(CountingBytes(59, 0)).has_value());
  EXPECT_FALSE(ChooseFontRecord::FromBytes(CountingBytes(64, 0)).has_value());
}

}  // namespace
}  // namespace vm
