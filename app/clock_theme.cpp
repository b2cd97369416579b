// LoadTheme: the clock's button frames and background band from the active visual style.

#include "app/alarm_window.h"
#include "app/main_form.h"
#include "app/window_interface.h"
#include "app/process_window.h"
#include "app/task_list_window.h"
#include "core/log.h"
#include "theme/dgroup_buts.h"
#include "theme/theme_loader.h"

namespace vm {

void TForm1::LoadTheme() {
  if (!services_.themes) {
    // No way to read a visual style: as without a visual-style file, the pictures stay.
    WriteLog("  %s:%d", "TForm1::LoadTheme", 1109);
    if (!builtinPicturesDrawn_) FillBuiltinPicturesLeft({});
    builtinPicturesDrawn_ = true;
    return;
  }
  theme::ThemeTargets targets{services_.registry, *services_.themes, Style, ImL1, ImL2, ImL3, Image1};
  // The secondary windows that exist take the new pictures, in the order alarm window, task
  // editor, options window, process manager, task list (the editor's and the options window's
  // take nothing).
  std::vector<std::function<void()>> windowThemes;
  if (auto* alarm = WindowInterface<AlarmWindow>(Slots[kAlarmWindow]))
    windowThemes.push_back([alarm] { alarm->ApplyTheme(); });
  if (auto* process = WindowInterface<ProcessWindow>(Slots[kProcessWindow]))
    windowThemes.push_back([process] { process->ApplyTheme(); });
  if (auto* list = WindowInterface<TaskListWindow>(Slots[kTaskListWindow]))
    windowThemes.push_back([list] { list->ApplyTheme(); });
  const theme::LoadedPictures loaded = theme::LoadTheme(targets, windowThemes);
  // The first load leaves the program's own pictures where the style has none; a later one
  // keeps what the lists and the background show.
  if (!builtinPicturesDrawn_) FillBuiltinPicturesLeft(loaded);
  builtinPicturesDrawn_ = true;

  // The buttons show their new frames (or the high-contrast colours) at once, each in the state
  // it stands in.
  for (theme::DGroupButs* group : {TopButtons.get(), CaptionButtons.get()})
    if (group) group->Redraw();
}

}  // namespace vm
