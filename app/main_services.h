#pragma once
// The services the main window and the windows it opens use, handed over by the program entry
// (the real ones) or by a test (fakes). Services that a window does not need may be missing in
// a test; the main window never uses a missing one.

#include <array>
#include <functional>
#include <memory>

#include "platform/action_services.h"
#include "platform/services.h"

namespace vm {

class Mci;
class ShortPaths;
class SpeechServer;
class ShellIcons;
class Desktop;
class ThemeSource;
class ProcessTable;
class TForm1;
namespace ui {
class Form;
}

// Makes the secondary window of one window number for the clock that opens it.
using WindowCreator = std::function<std::unique_ptr<ui::Form>(TForm1& owner)>;
// The window kinds of this program by window number (0 process manager, 1 options, 2 task list,
// 3 task editor, 4 alarm, 5 about); an empty creator makes that number open nothing.
using WindowKinds = std::array<WindowCreator, 6>;

struct MainServices {
  Clock& clock;
  Locale& locale;
  TextCodec& codec;
  Registry& registry;
  FileSystem& files;
  Environment& environment;
  MessageBoxes& messages;

  // Optional services; missing ones (nullptr) switch their features off.
  ActionServices actions{};
  Mci* mci = nullptr;
  ShortPaths* shortPaths = nullptr;
  SpeechServer* speech = nullptr;
  ShellIcons* shellIcons = nullptr;
  Desktop* desktop = nullptr;
  ThemeSource* themes = nullptr;
  ProcessTable* processTable = nullptr;  // the process manager's view of the running processes
  WindowKinds windows{};
};

}  // namespace vm
