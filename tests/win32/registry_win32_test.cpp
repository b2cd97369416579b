// The registry service against the real registry, in a key of its own under
// HKCU\Software\VemtaroTest that each test removes again.

#include <cstdint>
#include <string>
#include <vector>

#include "win32/services_test_support_win32.h"

namespace vm {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(registry_.CreateKey(RegRoot::CurrentUser, key_)); }
  void TearDown() override {
    registry_.DeleteKeyTree(RegRoot::CurrentUser, key_);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VemtaroTest");  // only when empty
  }

  // Writes a value with the raw API, for the types and shapes the service never writes.
  void RawWrite(const std::string& name, DWORD type, const void* data, DWORD size) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(key_).c_str(), 0, KEY_SET_VALUE, &handle),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(handle, Utf8ToWide(name).c_str(), 0, type,
                             static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(handle);
  }

  Win32Registry registry_;
  std::string key_ = "Software\\VemtaroTest\\" + win32test::UniqueName("reg");
};

TEST_F(RegistryTest, ValuesReadBackAsWritten) {
  const std::string text = "C:\\Programme\\Vemtaro \xC3\xA9\xD0\x96\\";  // é and Ж
  ASSERT_TRUE(registry_.WriteString(RegRoot::CurrentUser, key_, "Vemtaro Path", text));
  ASSERT_TRUE(registry_.WriteString(RegRoot::CurrentUser, key_, "Empty", ""));
  ASSERT_TRUE(registry_.WriteDword(RegRoot::CurrentUser, key_, "FormColor", 0x80000005u));
  std::vector<std::uint8_t> font(60);
  for (std::size_t i = 0; i < font.size(); ++i) font[i] = static_cast<std::uint8_t>(i * 7);
  font[3] = 0;  // binary data keeps its zero bytes
  ASSERT_TRUE(registry_.WriteBinary(RegRoot::CurrentUser, key_, "FontLog2", font));

  auto s = registry_.ReadValue(RegRoot::CurrentUser, key_, "Vemtaro Path");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->type, RegType::String);
  EXPECT_EQ(s->text, text);
  auto e = registry_.ReadValue(RegRoot::CurrentUser, key_, "Empty");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->type, RegType::String);
  EXPECT_EQ(e->text, "");
  auto d = registry_.ReadValue(RegRoot::CurrentUser, key_, "FormColor");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->type, RegType::Dword);
  EXPECT_EQ(d->number, 0x80000005u);
  auto b = registry_.ReadValue(RegRoot::CurrentUser, key_, "FontLog2");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->type, RegType::Binary);
  EXPECT_EQ(b->bytes, font);

  // Value names are case-insensitive and the key may be written with its backslashes.
  auto again = registry_.ReadValue(RegRoot::CurrentUser, "\\" + key_ + "\\", "formcolor");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->number, 0x80000005u);
}

TEST_F(RegistryTest, ForeignShapesAreOtherOrReadSafely) {
  const wchar_t noTerminator[] = {L'a', L'b', L'c'};
  RawWrite("Unterminated", REG_SZ, noTerminator, sizeof noTerminator);
  const wchar_t expand[] = L"%TEMP%\\x";
  RawWrite("Expand", REG_EXPAND_SZ, expand, sizeof expand);
  const wchar_t multi[] = L"a\0b\0";
  RawWrite("Multi", REG_MULTI_SZ, multi, sizeof multi);
  const std::uint16_t shortNumber = 5;
  RawWrite("ShortDword", REG_DWORD, &shortNumber, sizeof shortNumber);
  const std::uint8_t oddString[] = {'x', 0, 'y'};
  RawWrite("Odd", REG_SZ, oddString, sizeof oddString);

  auto unterminated = registry_.ReadValue(RegRoot::CurrentUser, key_, "Unterminated");
  ASSERT_TRUE(unterminated);
  EXPECT_EQ(unterminated->type, RegType::String);
  EXPECT_EQ(unterminated->text, "abc");
  auto expanded = registry_.ReadValue(RegRoot::CurrentUser, key_, "Expand");
  ASSERT_TRUE(expanded);
  EXPECT_EQ(expanded->type, RegType::String);
  EXPECT_EQ(expanded->text, "%TEMP%\\x");  // not expanded
  auto multiple = registry_.ReadValue(RegRoot::CurrentUser, key_, "Multi");
  ASSERT_TRUE(multiple);
  EXPECT_EQ(multiple->type, RegType::Other);
  EXPECT_EQ(multiple->bytes.size(), sizeof multi);
  auto number = registry_.ReadValue(RegRoot::CurrentUser, key_, "ShortDword");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->type, RegType::Other);
  auto odd = registry_.ReadValue(RegRoot::CurrentUser, key_, "Odd");
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->text, "x");  // the half UTF-16 unit at the end is dropped
}

