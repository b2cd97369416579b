#pragma once
// A Scheduler over in-memory services, with a host that counts its calls.

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/language.h"
#include "core/log.h"
#include "fakes/platform_fakes.h"
#include "scheduler/scheduler.h"

namespace vm {

inline void PrintTo(const TTask& t, std::ostream* os) {
  *os << "{Time=" << t.AlarmTime << " Period=" << t.Period << " Cnt=" << t.Cnt
      << " Active=" << t.Active << " Id=" << t.TaskId << " Event=" << t.Event << " Message=\""
      << t.Message << "\"}";
}

}  // namespace vm

namespace vm::schedtest {

class FakeSchedulerHost : public SchedulerHost {
 public:
  void CurrentTaskChanged() override { ++tipRefreshes; }
  void RefreshDateLabels() override { ++labelRefreshes; }
  void ShowEditBufInEditor() override { ++editorShows; }
  void TaskListChanged() override { ++listChanges; }
  void TaskFileWarning(const std::string& text) override { warnings.push_back(text); }
  int tipRefreshes = 0, labelRefreshes = 0, editorShows = 0, listChanges = 0;
  std::vector<std::string> warnings;
};

inline DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return EncodeDateTime({y, mo, d}, {h, mi, s, ms}).value();
}

inline std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

inline const char kProgramDir[] = "C:\\Vemtaro\\";
inline const char kTaskPath[] = "C:\\Vemtaro\\tasks.sft";
inline const char kLanguagePath[] = "C:\\Vemtaro\\english.vml";

class SchedulerTest : public ::testing::Test {
 protected:
  SchedulerTest() {
    files.Put(kLanguagePath, std::string("L2.3Once\r\nL2.4 min\r\nL2.5 h\r\nL2.6 d\r\nL2.7 wk\r\n"
                                         "L2.8 mo\r\nL2.9 yr\r\nL2.11notepad.exe\r\nL2.14Time is up\r\n"
                                         "L2.15bell.wav\r\n20017Lock\r\n20018Unlock\r\n20019Logon\r\n"
                                         "20020Logoff\r\n20021Several\r\n"));
    language.LoadLanguageFile(kLanguagePath);
  }

  static TTask Task(DateTime when, std::uint32_t period = kPeriodOnce, std::uint32_t cnt = 1,
                    std::int32_t active = kScheduled, std::uint16_t event = 0,
                    const char* name = "") {
    TTask task;
    task.AlarmTime = when;
    task.Period = period;
    task.Cnt = cnt;
    task.Active = active;
    task.Event = event;
    task.Message = name;
    return task;
  }

  // "Vemtaro2" (or `header`) followed by the records of `tasks`.
  std::vector<std::uint8_t> FileImage(const std::vector<TTask>& tasks,
                                      const std::string& header = "Vemtaro2") {
    std::vector<std::uint8_t> image = Bytes(header);
    for (const TTask& task : tasks) {
      auto record = SerializeTask(task, codec);
      image.insert(image.end(), record.begin(), record.end());
    }
    return image;
  }
  std::vector<std::uint8_t> FileBytes(const std::string& path = kTaskPath) {
    return Bytes(files.Text(path));
  }
  std::size_t KeptFiles() { return files.PathsStartingWith(std::string(kTaskPath) + ".damaged").size(); }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const TTask& t : scheduler.TaskList) names.push_back(t.Message);
    return names;
  }
  // Appends the tasks with ids following the list's size.
  void Fill(std::vector<TTask> tasks) {
    for (TTask& task : tasks) {
      task.TaskId = static_cast<std::uint32_t>(scheduler.TaskList.size());
      scheduler.TaskList.push_back(task);
    }
  }

  ScopedLogCapture log;
  fakes::MemoryFileSystem files;
  fakes::FakeClock clock{At(2026, 12, 7, 12, 0, 0)};
  fakes::Latin1Codec codec;
  fakes::ScriptedMessageBoxes boxes;
  Language language{files, boxes, codec};
  FakeSchedulerHost host;
  Scheduler scheduler{{files, clock, codec, language, host}, kProgramDir};
};

}  // namespace vm::schedtest
