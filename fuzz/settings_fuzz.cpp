// Any values under Software\Vemtaro, of any registry type and size, read as the program reads
// its settings at start. The input is a list of values: a name byte (one of the setting names,
// or the next bytes as a name of its own), a type byte, a length byte and that many data bytes.
// Checks that what was read is written back and read again unchanged.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "app/settings.h"
#include "fakes/platform_fakes.h"
#include "fuzz_support.h"

namespace {

const char* const kNames[] = {
    "FormColor",   "FontColor", "TransColor", "FontLog",   "FontLog2", "Zoom",
    "DisplayFont", "DisplayFont2", "Transparency", "Left", "Top",      "Background",
    "StayOnTop",   "AutoStart", "DisplayTime", "AsPanel",  "UseMonitor", "DispLeft",
    "DispTop",     "MemWidth",  "MemHeight",  "MemView",   "MemPanelW", "Language"};
constexpr std::size_t kNameCount = sizeof kNames / sizeof kNames[0];
constexpr char kKey[] = "Software\\Vemtaro";

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool More() const { return at_ < size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::span<const std::uint8_t> Bytes(std::size_t n) {
    n = std::min(n, size_ - at_);
    std::span<const std::uint8_t> out(data_ + at_, n);
    at_ += n;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vm::fuzz::InstallLog();
  vm::fakes::FakeRegistry registry;
  registry.CreateKey(vm::RegRoot::CurrentUser, kKey);

  Reader in(data, size);
  while (in.More()) {
    std::uint8_t nameByte = in.Byte();
    std::string name;
    if (nameByte < kNameCount * 8) {
      name = kNames[nameByte % kNameCount];
    } else {
      auto bytes = in.Bytes(nameByte % 16);
      name.assign(bytes.begin(), bytes.end());
    }
    std::uint8_t type = in.Byte();
    // Lengths near the 60 bytes of a font record are the interesting ones.
    std::size_t length = in.Byte();
    auto bytes = in.Bytes(length);
    switch (type % 4) {
      case 0:
        registry.WriteString(vm::RegRoot::CurrentUser, kKey, name, std::string(bytes.begin(), bytes.end()));
        break;
      case 1: {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) number |= std::uint32_t{bytes[i]} << (8 * i);
        registry.WriteDword(vm::RegRoot::CurrentUser, kKey, name, number);
        break;
      }
      case 2:
        registry.WriteBinary(vm::RegRoot::CurrentUser, kKey, name, bytes);
        break;
      default: {
        // A type the program does not know (REG_QWORD, REG_MULTI_SZ ...): kept as raw bytes.
        vm::RegValue value;
        value.type = vm::RegType::Other;
        value.bytes.assign(bytes.begin(), bytes.end());
        registry.WriteValue(vm::RegRoot::CurrentUser, kKey, name, value);
        break;
      }
    }
  }

  vm::fakes::Latin1Codec codec;
  vm::SettingsStore store(registry);
  vm::Settings settings;
  vm::SettingsReadReport report = store.GetRegistryInfo(settings);
  vm::fuzz::Check(report.keyOpened, "the key is there");
  for (const auto* font : {&report.clockFont, &report.displayFont}) {
    if (!*font) continue;
    const vm::FontRecords& records = **font;
    vm::fuzz::Check(records.logFont.Face().size() < vm::LogFontRecord::kFaceNameSize,
                    "a face name always leaves room for its NUL");
    (void)records.logFont.FaceUtf8(codec);
    vm::fuzz::Check(vm::LogFontRecord::FromBytes(records.logFont.ToBytes()) == records.logFont,
                    "a logical font record survives its bytes");
    vm::fuzz::Check(vm::ChooseFontRecord::FromBytes(records.dialog.ToBytes()) == records.dialog,
                    "a font-choice record survives its bytes");
  }
  (void)settings.AppliedOpacity();

  // Everything read is written back (each data type, and the autostart state) and read again;
  // a second round changes nothing more. (The first may: a font-choice record read without its
  // logical font takes the font colour once the pair is complete.)
  auto writeBack = [&store](vm::Settings& s) {
    s.ExecutablePath = "C:\\Vemtaro\\vemtaro.exe";
    for (int dataType = -1; dataType <= 21; ++dataType) store.SetRegistryInfo(s, dataType);
    store.SetAutostart(s);
  };
  writeBack(settings);
  vm::Settings again;
  store.GetRegistryInfo(again);
  writeBack(again);
  vm::Settings third;
  store.GetRegistryInfo(third);
  third.ExecutablePath = again.ExecutablePath;
  vm::fuzz::Check(third == again, "settings written back read again as they were");
  return 0;
}