TEST_F(RegistryTest, OversizedValuesAreNeitherWrittenNorLoaded) {
  std::vector<std::uint8_t> big(Win32Registry::kMaxValueSize + 1, 0xAB);
  EXPECT_FALSE(registry_.WriteBinary(RegRoot::CurrentUser, key_, "Big", big));
  EXPECT_FALSE(registry_.ReadValue(RegRoot::CurrentUser, key_, "Big"));
  RawWrite("Big", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
  auto value = registry_.ReadValue(RegRoot::CurrentUser, key_, "Big");
  ASSERT_TRUE(value);  // present, but not loaded
  EXPECT_EQ(value->type, RegType::Other);
  EXPECT_TRUE(value->bytes.empty());
}

TEST_F(RegistryTest, MissingKeysAndValues) {
  EXPECT_FALSE(registry_.ReadValue(RegRoot::CurrentUser, key_, "Nothing"));
  const std::string child = key_ + "\\Child";
  EXPECT_FALSE(registry_.KeyExists(RegRoot::CurrentUser, child));
  EXPECT_FALSE(registry_.ReadValue(RegRoot::CurrentUser, child, "Language"));
  // Writing never creates the key.
  EXPECT_FALSE(registry_.WriteDword(RegRoot::CurrentUser, child, "Zoom", 15));
  EXPECT_FALSE(registry_.KeyExists(RegRoot::CurrentUser, child));
  EXPECT_TRUE(registry_.CreateKey(RegRoot::CurrentUser, child));
  EXPECT_TRUE(registry_.KeyExists(RegRoot::CurrentUser, child));
}

TEST_F(RegistryTest, DeleteValueAndTree) {
  ASSERT_TRUE(registry_.WriteString(RegRoot::CurrentUser, key_, "Language", "x"));
  EXPECT_TRUE(registry_.DeleteValue(RegRoot::CurrentUser, key_, "Language"));
  EXPECT_FALSE(registry_.ReadValue(RegRoot::CurrentUser, key_, "Language"));
  EXPECT_FALSE(registry_.DeleteValue(RegRoot::CurrentUser, key_, "Language"));

  const std::string deep = key_ + "\\A\\B";
  ASSERT_TRUE(registry_.CreateKey(RegRoot::CurrentUser, deep));
  ASSERT_TRUE(registry_.WriteDword(RegRoot::CurrentUser, deep, "N", 1));
  ASSERT_TRUE(registry_.WriteDword(RegRoot::CurrentUser, key_, "M", 2));
  EXPECT_TRUE(registry_.DeleteKeyTree(RegRoot::CurrentUser, key_ + "\\"));
  EXPECT_FALSE(registry_.KeyExists(RegRoot::CurrentUser, deep));
  EXPECT_FALSE(registry_.KeyExists(RegRoot::CurrentUser, key_));
  EXPECT_FALSE(registry_.DeleteKeyTree(RegRoot::CurrentUser, key_));  // already gone
}

// Reads keep their key open: what another program does to the key meanwhile must still be seen,
// and a value longer than the first read's buffer must come whole.
TEST_F(RegistryTest, ReadsSeeTheKeyAsItIsNow) {
  ASSERT_TRUE(registry_.WriteDword(RegRoot::CurrentUser, key_, "Zoom", 15));
  ASSERT_EQ(registry_.ReadValue(RegRoot::CurrentUser, key_, "Zoom")->number, 15u);
  const DWORD changed = 21;
  RawWrite("Zoom", REG_DWORD, &changed, sizeof changed);
  EXPECT_EQ(registry_.ReadValue(RegRoot::CurrentUser, key_, "Zoom")->number, 21u);

  // Deleted and made again behind the service's back.
  ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, Utf8ToWide(key_).c_str()), ERROR_SUCCESS);
  EXPECT_FALSE(registry_.ReadValue(RegRoot::CurrentUser, key_, "Zoom"));
  HKEY made = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(key_).c_str(), 0, nullptr, 0, KEY_WRITE,
                            nullptr, &made, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(made);
  const DWORD remade = 30;
  RawWrite("Zoom", REG_DWORD, &remade, sizeof remade);
  auto zoom = registry_.ReadValue(RegRoot::CurrentUser, key_, "Zoom");
  ASSERT_TRUE(zoom);
  EXPECT_EQ(zoom->number, 30u);

  const std::string longText(700, 'q');  // 1,402 bytes with its terminator
  ASSERT_TRUE(registry_.WriteString(RegRoot::CurrentUser, key_, "Language", longText));
  EXPECT_EQ(registry_.ReadValue(RegRoot::CurrentUser, key_, "Language")->text, longText);
  ASSERT_TRUE(registry_.WriteString(RegRoot::CurrentUser, key_, "Language", "short"));
  EXPECT_EQ(registry_.ReadValue(RegRoot::CurrentUser, key_, "Language")->text, "short");
}

