// Regional formats, the ANSI code page conversion and the clock against the real system.

#include <limits>
#include <string>

#include "win32/services_test_support_win32.h"

namespace vm {
namespace {

const DateTime kMorning = *EncodeDateTime({2026, 12, 7}, {8, 5, 3});

std::wstring UserLocaleName() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
  return name;
}

TEST(LocaleTest, EnglishUnitedStatesFormats) {
  if (UserLocaleName() != L"en-US") GTEST_SKIP() << "the user locale is not en-US";
  Win32Locale locale;
  EXPECT_EQ(locale.ShortDate(kMorning), "12/7/2026");
  EXPECT_EQ(locale.LongTime(kMorning), "8:05:03 AM");
  EXPECT_EQ(locale.LongTime(*EncodeDateTime({2026, 12, 31}, {23, 59, 59})), "11:59:59 PM");
  EXPECT_EQ(locale.LongTime(*EncodeDate(2027, 1, 1)), "12:00:00 AM");
  EXPECT_EQ(locale.ShortDate(*EncodeDate(2028, 2, 29)), "2/29/2028");
  EXPECT_EQ(locale.TimeSeparator(), ":");
}

TEST(LocaleTest, ValuesOutsideTheSystemRange) {
  Win32Locale locale;
  // Before 1601 the system cannot format the date; the time of day still follows the locale.
  DateTime early = *EncodeDateTime({1500, 3, 1}, {8, 5, 3});
  EXPECT_EQ(locale.ShortDate(early), "1500-03-01");
  EXPECT_EQ(locale.LongTime(early), locale.LongTime(kMorning));
  EXPECT_EQ(locale.ShortDate(std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(locale.LongTime(1e300), "");
}

TEST(LocaleTest, GermanFormats) {
  // Wine takes the locale from LC_ALL when its loader starts; a Windows child process started
  // from here inherits the parent's locale whatever its environment says (tried), so this runs
  // only in a process started as: LC_ALL=de_DE.UTF-8 wine64 tests_win32.exe
  if (UserLocaleName() != L"de-DE") {
    GTEST_SKIP() << "the user locale is not de-DE; a child process cannot be given another "
                    "locale here. Run with LC_ALL=de_DE.UTF-8 to check the German formats";
  }
  Win32Locale locale;
  EXPECT_EQ(locale.ShortDate(kMorning), "7.12.2026");
  EXPECT_EQ(locale.LongTime(kMorning), "08:05:03");  // 24 hours, leading zero
  EXPECT_EQ(locale.LongTime(*EncodeDateTime({2026, 12, 31}, {23, 59, 59})), "23:59:59");
  EXPECT_EQ(locale.TimeSeparator(), ":");
}

TEST(TextCodecTest, WesternAnsiPage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 1252";
  Win32TextCodec codec;
  EXPECT_EQ(codec.Utf8ToAnsi("Caf\xC3\xA9"), "Caf\xE9");
  EXPECT_EQ(codec.AnsiToUtf8("Caf\xE9"), "Caf\xC3\xA9");
  EXPECT_EQ(codec.AnsiToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(codec.Utf8ToAnsi("\xE2\x82\xAC"), "\x80");
  // Ж has no place in the page; Ā would best-fit to a plain A, which must not happen.
  EXPECT_EQ(codec.Utf8ToAnsi("\xD0\x96x"), "?x");
  EXPECT_EQ(codec.Utf8ToAnsi("\xC4\x80"), "?");
}

TEST(TextCodecTest, EdgesOfTheInput) {
  Win32TextCodec codec;
  const std::string withNul("a\0b", 3);  // fixed-size fields carry NULs; they are kept
  EXPECT_EQ(codec.Utf8ToAnsi(withNul), withNul);
  EXPECT_EQ(codec.AnsiToUtf8(withNul), withNul);
  // Broken UTF-8 does not stop the conversion of what follows.
  std::string broken = codec.Utf8ToAnsi("x\xFFy");
  ASSERT_GE(broken.size(), 3u);
  EXPECT_EQ(broken.front(), 'x');
  EXPECT_EQ(broken.back(), 'y');
}

TEST(ClockTest, LocalTimeAndFileTimeAgree) {
  Win32Clock clock;
  std::uint64_t utc = clock.FileTimeNow();
  DateTime now = clock.Now();
  FILETIME utcTime{static_cast<DWORD>(utc), static_cast<DWORD>(utc >> 32)};
  FILETIME localTime{};
  ASSERT_TRUE(FileTimeToLocalFileTime(&utcTime, &localTime));
  std::uint64_t local =
      (static_cast<std::uint64_t>(localTime.dwHighDateTime) << 32) | localTime.dwLowDateTime;
  // 109205 days lie between 1601-01-01 and 1899-12-30; file times count 100 ns.
  double fromFileTime = static_cast<double>(local) / 864000000000.0 - 109205.0;
  EXPECT_NEAR(now, fromFileTime, 2.0 / 86400.0);
}

}  // namespace
}  // namespace vm
