#include "app/font_records.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/services.h"

namespace vm {

namespace {

// Little-endian writer and reader over a fixed 60-byte image.
class ByteWriter {
 public:
  explicit ByteWriter(FontRecordBytes& out) : out_(out) {}
  void U8(std::uint8_t v) { out_[pos_++] = v; }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Bytes(const char* data, std::size_t size) {
    std::memcpy(out_.data() + pos_, data, size);
    pos_ += size;
  }

 private:
  FontRecordBytes& out_;
  std::size_t pos_ = 0;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> in) : in_(in) {}
  std::uint8_t U8() { return in_[pos_++]; }
  std::uint16_t U16() {
    std::uint16_t lo = U8();
    return static_cast<std::uint16_t>(lo | (U8() << 8));
  }
  std::uint32_t U32() {
    std::uint32_t lo = U16();
    return lo | (static_cast<std::uint32_t>(U16()) << 16);
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  void Bytes(char* data, std::size_t size) {
    std::memcpy(data, in_.data() + pos_, size);
    pos_ += size;
  }

 private:
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
};

// Length of a UTF-8 sequence from its first byte (a stray continuation byte counts as one).
std::size_t Utf8SequenceLength(unsigned char first) {
  if (first < 0xC0) return 1;
  if (first < 0xE0) return 2;
  if (first < 0xF0) return 3;
  return 4;
}

}  // namespace

std::string LogFontRecord::Face() const {
  auto end = std::find(FaceName.begin(), FaceName.end(), '\0');
  return std::string(FaceName.begin(), end);
}

void LogFontRecord::SetFace(std::string_view ansi) {
  FaceName.fill('\0');
  std::size_t size = std::min(ansi.size(), kFaceNameSize - 1);
  std::copy_n(ansi.begin(), size, FaceName.begin());
}

std::string LogFontRecord::FaceUtf8(TextCodec& codec) const { return codec.AnsiToUtf8(Face()); }

void LogFontRecord::SetFaceUtf8(std::string_view utf8, TextCodec& codec) {
  // Converting first and cutting the ANSI bytes could split a double-byte character; instead
  // whole characters are dropped from the end until the converted name fits.
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < utf8.size();) {
    starts.push_back(i);
    i += Utf8SequenceLength(static_cast<unsigned char>(utf8[i]));
  }
  std::size_t keep = utf8.size();
  std::string ansi = codec.Utf8ToAnsi(utf8);
  while (ansi.size() > kFaceNameSize - 1 && !starts.empty()) {
    keep = starts.back();
    starts.pop_back();
    ansi = codec.Utf8ToAnsi(utf8.substr(0, keep));
  }
  SetFace(ansi);
}

FontRecordBytes LogFontRecord::ToBytes() const {
  FontRecordBytes out{};
  ByteWriter w(out);
  w.I32(Height);
  w.I32(Width);
  w.I32(Escapement);
  w.I32(Orientation);
  w.I32(Weight);
  w.U8(Italic);
  w.U8(Underline);
  w.U8(StrikeOut);
  w.U8(CharSet);
  w.U8(OutPrecision);
  w.U8(ClipPrecision);
  w.U8(Quality);
  w.U8(PitchAndFamily);
  w.Bytes(FaceName.data(), kFaceNameSize);
  return out;
}

std::optional<LogFontRecord> LogFontRecord::FromBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kFontRecordSize) return std::nullopt;
  LogFontRecord r;
  ByteReader in(bytes);
  r.Height = in.I32();
  r.Width = in.I32();
  r.Escapement = in.I32();
  r.Orientation = in.I32();
  r.Weight = in.I32();
  r.Italic = in.U8();
  r.Underline = in.U8();
  r.StrikeOut = in.U8();
  r.CharSet = in.U8();
  r.OutPrecision = in.U8();
  r.ClipPrecision = in.U8();
  r.Quality = in.U8();
  r.PitchAndFamily = in.U8();
  in.Bytes(r.FaceName.data(), kFaceNameSize);
  r.FaceName[kFaceNameSize - 1] = '\0';
  return r;
}

FontRecordBytes ChooseFontRecord::ToBytes() const {
  FontRecordBytes out{};
  ByteWriter w(out);
  w.U32(StructSize);
  w.U32(Owner);
  w.U32(DC);
  w.U32(LogFontPointer);
  w.I32(PointSize);
  w.U32(Flags);
  w.U32(Color);
  w.U32(CustData);
  w.U32(Hook);
  w.U32(TemplateName);
  w.U32(Instance);
  w.U32(StylePointer);
  w.U16(FontType);
  w.U16(Padding);
  w.I32(SizeMin);
  w.I32(SizeMax);
  return out;
}

std::optional<ChooseFontRecord> ChooseFontRecord::FromBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kFontRecordSize) return std::nullopt;
  ChooseFontRecord r;
  ByteReader in(bytes);
  r.StructSize = in.U32();
  r.Owner = in.U32();
  r.DC = in.U32();
  r.LogFontPointer = in.U32();
  r.PointSize = in.I32();
  r.Flags = in.U32();
  r.Color = in.U32();
  r.CustData = in.U32();
  r.Hook = in.U32();
  r.TemplateName = in.U32();
  r.Instance = in.U32();
  r.StylePointer = in.U32();
  r.FontType = in.U16();
  r.Padding = in.U16();
  r.SizeMin = in.I32();
  r.SizeMax = in.I32();
  return r;
}

}  // namespace vm
