#pragma once
// Sound playback through the multimedia control interface on the one process-wide device alias
// "song": open a sound file, play it with a completion notice to the main window, pause, resume,
// close, and rewind after the notice. User-interface thread only.

#include <cstdint>
#include <string>

#include "platform/services.h"

namespace vm {

class Mci;
class ShortPaths;

class SoundPlayer {
 public:
  // `notifyWindow` receives the completion notice of PlaySong (0 until the main window exists).
  SoundPlayer(Mci& mci, ShortPaths& shortPaths, MessageBoxes& messages, WindowId notifyWindow = 0);

  void SetNotifyWindow(WindowId window) { notifyWindow_ = window; }
  WindowId NotifyWindow() const { return notifyWindow_; }

  // Opens `path` under the alias and rewinds it. True when that failed; false means the sound
  // stands open at its start (also when the alias was already open: then it is just rewound).
  bool OpenSong(const std::string& path);
  // Starts playing; the main window gets the completion notice.
  void PlaySong();
  void PauseSong();
  void ResumeSong();
  void CloseSong();
  // The main window's answer to the completion notice (any code): rewind, so that the sound can
  // be played again.
  void OnMciNotify(std::uint32_t code);

 private:
  std::uint32_t Send(const std::string& command, WindowId notifyWindow = 0);

  Mci& mci_;
  ShortPaths& shortPaths_;
  MessageBoxes& messages_;
  WindowId notifyWindow_;
};

}  // namespace vm
