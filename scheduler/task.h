#pragma once
// The task record and its 816-byte file image.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/date_time.h"

namespace vm {

class TextCodec;

// `State` bits: what a firing does.
enum TaskStateBit : std::uint32_t {
  kStateMessage = 1,
  kStateCloseProgram = 2,
  kStateShutdown = 4,
  kStateReboot = 8,
  kStateHibernate = 16,
  kStateRunProgram = 32,
  kStateAlarmSound = 64,
  kStateWakeUp = 128,
  kStateLock = 256,
};

// `Event` bits: which system event starts the task.
enum TaskEventBit : std::uint16_t {
  kEventSessionLock = 1,
  kEventSessionUnlock = 2,
  kEventLogon = 4,
  kEventLogoff = 8,
  kEventPowerOn = 16,
  kEventPowerOff = 32,
  kEventScreenSaverOn = 64,
  kEventScreenSaverOff = 128,
};

// `Period` kinds.
enum TaskPeriod : std::uint32_t {
  kPeriodOnce = 0,
  kPeriodMinutes = 1,
  kPeriodHours = 2,
  kPeriodDays = 3,
  kPeriodWeek = 4,
  kPeriodMonth = 5,
  kPeriodYear = 6,
};

// `Active` values.
enum TaskActive : std::int32_t {
  kInactive = 0,
  kScheduled = 1,
  kWaitingForEvent = 2,
};

// One task. In memory the texts are UTF-8; in the file they are NUL-terminated 8-bit texts of
// the system's ANSI code page in fixed fields (see the k*Field sizes).
struct TTask {
  DateTime AlarmTime = 0.0;
  DateTime LastAlarm = 0.0;
  std::uint32_t AlarmCnt = 0;
  std::uint32_t State = kStateMessage;
  std::uint32_t Period = kPeriodOnce;
  std::uint32_t Cnt = 1;
  std::int32_t Active = kInactive;
  std::uint8_t SpeakOn = 0;
  std::uint8_t SoundOn = 1;
  std::uint8_t ShowPassed = 0;
  std::uint16_t WeekDays = 127;
  std::uint16_t SoundRepeat = 1;
  std::string Message;
  std::uint32_t TaskId = 0;
  std::uint16_t Spare = 0;
  std::uint16_t Event = 0;
  std::string Program;
  std::string SoundFile;
  // The day of the month a monthly or yearly task is meant for (1..31), kept in the record's
  // byte 39 so that a task of the 31st comes back to the 31st after a short month, and one of
  // 29 February after a common year. 0: the day of AlarmTime. Older files may hold anything
  // there; see WantedDayOfMonth for when the byte is believed.
  std::uint8_t DueDay = 0;

  bool operator==(const TTask&) const = default;
};

inline constexpr std::size_t kTaskRecordSize = 816;
inline constexpr std::size_t kMessageField = 248;   // at most 247 bytes + NUL
inline constexpr std::size_t kProgramField = 256;   // at most 255 bytes + NUL
inline constexpr std::size_t kSoundFileField = 256;

using TaskRecordBytes = std::array<std::uint8_t, kTaskRecordSize>;

// Writes the record field by field, little-endian, texts converted to the ANSI code page and cut
// to fit their field (never in the middle of a character); pad bytes are written as 0.
TaskRecordBytes SerializeTask(const TTask& task, TextCodec& codec);

// The same, written straight into 816 bytes of a larger image (every byte is written).
void SerializeTaskTo(const TTask& task, TextCodec& codec,
                     std::span<std::uint8_t, kTaskRecordSize> out);

// The day of the month a monthly or yearly task is due on when its month allows it. The stored
// DueDay is believed only when AlarmTime agrees with it: AlarmTime falls on that very day, or it
// falls on the last day of a month too short for it (31 -> 30 April, 30 -> 28 February), and for
// a yearly task the day exists in that month in some year (29 February, never 31 April). Any
// other value (0, above 31, or a day AlarmTime does not agree with) gives AlarmTime's own day, as
// does a time that is not a date.
int WantedDayOfMonth(const TTask& task);

// Reads a record. A text without a terminating NUL is read up to the end of its field.
TTask DeserializeTask(std::span<const std::uint8_t, kTaskRecordSize> bytes, TextCodec& codec);

// The longest prefix of the UTF-8 text `utf8`, cut between whole characters, whose ANSI form
// takes at most `maxAnsiBytes` bytes. Used for the record's fixed fields, so that what the
// program shows is what the file keeps.
std::string FitTaskText(std::string_view utf8, std::size_t maxAnsiBytes, TextCodec& codec);

}  // namespace vm
