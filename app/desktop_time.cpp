// The weekday, the day of the month and the time drawn onto the desktop while the clock sits in
// the notification area; a restarted desktop shell gets the notification-area icon back.

#include <exception>

#include "app/main_form.h"
#include "core/log.h"
#include "platform/desktop.h"

namespace vm {

namespace {

// Writes the failure of a guarded block: the fixed line, then what the exception said.
void LogBlockFailure(const char* line, const std::exception* error) {
  WriteLog("%s", line);
  if (error && error->what()[0] != '\0') WriteLog("  %s", error->what());
}

}  // namespace

void TForm1::Timer3Timer(ui::Timer&) {
  // The desktop time belongs to the hidden clock. Shown again by any way (a second start of the
  // program, the icon), the clock stops it and clears what was drawn.
  if (Visible()) {
    DesktopTimeWanted = false;
    FollowVisibilityWithIdleTimers();
    if (services_.desktop && DesktopWindow) services_.desktop->Redraw(DesktopWindow);
    return;
  }
  PaintOnDesktop();
}

void TForm1::PaintOnDesktop() {
  if (!settings.DisplayTime || !services_.desktop) return;
  Desktop& desktop = *services_.desktop;

  WindowId view = 0;
  bool firstBlockFailed = false;
  try {
    const WindowId found = desktop.FindDesktopWindow();
    if (!found) return;
    view = desktop.FindDesktopView(found);
    DesktopView = view;
    if (found != DesktopWindow) {
      // The desktop shell was restarted, and with it the notification area: the icon is gone.
      DesktopWindow = found;
      NotifyTray(2);
      NotifyTray(0);
      NotifyTray(1);
    }
  } catch (const std::exception& error) {
    LogBlockFailure("Ошибка в 1-ом блоке", &error);
    firstBlockFailed = true;
  } catch (...) {
    LogBlockFailure("Ошибка в 1-ом блоке", nullptr);
    firstBlockFailed = true;
  }
  // After a failure the drawing goes on all the same, on the view found last; without any view
  // there is nothing to draw on (a missing window would mean the whole screen).
  if (firstBlockFailed && !view) view = DesktopView;
  if (!view) return;

  try {
    // The device context is released by the service in every case.
    desktop.DrawOnWindow(view, [this](ui::Canvas& canvas) { DrawDesktopTime(canvas); });
  } catch (const std::exception& error) {
    LogBlockFailure("Ошибка в 2-ом блоке", &error);
  } catch (...) {
    LogBlockFailure("Ошибка в 2-ом блоке", nullptr);
  }
}

void TForm1::DrawDesktopTime(ui::Canvas& canvas) {
  const DateTime now = services_.clock.Now();
  const int left = settings.DispLeft;
  const int top = settings.DispTop;
  canvas.SetTransparentText(true);

  // The day line at half the desktop-time font's size.
  const ui::Font full = BufLab.GetFont();
  ui::Font half = full;
  half.SetSizePoints(full.SizePoints() / 2);
  canvas.Save();
  canvas.SetFont(half);  // also its colour
  const auto parts = SplitDateTime(now);
  const std::string dayLine = DaywL.Caption() + " " + (parts ? std::to_string(parts->date.day) : std::string());
  const ui::Size daySize = canvas.TextExtent(dayLine);
  const ui::Rect dayRect{left, top, left + daySize.width, top + daySize.height};
  // Repainting the place first erases what the last tick wrote there.
  if (DesktopWindow) services_.desktop->RepaintRect(DesktopWindow, dayRect);
  canvas.TextOut({left, top}, dayLine);
  canvas.Restore();

  // The time line below it at the full size.
  canvas.Save();
  canvas.SetFont(full);
  const std::string timeLine = services_.locale.LongTime(now);
  // One character cell more than the text: a wider time of the next second is erased as well.
  const ui::Size timeSize = canvas.TextExtent(timeLine + "0");
  const ui::Rect timeRect{left, dayRect.bottom + 5, left + timeSize.width, dayRect.bottom + timeSize.height + 5};
  if (DesktopWindow) services_.desktop->RepaintRect(DesktopWindow, timeRect);
  canvas.TextOut({timeRect.left, timeRect.top}, timeLine);
  canvas.Restore();
}

}  // namespace vm
