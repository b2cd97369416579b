#pragma once
// The clock window, with the time set by the test and the one-second tick run by hand.

#include <chrono>
#include <memory>

#include "main_form_fixture.h"
#include "scheduler/speech.h"

namespace vm::testing {

class ClockTest : public MainFormTest {
 protected:
  ClockTest() {
    // The speech fake reports the end of speaking, so a worker never sleeps ten seconds.
    speech.canWaitUntilDone = true;
  }
  ~ClockTest() override {
    if (form && form->Speaker) form->Speaker->WaitForWorkers(std::chrono::seconds(10));
  }

  // The clock on screen, as after the program started.
  TForm1& Shown() {
    TForm1& f = Create();
    f.Show();
    return f;
  }
  // 7 December 2026 (a Monday) at the given time.
  void At(int hour, int minute, int second, int day = 7) {
    clock.Set(*EncodeDateTime({2026, 12, day}, {hour, minute, second, 0}));
  }
  void Tick() { form->Timer1Timer(form->Timer1); }
  // Speech runs on worker threads: wait for them before counting what was said.
  int Spoken(const std::string& text) {
    if (form->Speaker) form->Speaker->WaitForWorkers(std::chrono::seconds(10));
    return speech.CountOf("Speak " + text);
  }
  void StoreDword(const char* name, std::uint32_t value) {
    registry.CreateKey(RegRoot::CurrentUser, "Software\\Vemtaro");
    registry.WriteDword(RegRoot::CurrentUser, "Software\\Vemtaro", name, value);
  }
  void StoreBinary(const char* name, const FontRecordBytes& bytes) {
    registry.CreateKey(RegRoot::CurrentUser, "Software\\Vemtaro");
    registry.WriteBinary(RegRoot::CurrentUser, "Software\\Vemtaro", name, bytes);
  }
  std::optional<RegValue> Stored(const char* name) {
    return registry.ReadValue(RegRoot::CurrentUser, "Software\\Vemtaro", name);
  }
  int LogCount(const std::string& part) {
    int n = 0;
    for (const std::string& line : log.Messages()) n += line.find(part) != std::string::npos;
    return n;
  }
};

}  // namespace vm::testing
