// The clock's scheduling side: the firing half of the tick, system events, the wake timer,
// sound and speech, and how a firing reaches the alarm window.

#include <memory>

#include "app/alarm_window.h"
#include "app/main_form.h"
#include "app/window_interface.h"
#include "app/task_list_window.h"
#include "core/log.h"
#include "platform/desktop.h"
#include "platform/media_services.h"
#include "scheduler/event_triggers.h"
#include "scheduler/sound.h"
#include "scheduler/speech.h"
#include "scheduler/task_runner.h"
#include "scheduler/wake_timer.h"

namespace vm {

namespace {

bool AllActionServices(const ActionServices& a) {
  return a.shell && a.shellLinks && a.keyboard && a.processes && a.privileges && a.power &&
         a.wakeTimers && a.tempFileTime && a.sessions;
}

}  // namespace

void TForm1::WireScheduling() {
  ActionServices& actions = services_.actions;
  if (AllActionServices(actions)) {
    Wake = std::make_unique<WakeTimer>(*actions.wakeTimers, *actions.tempFileTime, services_.clock);
    Runner = std::make_unique<TaskRunner>(TaskRunnerServices{
        scheduler, *this, services_.clock, services_.messages, language_, actions, *Wake});
    Sessions = std::make_unique<SessionSubscription>(*actions.sessions);
    Messages = std::make_unique<SystemMessageHandler>(*this, scheduler, *Wake, services_.clock);
  }
  if (services_.mci && services_.shortPaths)
    Sound = std::make_unique<SoundPlayer>(*services_.mci, *services_.shortPaths, services_.messages);
  if (services_.speech)
    Speaker = std::make_unique<Speech>(*services_.speech, services_.messages, kProgramName,
                                       settings.ExecutablePath, AgentAvailable);
  Timer1.OnTimer = ui::Bind(this, &TForm1::Timer1Timer);
}

void TForm1::Timer1Timer(ui::Timer&) {
  // A power action ends the tick before the display is refreshed.
  if (Runner && !Runner->Tick()) return;
  DisplayTick();
}

void TForm1::TaskListChanged() {
  if (Wake) Wake->SetResumeTimer(scheduler.TaskList);
}

void TForm1::UpdateEventTask(std::uint16_t mask) {
  vm::UpdateEventTask(scheduler, services_.clock, mask);
}

void TForm1::SnoozeTask(const TTask& fired, const std::string& marker) {
  scheduler.Snooze(fired, settings.SnoozeMinutes, marker);
  RefreshTaskListWindow();
}

// ---- how a firing becomes visible ----
// The alarm window (window number 4) shows a firing task's message and plays its sound. A clock
// without that window (no creator for it) shows the message in a plain message box instead,
// which waits: modal for a shutdown warning (its close lets the shutdown go ahead) and for the
// others too, since a message box cannot stay open without waiting.

namespace {

void ShowStandIn(MessageBoxes& boxes, const TTask& task, WindowId owner) {
  boxes.Show({task.Message, "Vemtaro - alarm!", MsgIcon::Information, MsgButtons::Ok, owner, true, true});
}

}  // namespace

AlarmWindow* TForm1::Alarm() { return WindowInterface<AlarmWindow>(Slots[kAlarmWindow]); }

void TForm1::CreateAlarmWindow() { CreateForm(kAlarmWindow); }

bool TForm1::AlarmWindowVisible() {
  return Slots[kAlarmWindow] && Slots[kAlarmWindow]->Visible();
}

void TForm1::ShowAlarmWindowModal() {
  if (ui::Form* window = Slots[kAlarmWindow]) window->ShowModal();
  else ShowStandIn(services_.messages, scheduler.CurTask, Handle());
}

void TForm1::ShowAlarmWindow() {
  if (ui::Form* window = Slots[kAlarmWindow]) window->Show();
  else ShowStandIn(services_.messages, scheduler.CurTask, Handle());
}

void TForm1::AddAlarm() {
  if (AlarmWindow* window = Alarm()) window->AddAlarm();
  else ShowStandIn(services_.messages, scheduler.CurTask, Handle());
}

void TForm1::DestroyAlarmWindow() { DeleteFormA(kAlarmWindow); }

void TForm1::Speak(const std::string& text) {
  if (Speaker) Speaker->Speak(text);
}

void TForm1::RefreshTaskListWindow() {
  if (auto* list = WindowInterface<TaskListWindow>(Slots[kTaskListWindow])) list->RefreshList();
}

// ---- system messages ----

void TForm1::ShowMainWindow() {
  Show();
  BringToFront();
  // Shown by a second start: the desktop time ends, and what it drew goes.
  const bool desktopTimeShown = Timer3.Enabled();
  DesktopTimeWanted = false;
  FollowVisibilityWithIdleTimers();
  if (desktopTimeShown && services_.desktop && DesktopWindow) services_.desktop->Redraw(DesktopWindow);
}

void TForm1::RefreshDisplay(bool reloadTheme) {
  if (reloadTheme) LoadTheme();
  ShowClockDate();
  SetSize();
}

void TForm1::RewindSound() {
  if (Sound) Sound->OnMciNotify(0);
}

void TForm1::ArmAlarmSound() {
  if (AlarmWindow* window = Alarm()) window->ArmSound();
}

void TForm1::SessionEnding() {
  WriteLog("  %s:%d", "TForm1::SessionEnding", __LINE__);
  SaveTasksAndPosition();
}

void TForm1::TaskFileWarning(const std::string& text) {
  MessageBoxRequest box;
  box.text = text;
  box.caption = kProgramName;
  box.icon = MsgIcon::Warning;
  box.owner = Handle();
  services_.messages.Show(box);
}

}  // namespace vm
