#pragma once
// The services the main window and the windows it opens use, handed over by the program entry
// (the real ones) or by a test (fakes). Services that a window does not need may be missing in
// a test; the main window never uses a missing one.

#include "platform/action_services.h"
#include "platform/services.h"

namespace vm {

class Mci;
class ShortPaths;
class SpeechServer;
class ShellIcons;
class Desktop;
class ThemeSource;

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
};

}  // namespace vm
