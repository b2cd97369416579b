#pragma once
// Message boxes and common dialogs that answer from a script, for tests. Every request is kept;
// a request without a scripted answer is cancelled (and counted), so nothing ever waits.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"
#include "ui/toolkit/dialogs.h"

namespace vm::ui {

class ScriptedMessageBoxes : public MessageBoxes {
 public:
  // Queues the answer to the next message box.
  void Answer(MsgResult result) { answers_.push_back(result); }
  MsgResult Show(const MessageBoxRequest& request) override;

  const std::vector<MessageBoxRequest>& Shown() const { return shown_; }
  int Unanswered() const { return unanswered_; }
  // Runs while a box is "open" (before it answers), e.g. to let timers run meanwhile.
  std::function<void(const MessageBoxRequest&)> WhileOpen;

 private:
  std::deque<MsgResult> answers_;
  std::vector<MessageBoxRequest> shown_;
  int unanswered_ = 0;
};

class ScriptedDialogs : public Dialogs {
 public:
  // Queues answers; nothing means "cancelled".
  void AnswerOpenFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
  void AnswerFont(std::optional<FontChoice> choice) { fonts_.push_back(std::move(choice)); }
  void AnswerColor(std::optional<Color> color) { colors_.push_back(color); }
  void AnswerFolder(std::optional<std::string> path) { folders_.push_back(std::move(path)); }

  std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
  bool ChooseFont(FontChoice& choice, WindowId owner) override;
  bool ChooseColor(ColorChoice& choice, WindowId owner) override;
  std::optional<std::string> BrowseForFolder(const std::string& title, WindowId owner) override;

  // What the program asked for, in order.
  const std::vector<OpenFileRequest>& OpenFileRequests() const { return openRequests_; }
  const std::vector<FontChoice>& FontRequests() const { return fontRequests_; }
  const std::vector<ColorChoice>& ColorRequests() const { return colorRequests_; }
  const std::vector<std::string>& FolderRequests() const { return folderRequests_; }
  const std::vector<WindowId>& Owners() const { return owners_; }
  int Unanswered() const { return unanswered_; }

 private:
  std::deque<std::optional<std::string>> files_;
  std::deque<std::optional<FontChoice>> fonts_;
  std::deque<std::optional<Color>> colors_;
  std::deque<std::optional<std::string>> folders_;
  std::vector<OpenFileRequest> openRequests_;
  std::vector<FontChoice> fontRequests_;
  std::vector<ColorChoice> colorRequests_;
  std::vector<std::string> folderRequests_;
  std::vector<WindowId> owners_;
  int unanswered_ = 0;
};

}  // namespace vm::ui
