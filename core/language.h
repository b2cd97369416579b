#pragma once
// Language files (*.vml: lines of key + text) and the shared message-text table. A file that
// starts with the UTF-8 byte-order mark is UTF-8; any other is 8-bit text in the ANSI code page.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vm {

class FileSystem;
class MessageBoxes;
class TextCodec;

class Language {
 public:
  Language(FileSystem& files, MessageBoxes& messages, TextCodec& codec);

  // Loads the whole file. False for an empty path or an unreadable file (the latter shows the
  // warning "Can't open language resource" with the path as text); the previous texts stay.
  bool LoadLanguageFile(const std::string& path);

  // The text after the first occurrence of `key` anywhere in the file (also inside another
  // line), up to the next CR or LF or the end of the file, as UTF-8 (a byte sequence of a UTF-8
  // file that is not UTF-8 becomes U+FFFD). Nothing when no file is loaded or the key is absent
  // or empty.
  std::optional<std::string> LookUpText(std::string_view key) const;

  // LookUpText, or `fallback` when the key is absent.
  std::string TextOr(std::string_view key, std::string_view fallback) const;

  // The path last chosen or loaded.
  const std::string& Path() const { return path_; }
  void SetPath(const std::string& path) { path_ = path; }

  // The message-text table: the entry of a key ("M.3", "C.1", "L6.2", "H.4", "C.22" ...), its
  // English default until a language was applied. Unknown keys give an empty text.
  const std::string& Msg(std::string_view key) const;

  // Replaces the table entries of keys prefix + first .. prefix + last that the loaded file holds
  // (for example "C.", 1, 14); entries whose keys the file lacks keep their current text.
  void ApplyTableKeys(std::string_view prefix, int first, int last);

  // The table's keys in order (for tests and the shipped english.vml check).
  static std::vector<std::string> TableKeys();

 private:
  FileSystem& files_;
  MessageBoxes& messages_;
  TextCodec& codec_;
  std::string path_;
  std::optional<std::string> buffer_;  // raw bytes of the file, without a byte-order mark
  bool utf8_ = false;                  // the file began with the UTF-8 byte-order mark
  std::vector<std::string> table_;     // UTF-8, index as TableKeys()
};

}  // namespace vm
