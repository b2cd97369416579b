// The task list and its file tasks.sft: "Vemtaro2" followed by 816-byte records.
//
// The file is read whole at load and replaced whole (temporary file, flush, replace) at every
// save; no handle stays open in between, so nothing blocks the replacement and a crash at any
// moment leaves either the old or the new list. Whatever a user had is never overwritten before
// it is kept aside: a damaged file, and a file whose last record is cut short, are first kept as
// "tasks.sft.damaged-YYYYMMDD-HHMMSS".

#include <cstring>
#include <memory>

#include "core/language.h"
#include "core/log.h"
#include "platform/services.h"
#include "scheduler/scheduler.h"
#include "scheduler/task_list.h"
#include "core/text_format.h"

namespace vm {

namespace {

constexpr char kTaskFileName[] = "tasks.sft";
constexpr char kMagic[] = "Vemtaro2";
constexpr std::size_t kHeaderSize = 8;
// How many numbered names ("-2", "-3" ...) are tried for a kept file before giving up.
constexpr int kMaxDamagedSuffix = 1000;

// The header test of the task file: the first 8 bytes taken as a NUL-terminated text must
// contain "Vemtaro"; a file shorter than that has no header.
bool HasMagic(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < kHeaderSize) return false;
  char header[kHeaderSize + 1] = {};
  std::memcpy(header, bytes.data(), kHeaderSize);
  return std::strstr(header, "Vemtaro") != nullptr;
}

}  // namespace

Scheduler::Scheduler(const SchedulerServices& services, std::string programDirectory)
    : TaskIter(TaskList.end()),
      files_(services.files),
      clock_(services.clock),
      codec_(services.codec),
      language_(services.language),
      host_(services.host) {
  if (!programDirectory.empty() && programDirectory.back() != '\\' && programDirectory.back() != '/')
    programDirectory += '\\';
  taskFilePath_ = programDirectory + kTaskFileName;
}

std::string Scheduler::Text(std::string_view key) const {
  return language_.LookUpText(key).value_or(std::string());
}

void Scheduler::LoadList() {
  WriteLog("  %s:%d", "TForm1::LoadList", 1356);
  TaskList.clear();
  TaskIter = TaskList.end();
  keepAside_.reset();

  fileHeld_ = false;

  auto bytes = files_.ReadFile(taskFilePath_);
  if (bytes && bytes->size() == kHeaderSize && HasMagic(*bytes)) {
    // Nothing but a header: an emptied list as it was saved. Nothing in it to keep.
    CreateNewFile();
  } else if (!bytes && files_.FileExists(taskFilePath_)) {
    // There but not readable now (another program holds it open, or it is too large): not
    // damaged. It is left as it is and nothing is saved over it in this run.
    WriteLog(" LoadList: tasks.sft can not be read now; it is left untouched");
    fileHeld_ = true;
    InitTask(CurTask);
    TaskList.push_back(CurTask);
    TaskIter = TaskList.begin();
    host_.TaskFileWarning(Message(
        "TF.1",
        "The task file\n%s\ncannot be read at the moment: another program may hold it open, or "
        "it is too large.\n\nVemtaro leaves the file as it is and does not save over it while "
        "it runs, so tasks you add now are not kept. Close the program that holds the file and "
        "start Vemtaro again."));
  } else if (bytes && bytes->size() < kHeaderSize + kTaskRecordSize && HasMagic(*bytes)) {
    // A header and less than one record: nothing to load, as for a bare header, but the bytes
    // after the header may be what is left of the user's task, so they are copied aside first.
    WriteLog(" LoadList: tasks.sft holds no whole record");
    keepAside_ = KeepAside{false, std::move(*bytes)};
    CreateNewFile();
  } else if (bytes && bytes->size() > kHeaderSize && HasMagic(*bytes)) {
    LoadRecords(*bytes);
    std::size_t trailing = (bytes->size() - kHeaderSize) % kTaskRecordSize;
    if (trailing != 0) {
      // The whole records are loaded; the cut-short one is kept in the original file, which is
      // copied aside before anything writes over it.
      WriteLog(" LoadList: tasks.sft ends in %d bytes of an incomplete record",
               static_cast<int>(trailing));
      keepAside_ = KeepAside{false, *bytes};
    }
    if ((*bytes)[kHeaderSize - 1] != '2') UpgradeHeader(*bytes);
    UpdateCurTask();
  } else {
    if (bytes) {
      keepAside_ = KeepAside{true, std::move(*bytes)};
    } else if (files_.FileExists(taskFilePath_)) {
      keepAside_ = KeepAside{true, std::nullopt};  // there but unreadable: move it as it is
    }
    CreateNewFile();
  }
  savedImage_ = Image();
  EditBuf = CurTask;
  host_.CurrentTaskChanged();
  host_.RefreshDateLabels();
}

