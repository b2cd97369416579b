// Any bytes as a language file, and any key looked up in it: the first input byte gives the
// key's length, the next bytes are the key, the rest is the file. The file is read as it is
// (ANSI, or UTF-8 when it starts with the byte-order mark) and once more with the mark put
// before it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/language.h"
#include "fakes/platform_fakes.h"
#include "fuzz_support.h"

namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// Well-formed UTF-8 after the table of well-formed byte sequences of the Unicode standard
// (each lead byte with the range its second byte may take).
bool WellFormed(const std::string& text) {
  struct Row {
    unsigned char leadFirst, leadLast, secondFirst, secondLast;
    int length;
  };
  constexpr Row kRows[] = {{0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3}, {0xE1, 0xEC, 0x80, 0xBF, 3},
                           {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3}, {0xF0, 0xF0, 0x90, 0xBF, 4},
                           {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4}};
  for (std::size_t i = 0; i < text.size();) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    if (at(0) < 0x80) {
      ++i;
      continue;
    }
    const Row* row = nullptr;
    for (const Row& r : kRows)
      if (at(0) >= r.leadFirst && at(0) <= r.leadLast) row = &r;
    if (!row || i + row->length > text.size()) return false;
    if (at(1) < row->secondFirst || at(1) > row->secondLast) return false;
    for (int k = 2; k < row->length; ++k)
      if (at(k) < 0x80 || at(k) > 0xBF) return false;
    i += row->length;
  }
  return true;
}

bool IsAscii(const std::string& bytes) {
  for (unsigned char c : bytes)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  vm::fuzz::InstallLog();
  std::size_t keyLength = data[0] % 48;
  if (keyLength > size - 1) keyLength = size - 1;
  const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
  const std::string file(reinterpret_cast<const char*>(data + 1 + keyLength), size - 1 - keyLength);

  vm::fakes::MemoryFileSystem files;
  vm::fakes::ScriptedMessageBoxes boxes;
  vm::fakes::Latin1Codec codec;
  vm::Language language{files, boxes, codec};
  files.Put("C:\\Vemtaro\\english.vml", file);
  vm::fuzz::Check(language.LoadLanguageFile("C:\\Vemtaro\\english.vml"), "a readable file loads");

  auto text = language.LookUpText(key);
  if (text) {
    // A text never runs past the end of its line.
    vm::fuzz::Check(text->find_first_of("\r\n") == std::string::npos, "a text is one line");
    vm::fuzz::Check(language.TextOr(key, "fallback") == *text, "TextOr gives the text found");
  } else {
    vm::fuzz::Check(language.TextOr(key, "fallback") == "fallback", "TextOr gives the fallback");
  }

  // The same bytes as a UTF-8 file: every text is well-formed UTF-8, and where neither the file
  // nor the key holds anything but ASCII, the texts are those of the file read as ANSI.
  vm::Language utf8{files, boxes, codec};
  files.Put("C:\\Vemtaro\\russian.vml", kUtf8Mark + file);
  vm::fuzz::Check(utf8.LoadLanguageFile("C:\\Vemtaro\\russian.vml"), "a marked file loads");
  auto utf8Text = utf8.LookUpText(key);
  if (utf8Text) {
    vm::fuzz::Check(utf8Text->find_first_of("\r\n") == std::string::npos, "a UTF-8 text is one line");
    vm::fuzz::Check(WellFormed(*utf8Text), "a UTF-8 text is well-formed");
  }
  if (IsAscii(file) && IsAscii(key)) vm::fuzz::Check(utf8Text == text, "ASCII reads alike in both encodings");

  // The table keys as the program reads them at start, then every one of them.
  for (vm::Language* each : {&language, &utf8}) {
    each->ApplyTableKeys("M.", 1, 18);
    each->ApplyTableKeys("L6.", 1, 8);
    each->ApplyTableKeys("C.", 1, 33);
    each->ApplyTableKeys("H.", 1, 9);
    each->ApplyTableKeys(key, 0, 40);
    for (const std::string& tableKey : vm::Language::TableKeys()) {
      const std::string& entry = each->Msg(tableKey);
      if (each == &utf8) vm::fuzz::Check(WellFormed(entry), "a table text from a UTF-8 file is well-formed");
    }
    (void)each->Msg(key);
  }
  return 0;
}
