#include "ui/toolkit/headless/scripted_dialogs.h"

namespace vm::ui {

namespace {

// What closing the box without a choice gives: the system answers Cancel where there is a
// Cancel button, No for Yes/No, OK for a lone OK.
MsgResult DismissResult(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel: return MsgResult::Cancel;
  }
  return MsgResult::Cancel;
}

template <class T>
std::optional<T> Next(std::deque<std::optional<T>>& queue, int& unanswered) {
  if (queue.empty()) {
    ++unanswered;
    return std::nullopt;
  }
  std::optional<T> answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

}  // namespace

MsgResult ScriptedMessageBoxes::Show(const MessageBoxRequest& request) {
  shown_.push_back(request);
  if (WhileOpen) {
    auto hook = WhileOpen;
    hook(request);
  }
  if (answers_.empty()) {
    ++unanswered_;
    return DismissResult(request.buttons);
  }
  const MsgResult result = answers_.front();
  answers_.pop_front();
  return result;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const OpenFileRequest& request) {
  openRequests_.push_back(request);
  owners_.push_back(request.owner);
  return Next(files_, unanswered_);
}

bool ScriptedDialogs::ChooseFont(FontChoice& choice, WindowId owner) {
  fontRequests_.push_back(choice);
  owners_.push_back(owner);
  std::optional<FontChoice> answer = Next(fonts_, unanswered_);
  if (!answer) return false;
  const std::uint32_t flags = choice.flags;
  choice = *answer;
  choice.flags = flags;
  return true;
}

bool ScriptedDialogs::ChooseColor(ColorChoice& choice, WindowId owner) {
  colorRequests_.push_back(choice);
  owners_.push_back(owner);
  std::optional<Color> answer = Next(colors_, unanswered_);
  if (!answer) return false;
  choice.color = *answer;
  return true;
}

std::optional<std::string> ScriptedDialogs::BrowseForFolder(const std::string& title, WindowId owner) {
  folderRequests_.push_back(title);
  owners_.push_back(owner);
  return Next(folders_, unanswered_);
}

}  // namespace vm::ui
