#include "app/settings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/log.h"
#include "fakes/platform_fakes.h"

namespace vm {
namespace {

constexpr const char* kKey = "Software\\Vemtaro";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr RegRoot kUser = RegRoot::CurrentUser;
constexpr RegRoot kMachine = RegRoot::LocalMachine;

RegValue Dw(std::uint32_t n) { return {RegType::Dword, {}, n, {}}; }
RegValue Sz(std::string text) { return {RegType::String, std::move(text), 0, {}}; }
RegValue Bin(std::vector<std::uint8_t> bytes, RegType type = RegType::Binary) {
  return {type, {}, 0, std::move(bytes)};
}
RegValue Rec(const FontRecordBytes& bytes) { return Bin({bytes.begin(), bytes.end()}); }

// Every setting away from its default.
Settings Changed() {
  Settings s{.FormColor = 0x00123456, .FontColor = 0x80000008, .TransColor = true,
             .Transparency = 200, .Left = -20, .Top = 40, .Background = true, .StayOnTop = true,
             .DisplayTime = false, .AsPanel = true, .UseMonitor = false, .DispLeft = 1500,
             .DispTop = -5, .Zoom = 48, .MemWidth = 700, .MemHeight = 500, .MemView = true,
             .MemPanelW = 210, .AutoStart = true, .SnoozeMinutes = 30,
             .LanguagePath = "C:\\Program Files\\Vemtaro\\deutsch.vml",
             .ExecutablePath = "C:\\Program Files\\Vemtaro\\vemtaro.exe"};
  s.FontDialog.Color = 0x0000FF00;
  s.FontDialog.PointSize = 140;
  s.LogFont.Height = -19;
  s.LogFont.SetFace("Arial");
  s.DisplayFontDialog.Color = 0x00FF00FF;
  s.DisplayLogFont.SetFace("Courier New");
  return s;
}

// Stores any registry value, also of a type the plain fake cannot write (reported as Other).
class TestRegistry : public fakes::FakeRegistry {
 public:
  void Put(const char* name, const RegValue& v, const char* key = kKey, RegRoot root = kUser) {
    CreateKey(root, key);
    if (v.type == RegType::Dword) WriteDword(root, key, name, v.number);
    if (v.type == RegType::String) WriteString(root, key, name, v.text);
    if (v.type == RegType::Binary || v.type == RegType::Other) WriteBinary(root, key, name, v.bytes);
    if (v.type == RegType::Other) other_.insert(name);
  }
  std::optional<RegValue> ReadValue(RegRoot root, const std::string& key,
                                    const std::string& name) override {
    auto v = FakeRegistry::ReadValue(root, key, name);
    if (v && other_.count(name)) v->type = RegType::Other;
    return v;
  }

 private:
  std::set<std::string> other_;
};

class SettingsStoreTest : public ::testing::Test {
 protected:
  // A log line that starts and ends so (the source line number sits between).
  bool LogHas(const std::string& start, const std::string& end = "") const {
    for (const auto& m : log.Messages())
      if (m.starts_with(start) && m.ends_with(end) && m.size() >= start.size() + end.size())
        return true;
    return false;
  }

