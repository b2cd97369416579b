// The alarm window with the keyboard alone and with a screen reader: the tab order, Esc, the
// first focus, and the names of the sound buttons.

#include "app/main_form.h"
#include "theme/dgroup_buts.h"
#include "ui/alarm/alarm_form.h"

namespace vm {

namespace {

// The names of the sound buttons (their captions are symbols) and their English defaults.
struct ButtonName {
  const char* key;
  const char* text;
};
constexpr ButtonName kButtonNames[3] = {{"L3.80", "Stop"}, {"L3.81", "Play"}, {"L3.82", "Pause"}};

}  // namespace

void TAlForm::WireAccess() {
  // Top to bottom: the Cancel link of a shutdown, the table, Snooze and its length, the sound
  // buttons. Esc is the snooze part's (FormKeyDown): it closes the window as the close box
  // does, but not a shutdown's, where a close would let the shutdown go ahead.
  SetTabSequence({&CancelL, &AlGrid, &SnoozeB, &SnoozeLength, &Stop, &Resume, &Pause});
  ApplyAccessNames();
}

void TAlForm::ApplyAccessNames() {
  const Language& language = owner_.GetLanguage();
  ui::Image* buttons[3] = {&Stop, &Resume, &Pause};
  for (int i = 0; i < 3; ++i) buttons[i]->SetAccessibleName(language.TextOr(kButtonNames[i].key, kButtonNames[i].text));
  AlGrid.SetAccessibleName(Caption());
}

void TAlForm::FocusFirstControl() {
  // The sound is what the user most likely wants to stop: Space on Stop does it.
  if (Stop.Visible() && Stop.KeyboardProxy()) Stop.KeyboardProxy()->SetFocus();
  else AlGrid.SetFocus();
}

}  // namespace vm
