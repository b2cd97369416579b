#include "scheduler/task.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "platform/services.h"

namespace vm {

namespace {

// Field offsets of the 816-byte record. They are the file format: never reorder.
constexpr std::size_t kOffAlarmTime = 0;
constexpr std::size_t kOffLastAlarm = 8;
constexpr std::size_t kOffAlarmCnt = 16;
constexpr std::size_t kOffState = 20;
constexpr std::size_t kOffPeriod = 24;
constexpr std::size_t kOffCnt = 28;
constexpr std::size_t kOffActive = 32;
constexpr std::size_t kOffSpeakOn = 36;
constexpr std::size_t kOffSoundOn = 37;
constexpr std::size_t kOffShowPassed = 38;
constexpr std::size_t kOffDueDay = 39;
constexpr std::size_t kOffWeekDays = 40;
constexpr std::size_t kOffSoundRepeat = 42;
constexpr std::size_t kOffMessage = 44;
constexpr std::size_t kOffTaskId = 292;
constexpr std::size_t kOffSpare = 296;
constexpr std::size_t kOffEvent = 298;
constexpr std::size_t kOffProgram = 300;
constexpr std::size_t kOffSoundFile = 556;

static_assert(kOffMessage + kMessageField == kOffTaskId);
static_assert(kOffProgram + kProgramField == kOffSoundFile);
static_assert(kOffSoundFile + kSoundFileField + 4 == kTaskRecordSize);

// Explicit byte writes, least significant byte first, so the layout does not depend on the
// compiler, the pointer size or the host's byte order.
using RecordOut = std::span<std::uint8_t, kTaskRecordSize>;

void PutUnsigned(RecordOut out, std::size_t offset, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t GetUnsigned(std::span<const std::uint8_t, kTaskRecordSize> in, std::size_t offset,
                          int size) {
  std::uint64_t value = 0;
  for (int i = 0; i < size; ++i) value |= std::uint64_t{in[offset + i]} << (8 * i);
  return value;
}

void PutDateTime(RecordOut out, std::size_t offset, DateTime value) {
  PutUnsigned(out, offset, std::bit_cast<std::uint64_t>(value), 8);
}

DateTime GetDateTime(std::span<const std::uint8_t, kTaskRecordSize> in, std::size_t offset) {
  return std::bit_cast<DateTime>(GetUnsigned(in, offset, 8));
}

// Bytes below 0x80 are the same characters in UTF-8 and in every ANSI code page, so texts made
// of them only are copied as they are; this spares two conversions per text on large lists.
bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void PutText(RecordOut out, std::size_t offset, std::size_t field, const std::string& utf8,
             TextCodec& codec) {
  const std::size_t maxBytes = field - 1;  // one byte stays for the NUL
  if (IsAscii(utf8)) {
    std::memcpy(out.data() + offset, utf8.data(), std::min(utf8.size(), maxBytes));
    return;
  }
  std::string ansi = codec.Utf8ToAnsi(utf8);
  if (ansi.size() > maxBytes) ansi = codec.Utf8ToAnsi(FitTaskText(utf8, maxBytes, codec));
  // A codec that still returns too much is cut hard: the field must hold its NUL.
  std::size_t n = std::min(ansi.size(), maxBytes);
  std::memcpy(out.data() + offset, ansi.data(), n);
}

std::string GetText(std::span<const std::uint8_t, kTaskRecordSize> in, std::size_t offset,
                    std::size_t field, TextCodec& codec) {
  const auto* begin = reinterpret_cast<const char*>(in.data() + offset);
  const void* nul = std::memchr(begin, 0, field);
  std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - begin) : field;
  std::string_view ansi(begin, n);
  return IsAscii(ansi) ? std::string(ansi) : codec.AnsiToUtf8(ansi);
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string FitTaskText(std::string_view utf8, std::size_t maxAnsiBytes, TextCodec& codec) {
  if (IsAscii(utf8)) return std::string(utf8.substr(0, maxAnsiBytes));
  if (codec.Utf8ToAnsi(utf8).size() <= maxAnsiBytes) return std::string(utf8);
  // Character starts; cutting at one of them never splits a character.
  std::vector<std::size_t> cuts;
  for (std::size_t i = 0; i < utf8.size(); ++i)
    if (!IsUtf8Continuation(utf8[i])) cuts.push_back(i);
  if (cuts.empty() || cuts.front() != 0) cuts.insert(cuts.begin(), 0);
  // The ANSI length grows with the prefix, so the longest fitting prefix is found by halving.
  std::size_t lo = 0, hi = cuts.size() - 1;  // cuts[lo] fits (the empty text always does)
  while (lo < hi) {
    std::size_t mid = lo + (hi - lo + 1) / 2;
    if (codec.Utf8ToAnsi(utf8.substr(0, cuts[mid])).size() <= maxAnsiBytes)
      lo = mid;
    else
      hi = mid - 1;
  }
  return std::string(utf8.substr(0, cuts[lo]));
}

TaskRecordBytes SerializeTask(const TTask& task, TextCodec& codec) {
  TaskRecordBytes out;
  SerializeTaskTo(task, codec, out);
  return out;
}

void SerializeTaskTo(const TTask& task, TextCodec& codec, RecordOut out) {
  // Pad bytes and the rest of every text field stay 0.
  std::memset(out.data(), 0, out.size());
  PutDateTime(out, kOffAlarmTime, task.AlarmTime);
  PutDateTime(out, kOffLastAlarm, task.LastAlarm);
  PutUnsigned(out, kOffAlarmCnt, task.AlarmCnt, 4);
  PutUnsigned(out, kOffState, task.State, 4);
  PutUnsigned(out, kOffPeriod, task.Period, 4);
  PutUnsigned(out, kOffCnt, task.Cnt, 4);
  PutUnsigned(out, kOffActive, static_cast<std::uint32_t>(task.Active), 4);
  out[kOffSpeakOn] = task.SpeakOn;
  out[kOffSoundOn] = task.SoundOn;
  out[kOffShowPassed] = task.ShowPassed;
  out[kOffDueDay] = task.DueDay;
  PutUnsigned(out, kOffWeekDays, task.WeekDays, 2);
  PutUnsigned(out, kOffSoundRepeat, task.SoundRepeat, 2);
  PutText(out, kOffMessage, kMessageField, task.Message, codec);
  PutUnsigned(out, kOffTaskId, task.TaskId, 4);
  PutUnsigned(out, kOffSpare, 0, 2);  // Spare is always written 0, whatever memory holds
  PutUnsigned(out, kOffEvent, task.Event, 2);
  PutText(out, kOffProgram, kProgramField, task.Program, codec);
  PutText(out, kOffSoundFile, kSoundFileField, task.SoundFile, codec);
}

TTask DeserializeTask(std::span<const std::uint8_t, kTaskRecordSize> in, TextCodec& codec) {
  TTask task;
  task.AlarmTime = GetDateTime(in, kOffAlarmTime);
  task.LastAlarm = GetDateTime(in, kOffLastAlarm);
  task.AlarmCnt = static_cast<std::uint32_t>(GetUnsigned(in, kOffAlarmCnt, 4));
  task.State = static_cast<std::uint32_t>(GetUnsigned(in, kOffState, 4));
  task.Period = static_cast<std::uint32_t>(GetUnsigned(in, kOffPeriod, 4));
  task.Cnt = static_cast<std::uint32_t>(GetUnsigned(in, kOffCnt, 4));
  task.Active = static_cast<std::int32_t>(static_cast<std::uint32_t>(GetUnsigned(in, kOffActive, 4)));
  task.SpeakOn = in[kOffSpeakOn];
  task.SoundOn = in[kOffSoundOn];
  task.ShowPassed = in[kOffShowPassed];
  task.DueDay = in[kOffDueDay];
  task.WeekDays = static_cast<std::uint16_t>(GetUnsigned(in, kOffWeekDays, 2));
  task.SoundRepeat = static_cast<std::uint16_t>(GetUnsigned(in, kOffSoundRepeat, 2));
  task.Message = GetText(in, kOffMessage, kMessageField, codec);
  task.TaskId = static_cast<std::uint32_t>(GetUnsigned(in, kOffTaskId, 4));
  task.Spare = static_cast<std::uint16_t>(GetUnsigned(in, kOffSpare, 2));
  task.Event = static_cast<std::uint16_t>(GetUnsigned(in, kOffEvent, 2));
  task.Program = GetText(in, kOffProgram, kProgramField, codec);
  task.SoundFile = GetText(in, kOffSoundFile, kSoundFileField, codec);
  return task;
}

}  // namespace vm

namespace vm {

int WantedDayOfMonth(const TTask& task) {
  auto parts = SplitDateTime(task.AlarmTime);
  if (!parts) return 0;
  const int day = parts->date.day;
  const int stored = task.DueDay;
  if (stored < 1 || stored > 31 || stored == day) return day;
  if (task.Period != kPeriodMonth && task.Period != kPeriodYear) return day;
  const int year = parts->date.year;
  const int month = parts->date.month;
  // Clamped: AlarmTime is the last day of its month and the wanted day lies beyond it.
  if (day != DaysInMonth(year, month) || stored < day) return day;
  // A yearly task stays in its month: the wanted day must exist there in a leap year.
  if (task.Period == kPeriodYear && stored > DaysInMonth(2000, month)) return day;
  return stored;
}

}  // namespace vm