  ScopedLogCapture log;
  TestRegistry registry;
  SettingsStore store{registry};
  Settings settings;
};

TEST_F(SettingsStoreTest, FirstStartKeepsDefaultsAndLeavesOnlyDisplayTimeAndAutoStart) {
  registry.Put("Other", Sz("C:\\other.exe"), kRun);
  SettingsReadReport report = store.GetRegistryInfo(settings);
  EXPECT_FALSE(report.keyOpened);
  EXPECT_EQ(settings, Settings{});
  EXPECT_EQ(settings.AppliedOpacity(), 250);
  EXPECT_FALSE(registry.KeyExists(kUser, kKey)) << "reading must not create the key";
  EXPECT_TRUE(LogHas("  TForm1::GetRegistryInfo:"));

  settings.ExecutablePath = "C:\\Vemtaro\\vemtaro.exe";
  EXPECT_TRUE(store.SetAutostart(settings));
  EXPECT_TRUE(store.SetRegistryInfo(settings, kDataTypeDisplayTime));
  EXPECT_EQ(registry.ValueCount(kUser, kKey), 2u);
  EXPECT_EQ(registry.Dword(kKey, "DisplayTime"), 1u);
  EXPECT_EQ(registry.Dword(kKey, "AutoStart"), 0u);
  EXPECT_FALSE(registry.ReadValue(kUser, kRun, "Vemtaro"));
  EXPECT_EQ(registry.String(kRun, "Other"), "C:\\other.exe");
  EXPECT_TRUE(LogHas("  TForm1::SetRegistryInfo:", " datatype = 9"));
}

TEST_F(SettingsStoreTest, EachDataTypeWritesExactlyItsValues) {
  const Settings s = Changed();
  struct Row {
    int dataType;
    std::vector<std::pair<std::string, RegValue>> values;
  };
  const std::vector<Row> rows = {
      {0, {{"Language", Sz(s.LanguagePath)}}},
      {1, {{"FormColor", Dw(0x00123456)}}},
      {2, {{"FontLog", Rec(s.FontDialog.ToBytes())}, {"FontLog2", Rec(s.LogFont.ToBytes())}}},
      {3, {{"Transparency", Dw(200)}}},
      {5, {{"Left", Dw(0xFFFFFFEC)}, {"Top", Dw(40)}}},
      {6, {{"Background", Dw(1)}}},
      {7, {{"StayOnTop", Dw(1)}}},
      {9, {{"DisplayTime", Dw(0)}}},
      {10, {{"DisplayFont", Rec(s.DisplayFontDialog.ToBytes())},
            {"DisplayFont2", Rec(s.DisplayLogFont.ToBytes())}}},
      {11, {{"AsPanel", Dw(1)}}},
      {12, {{"UseMonitor", Dw(0)}}},
      {13, {{"FontColor", Dw(0x80000008)}}},
      {14, {{"DispLeft", Dw(1500)}, {"DispTop", Dw(0xFFFFFFFB)}}},
      {15, {{"Zoom", Dw(48)}}},
      {16, {{"TransColor", Dw(1)}}},
      {17, {{"MemWidth", Dw(700)}}},
      {18, {{"MemHeight", Dw(500)}}},
      {19, {{"MemView", Dw(1)}}},
      {20, {{"MemPanelW", Dw(210)}}},
      {21, {{"SnoozeMinutes", Dw(30)}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("data type " + std::to_string(row.dataType));
    fakes::FakeRegistry fresh;
    SettingsStore freshStore(fresh);
    EXPECT_TRUE(freshStore.SetRegistryInfo(s, row.dataType));
    EXPECT_EQ(fresh.ValueCount(kUser, kKey), row.values.size());
    for (const auto& [name, want] : row.values) {
      auto got = fresh.ReadValue(kUser, kKey, name);
      ASSERT_TRUE(got.has_value()) << name;
      EXPECT_EQ(got->type, want.type) << name;
      EXPECT_EQ(got->number, want.number) << name;
      EXPECT_EQ(got->text, want.text) << name;
      EXPECT_EQ(got->bytes, want.bytes) << name;
      if (want.type == RegType::Binary) {
        EXPECT_EQ(got->bytes.size(), kFontRecordSize) << name;
      }
    }
  }
}

TEST_F(SettingsStoreTest, NumbersWithoutValuesAndUnopenableKeysWriteNothing) {
  for (int dataType : {4, 8, 22, -1}) {
    EXPECT_FALSE(store.SetRegistryInfo(Changed(), dataType)) << dataType;
    EXPECT_TRUE(LogHas("  TForm1::SetRegistryInfo:", " datatype = " + std::to_string(dataType)));
  }
  EXPECT_FALSE(registry.KeyExists(kUser, kKey));

  Settings noLanguage = Changed();
  noLanguage.LanguagePath.clear();
  EXPECT_FALSE(store.SetRegistryInfo(noLanguage, kDataTypeLanguage));
  EXPECT_FALSE(registry.KeyExists(kUser, kKey));

  registry.DenyWrites(kUser);
  for (int dataType = 0; dataType <= 21; ++dataType)
    EXPECT_FALSE(store.SetRegistryInfo(Changed(), dataType)) << dataType;
  Settings s = Changed();
  EXPECT_FALSE(store.SetAutostart(s));
  EXPECT_FALSE(store.ToggleStayOnTop(s)) << "the setting flips in memory all the same";
  EXPECT_FALSE(registry.KeyExists(kUser, kKey));
}

TEST_F(SettingsStoreTest, WrittenSettingsReadBackEqual) {
  const Settings written = Changed();
  for (int dataType = 0; dataType <= 21; ++dataType) store.SetRegistryInfo(written, dataType);
  registry.CreateKey(kUser, kRun);
  ASSERT_TRUE(store.SetAutostart(written));

  SettingsReadReport report = store.GetRegistryInfo(settings);
  Settings expected = written;
  expected.LanguagePath.clear();  // the entry reads these two, not the settings reader
  expected.ExecutablePath.clear();
  expected.FontDialog.Color = expected.FontColor;  // the clock's record reads with FontColor
  EXPECT_EQ(settings, expected);
  EXPECT_TRUE(report.keyOpened);
  EXPECT_TRUE(report.transparencyRead);
  EXPECT_TRUE(report.positionRead);
  EXPECT_TRUE(report.ignored.empty());
  ASSERT_TRUE(report.clockFont.has_value());
  EXPECT_EQ(report.clockFont->dialog.Color, written.FontColor);
}

TEST_F(SettingsStoreTest, FontLogWithoutFontLog2IsReportedAndNotApplied) {
  ChooseFontRecord dialog;
  dialog.Color = 0x000000FF;
  dialog.Flags = 321;
  registry.Put("FontLog", Rec(dialog.ToBytes()));
  registry.Put("FontColor", Dw(0x00ABCDEF));
  LogFontRecord orphan;
  orphan.SetFace("Orphan");
  registry.Put("DisplayFont2", Rec(orphan.ToBytes()));  // without DisplayFont it is not looked at

  SettingsReadReport report = store.GetRegistryInfo(settings);
  EXPECT_TRUE(report.fontLogRead);
  EXPECT_FALSE(report.fontLog2Read);
  EXPECT_FALSE(report.clockFont.has_value());
  EXPECT_FALSE(report.displayFontRead);
  EXPECT_FALSE(report.displayFont.has_value());
  EXPECT_EQ(settings.FontDialog, dialog);
  EXPECT_EQ(settings.LogFont, Settings::DesignLogFont());
  EXPECT_EQ(settings.FontColor, 0x00ABCDEFu);
}

TEST_F(SettingsStoreTest, ClockFontAndDesktopFontAreReadIntoRecordsOfTheirOwn) {
  ChooseFontRecord clockDialog, deskDialog;
  clockDialog.Color = 0x00000011;
  deskDialog.Color = 0x0000FF00;
  LogFontRecord clockFont, deskFont;
  clockFont.SetFace("Arial");
  deskFont.SetFace("Times New Roman");
  registry.Put("FontColor", Dw(0x00C0FFEE));
  registry.Put("FontLog", Rec(clockDialog.ToBytes()));
  registry.Put("FontLog2", Rec(clockFont.ToBytes()));
  registry.Put("DisplayFont", Rec(deskDialog.ToBytes()));
  registry.Put("DisplayFont2", Rec(deskFont.ToBytes()));

  SettingsReadReport report = store.GetRegistryInfo(settings);
  ASSERT_TRUE(report.clockFont.has_value());
  EXPECT_EQ(report.clockFont->logFont.Face(), "Arial");
  EXPECT_EQ(report.clockFont->dialog.Color, 0x00C0FFEEu) << "the clock font takes FontColor";
  ASSERT_TRUE(report.displayFont.has_value());
  EXPECT_EQ(report.displayFont->logFont.Face(), "Times New Roman");
  EXPECT_EQ(report.displayFont->dialog.Color, 0x0000FF00u);
  // Each font keeps its own records: a later zoom change works on the clock's.
  EXPECT_EQ(settings.LogFont.Face(), "Arial");
  EXPECT_EQ(settings.FontDialog.Color, 0x00C0FFEEu);
  EXPECT_EQ(settings.DisplayLogFont.Face(), "Times New Roman");
  EXPECT_EQ(settings.DisplayFontDialog.Color, 0x0000FF00u);
}

TEST_F(SettingsStoreTest, ValuesOfWrongTypeOrSizeAreIgnoredAndLogged) {
  ChooseFontRecord goodDialog = Changed().FontDialog;
  struct Bad {
    const char* name;
    RegValue value;
  };
  const std::vector<Bad> cases = {
      {"FormColor", Sz("255")},
      {"Left", Bin({1, 0, 0, 0})},
      {"DisplayTime", Sz("1")},
      {"FontLog", Bin(std::vector<std::uint8_t>(59, 1))},
      {"FontLog", Bin(std::vector<std::uint8_t>(61, 1))},
      {"FontLog2", Dw(60)},
      {"DisplayFont", Bin(std::vector<std::uint8_t>{})},
      {"Transparency", Bin({0xC8, 0, 0, 0}, RegType::Other)},
  };
  for (const Bad& bad : cases) {
    SCOPED_TRACE(bad.name);
    TestRegistry fresh;
    SettingsStore freshStore(fresh);
    fresh.Put("MemPanelW", Dw(300));
    fresh.Put("FontLog", Rec(goodDialog.ToBytes()));  // FontLog2 is read only after it
    fresh.Put(bad.name, bad.value);

    Settings s = Changed();
    ScopedLogCapture capture;
    SettingsReadReport report = freshStore.GetRegistryInfo(s);
    Settings expected = Changed();
    expected.MemPanelW = 300;
    EXPECT_EQ(s, expected) << "the previous values stay and reading goes on";
    EXPECT_EQ(report.ignored, std::vector<std::string>{bad.name});
    EXPECT_FALSE(report.WasRead(bad.name));
    EXPECT_TRUE(capture.Contains(std::string(" Setting ") + bad.name +
                                 " ignored: wrong type or size"));
  }
}

TEST_F(SettingsStoreTest, BooleansAreTrueWhenNotZeroAndOpacityIsTheLowByte) {
  registry.Put("DisplayTime", Dw(0));
  registry.Put("StayOnTop", Dw(2));
  registry.Put("AsPanel", Dw(0xFFFFFFFF));
  registry.Put("MemView", Dw(0x100));  // low byte 0, still true
  registry.Put("Transparency", Dw(0x1FF));
  store.GetRegistryInfo(settings);
  EXPECT_FALSE(settings.DisplayTime);
  EXPECT_TRUE(settings.StayOnTop);
  EXPECT_TRUE(settings.AsPanel);
  EXPECT_TRUE(settings.MemView);
  EXPECT_EQ(settings.Transparency, 0x1FF) << "stored as read";
  EXPECT_EQ(settings.AppliedOpacity(), 0xFF);

  for (std::uint32_t stored : {0xFFFFFFFFu, 0x80u, 0x108u, 8u}) {
    registry.Put("Transparency", Dw(stored));
    store.GetRegistryInfo(settings);
    EXPECT_EQ(settings.AppliedOpacity(), stored & 0xFF) << stored;
  }
  // Below the opacity track bar's least value the clock would vanish: it keeps 8.
  for (std::uint32_t stored : {0u, 7u, 0x100u, 0xFFFFFF03u}) {
    registry.Put("Transparency", Dw(stored));
    store.GetRegistryInfo(settings);
    EXPECT_EQ(settings.AppliedOpacity(), 8) << stored;
  }
}

TEST_F(SettingsStoreTest, SnoozeLengthIsReadWithinOneMinuteToADayElseItIsFive) {
  // Lengths the window does not offer are honoured; none, negative, over a day or no number not.
  for (const RegValue& stored : {Dw(1), Dw(7), Dw(1440), Dw(0), Dw(0xFFFFFFFB), Dw(1441), Sz("10")}) {
    Settings s;
    registry.Put("SnoozeMinutes", stored);
    SettingsReadReport report = store.GetRegistryInfo(s);
    const bool good = stored.type == RegType::Dword && stored.number >= 1 && stored.number <= 1440;
    EXPECT_EQ(s.SnoozeMinutes, good ? static_cast<std::int32_t>(stored.number) : 5) << stored.number;
    EXPECT_EQ(report.WasRead("SnoozeMinutes"), good) << stored.number;
    EXPECT_EQ(report.ignored.size(), good ? 0u : 1u) << stored.number;
  }
}

TEST_F(SettingsStoreTest, TogglingAutostartAddsAndRemovesTheRunValue) {
  registry.CreateKey(kUser, kRun);
  registry.Put("Vemtaro", Sz("C:\\Old\\vemtaro.exe"), kRun, kMachine);
  settings.ExecutablePath = "C:\\Program Files\\Vemtaro\\vemtaro.exe";

  EXPECT_TRUE(store.ToggleAutostart(settings));
  EXPECT_TRUE(settings.AutoStart);
  EXPECT_EQ(registry.String(kRun, "Vemtaro"), "C:\\Program Files\\Vemtaro\\vemtaro.exe");
  EXPECT_EQ(registry.Dword(kKey, "AutoStart"), 1u);
  EXPECT_FALSE(registry.ReadValue(kMachine, kRun, "Vemtaro")) << "machine-wide entry removed";

  registry.Put("Vemtaro", Sz("C:\\Old\\vemtaro.exe"), kRun, kMachine);
  EXPECT_FALSE(store.ToggleAutostart(settings));
  EXPECT_FALSE(registry.ReadValue(kUser, kRun, "Vemtaro"));
  EXPECT_EQ(registry.Dword(kKey, "AutoStart"), 0u);
  EXPECT_FALSE(registry.ReadValue(kMachine, kRun, "Vemtaro"));
  EXPECT_TRUE(store.SetAutostart(settings)) << "no entry to remove is the wanted state";
}

TEST_F(SettingsStoreTest, AutostartCopesWithMissingRightsKeysAndPath) {
  registry.Put("Vemtaro", Sz("C:\\Old\\vemtaro.exe"), kRun, kMachine);
  registry.DenyWrites(kMachine);
  registry.CreateKey(kUser, kRun);
  settings.ExecutablePath = "C:\\Vemtaro\\vemtaro.exe";
  settings.AutoStart = true;
  EXPECT_TRUE(store.SetAutostart(settings)) << "a machine-wide value that stays is ignored";
  EXPECT_TRUE(registry.ReadValue(kMachine, kRun, "Vemtaro"));
  EXPECT_EQ(registry.String(kRun, "Vemtaro"), "C:\\Vemtaro\\vemtaro.exe");

  fakes::FakeRegistry noRun;
  SettingsStore noRunStore(noRun);
  EXPECT_FALSE(noRunStore.SetAutostart(settings)) << "autostart on without a Run key";
  EXPECT_FALSE(noRun.KeyExists(kUser, kRun)) << "the system's key is not created";
  EXPECT_EQ(noRun.Dword(kKey, "AutoStart"), 1u);

  settings.ExecutablePath.clear();
  registry.DeleteValue(kUser, kRun, "Vemtaro");
  EXPECT_FALSE(store.SetAutostart(settings));
  EXPECT_FALSE(registry.ReadValue(kUser, kRun, "Vemtaro")) << "no empty command";
}

TEST_F(SettingsStoreTest, BackgroundAndStayOnTopTogglesWriteOnlyTheirValue) {
  EXPECT_TRUE(store.ToggleBackground(settings));
  EXPECT_EQ(registry.Dword(kKey, "Background"), 1u);
  EXPECT_TRUE(store.ToggleStayOnTop(settings));
  EXPECT_EQ(registry.Dword(kKey, "StayOnTop"), 1u);
  EXPECT_FALSE(store.ToggleBackground(settings));
  EXPECT_EQ(registry.Dword(kKey, "Background"), 0u);
  EXPECT_EQ(registry.ValueCount(kUser, kKey), 2u);
  EXPECT_TRUE(LogHas("  TForm1::SetRegistryInfo:", " datatype = 7"));
}

}  // namespace
}  // namespace vm
