#pragma once
// The icon in the notification area. One record per icon: identifier, callback message, flags,
// icon and tip; the system's answers are returned as they come.

#include <cstdint>
#include <optional>
#include <string>

#include "ui/toolkit/image_list.h"

namespace vm::ui {

class Form;

enum class TrayAction : std::uint8_t { Add = 0, Modify = 1, Delete = 2 };

// The application's message base (0x8000) + 100: the notification-area icon's callback.
inline constexpr std::uint32_t kTrayCallbackMessage = 32868;
inline constexpr std::uint32_t kTrayIconId = 1006;
// Message, icon and tip are valid (the system's flags 1 | 2 | 4).
inline constexpr std::uint32_t kTrayFlags = 7;
inline constexpr std::size_t kTrayTipMaxChars = 127;

struct TrayIconData {
  std::uint32_t id = kTrayIconId;
  std::uint32_t callbackMessage = kTrayCallbackMessage;
  std::uint32_t flags = kTrayFlags;
  std::optional<Icon> icon;  // nothing: no icon in the record
  std::string tip;           // at most kTrayTipMaxChars characters
};

class TrayIcon {
 public:
  // The icon belongs to `owner`'s window, which receives its callback messages as
  // SystemMessageKind::TrayCallback (see Form::OnSystemMessage).
  explicit TrayIcon(Form& owner);

  // Passes the command to the system and returns its answer. Add and Delete go without icon
  // and with an empty tip; Modify sends the owner form's icon and `tip`, cut to 127 characters,
  // and is refused without asking the system while the icon is not added (a refused delete
  // means it is gone as well: the shell was restarted without it).
  // The owner's window is created first when it does not exist yet.
  bool Add();
  bool Modify(const std::string& tip);
  bool Delete();
  bool Command(TrayAction action, const std::string& tip = {});
  // The system took the icon (Add answered yes) and it has not been deleted since.
  bool Added() const { return added_; }

 private:
  Form& owner_;
  bool added_ = false;
};

}  // namespace vm::ui
