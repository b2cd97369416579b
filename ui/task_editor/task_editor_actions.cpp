// The task editor's "WHAT" half in use: the rules between the action boxes, the file choosers,
// the sound and speech tests and the icons beside the boxes.

#include "app/main_form.h"
#include "scheduler/sound.h"
#include "scheduler/speech.h"
#include "ui/task_editor/task_editor.h"

namespace vm {

namespace {

constexpr const char* kProgramFilter =
    "Programs(*.exe,*.bat,*.com)|*.exe;*.bat;*.com|Office(*.doc,*.xls)|*.doc;*.xls|"
    "Web pages(*.htm,*.html)|*.htm;*.html|Links(*.lnk)|*.lnk|All(*.*)|*.*";
constexpr const char* kSoundFilter =
    "All files (*.*)|*.*|Mp3 files (*.mp3)|*.MP3|Wave files (*.wav)|*.WAV|Midi files (*.Mid)|*.MID";

}  // namespace

void TForm2::MessageCheckClick(ui::Control& sender) {
  MessageCheckExit(sender);
  ++ModifiedCounter;
}

void TForm2::MessageCheckExit(ui::Control&) { AlarmMessage.SetEnabled(MessageCheck.Checked()); }

void TForm2::CompCheckClick(ui::Control& sender) {
  CompCheckExit(sender);
  WakeupCh.SetEnabled(!CompCheck.Checked());
  HiberCheck.SetEnabled(!CompCheck.Checked());
  ++ModifiedCounter;
}

bool TForm2::MessageIsDefault() const {
  const std::string& message = AlarmMessage.Text();
  if (message.empty() || message == kDesignMessage) return true;
  for (const char* key : {"L2.12", "L2.13", "L2.14"}) {
    const auto text = owner_.GetLanguage().LookUpText(key);
    if (text && FitTaskText(*text, kMessageField - 1, owner_.Services().codec) == message) return true;
  }
  return false;
}

void TForm2::CompCheckExit(ui::Control&) {
  // Also when the focus merely passes the box: a message the user wrote is never replaced.
  if (!MessageIsDefault()) return;
  if (auto text = owner_.GetLanguage().LookUpText(CompCheck.Checked() ? "L2.13" : "L2.12"))
    AlarmMessage.SetText(FitTaskText(*text, kMessageField - 1, owner_.Services().codec));
}

void TForm2::RunCheckMouseUp(ui::Control&, ui::MouseButton, ui::ShiftState, int, int) {
  if (RunCheck.Checked() && PrgEdit.Text().empty()) ProgBClick(ProgB);
  RunCheck.SetChecked(RunCheck.Checked() && !PrgEdit.Text().empty());
  ProgramCheck.SetEnabled(!RunCheck.Checked());
  if (RunCheck.Checked()) ProgramCheck.SetChecked(false);
  ++ModifiedCounter;
  ShowSummary();
}

void TForm2::ProgramCheckMouseUp(ui::Control&, ui::MouseButton, ui::ShiftState, int, int) {
  if (ProgramCheck.Checked() && PrgEdit.Text().empty()) ProgBClick(ProgB);
  ProgramCheck.SetChecked(ProgramCheck.Checked() && !PrgEdit.Text().empty());
  RunCheck.SetEnabled(!ProgramCheck.Checked());
  if (ProgramCheck.Checked()) RunCheck.SetChecked(false);
  ++ModifiedCounter;
  ShowSummary();
}

void TForm2::LockS_CBClick(ui::Control& sender) {
  const bool anyEvent = ReadEventBoxes() != 0;
  ImmedCB.SetEnabled(anyEvent);
  if (!anyEvent && ImmedCB.Checked()) {
    // "Immediately" means nothing without an event; left ticked it would keep the date and
    // the time locked with no box left to free them.
    ImmedCB.SetChecked(false);
    SetCalendarEnabled(true);
  }
  ActiveChClick(sender);
}

void TForm2::ImmedCBClick(ui::Control& sender) {
  SetCalendarEnabled(!ImmedCB.Checked());
  ActiveChClick(sender);
}

void TForm2::AlarmMessageChange(ui::Control&) {
  // OnChange fires for the user's typing only; loading sets the text in code. The memo's
  // length limit counts characters; in a code page with two-byte characters the record's 247
  // bytes are reached earlier, and the memo keeps no more than the file will.
  const std::string fitted = FitTaskText(AlarmMessage.Text(), kMessageField - 1, owner_.Services().codec);
  if (fitted != AlarmMessage.Text()) AlarmMessage.SetText(fitted);
  ++ModifiedCounter;
}

void TForm2::SoundEditChange(ui::Control&) {
  if (owner_.Sound) owner_.Sound->CloseSong();
  ++ModifiedCounter;
}

void TForm2::Page1Change(ui::Control&) { ShowSummary(); }

void TForm2::PrgEditMouseMove(ui::Control&, ui::ShiftState, int, int) { PrgEdit.SetHint(PrgEdit.Text()); }

void TForm2::SoundEditMouseMove(ui::Control&, ui::ShiftState, int, int) { SoundEdit.SetHint(SoundEdit.Text()); }

void TForm2::ProgBClick(ui::Control&) {
  ui::OpenFileRequest request;
  request.title = "Vemtaro.  Select the file";
  request.filter = kProgramFilter;
  request.defaultExt = "*.*";
  request.owner = 0;
  std::optional<std::string> chosen = App().GetDialogs().OpenFile(request);
  if (!chosen || chosen->empty()) {
    // A path chosen before stays with its action; without one neither action can stay.
    if (PrgEdit.Text().empty()) {
      RunCheck.SetChecked(false);
      ProgramCheck.SetChecked(false);
      PrgEdit.SetText("");
    }
    return;
  }
  const std::string path = FitTaskText(*chosen, kProgramField - 1, owner_.Services().codec);
  owner_.scheduler.EditBuf.Program = path;
  PrgEdit.SetText(path);
  ActiveChClick(PrgEdit);  // PrgEdit's change: set in code, so counted here
}

void TForm2::SoundBClick(ui::Control&) {
  ui::OpenFileRequest request;
  request.filter = kSoundFilter;
  request.owner = Handle();
  std::optional<std::string> chosen = App().GetDialogs().OpenFile(request);
  if (!chosen || chosen->empty()) return;
  const std::string path = FitTaskText(*chosen, kSoundFileField - 1, owner_.Services().codec);
  owner_.scheduler.EditBuf.SoundFile = path;
  SoundEdit.SetText(path);
  SoundEditChange(SoundEdit);
}

void TForm2::TestImClick(ui::Control&) {
  const std::string noFile = owner_.GetLanguage().LookUpText("L2.15").value_or(std::string());
  if (SoundEdit.Text() == noFile) {
    // Nothing to play: the system's default sound says so.
    owner_.App().Beep();
    return;
  }
  if (!owner_.Sound) return;
  if (!owner_.Sound->OpenSong(SoundEdit.Text())) owner_.Sound->PlaySong();
}

void TForm2::StopImClick(ui::Control&) {
  if (owner_.Sound) owner_.Sound->CloseSong();
}

void TForm2::TestImMouseDown(ui::Control& sender, ui::MouseButton, ui::ShiftState, int, int) {
  sender.SetBounds(sender.Left() + 1, sender.Top() + 1, sender.Width(), sender.Height());
}

void TForm2::TestImMouseUp(ui::Control& sender, ui::MouseButton, ui::ShiftState, int, int) {
  sender.SetBounds(sender.Left() - 1, sender.Top() - 1, sender.Width(), sender.Height());
}

void TForm2::AlarmMessageDblClick(ui::Control&) {
  if (owner_.Speaker) owner_.Speaker->Speak(AlarmMessage.Text());
}

void TForm2::SoundUpDownChangingEx(ui::Control&, bool&, int newValue, ui::UpDownDirection direction) {
  if (direction == ui::UpDownDirection::None) return;
  RepeatL.SetCaption(newValue == 0 ? "~" : std::to_string(newValue));
}

void TForm2::SoundUpDownClick(ui::Control& sender, ui::UpDownButton) { ActiveChClick(sender); }

void TForm2::TaskUpDownClick(ui::Control& sender, ui::UpDownButton) { ActiveChClick(sender); }

void TForm2::FormPaint(ui::Control&, ui::Canvas& canvas) {
  const ui::CheckBox* boxes[9] = {&MessageCheck, &SpeakCh, &AlSoundCh, &RunCheck, &ProgramCheck,
                                  &CompCheck, &RebootCheck, &HiberCheck, &WakeupCh};
  for (int i = 0; i < 9; ++i) {
    if (i >= owner_.StatusIcons.Count()) break;
    Scratch.Fill({0, 0, 16, 16}, ui::ColorToPixel(owner_.ToRgb(ui::clWindow)));
    owner_.StatusIcons.Draw(Scratch.GetCanvas(), {0, 0}, i);
    canvas.DrawBitmap({20, boxes[i]->Top()}, Scratch);
  }
}

}  // namespace vm
