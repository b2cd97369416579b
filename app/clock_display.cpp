// The clock display: the display half of the tick, time and date texts, the layout, the start-up
// repaints.

#include <string>

#include "app/main_form.h"
#include "app/window_interface.h"
#include "app/task_editor_window.h"
#include "app/options_window.h"
#include "core/date_text.h"
#include "core/log.h"
#include "platform/desktop.h"
#include "theme/builtin_pictures.h"
#include "theme/theme_loader.h"

namespace vm {

namespace {

// StT repaints the window on its first 29 ticks and stops itself on the 30th.
constexpr int kStartupRepaintTicks = 30;
// Space between the minutes and the seconds, as SetSize leaves it.
constexpr int kSecondsGap = 4;

std::string TwoDigits(int n) { return (n <= 9 ? "0" : "") + std::to_string(n); }

}  // namespace

void TForm1::WireDisplay() {
  StT.OnTimer = ui::Bind(this, &TForm1::StTTimer);
  OnPaint = ui::Bind(this, &TForm1::FormPaint);
  Font1.OnClick = ui::Bind(this, &TForm1::Font1Click);
  Color1.OnClick = ui::Bind(this, &TForm1::Color1Click);
  AutostartM.OnClick = ui::Bind(this, &TForm1::AutostartMClick);
  HideM.OnClick = ui::Bind(this, &TForm1::HideMClick);
  OntopM.OnClick = ui::Bind(this, &TForm1::OntopMClick);

  // The hidden seconds label measures two digits, so SetSize leaves room for the seconds that
  // are drawn at its place.
  SecLabel.SetCaption("00");

  // The program's own small pictures; the button frames and the background come with the first
  // LoadTheme (FillBuiltinPicturesLeft).
  theme::FillBuiltinAddList(AddList);
}

void TForm1::FillBuiltinPicturesLeft(const theme::LoadedPictures& loaded) {
  // Drawn only where the visual style gave none: drawing all of them first, to be replaced at
  // once, took about 2 ms of the start under Wine.
  if (!loaded.ImL1) theme::FillBuiltinImL1(ImL1);
  if (!loaded.ImL2) theme::FillBuiltinImL2(ImL2);
  if (!loaded.ImL3) theme::FillBuiltinImL3(ImL3);
  if (!loaded.Image1) Image1.SetPicture(theme::BuiltinClockBackground());
}

void TForm1::DisplayTick() {
  // The options window (its Label3: date and time) and the task editor (its CurrTimeL: the
  // time) show the running time too; they are served here through Slots[kOptionsWindow] and
  // Slots[kTaskEditorWindow], while visible.
  if (TaskEditorWindow* editor = TaskEditor(); editor && Slots[kTaskEditorWindow]->Visible())
    editor->ShowCurrentTime(services_.locale.LongTime(services_.clock.Now()));
  ShowTimeInOptions();
  SplitClockTime();
  AnnounceHour();
  if (!Visible()) return;
  SecText = TwoDigits(ClockSecond);
  MatchBackground();
  DrawSeconds();
  ShowClockTime();
  ShowClockDate();
}

void TForm1::ShowTimeInOptions() {
  ui::Form* window = Slots[kOptionsWindow];
  auto* options = WindowInterface<OptionsWindow>(window);
  if (!options || !window->Visible()) return;
  const DateTime now = services_.clock.Now();
  options->ShowCurrentTime(services_.locale.ShortDate(now) + " " + services_.locale.LongTime(now));
}

void TForm1::SplitClockTime() {
  // A clock that reads no valid date (never from the system) keeps the last split.
  std::optional<DateTimeParts> parts = SplitDateTime(services_.clock.Now());
  if (!parts) return;
  ClockHour = static_cast<std::uint16_t>(parts->time.hour);
  ClockMinute = static_cast<std::uint16_t>(parts->time.minute);
  ClockSecond = static_cast<std::uint16_t>(parts->time.second);
  ClockMillisecond = static_cast<std::uint16_t>(parts->time.millisecond);
}

void TForm1::AnnounceHour() {
  if (!settings.UseMonitor || ClockMinute != 0 || ClockSecond != 0) return;
  const DateTime now = services_.clock.Now();
  if (!IsValidDateTime(now)) return;
  // A late tick and the next one on time can fall into the same second: the hour is spoken
  // once.
  const std::int64_t hour = static_cast<std::int64_t>(DayOf(now).time_since_epoch().count()) * 24 + ClockHour;
  if (hour == LastSpokenHour) return;
  LastSpokenHour = hour;
  Speak(std::to_string(ClockHour) + ":00");
}

void TForm1::DrawSeconds() {
  // Drawn straight on the window, so that the rest of the (keyed) window is not repainted every
  // second. The window's own paint draws them too (FormPaint), so a repaint between two ticks
  // does not leave the clock without its seconds.
  PaintNow([this](ui::Canvas& canvas) {
    canvas.Save();
    canvas.FillRect(SecLabel.Bounds(), GetColor());
    // Once a minute the seconds follow the minutes' width (a proportional font's "11:11" is
    // narrower than "00:00").
    if (ClockSecond == 1) SecLabel.SetLeft(TimeLabel.Left() + TimeLabel.Width() + kSecondsGap);
    WriteSeconds(canvas);
    canvas.SetFont(TimeLabel.GetFont());
    canvas.Restore();
  });
}

void TForm1::WriteSeconds(ui::Canvas& canvas) {
  canvas.SetFont(SecLabel.GetFont());
  canvas.SetTransparentText(true);
  canvas.TextOut({SecLabel.Left(), SecLabel.Top()}, SecText);
}

void TForm1::FormPaint(ui::Control&, ui::Canvas& canvas) {
  // The background is filled already; the seconds of the last tick go on it.
  if (SecText.empty()) return;
  canvas.Save();
  WriteSeconds(canvas);
  canvas.Restore();
}

void TForm1::ShowClockTime() {
  TimeLabel.SetCaption(TwoDigits(ClockHour) + services_.locale.TimeSeparator() + TwoDigits(ClockMinute));
}

void TForm1::ShowClockDate() {
  DateTime now = services_.clock.Now();
  DateLabel.SetCaption(services_.locale.ShortDate(now));
  DaywL.SetCaption(language_.Msg("C." + std::to_string(7 + IsoWeekday(now))));
}

void TForm1::SetSize() {
  WriteLog("  %s:%d", "TForm1::SetSize", __LINE__);
  SecLabel.SetLeft(TimeLabel.Left() + TimeLabel.Width() + kSecondsGap);
  VML.SetLeft(SecLabel.Left() + SecLabel.Width() + 10);
  DateLabel.SetLeft(VML.Left() + VML.Width() + 10);
  DaywL.SetLeft(DateLabel.Left());
  MinP.SetLeft(DateLabel.Left() + DateLabel.Width() - MinP.Width());
  OffP.SetLeft(MinP.Left() + MinP.Width() + 2);
  MemProcL.SetWidth(DaywL.Left());
  Image3.SetWidth(MemProcL.Width() + 5);

  DateLabel.SetTop(DaywL.Top() + DaywL.Height());
  const int bottom = DateLabel.Top() + DateLabel.Height();
  MemProcL.SetTop(bottom + 5);
  Image3.SetTop(bottom + 5);

  // The three window buttons end flush with the right edge of OffP, under the date.
  ui::Image* toggles[3] = {&TopP, &TopA, &TopH};
  for (int i = 0; i < 3; ++i) {
    toggles[i]->SetBounds(OffP.Left() + OffP.Width() + i * TopA.Width() - 3 * TopP.Width(), bottom + 1,
                          toggles[i]->Width(), toggles[i]->Height());
  }

  SetBounds(Left(), Top(), OffP.Left() + OffP.Width() + 3,
            DaywL.Height() + DateLabel.Height() + TopP.Height() + 5);
  VML.SetTop((Height() / 2 - VML.Height()) / 2);

  // The toolkit lays the aligned controls out at every size change; the repaint shows the new
  // layout at once. The desktop repaints too: the desktop time may have been drawn under the
  // window's old place.
  Repaint();
  if (services_.desktop && DesktopWindow) services_.desktop->Redraw(DesktopWindow);
}

void TForm1::StTTimer(ui::Timer&) {
  if (++StartupRepaints >= kStartupRepaintTicks) {
    StT.SetEnabled(false);
    return;
  }
  Repaint();
}

void TForm1::FollowVisibilityWithIdleTimers() {
  // A hidden clock has nothing to repaint: the start-up repaints wait for it to be shown again.
  StT.SetEnabled(Visible() && StartupRepaints < kStartupRepaintTicks);
  FollowDesktopTimeSetting();
}

void TForm1::FollowDesktopTimeSetting() {
  // The desktop time is drawn only for the clock hidden in the notification area, and with the
  // setting off its tick has nothing to do.
  Timer3.SetEnabled(DesktopTimeWanted && !Visible() && settings.DisplayTime);
}

std::string TForm1::FormatTaskDate(DateTime value, bool withTime) {
  return vm::FormatTaskDate(value, withTime, language_, services_.locale);
}

}  // namespace vm
