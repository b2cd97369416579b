// The task editor with the keyboard alone: the tab order down the WHAT half and then the WHEN
// half, and the arrow keys on the big number labels (hour, minute, sound repeats), which have
// their up-down buttons only for the mouse.

#include "ui/task_editor/task_editor.h"

namespace vm {

void TForm2::WireAccess() {
  SetTabSequence({&ActiveCh, &PassedCh, &MessageCheck, &SpeakCh, &AlarmMessage, &ProgramCheck, &ProgB, &PrgEdit,
                  &RunCheck, &LockCheck, &WakeupCh, &HiberCheck, &RebootCheck, &CompCheck, &AlSoundCh, &SoundB,
                  &SoundEdit, &TestIm, &StopIm, &RepeatL,
                  // WHEN: the calendar, the time, the period pages, and OK last.
                  &Button3, &MonL, &YearL, &Button4, &CalCB, &Grid, &HourL, &MinL, &Page1,
                  &CB1, &CB2, &CB3, &CB4, &CB5, &CB6, &CB7,
                  &OnceL, &MinintL, &HoursL, &DaysL, &WeekL, &MonthL, &YeL, &RepCntL, &ImmedCB,
                  &PwrOn_CB, &PwrOff_CB, &LockS_CB, &UnLockS_CB, &LoOnS_CB, &LoOfS_CB, &SSaverOn_CB, &SSaverOff_CB,
                  &Button5});
  for (ui::FocusProxy* number : {&HourLFocus, &MinLFocus, &RepeatLFocus})
    number->OnKeyDown = ui::Bind(this, &TForm2::NumberLabelKeyDown);
}

void TForm2::NumberLabelKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift) {
  if (shift.ctrl || shift.alt || (key != ui::kKeyUp && key != ui::kKeyDown)) return;
  ui::UpDown* spin = nullptr;
  if (&sender == &HourLFocus) spin = &HourUpDown;
  else if (&sender == &MinLFocus) spin = &MinUpDown;
  else if (&sender == &RepeatLFocus) spin = &SoundUpDown;
  if (!spin) return;
  spin->PeerSpin(key == ui::kKeyUp ? ui::UpDownDirection::Up : ui::UpDownDirection::Down);
  key = 0;
}

}  // namespace vm
