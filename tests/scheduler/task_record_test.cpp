#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "fakes/platform_fakes.h"
#include "scheduler/task.h"

namespace vm {
namespace {

std::uint64_t Le(const TaskRecordBytes& b, std::size_t offset, int size) {
  std::uint64_t value = 0;
  for (int i = 0; i < size; ++i) value |= std::uint64_t{b[offset + i]} << (8 * i);
  return value;
}

std::string Field(const TaskRecordBytes& b, std::size_t offset, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(b.data() + offset), size);
}

// Every character takes two bytes in this "code page".
class DoublingCodec : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override { return std::string(ansi); }
  std::string Utf8ToAnsi(std::string_view utf8) override {
    std::string out;
    for (char c : utf8) out.append(2, c);
    return out;
  }
};

fakes::Latin1Codec codec;

TEST(TaskRecord, EveryFieldSitsAtItsOffsetLittleEndianAndPadsAreZero) {
  TTask t;
  t.AlarmTime = 46363.75;
  t.LastAlarm = 1.0;
  t.AlarmCnt = 0x01020304;
  t.State = 0x0A0B0C0D;
  t.Period = 6;
  t.Cnt = 0xFFFFFFFE;
  t.Active = -1;
  t.SpeakOn = 0x11, t.SoundOn = 0x22, t.ShowPassed = 0x33;
  t.WeekDays = 0x1234;
  t.SoundRepeat = 0xABCD;
  t.Message = "Hi";
  t.TaskId = 0xCAFEBABE;
  t.Spare = 0x5555;  // always written 0
  t.Event = 0x00C1;
  t.Program = "C:\\p.exe";
  t.SoundFile = "s.wav";
  TaskRecordBytes b = SerializeTask(t, codec);

  EXPECT_EQ(Le(b, 0, 8), std::bit_cast<std::uint64_t>(46363.75));
  EXPECT_EQ(Field(b, 8, 8), std::string("\0\0\0\0\0\0\xF0\x3F", 8));  // 1.0
  EXPECT_EQ(Field(b, 16, 4), "\x04\x03\x02\x01");
  EXPECT_EQ(Le(b, 20, 4), 0x0A0B0C0Du);
  EXPECT_EQ(Le(b, 24, 4), 6u);
  EXPECT_EQ(Le(b, 28, 4), 0xFFFFFFFEu);
  EXPECT_EQ(Le(b, 32, 4), 0xFFFFFFFFu);
  EXPECT_EQ(Field(b, 36, 4), std::string("\x11\x22\x33\0", 4));
  EXPECT_EQ(Field(b, 40, 2), "\x34\x12");
  EXPECT_EQ(Le(b, 42, 2), 0xABCDu);
  EXPECT_EQ(Field(b, 44, 248), std::string("Hi") + std::string(246, '\0'));
  EXPECT_EQ(Le(b, 292, 4), 0xCAFEBABEu);
  EXPECT_EQ(Le(b, 296, 2), 0u);
  EXPECT_EQ(Le(b, 298, 2), 0x00C1u);
  EXPECT_EQ(Field(b, 300, 256), std::string("C:\\p.exe") + std::string(248, '\0'));
  EXPECT_EQ(Field(b, 556, 256), std::string("s.wav") + std::string(251, '\0'));
  EXPECT_EQ(Le(b, 812, 4), 0u);
}

TEST(TaskRecord, RoundTripKeepsEveryFieldAndNonFiniteTimes) {
  TTask t;
  t.AlarmTime = 46363.123456789;
  t.LastAlarm = std::numeric_limits<double>::infinity();
  t.AlarmCnt = 4000000000u;
  t.State = 1 | 32 | 128 | 256;
  t.Period = 3, t.Cnt = 12, t.Active = 2;
  t.SpeakOn = 1, t.SoundOn = 0, t.ShowPassed = 1;
  t.WeekDays = 31, t.SoundRepeat = 65535;
  t.Message = "Caf\xC3\xA9";  // é is one byte in the file
  t.TaskId = 77, t.Event = 3;
  t.Program = "C:\\x.lnk";
  t.SoundFile = "D:\\M\xC3\xBCsik.mp3";
  TaskRecordBytes b = SerializeTask(t, codec);
  EXPECT_EQ(b[44 + 3], 0xE9);
  EXPECT_EQ(DeserializeTask(b, codec), t);

  t.AlarmTime = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(DeserializeTask(SerializeTask(t, codec), codec).AlarmTime));
}

TEST(TaskRecord, ReadingIgnoresPadsAndReadsUnterminatedTextsToTheFieldEnd) {
  TaskRecordBytes b;
  b.fill(0xAA);
  std::memset(b.data() + 44, 'm', 248);
  std::memset(b.data() + 300, 'p', 256);
  std::memcpy(b.data() + 556, "bell.wav\0junk", 13);
  TTask t = DeserializeTask(b, codec);
  EXPECT_EQ(t.Message, std::string(248, 'm'));
  EXPECT_EQ(t.Program, std::string(256, 'p'));
  EXPECT_EQ(t.SoundFile, "bell.wav");

  // Written back, each text is cut to leave room for its NUL.
  TaskRecordBytes again = SerializeTask(t, codec);
  EXPECT_EQ(Field(again, 44 + 246, 2), std::string("m\0", 2));
  EXPECT_EQ(Field(again, 300 + 254, 2), std::string("p\0", 2));
}

TEST(TaskRecord, OverLongTextsAreCutByAnsiBytesBetweenWholeCharacters) {
  const std::string e = "\xC3\xA9";  // two UTF-8 bytes, one ANSI byte
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    while (n-- > 0) out += s;
    return out;
  };
  TTask t;
  t.Message = repeat(e, 300);                     // 247 of them fit, not 123
  t.Program = std::string(256, 'b');
  t.SoundFile = std::string(254, 'x') + e + e;    // the cut falls after the first é
  TTask back = DeserializeTask(SerializeTask(t, codec), codec);
  EXPECT_EQ(back.Message, repeat(e, 247));
  EXPECT_EQ(back.Program, std::string(255, 'b'));
  EXPECT_EQ(back.SoundFile, std::string(254, 'x') + e);

  // When the ANSI form is longer than the UTF-8 one, the cut still makes it fit: 61 é of 4
  // bytes each, a 62nd would need 248.
  DoublingCodec doubling;
  t.Message = repeat(e, 200);
  EXPECT_EQ(Field(SerializeTask(t, doubling), 44, 248),
            repeat("\xC3\xC3\xA9\xA9", 61) + std::string(4, '\0'));
}

}  // namespace
}  // namespace vm