std::string Scheduler::Message(std::string_view key, const char* fallback) const {
  std::string format;
  if (auto text = language_.LookUpText(key)) {
    // A language file keeps each text on one line; "\n" in it stands for a line break. This is
    // done before the path goes in, so the backslashes of the path stay as they are.
    for (std::size_t i = 0; i < text->size(); ++i) {
      if ((*text)[i] == '\\' && i + 1 < text->size() && (*text)[i + 1] == 'n') {
        format += '\n';
        ++i;
      } else {
        format += (*text)[i];
      }
    }
  } else {
    format = fallback;
  }
  // The path goes where the text has %s (once); a text without it gets the path after it.
  std::string::size_type at = format.find("%s");
  if (at == std::string::npos) return format + "\n" + taskFilePath_;
  return format.substr(0, at) + taskFilePath_ + format.substr(at + 2);
}

bool Scheduler::HasUnsavedChanges() const { return Image() != savedImage_; }

std::string Scheduler::UnsavedChangesMessage() const {
  return Message("TF.3",
                 "Your latest changes to the tasks could not be saved in\n%s\n\nThey are lost "
                 "when Vemtaro ends. To keep tasks, give your user account write access to that "
                 "folder or install Vemtaro in a folder of your own.");
}

void Scheduler::LoadRecords(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t counter = 0;
  for (std::size_t offset = kHeaderSize; offset + kTaskRecordSize <= bytes.size();
       offset += kTaskRecordSize) {
    std::span<const std::uint8_t, kTaskRecordSize> record(bytes.data() + offset, kTaskRecordSize);
    TTask& task = TaskList.emplace_back(DeserializeTask(record, codec_));
    task.TaskId = counter++;
  }
  if (!TaskList.empty()) CurTask = TaskList.back();  // the last record read, as before the choice
}

// A file of the earlier version ("Vemtaro" and another byte at offset 7) becomes a current one.
// The whole header is written, not only byte 7: a header where "Vemtaro" starts at offset 1
// would otherwise turn into one that no longer passes the header test.
void Scheduler::UpgradeHeader(const std::vector<std::uint8_t>& bytes) {
  if (!KeepOriginalAside()) return;
  std::vector<std::uint8_t> upgraded = bytes;
  std::memcpy(upgraded.data(), kMagic, kHeaderSize);
  if (!files_.ReplaceFile(taskFilePath_, upgraded))
    WriteLog(" LoadList: the header of tasks.sft could not be updated");
}

void Scheduler::CreateNewFile() {
  InitTask(CurTask);
  TaskList.push_back(CurTask);
  TaskIter = TaskList.begin();
  if (!KeepOriginalAside()) {
    WriteLog(" LoadList: tasks.sft is left as it is");
    return;
  }
  if (!WriteImage()) WriteLog(" LoadList: tasks.sft could not be created");
}

