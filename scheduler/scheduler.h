#pragma once
// The main window's task state and the operations on it: the task list and its file, the
// current task, and the schedule. The main window owns one Scheduler and forwards to it; the
// secondary windows use its members directly. Everything runs on the user-interface thread.

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scheduler/scheduler_host.h"
#include "scheduler/task.h"

namespace vm {

class Clock;
class FileSystem;
class Language;
class TextCodec;

struct SchedulerServices {
  FileSystem& files;
  Clock& clock;
  TextCodec& codec;
  const Language& language;
  SchedulerHost& host;
};

class Scheduler {
 public:
  // `programDirectory` is where tasks.sft lives (a trailing backslash is added when missing).
  Scheduler(const SchedulerServices& services, std::string programDirectory);
  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  std::list<TTask> TaskList;
  std::list<TTask>::iterator TaskIter;  // the one cursor of every list walk
  TTask CurTask;                        // the task the one-second tick tests
  TTask EditBuf;                        // the record exchanged with the task editor

  // --- the task file ---

  // Reads tasks.sft whole into TaskList (ids renumbered 0, 1, 2 ... in file order), chooses
  // CurTask, copies it into EditBuf and refreshes the host. A missing, damaged or unreadable file
  // is kept aside under "tasks.sft.damaged-YYYYMMDD-HHMMSS" and replaced by a new file with one
  // default task; a file of nothing but the header is replaced without keeping it. A file that
  // exists but cannot be read now is left alone: the user is told, and SaveList does not
  // write over it in this run.
  void LoadList();
  // Replaces tasks.sft atomically with the header and every entry in list order. False (and the
  // log line " SaveList failed") when the file could not be written; the list stays as it is.
  bool SaveList();
  // Fills `task` with the defaults of a new task, time now, and returns it.
  TTask& InitTask(TTask& task);
  // Places TaskIter on the first entry with this id; false (TaskIter at the end) when none has it.
  bool FindTask(std::uint32_t id);
  // The largest id in the list plus 1; 1 for an empty list.
  std::uint32_t NewTaskId();
  // Removes the first entry with this id; TaskIter is left on the entry that followed it.
  bool RemoveTask(std::uint32_t id);
  // Full path of tasks.sft.
  const std::string& TaskFilePath() const { return taskFilePath_; }
  // True when the list differs from what tasks.sft was last known to hold (a save failed, or
  // the file could not be read at start and is not written in this run).
  bool HasUnsavedChanges() const;
  // What to tell the user when the program ends with unsaved changes (with the file's path).
  std::string UnsavedChangesMessage() const;

  // --- the schedule ---

  // Sorts TaskList by due time and copies the first scheduled entry (or, when none is, the first
  // entry) into CurTask. An empty list only clears CurTask's Active.
  void UpdateCurTask();
  // Moves the task's AlarmTime forward by its period until it is not earlier than now. False when
  // the task cannot be scheduled (it repeats by nothing, or its time is not a valid date): the
  // time is left as it is, the task is made inactive (Active 0) and a line is logged.
  bool ChainTime(TTask& task);
  // After CurTask fired or was skipped: reschedules or removes it and chooses the next CurTask.
  void ChainTasks();
  // Stores EditBuf into the entry with this id and shows EditBuf in the task editor again.
  void ChangeTask(std::uint32_t id);
  // The wording of a repetition ("Minutes (15)", "1 Week" ...) from the language file.
  std::string PeriodText(std::uint32_t period, std::uint32_t count) const;
  // The wording of an event mask from the language file.
  std::string EventText(std::uint32_t mask) const;

  // --- snoozing (snooze.h) ---

  // Appends a one-time task that rings `fired`'s alarm again `minutes` from now (a length that
  // is no snooze length gives the default): its message followed by `marker`, its sound with
  // the repeat count, its speech and its wake-up bit, none of its program, lock or power
  // actions; a missed ring is reported. Chooses the current task, saves, returns the new id.
  std::uint32_t Snooze(const TTask& fired, int minutes, std::string_view marker);

 private:
  // The original bytes of a file that must not be overwritten before they are kept aside.
  struct KeepAside {
    bool mayMove = false;                             // moving the file itself is allowed
    std::optional<std::vector<std::uint8_t>> bytes;   // what was read, when it could be read
  };

  std::string Text(std::string_view key) const;
  void LoadRecords(const std::vector<std::uint8_t>& bytes);
  void UpgradeHeader(const std::vector<std::uint8_t>& bytes);
  void CreateNewFile();
  bool KeepOriginalAside();
  std::string FreeDamagedName();
  bool WriteImage();
  // The file's content for the list as it is: the header and every record in list order.
  std::vector<std::uint8_t> Image() const;
  // A message text from the language file (or the English default), the file's path for %s.
  std::string Message(std::string_view key, const char* fallback) const;

  FileSystem& files_;
  Clock& clock_;
  TextCodec& codec_;
  const Language& language_;
  SchedulerHost& host_;
  std::string taskFilePath_;
  std::optional<KeepAside> keepAside_;
  std::vector<std::uint8_t> savedImage_;  // what the file holds as far as this run knows
  bool fileHeld_ = false;                 // unreadable at start: never written in this run
  bool saveFailureReported_ = false;      // the user was told that saving fails
};

}  // namespace vm
