// Any bytes as a language file, and any key looked up in it: the first input byte gives the
// key's length, the next bytes are the key, the rest is the file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/language.h"
#include "fakes/platform_fakes.h"
#include "fuzz_support.h"

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

  // The table keys as the program reads them at start, then every one of them.
  language.ApplyTableKeys("M.", 1, 18);
  language.ApplyTableKeys("L6.", 1, 8);
  language.ApplyTableKeys("C.", 1, 33);
  language.ApplyTableKeys("H.", 1, 9);
  language.ApplyTableKeys(key, 0, 40);
  for (const std::string& tableKey : vm::Language::TableKeys()) (void)language.Msg(tableKey);
  (void)language.Msg(key);
  return 0;
}
