#include "app/settings.h"

#include <algorithm>

#include "core/log.h"
#include "platform/services.h"
#include "scheduler/snooze.h"

namespace vm {

namespace {

constexpr const char* kKey = "Software\\Vemtaro";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Vemtaro";
constexpr RegRoot kUser = RegRoot::CurrentUser;

// Reads single values of the settings key. A value that exists with the wrong registry type or
// size is left out and logged: an old or hand-edited value must not stop the program starting.
class ValueReader {
 public:
  ValueReader(Registry& registry, SettingsReadReport& report)
      : registry_(registry), report_(report) {}

  bool Number(const char* name, std::uint32_t& out) {
    auto v = Fetch(name, RegType::Dword);
    if (!v) return false;
    out = v->number;
    return Accept(name);
  }
  // Signed values are stored as their 32-bit pattern.
  bool Int(const char* name, std::int32_t& out) {
    std::uint32_t n = 0;
    if (!Number(name, n)) return false;
    out = static_cast<std::int32_t>(n);
    return true;
  }
  // A number that means something only within [least, most]; one outside is left out and logged.
  bool IntWithin(const char* name, std::int32_t& out, std::int32_t least, std::int32_t most) {
    auto v = Fetch(name, RegType::Dword);
    if (!v) return false;
    const auto n = static_cast<std::int32_t>(v->number);
    if (n < least || n > most) {
      WriteLog(" Setting %s ignored: %d is out of range", name, static_cast<int>(n));
      report_.ignored.emplace_back(name);
      return false;
    }
    out = n;
    return Accept(name);
  }
  bool Flag(const char* name, bool& out) {
    std::uint32_t n = 0;
    if (!Number(name, n)) return false;
    out = n != 0;
    return true;
  }
  template <typename Record>
  bool FontRecord(const char* name, Record& out) {
    auto v = Fetch(name, RegType::Binary);
    if (!v) return false;
    auto record = Record::FromBytes(v->bytes);
    if (!record) return Ignore(name);
    out = *record;
    return Accept(name);
  }

 private:
  std::optional<RegValue> Fetch(const char* name, RegType type) {
    auto v = registry_.ReadValue(kUser, kKey, name);
    if (!v) return std::nullopt;
    if (v->type != type) {
      Ignore(name);
      return std::nullopt;
    }
    return v;
  }
  bool Accept(const char* name) {
    report_.read.emplace_back(name);
    return true;
  }
  bool Ignore(const char* name) {
    WriteLog(" Setting %s ignored: wrong type or size", name);
    report_.ignored.emplace_back(name);
    return false;
  }

  Registry& registry_;
  SettingsReadReport& report_;
};

// Writes values into the settings key; remembers whether every write succeeded.
class ValueWriter {
 public:
  explicit ValueWriter(Registry& registry) : registry_(registry) {}

  void Number(const char* name, std::uint32_t value) {
    Check(name, registry_.WriteDword(kUser, kKey, name, value));
  }
  void Int(const char* name, std::int32_t value) {
    Number(name, static_cast<std::uint32_t>(value));
  }
  void Flag(const char* name, bool value) { Number(name, value ? 1u : 0u); }
  void Text(const char* name, const std::string& value) {
    Check(name, registry_.WriteString(kUser, kKey, name, value));
  }
  void Binary(const char* name, const FontRecordBytes& bytes) {
    Check(name, registry_.WriteBinary(kUser, kKey, name, bytes));
  }
  bool AllWritten() const { return ok_; }

 private:
  void Check(const char* name, bool written) {
    if (written) return;
    WriteLog(" Setting %s not saved", name);
    ok_ = false;
  }