bool Scheduler::SaveList() {
  WriteLog("  %s:%d", "TForm1::SaveList", 885);
  if (fileHeld_) {
    WriteLog(" SaveList: tasks.sft could not be read at start; it is not overwritten");
    return false;
  }
  if (!KeepOriginalAside() || !WriteImage()) {
    WriteLog(" SaveList failed");
    // Told once per run, and only when something the user did is at stake; the list stays in
    // memory and every later save tries again.
    if (!saveFailureReported_ && HasUnsavedChanges()) {
      saveFailureReported_ = true;
      host_.TaskFileWarning(Message(
          "TF.2",
          "The tasks could not be saved in\n%s\n\nThe folder may be read-only or need "
          "administrator rights, as folders under Program Files do. Vemtaro keeps your tasks "
          "while it runs and tries again at every change. To keep them for good, give your user "
          "account write access to that folder, or install Vemtaro in a folder of your own."));
    }
    return false;
  }
  return true;
}

std::vector<std::uint8_t> Scheduler::Image() const {
  std::vector<std::uint8_t> image(kHeaderSize + TaskList.size() * kTaskRecordSize);
  std::memcpy(image.data(), kMagic, kHeaderSize);
  std::size_t offset = kHeaderSize;
  for (const TTask& task : TaskList) {
    SerializeTaskTo(task, codec_,
                    std::span<std::uint8_t, kTaskRecordSize>(image.data() + offset, kTaskRecordSize));
    offset += kTaskRecordSize;
  }
  return image;
}

bool Scheduler::WriteImage() {
  std::vector<std::uint8_t> image = Image();
  if (!files_.ReplaceFile(taskFilePath_, image)) return false;
  savedImage_ = std::move(image);
  return true;
}

bool Scheduler::KeepOriginalAside() {
  if (!keepAside_) return true;
  std::string name = FreeDamagedName();
  bool kept = false;
  if (!name.empty()) {
    if (keepAside_->mayMove) kept = files_.MoveFile(taskFilePath_, name);
    if (!kept && keepAside_->bytes) kept = files_.ReplaceFile(name, *keepAside_->bytes);
  }
  if (!kept) {
    WriteLog(" tasks.sft could not be kept aside; it is not overwritten");
    return false;
  }
  WriteLog(" tasks.sft kept as %s", name.c_str());
  keepAside_.reset();
  return true;
}

std::string Scheduler::FreeDamagedName() {
  auto parts = SplitDateTime(clock_.Now());
  DateTimeParts when = parts.value_or(DateTimeParts{});
  const std::string stamp = FormatText("%04d%02d%02d-%02d%02d%02d", when.date.year, when.date.month,
                                       when.date.day, when.time.hour, when.time.minute, when.time.second);
  std::string base = taskFilePath_ + ".damaged-" + stamp;
  if (!files_.FileExists(base)) return base;
  for (int n = 2; n <= kMaxDamagedSuffix; ++n) {
    std::string name = base + "-" + std::to_string(n);
    if (!files_.FileExists(name)) return name;
  }
  return std::string();
}

TTask& Scheduler::InitTask(TTask& task) {
  WriteLog("  %s:%d", "TForm1::InitTask", 1426);
  task = TTask{};
  task.AlarmTime = clock_.Now();
  // A language text longer than its field is cut here already, so the editor shows what the
  // file will keep.
  task.Program = FitTaskText(Text("L2.11"), kProgramField - 1, codec_);
  task.SoundFile = FitTaskText(Text("L2.15"), kSoundFileField - 1, codec_);
  task.Message = FitTaskText(Text("L2.14"), kMessageField - 1, codec_);
  return task;
}

bool Scheduler::FindTask(std::uint32_t id) {
  for (TaskIter = TaskList.begin(); TaskIter != TaskList.end(); ++TaskIter)
    if (TaskIter->TaskId == id) return true;
  return false;
}

std::uint32_t Scheduler::NewTaskId() { return NextTaskId(TaskList); }

bool Scheduler::RemoveTask(std::uint32_t id) {
  if (!FindTask(id)) return false;
  TaskIter = TaskList.erase(TaskIter);
  return true;
}

}  // namespace vm
