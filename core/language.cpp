#include "core/language.h"

#include <array>
#include <new>
#include <utility>

#include "platform/services.h"

namespace vm {

namespace {

struct TableEntry {
  const char* key;
  const char* text;
};

// The shared texts with their English defaults, in table order. The odd spellings and blanks
// are the program's established texts ("Fi" is Thursday's short name); language files may
// replace every one of them.
constexpr std::array<TableEntry, 68> kMessageTable{{
    {"M.1", "Can't get current directory"},
    {"M.2", "Can't get Windows directory"},
    {"M.3", "Can't power off"},
    {"M.4", "Can't shut down"},
    {"M.5", "Can't reboot "},
    {"M.6", "Error OpenProcessToken"},
    {"M.7", "Error on LookupPrivilegeValue"},
    {"M.8", "Error on AdjustTokenPrivileges"},
    {"M.9", "Time have already passed"},
    {"M.10", "Can't snap processes."},
    {"M.11", "Choose process!"},
    {"M.12", "Can't change priority"},
    {"M.13", "Confirm end of process!  "},
    {"M.14", "Can't close the process"},
    {"M.15", "Application had alredy been closed."},
    {"M.16", "You did not choose process"},
    {"M.17", "               Save setting?"},
    {"M.18", "               Confirm delete?"},
    {"L6.1", " Program Monitor"},
    {"L6.2", "RAM usage"},
    {"L6.3", "Total RAM"},
    {"L6.4", "Free  RAM"},
    {"L6.5", "       Monitor ON"},
    {"L6.6", "        Monitor OFF"},
    {"L6.7", "        Save List"},
    {"L6.8", "        Delete"},
    {"C.1", "Warning!"},
    {"C.2", "Message"},
    {"C.3", "Attention!"},
    {"C.4", "Up"},
    {"C.5", "Dn"},
    {"C.6", "00000409"},
    {"C.7", "Saving"},
    {"C.8", "Monday"},
    {"C.9", "Tuesday"},
    {"C.10", "Wednesday"},
    {"C.11", "Thursday"},
    {"C.12", "Friday"},
    {"C.13", "Saturday"},
    {"C.14", "Sunday"},
    {"H.1", "Message at "},
    {"H.2", "Program at "},
    {"H.3", "ShutDown at "},
    {"H.4", "Reboot at "},
    {"H.5", "Hibernate at "},
    {"H.6", "Run program at "},
    {"H.7", "Timer is ON"},
    {"H.8", "Timer is Off"},
    {"H.9", "Timer setting options"},
    {"C.15", "Mn"},
    {"C.16", "Tu"},
    {"C.17", "We"},
    {"C.18", "Fi"},
    {"C.19", "Fr"},
    {"C.20", "St"},
    {"C.21", "Sn"},
    {"C.22", "Jan"},
    {"C.23", "Feb"},
    {"C.24", "Mar"},
    {"C.25", "Apr"},
    {"C.26", "May"},
    {"C.27", "Jun"},
    {"C.28", "Jul"},
    {"C.29", "Aug"},
    {"C.30", "Sep"},
    {"C.31", "Okt"},
    {"C.32", "Nov"},
    {"C.33", "Dec"},
}};

constexpr const char* kOpenFailedCaption = "Can't open language resource";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The length of the well-formed UTF-8 sequence at `at` (no overlong forms, no surrogates, at
// most U+10FFFF), or 0.
std::size_t SequenceAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if ((byte(k) & 0xC0) != 0x80) return 0;
  const unsigned char second = byte(1);
  if (lead == 0xE0 && second < 0xA0) return 0;  // overlong
  if (lead == 0xED && second > 0x9F) return 0;  // surrogate
  if (lead == 0xF0 && second < 0x90) return 0;  // overlong
  if (lead == 0xF4 && second > 0x8F) return 0;  // above U+10FFFF
  return length;
}

// The text with every byte that does not begin a well-formed sequence replaced by U+FFFD.
std::string WellFormedUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceAt(text, i);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return out;
}

int TableIndex(std::string_view key) {
  for (std::size_t i = 0; i < kMessageTable.size(); ++i)
    if (key == kMessageTable[i].key) return static_cast<int>(i);
  return -1;
}

}  // namespace

Language::Language(FileSystem& files, MessageBoxes& messages, TextCodec& codec)
    : files_(files), messages_(messages), codec_(codec) {
  table_.reserve(kMessageTable.size());
  for (const auto& entry : kMessageTable) table_.emplace_back(entry.text);
}

bool Language::LoadLanguageFile(const std::string& path) {
  if (path.empty()) return false;
  std::optional<std::vector<std::uint8_t>> bytes;
  std::string content;
  try {
    bytes = files_.ReadFile(path);
    if (bytes) content.assign(bytes->begin(), bytes->end());
  } catch (const std::bad_alloc&) {
    // A file too large to hold: the texts in force stay, as for any file that cannot be used.
    return false;
  }
  if (!bytes) {
    MessageBoxRequest request;
    request.text = path;
    request.caption = kOpenFailedCaption;
    request.icon = MsgIcon::Warning;
    request.buttons = MsgButtons::Ok;
    request.owner = 0;
    messages_.Show(request);
    return false;
  }
  path_ = path;
  // The mark says UTF-8; without it the file is in the ANSI code page, as files always were.
  utf8_ = content.starts_with(kUtf8Mark);
  if (utf8_) content.erase(0, kUtf8Mark.size());
  buffer_ = std::move(content);
  return true;
}

std::optional<std::string> Language::LookUpText(std::string_view key) const {
  // An empty key would "match" at the first byte of every file.
  if (!buffer_ || key.empty()) return std::nullopt;
  const std::string fileKey = utf8_ ? std::string(key) : codec_.Utf8ToAnsi(key);
  if (fileKey.empty()) return std::nullopt;
  // Searched by length over the whole buffer, so NUL bytes in the file do not end the search.
  const std::string& buffer = *buffer_;
  std::size_t at = buffer.find(fileKey);
  if (at == std::string::npos) return std::nullopt;
  std::size_t start = at + fileKey.size();
  // The text ends at CR; a line break of a single LF ends it too, so that a file saved with
  // another system's line ends does not give each text the whole rest of the file.
  std::size_t end = buffer.find_first_of("\r\n", start);
  if (end == std::string::npos) end = buffer.size();
  const std::string_view text = std::string_view(buffer).substr(start, end - start);
  return utf8_ ? WellFormedUtf8(text) : codec_.AnsiToUtf8(text);
}

std::string Language::TextOr(std::string_view key, std::string_view fallback) const {
  if (auto text = LookUpText(key)) return std::move(*text);
  return std::string(fallback);
}

const std::string& Language::Msg(std::string_view key) const {
  static const std::string kNone;
  int index = TableIndex(key);
  return index < 0 ? kNone : table_[static_cast<std::size_t>(index)];
}

void Language::ApplyTableKeys(std::string_view prefix, int first, int last) {
  for (int number = first; number <= last; ++number) {
    std::string key = std::string(prefix) + std::to_string(number);
    int index = TableIndex(key);
    if (index < 0) continue;  // not a table key: nothing to keep it in
    if (auto text = LookUpText(key)) table_[static_cast<std::size_t>(index)] = std::move(*text);
  }
}

std::vector<std::string> Language::TableKeys() {
  std::vector<std::string> keys;
  keys.reserve(kMessageTable.size());
  for (const auto& entry : kMessageTable) keys.emplace_back(entry.key);
  return keys;
}

}  // namespace vm