  Registry& registry_;
  bool ok_ = true;
};

bool IsStoredDataType(int dataType) {
  return dataType >= kDataTypeLanguage && dataType <= kDataTypeSnoozeMinutes && dataType != 4 &&
         dataType != 8;
}

}  // namespace

LogFontRecord Settings::DesignLogFont() {
  LogFontRecord font;
  font.Height = -25;
  font.Weight = 700;
  font.CharSet = 1;  // the system's default character set
  font.SetFace("Georgia");
  return font;
}

ChooseFontRecord Settings::DesignFontDialog() {
  ChooseFontRecord dialog;
  dialog.StructSize = kFontRecordSize;
  dialog.Flags = 321;  // screen fonts, initialise from the logical font, effects
  dialog.Color = kClActiveCaption;
  return dialog;
}

LogFontRecord Settings::DesignDisplayLogFont() {
  LogFontRecord font;
  font.Height = -23;
  font.Weight = 700;
  font.CharSet = 1;
  font.SetFace("Times");
  return font;
}

ChooseFontRecord Settings::DesignDisplayFontDialog() {
  ChooseFontRecord dialog = DesignFontDialog();
  dialog.Color = 0x0000FF00;  // lime
  return dialog;
}

bool SettingsReadReport::WasRead(std::string_view name) const {
  return std::find(read.begin(), read.end(), name) != read.end();
}

SettingsReadReport SettingsStore::GetRegistryInfo(Settings& s) {
  WriteLog("  %s:%d", "TForm1::GetRegistryInfo", __LINE__);
  SettingsReadReport report;
  // Reading never creates the key: a missing key means every setting keeps its default.
  if (!registry_.KeyExists(kUser, kKey)) return report;
  report.keyOpened = true;
  ValueReader in(registry_, report);

  in.Number("FormColor", s.FormColor);
  in.Number("FontColor", s.FontColor);
  in.Flag("TransColor", s.TransColor);

  // The clock font counts only as a pair; FontLog2 is looked at only after a good FontLog.
  if (in.FontRecord("FontLog", s.FontDialog)) {
    report.fontLogRead = true;
    if (in.FontRecord("FontLog2", s.LogFont)) {
      report.fontLog2Read = true;
      s.FontDialog.Color = s.FontColor;
      report.clockFont = FontRecords{s.FontDialog, s.LogFont};
    }
  }

  in.Int("Zoom", s.Zoom);

  // The desktop-time font has records of its own, so the clock's stay the clock's.
  if (in.FontRecord("DisplayFont", s.DisplayFontDialog)) {
    report.displayFontRead = true;
    if (in.FontRecord("DisplayFont2", s.DisplayLogFont)) {
      report.displayFont2Read = true;
      report.displayFont = FontRecords{s.DisplayFontDialog, s.DisplayLogFont};
    }
  }

  report.transparencyRead = in.Int("Transparency", s.Transparency);
  bool leftRead = in.Int("Left", s.Left);
  bool topRead = in.Int("Top", s.Top);
  report.positionRead = leftRead || topRead;

  in.Flag("Background", s.Background);
  in.Flag("StayOnTop", s.StayOnTop);
  in.Flag("AutoStart", s.AutoStart);

  in.Flag("DisplayTime", s.DisplayTime);
  in.Flag("AsPanel", s.AsPanel);
  in.Flag("UseMonitor", s.UseMonitor);
  in.Int("DispLeft", s.DispLeft);
  in.Int("DispTop", s.DispTop);
  in.Int("MemWidth", s.MemWidth);
  in.Int("MemHeight", s.MemHeight);
  in.Flag("MemView", s.MemView);
  in.Int("MemPanelW", s.MemPanelW);

  // A length outside what a snooze can be (none, negative, days) keeps the default.
  in.IntWithin("SnoozeMinutes", s.SnoozeMinutes, kShortestSnoozeMinutes, kLongestSnoozeMinutes);
  return report;
}

bool SettingsStore::SetRegistryInfo(const Settings& s, int dataType) {
  WriteLog("  %s:%d datatype = %d", "TForm1::SetRegistryInfo", __LINE__, dataType);
  // Numbers that name no values leave the registry untouched, not even creating the key.
  if (!IsStoredDataType(dataType)) return false;
  if (dataType == kDataTypeLanguage && s.LanguagePath.empty()) {
    // An empty path would send the next start looking for a file named like the folder.
    WriteLog(" Setting %s not saved: empty", "Language");
    return false;
  }
  if (!registry_.CreateKey(kUser, kKey)) {
    WriteLog(" Settings not saved: key %s cannot be opened", kKey);
    return false;
  }
  ValueWriter out(registry_);
  switch (dataType) {
    case kDataTypeLanguage:
      out.Text("Language", s.LanguagePath);
      break;
    case kDataTypeFormColor:
      out.Number("FormColor", s.FormColor);
      break;
    case kDataTypeFontLog:
      out.Binary("FontLog", s.FontDialog.ToBytes());
      out.Binary("FontLog2", s.LogFont.ToBytes());
      break;
    case kDataTypeTransparency:
      out.Int("Transparency", s.Transparency);
      break;
    case kDataTypePosition:
      out.Int("Left", s.Left);
      out.Int("Top", s.Top);
      break;
    case kDataTypeBackground:
      out.Flag("Background", s.Background);
      break;
    case kDataTypeStayOnTop:
      out.Flag("StayOnTop", s.StayOnTop);
      break;
    case kDataTypeDisplayTime:
      out.Flag("DisplayTime", s.DisplayTime);
      break;
    case kDataTypeDisplayFont:
      out.Binary("DisplayFont", s.DisplayFontDialog.ToBytes());
      out.Binary("DisplayFont2", s.DisplayLogFont.ToBytes());
      break;
    case kDataTypeAsPanel:
      out.Flag("AsPanel", s.AsPanel);
      break;
    case kDataTypeUseMonitor:
      out.Flag("UseMonitor", s.UseMonitor);
      break;
    case kDataTypeFontColor:
      out.Number("FontColor", s.FontColor);
      break;
    case kDataTypeDisplayPosition:
      out.Int("DispLeft", s.DispLeft);
      out.Int("DispTop", s.DispTop);
      break;
    case kDataTypeZoom:
      out.Int("Zoom", s.Zoom);
      break;
    case kDataTypeTransColor:
      out.Flag("TransColor", s.TransColor);
      break;
    case kDataTypeMemWidth:
      out.Int("MemWidth", s.MemWidth);
      break;
    case kDataTypeMemHeight:
      out.Int("MemHeight", s.MemHeight);
      break;
    case kDataTypeMemView:
      out.Flag("MemView", s.MemView);
      break;
    case kDataTypeMemPanelW:
      out.Int("MemPanelW", s.MemPanelW);
      break;
    case kDataTypeSnoozeMinutes:
      out.Int("SnoozeMinutes", s.SnoozeMinutes);
      break;
  }
  return out.AllWritten();
}

bool SettingsStore::SetAutostart(const Settings& s) {
  // An old machine-wide entry would start the program for every user; without the rights to
  // remove it the attempt fails, which changes nothing for this user.
  if (registry_.KeyExists(RegRoot::LocalMachine, kRunKey))
    registry_.DeleteValue(RegRoot::LocalMachine, kRunKey, kRunValue);

  bool ok = registry_.CreateKey(kUser, kKey) &&
            registry_.WriteDword(kUser, kKey, "AutoStart", s.AutoStart ? 1u : 0u);
  if (!ok) WriteLog(" Setting %s not saved", "AutoStart");

  // The per-user Run key belongs to the system; it is used when present, never created.
  if (!registry_.KeyExists(kUser, kRunKey)) {
    if (s.AutoStart) {
      WriteLog(" Autostart entry not written: no Run key");
      return false;
    }
    return ok;  // no key, so no entry: that matches AutoStart off
  }
  if (s.AutoStart) {
    if (s.ExecutablePath.empty()) {
      WriteLog(" Autostart entry not written: no program path");
      return false;
    }
    // The path is stored without quotes, as the Run entry has always been written.
    if (!registry_.WriteString(kUser, kRunKey, kRunValue, s.ExecutablePath)) {
      WriteLog(" Autostart entry not written");
      return false;
    }
    return ok;
  }
  // Deleting fails when there is no entry, which is the state wanted; only a value that is
  // still there afterwards is a failure.
  registry_.DeleteValue(kUser, kRunKey, kRunValue);
  if (registry_.ReadValue(kUser, kRunKey, kRunValue)) {
    WriteLog(" Autostart entry not removed");
    return false;
  }
  return ok;
}

bool SettingsStore::ToggleAutostart(Settings& s) {
  s.AutoStart = !s.AutoStart;
  SetAutostart(s);
  return s.AutoStart;
}

bool SettingsStore::ToggleBackground(Settings& s) {
  s.Background = !s.Background;
  SetRegistryInfo(s, kDataTypeBackground);
  return s.Background;
}

bool SettingsStore::ToggleStayOnTop(Settings& s) {
  s.StayOnTop = !s.StayOnTop;
  SetRegistryInfo(s, kDataTypeStayOnTop);
  return s.StayOnTop;
}

}  // namespace vm