TEST_F(RegistryTest, NamesThatWouldReachTooFarAreRefused) {
  // An empty path names the whole root; a NUL would cut the path down to its parent.
  EXPECT_FALSE(registry_.DeleteKeyTree(RegRoot::CurrentUser, ""));
  EXPECT_FALSE(registry_.DeleteKeyTree(RegRoot::CurrentUser, "\\\\"));
  std::string cut = key_;
  cut += '\0';
  cut += "Child";
  EXPECT_FALSE(registry_.DeleteKeyTree(RegRoot::CurrentUser, cut));
  EXPECT_TRUE(registry_.KeyExists(RegRoot::CurrentUser, key_));
  EXPECT_TRUE(registry_.KeyExists(RegRoot::CurrentUser, "Software"));

  std::string name = "Zoom";
  name += '\0';
  name += "x";
  EXPECT_FALSE(registry_.WriteDword(RegRoot::CurrentUser, key_, name, 1));
  EXPECT_FALSE(registry_.ReadValue(RegRoot::CurrentUser, key_, "Zoom"));
}

TEST(RegistryLocalMachineTest, WritesWorkOrFailCleanly) {
  // Without administrator rights the local machine refuses; Wine lets the user write. Either
  // way the answers must agree with what happened.
  Win32Registry registry;
  const std::string key = "Software\\VemtaroTest\\" + win32test::UniqueName("hklm");
  bool created = registry.CreateKey(RegRoot::LocalMachine, key);
  EXPECT_EQ(registry.KeyExists(RegRoot::LocalMachine, key), created);
  EXPECT_EQ(registry.WriteDword(RegRoot::LocalMachine, key, "Vemtaro", 7), created);
  auto value = registry.ReadValue(RegRoot::LocalMachine, key, "Vemtaro");
  EXPECT_EQ(value.has_value(), created);
  if (value) {
    EXPECT_EQ(value->number, 7u);
  }
  EXPECT_EQ(registry.DeleteKeyTree(RegRoot::LocalMachine, key), created);
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\VemtaroTest");  // only when empty
}

}  // namespace
}  // namespace vm
