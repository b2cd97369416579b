// The clock's two popup menus, its keys, the menu icons, the help file, the control-panel
// applets and the change of language.

#include "app/main_form.h"
#include "app/window_interface.h"
#include "app/task_list_window.h"
#include "core/log.h"
#include "platform/shell_icons.h"
#include "theme/dgroup_buts.h"
#include "theme/menu_drawing.h"

namespace vm {

namespace {

// Resource numbers of the shell library's icons: the first choice, and the one taken where the
// library has no such icon (an older or newer version of it).
constexpr int kMenuIconPrimary[17] = {274, 250, 21, 282, 24, 242, 39, 270, 255, 289, 276, 22, 240, 239, 20, 7, 44};
constexpr int kMenuIconFallback[17] = {36, 16, 14, 155, 24, 26, 39, 37, 148, 24, 25, 22, 1, 1, 37, 7, 44};
constexpr int kStatusIconPrimary[12] = {1001, 282, 277, 246, 240, 221, 28, 331, 290, 39, 270, 7};
constexpr int kStatusIconFallback[12] = {999, 155, 41, 3, 999, 999, 28, 331, 290, 39, 37, 7};
constexpr int kIconSize = 16;
constexpr ui::Color kMenuIconBackground = 12632256;  // silver

// The applets and the command lines that open them on the older systems.
constexpr const char* kRegionalApplet = "intl.cpl";
constexpr const char* kTimeApplet = "timedate.cpl";

}  // namespace

void TForm1::WireWindowsAndMenus() {
  mProc.OnClick = ui::Bind(this, &TForm1::mProcClick);
  mOpt.OnClick = ui::Bind(this, &TForm1::Options1Click);
  mTask.OnClick = ui::Bind(this, &TForm1::mTaskClick);
  mTaskAdd.OnClick = ui::Bind(this, &TForm1::mTaskAddClick);
  MenuShow.OnClick = ui::Bind(this, &TForm1::MenuShowClick);
  Hide1.OnClick = ui::Bind(this, &TForm1::Hide1Click);
  Shutdown1.OnClick = ui::Bind(this, &TForm1::Shutdown1Click);
  Options1.OnClick = ui::Bind(this, &TForm1::Options1Click);
  DateTimeFormat.OnClick = ui::Bind(this, &TForm1::DateTimeFormatClick);
  SetTime.OnClick = ui::Bind(this, &TForm1::SetTimeClick);
  Languige1.OnClick = ui::Bind(this, &TForm1::Languige1Click);
  Help1.OnClick = ui::Bind(this, &TForm1::Help1Click);
  About2.OnClick = ui::Bind(this, &TForm1::About2Click);
  // Font1, Color1 and the check items OntopM, AutostartM and HideM belong to the display and
  // the settings: WireDisplay binds them.
  PopupMenu1.OnDrawItem = ui::Bind(this, &TForm1::Options1DrawItem);
  OptMenu.OnDrawItem = ui::Bind(this, &TForm1::Options1DrawItem);
  OnKeyUp = ui::Bind(this, &TForm1::FormKeyUp);
  OnKeyDown = ui::Bind(this, &TForm1::FormKeyDown);
  VML.OnClick = ui::Bind(this, &TForm1::VMLClick);
  for (ui::Image* toggle : {&TopP, &TopA, &TopH}) toggle->OnClick = ui::Bind(this, &TForm1::MyClick);
  MinP.OnClick = ui::Bind(this, &TForm1::MinPClick);
  OffP.OnClick = ui::Bind(this, &TForm1::OffPClick);
}

void TForm1::LoadMenuIcons() {
  ShellIcons* shell = services_.shellIcons;
  const bool opened = shell && shell->Open(SystemDirectory + "\\shell32.dll");
  auto load = [&](int primary, int fallback) -> std::optional<ui::Icon> {
    if (!opened) return std::nullopt;
    if (auto icon = shell->Load(primary, kIconSize)) return icon;
    return shell->Load(fallback, kIconSize);
  };

  MenuIcons.Clear();
  MenuIcons.SetMasked(true);
  MenuIcons.SetBkColor(kMenuIconBackground);
  for (int i = 0; i < 17; ++i) MenuIcons.AddIcon(load(kMenuIconPrimary[i], kMenuIconFallback[i]).value_or(ui::Icon()));

  StatusIcons.Clear();
  StatusIcons.SetBkColor(ui::clWindow);
  for (int i = 0; i < 12; ++i) {
    std::optional<ui::Icon> icon = load(kStatusIconPrimary[i], kStatusIconFallback[i]);
    if (!icon && shell) {
      const StockIcon stock = i == 0 ? StockIcon::Information : i == 4 ? StockIcon::Warning : StockIcon::WindowsLogo;
      icon = shell->Stock(stock, kIconSize);
    }
    StatusIcons.AddIcon(icon.value_or(ui::Icon()));
  }
  if (opened) shell->Close();
  OptMenu.SetImages(&MenuIcons);
  PopupMenu1.SetImages(&MenuIcons);
  menuIconsLoaded_ = true;
}

void TForm1::EnsureMenuIcons() {
  if (menuIconsLoaded_) return;
  LoadMenuIcons();
  // The toggle buttons' pictures hold their glyphs from the menu icons: drawn again with them.
  if (TopButtons)
    for (int i = 0; i < TopButtons->Count(); ++i)
      if (theme::DBut* button = TopButtons->Button(i); button && button->LastFrame() >= 0)
        button->DrawFrame(button->LastFrame());
}

void TForm1::Options1DrawItem(ui::MenuItem& item, ui::Canvas& canvas, ui::Rect rect, bool selected) {
  theme::Options1DrawItem(item, canvas, rect, selected, &MenuIcons, &AddList);
}

// ---- windows opened from the menus ----

void TForm1::Options1Click(ui::MenuItem&) {
  CreateForm(kOptionsWindow);
  ShowSecondary(kOptionsWindow);
}

void TForm1::mProcClick(ui::MenuItem&) {
  CreateForm(kProcessWindow);
  ShowSecondary(kProcessWindow);
}

void TForm1::mTaskClick(ui::MenuItem&) {
  CreateForm(kTaskListWindow);
  ShowSecondary(kTaskListWindow);
}

void TForm1::mTaskAddClick(ui::MenuItem&) {
  if (!services_.windows[kTaskListWindow]) {
    // Without a task list window the item opens the editor on a new task itself.
    const std::size_t before = scheduler.TaskList.size();
    if (EditNewTask() && scheduler.TaskList.size() != before) {
      scheduler.UpdateCurTask();
      scheduler.SaveList();
      ShowClockDate();
    }
    return;
  }
  CreateForm(kTaskListWindow);
  ShowSecondary(kTaskListWindow);
  // A new task is made with the list open behind the editor.
  if (auto* list = WindowInterface<TaskListWindow>(Slots[kTaskListWindow])) list->AddTask();
}

void TForm1::About2Click(ui::MenuItem&) {
  CreateForm(kAboutWindow);
  if (ui::Form* about = Slots[kAboutWindow]) about->ShowModal();
  DeleteFormA(kAboutWindow);
}

void TForm1::VMLClick(ui::Control&) { About2Click(About2); }

// ---- help and the control-panel applets ----

void TForm1::Help1Click(ui::MenuItem&) {
  Shell* shell = services_.actions.shell;
  if (HelpFile.empty() || !shell) return;
  shell->Execute(Handle(), "open", HelpFile, "", "");
}

namespace {

void OpenApplet(Shell* shell, int versionCode, WindowId owner, const char* applet) {
  if (!shell) return;
  if (versionCode < 20)
    shell->RunCommandLine(std::string("rundll32 shell32,Control_RunDLL ") + applet);
  else
    shell->Execute(owner, "", applet, "", "");
}

}  // namespace

void TForm1::DateTimeFormatClick(ui::MenuItem&) {
  OpenApplet(services_.actions.shell, WinVersion, Handle(), kRegionalApplet);
}

void TForm1::SetTimeClick(ui::MenuItem&) {
  OpenApplet(services_.actions.shell, WinVersion, Handle(), kTimeApplet);
}

// ---- keys ----

void TForm1::FormKeyDown(ui::Control&, ui::KeyCode& key, ui::ShiftState shift) {
  CtrlKeyDown = shift.ctrl ? key : 0;
  if (ui::IsContextMenuKey(key, shift)) {
    key = 0;  // not also the system's menu mode (F10)
    OpenOptMenuByKey();
  }
}

void TForm1::FormKeyUp(ui::Control&, ui::KeyCode& key, ui::ShiftState shift) {
  // The release of a key that opened the menu (F10's release would start the system's menu mode).
  if (key == ui::kKeyApps || (key == ui::kKeyF10 && shift.shift)) {
    key = 0;
    return;
  }
  const bool pressedWithCtrl = key == CtrlKeyDown;
  if (pressedWithCtrl) CtrlKeyDown = 0;
  if (key == ui::kKeyF1) {
    Help1Click(Help1);
    return;
  }
  if (!shift.ctrl && !pressedWithCtrl) return;
  switch (key) {
    case ui::KeyOf('O'):
      CreateForm(kOptionsWindow);
      Options1Click(Options1);
      break;
    case ui::KeyOf('P'):
      CreateForm(kProcessWindow);
      ShowSecondary(kProcessWindow);
      break;
    case ui::KeyOf('T'):
      CreateForm(kTaskListWindow);
      ShowSecondary(kTaskListWindow);
      break;
    case ui::KeyOf('Y'):
      HideToTray();
      break;
    default:
      break;
  }
}

// ---- language ----

void TForm1::Languige1Click(ui::MenuItem&) {
  WriteLog("  %s:%d", "TForm1::Languige1Click", __LINE__);
  ui::OpenFileRequest request;
  request.filter = "Language file(*.vml)|*.vml";
  request.initialDir = programDirectory_;
  request.title = "Select the language for Vemtaro";
  request.owner = Handle();
  const std::optional<std::string> chosen = App().GetDialogs().OpenFile(request);
  if (!chosen || chosen->empty()) return;
  // A file that cannot be loaded has already been reported; the language in use and its stored
  // path stay, so that the next start does not lose a working language for a broken one.
  if (!language_.LoadLanguageFile(*chosen)) return;
  settings.LanguagePath = *chosen;
  // Captions and table texts whose keys the new file lacks keep the text they have now, that is
  // the text of the file loaded before.
  ApplyLanguage();
  SetRegistryInfo(kDataTypeLanguage);
  RefreshDateLabels();
  NotifyTray(1);  // the next-task line and the tip use the H. texts
}

}  // namespace vm
