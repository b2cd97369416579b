// The formatter of the log and the numeric texts: the same results natively and with the
// Windows C runtime (this program also runs under Wine).

#include "core/text_format.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

TEST(TextFormatTest, PlainConversionsAsEveryCRuntimeFormatsThem) {
  EXPECT_EQ(FormatText("  %s:%d", "TForm1::ChainTime", 42), "  TForm1::ChainTime:42");
  EXPECT_EQ(FormatText("%04d%02d%02d-%02d%02d%02d", 2026, 12, 8, 7, 5, 9), "20261208-070509");
  EXPECT_EQ(FormatText("0x%08X", 0xABCDu), "0x0000ABCD");
  EXPECT_EQ(FormatText("code = 0x%x", 0x80040154u), "code = 0x80040154");
  EXPECT_EQ(FormatText("%d %u %c%%", -7, 4000000000u, 'Z'), "-7 4000000000 Z%");
  EXPECT_EQ(FormatText("%s", ""), "");
  EXPECT_EQ(FormatText("[%5s|%-3d|%.2s]", "ab", 7, "xyz"), "[   ab|7  |xy]");
}

TEST(TextFormatTest, TextsOfAnyLengthAreKeptWhole) {
  const std::string message(5000, 'm');
  const std::string text = FormatText(" Message = %s.", message.c_str());
  ASSERT_EQ(text.size(), message.size() + 12);
  EXPECT_EQ(text.substr(0, 11), " Message = ");
  EXPECT_EQ(text.back(), '.');
  EXPECT_EQ(text.find('\0'), std::string::npos);
}

}  // namespace
}  // namespace vm
