#pragma once
// The clock window on the headless backend with fake services, for the main window's tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_form.h"
#include "core/log.h"
#include "fakes/action_fakes.h"
#include "fakes/desktop_fakes.h"
#include "fakes/media_fakes.h"
#include "fakes/platform_fakes.h"
#include "ui/toolkit/headless/headless_backend.h"

namespace vm::testing {

class MainFormTest : public ::testing::Test {
 protected:
  static constexpr const char* kDir = "C:\\Program Files\\Vemtaro\\";

  MainFormTest() {
    env.currentDir = kDir;
    startup.programDirectory = kDir;
    language.SetPath(std::string(kDir) + "english.vml");
    services.actions = actions.Services();
    services.mci = &mci;
    services.shortPaths = &shortPaths;
    services.speech = &speech;
  }
  ~MainFormTest() override { SetLogSink(nullptr); }

  // Constructs the clock (construction, then FormCreate) as the program entry does, and runs
  // its speech probe to the end, which the clock itself starts after the first frame: what the
  // probe found is settled, and no probe runs beside the test.
  TForm1& Create() {
    form = &app.CreateForm<TForm1>(services, language, startup);
    form->StartSpeechProbe();
    form->FinishSpeechProbe();
    return *form;
  }
  // Loads a language file with the given lines (CR LF added).
  void UseLanguage(const std::string& lines) {
    files.Put(std::string(kDir) + "test.vml", lines);
    language.LoadLanguageFile(std::string(kDir) + "test.vml");
  }
  std::string TaskFile() { return files.Text(std::string(kDir) + "tasks.sft"); }

  ScopedLogCapture log;
  fakes::FakeClock clock{46363.5};  // 2026-12-07 12:00
  fakes::FakeLocale locale;
  fakes::Latin1Codec codec;
  fakes::FakeRegistry registry;
  fakes::MemoryFileSystem files;
  fakes::FakeEnvironment env;
  fakes::ScriptedMessageBoxes boxes;
  fakes::CallLog calls;            // what the action services were asked, in order
  fakes::ActionFakes actions{calls};
  fakes::RecordingMci mci;
  fakes::TableShortPaths shortPaths;
  fakes::ScriptedSpeechServer speech;
  // Not in `services` unless a test puts them there before Create().
  fakes::FakeDesktop desktop;
  fakes::FakeShellIcons shellIcons;
  MainServices services{clock, locale, codec, registry, files, env, boxes};
  Language language{files, boxes, codec};
  StartupState startup;
  ui::HeadlessBackend backend;
  ui::Application app{backend};
  TForm1* form = nullptr;
};

}  // namespace vm::testing
