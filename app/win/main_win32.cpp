// The Windows program entry: the real services, the Win32 window backend, then the portable
// program entry, which creates the clock window and runs the message loop.

// The services header comes first: it includes <windows.h> and takes back the macros that would
// rename the file-system methods.
#include "platform/win32_services_win32.h"

#include <chrono>
#include <exception>
#include <string>

#include "app/main_form.h"
#include "app/program_entry.h"
#include "core/language.h"
#include "core/log.h"
#include "scheduler/speech.h"
#include "platform/action_services_win32.h"
#include "platform/desktop_services_win32.h"
#include "platform/media_win32.h"
#include "platform/process_table_win32.h"
#include "platform/theme_source.h"
#include "platform/wide_text_win32.h"
#include "ui/toolkit/backend_win32.h"
#include "ui/windows.h"

namespace {

class WindowsProgramHost : public vm::ProgramHost {
 public:
  WindowsProgramHost(vm::ui::Application& app, vm::MainServices& services, vm::Language& language)
      : app_(app), services_(services), language_(language) {}

  void SetApplicationTitle(const std::string& title) override { app_.SetTitle(title); }

  void RunMainWindow(const vm::StartupState& state) override {
    app_.SetShowMainForm(state.showMainWindow);
    app_.CreateForm<vm::TForm1>(services_, language_, state);
    app_.Run();
  }

  void ShowStartupError(const std::string& message) override {
    MessageBoxW(nullptr, vm::Utf8ToWide(message).c_str(), L"Vemtaro", MB_OK | MB_ICONERROR);
  }

 private:
  vm::ui::Application& app_;
  vm::MainServices& services_;
  vm::Language& language_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The services live to the end of the process: the log and the speech workers may still use
  // them while it ends.
  static vm::Win32Services services;
  static vm::Win32ActionServices actions;
  static vm::Win32Mci mci;
  static vm::Win32ShortPaths shortPaths;
  static vm::Win32SpeechServer speech;
  static std::unique_ptr<vm::ThemeSource> themes = vm::MakeWin32ThemeSource();
  static vm::Win32ShellIcons shellIcons;
  static vm::Win32Desktop desktop;
  static vm::Win32ProcessTable processTable;
  vm::ui::Win32Backend backend;
  vm::ui::Application app(backend);
  vm::Language language(services.GetFileSystem(), services.GetMessageBoxes(), services.GetTextCodec());
  vm::MainServices main{services.GetClock(),    services.GetLocale(),     services.GetTextCodec(),
                        services.GetRegistry(), services.GetFileSystem(), services.GetEnvironment(),
                        services.GetMessageBoxes()};
  main.actions = actions.Get();
  main.mci = &mci;
  main.shortPaths = &shortPaths;
  main.speech = &speech;
  main.themes = themes.get();
  main.shellIcons = &shellIcons;
  main.desktop = &desktop;
  main.processTable = &processTable;
  main.windows = vm::AllWindowKinds();
  vm::ProgramServices entry{services.GetInstanceGuard(), services.GetRegistry(),
                            services.GetFileSystem(),    services.GetEnvironment(),
                            services.GetClock(),         services.GetLocale(),
                            services.GetTextCodec(),     services.GetMessageBoxes()};
  WindowsProgramHost host(app, main, language);
  int code = vm::ProgramEntry(entry, language, host);
  // The clock's speech has been told to stop when the window went (a text being spoken is cut
  // short within a moment). A worker may still be inside a call that does not return soon: a
  // speech server that hangs, or its warning box waiting for the user. The window is gone and
  // everything is saved, so the process does not wait for it: after a short grace the log is
  // closed (which waits for a line being written) and the process ends at once. Returning
  // normally instead would run the exit of the C runtime and of the system libraries while
  // that thread still runs inside them, which can hang the exit.
  if (!vm::WaitForAllSpeechWorkers(std::chrono::milliseconds(100))) {
    vm::WriteLog(" Exit: a speech worker is still busy; the process ends without it");
    vm::SetLogSink(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  }
  return code;
}
