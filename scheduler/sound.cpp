#include "scheduler/sound.h"

#include "platform/media_services.h"

namespace vm {

namespace {

constexpr const char* kRewind = "seek song to start";

std::string OpenCommand(const std::string& path) { return "open " + path + " alias song"; }

}  // namespace

SoundPlayer::SoundPlayer(Mci& mci, ShortPaths& shortPaths, MessageBoxes& messages,
                         WindowId notifyWindow)
    : mci_(mci), shortPaths_(shortPaths), messages_(messages), notifyWindow_(notifyWindow) {}

std::uint32_t SoundPlayer::Send(const std::string& command, WindowId notifyWindow) {
  return mci_.SendCommand(command, notifyWindow);
}

bool SoundPlayer::OpenSong(const std::string& path) {
  // The path goes in unquoted first: a path with blanks fails here and is retried in its short
  // form below.
  std::uint32_t result = Send(OpenCommand(path));
  if (result == 0) result = Send(kRewind);
  if (result == 0) return false;

  // A missing file has no short form: no message, the caller beeps instead.
  std::optional<std::string> shortPath = shortPaths_.ShortPath(path);
  if (!shortPath) return true;

  // Volumes with short names turned off hand the long path back unchanged; with a blank in it
  // the unquoted command would fail again for a file that exists, so it is quoted instead.
  const bool hasBlank = shortPath->find(' ') != std::string::npos;
  Send(OpenCommand(hasBlank ? "\"" + path + "\"" : *shortPath));  // fails when already open
  result = Send(kRewind);
  if (result != 0) {
    MessageBoxRequest box;
    box.text = *shortPath;
    box.caption = "Error open file!";
    box.icon = MsgIcon::Warning;
    messages_.Show(box);
  }
  return result != 0;
}

void SoundPlayer::PlaySong() {
  std::uint32_t result = Send("play song notify", notifyWindow_);
  // The error text is fetched but not shown: the alarm window carries on without sound.
  if (result != 0) (void)mci_.ErrorText(result);
}

void SoundPlayer::PauseSong() { Send("pause song"); }

void SoundPlayer::ResumeSong() { Send("resume song"); }

void SoundPlayer::CloseSong() { Send("close song"); }

void SoundPlayer::OnMciNotify(std::uint32_t) { Send(kRewind); }

}  // namespace vm
