// The task list's side panel with its details boxes, the tool bar picture, the switch to the
// calendar view and the window's sizing.

#include <algorithm>
#include <optional>

#include "app/main_form.h"
#include "core/log.h"
#include "platform/theme_source.h"
#include "theme/builtin_pictures.h"
#include "theme/dgroup_buts.h"
#include "theme/theme_loader.h"
#include "theme/visual_style.h"
#include "ui/task_list/bar_pictures.h"
#include "ui/task_list/calendar_fit.h"
#include "ui/task_list/mem_form.h"

namespace vm {

namespace {

constexpr const char* kShellStyleFile = "\\Resources\\Themes\\Luna\\shell\\Homestead\\shellstyle.dll";
constexpr int kBarResource = 112;
constexpr int kFirstButtonResource = 100;
constexpr ui::Color kHoverColor = 65280;    // pure green
constexpr ui::Color kLabelColor = 8421504;  // grey

std::string ResourceName(int number) { return "#" + std::to_string(number); }

}  // namespace

void TMemForm::ApplyTheme() {
  std::optional<ui::Bitmap> band;
  if (owner_.Style) band = theme::LoadThemeBitmap(*owner_.Style, theme::kToolbarBackgroundBitmap);
  if (band) Image1.SetPicture(std::move(*band));
  else if (Image1.Picture().IsEmpty()) Image1.SetPicture(theme::BuiltinToolbarBackground());
  // New frames, or a high-contrast scheme switched on or off.
  for (theme::DGroupButs* group : {toolButtons_.get(), calendarButtons_.get()})
    if (group) group->Redraw();
}

void TMemForm::LoadBars() {
  WriteLog("  %s %d", "TMemForm::LoadBars", 473);
  ThemeSource* source = owner_.Services().themes;
  std::optional<ThemeModule> style;
  if (source) style = source->LoadDataFile(owner_.WindowsDirectory + kShellStyleFile);
  std::optional<ui::Bitmap> bar;
  if (style) bar = source->LoadBitmapResource(*style, ResourceName(kBarResource));
  if (bar && !bar->IsEmpty()) {
    barImages_.Clear();
    barImages_.SetSize(kBarButtonSize, kBarButtonSize);
    std::optional<ui::Color> blend;
    for (int i = 0; i < kBarButtonPictures; ++i) {
      std::optional<ui::Bitmap> picture = source->LoadBitmapResource(*style, ResourceName(kFirstButtonResource + i));
      if (!picture) {
        barImages_.AddIcon(ui::Icon());  // keeps the numbering of the later pictures
        continue;
      }
      if (!blend) blend = picture->ColorAt(0, 0);
      barImages_.AddMasked(*picture, *blend);
    }
  } else {
    // No such style file (Windows Vista and later): the program's own pictures of the same
    // sizes, so the boxes keep their title bars and the buttons that open and close them.
    bar = BuiltinBarPicture();
    FillBuiltinBarButtons(barImages_);
  }
  if (style) source->Release(*style);
  Bar1.SetPicture(*bar);
  Bar1.SetTransparent(true);
  Bar2.SetPicture(*bar);
  Bar2.SetTransparent(true);
  SetBarButton(BarB1, 1);
  SetBarButton(BarB2, 3);
  Panel2.SetTop(Bar1.Bounds().bottom);
  Panel2.SetWidth(Bar1.Width());
  Panel3.SetWidth(Bar2.Width());
  LayoutBars(1);
  Bar1.SetTag(1);
}

void TMemForm::LayoutBars(int mode) {
  const int top = mode == 0 ? Bar1.Bounds().bottom + 3 : Panel2.Bounds().bottom + 3;
  Bar2.SetTop(top);
  BarB2.SetTop(Bar2.Top() + 3);
  Panel3.SetTop(Bar2.Bounds().bottom);
  Label4.SetTop(Bar2.Top() + 3);
}

void TMemForm::SetBarButton(ui::Image& image, int picture) {
  image.SetPicture(barImages_.GetBitmap(picture));
  image.Invalidate();
}

void TMemForm::BarB1MouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState, int, int) {
  if (button != ui::MouseButton::Left) return;
  auto& image = static_cast<ui::Image&>(sender);
  SetBarButton(image, 6 - static_cast<int>(image.Tag()));
}

void TMemForm::BarB1MouseUp(ui::Control&, ui::MouseButton button, ui::ShiftState, int, int) {
  if (button != ui::MouseButton::Left) return;
  SetBarButton(BarB1, static_cast<int>(BarB1.Tag()) + 1);
  BarB1.SetTag(BarB1.Tag() == 1 ? 0 : 1);
  Panel2.SetVisible(BarB1.Tag() == 1);
  LayoutBars(static_cast<int>(BarB1.Tag()));
}

void TMemForm::BarB2MouseUp(ui::Control&, ui::MouseButton button, ui::ShiftState, int, int) {
  if (button != ui::MouseButton::Left) return;
  SetBarButton(BarB2, static_cast<int>(BarB2.Tag()) + 1);
  BarB2.SetTag(BarB2.Tag() == 1 ? 0 : 1);
  Panel3.SetVisible(BarB2.Tag() == 1);
}

void TMemForm::PlaceInfoP() {
  // Anchored to the panel's top right corner.
  InfoP.SetLeft(Panel1.Width() - InfoP.Width());
}

int TMemForm::PanelWidthInside(int width) const {
  const int widest = ClientWidth() - Split1.Width() - 7 * kCalendarMinColWidth;
  return std::max(std::min(width, widest), InfoP.Width());
}

void TMemForm::InfoPClick(ui::Control&) {
  if (Panel1.Width() == InfoP.Width())
    Panel1.SetWidth(InfoP.Width() + Label5.Left() + Label5.Width());
  else
    Panel1.SetWidth(InfoP.Width());
  PlaceInfoP();
  FitCalendar();
}

void TMemForm::ShowTaskInfo() {
  WriteLog(" %s:%d", "TMemForm::ShowTaskInfo", 284);
  if (calendarView_) return;
  // Set once: the pictures stay until the window goes, and a paint must not cause another.
  auto show = [this](ui::Image& image, int icon) {
    if (image.Picture().IsEmpty() && icon < wIML.Count()) image.SetPicture(wIML.GetBitmap(icon));
  };
  if (Panel2.Visible()) {
    show(ProgramIcon, 3);
    show(SoundIcon, 2);
    show(MessageIcon, 0);
  }
  if (Panel3.Visible()) show(StartsIcon, 0);
}

void TMemForm::FormPaint(ui::Control&, ui::Canvas&) { ShowTaskInfo(); }

void TMemForm::Pg4Click(ui::Control&) {
  WriteLog("  %s %d", "TMemForm::Pg4Click", 851);
  calendarView_ = !calendarView_;
  Panel5.SetVisible(calendarView_);
  PanelGrid.SetVisible(calendarView_);
  Split1.SetVisible(calendarView_);
  // The day list takes the whole side panel: the details boxes (windows of their own, which
  // would stay on top of it) step aside and come back as they were.
  Panel2.SetVisible(!calendarView_ && BarB1.Tag() == 1);
  Panel3.SetVisible(!calendarView_ && BarB2.Tag() == 1);
  listGrid_ = calendarView_ ? &PanelGrid : &Grid;
  FollowViewInTabOrder();
  Grid.SetSelected(1, 1);
  if (calendarView_) {
    Panel1.SetWidth(static_cast<int>(Split1.Tag()));
  } else {
    Split1.SetTag(Panel1.Width());
    Panel1.SetWidth(static_cast<int>(Panel1.Tag()));
  }
  Split1.SetLeft(Panel1.Width());
  PlaceInfoP();
  if (calendarView_) {
    savedRowCount_ = Grid.RowCount();
    for (int c = 0; c < 10; ++c) savedColWidths_[static_cast<std::size_t>(c)] = Grid.ColWidth(c);
    Grid.SetDefaultColWidth(kCalendarDesignColWidth);
    Grid.SetDefaultRowHeight(kCalendarDesignRowHeight);
    Grid.SetColCount(7);
    Grid.SetRowCount(7);
    FitCalendar();
    calendarCursor_ = owner_.Services().clock.Now();
    if (const auto today = SplitDateTime(calendarCursor_)) {
      calendar_.SelectedDay = today->date.day;
      calendar_.ShownYear = today->date.year;
      calendar_.ShownMonth = today->date.month;
    }
    Pic2Click(Pic2);
  } else {
    Grid.SetColCount(10);
    Grid.SetRowCount(savedRowCount_);
    for (int c = 0; c < 10; ++c) Grid.SetColWidth(c, savedColWidths_[static_cast<std::size_t>(c)]);
    Grid.SetDefaultRowHeight(kTableRowHeight);
    ShowColumnCaptions();
    RefreshList();
  }
}

void TMemForm::Split1Moved(ui::Control&) {
  Split1.SetTag(Panel1.Width());
  PlaceInfoP();
  FitCalendar();
}

void TMemForm::FitCalendar() {
  if (!calendarView_) return;
  const CalendarCells cells = FitCalendarCells(Grid.Width(), Grid.Height(), ui::StringGrid::kScrollBarSize);
  Grid.SetDefaultRowHeight(cells.rowHeight);
  for (int c = 0; c < 7; ++c) Grid.SetColWidth(c, cells.colWidths[static_cast<std::size_t>(c)]);
}

void TMemForm::FormResize(ui::Control&) {
  WriteLog("  %s %d", "TMemForm::FormResize", 997);
  if (skipResize_) {
    // The panel keeps its width; the month still takes the room the grid has now.
    skipResize_ = false;
    FitCalendar();
    return;
  }
  if (!calendarView_) return;
  if (Panel1.Width() + Grid.Width() < Width())
    Panel1.SetWidth(Width() - 7 * Grid.DefaultColWidth() - 32);
  else
    Panel1.SetWidth(static_cast<int>(Split1.Tag()));
  // A window narrower than the calendar leaves the panel its collapsed width, never less.
  if (Panel1.Width() < InfoP.Width()) Panel1.SetWidth(InfoP.Width());
  Split1.SetLeft(Panel1.Width());
  Split1.SetTag(Panel1.Width());
  PlaceInfoP();
  FitCalendar();
}

void TMemForm::MonLMouseEnter(ui::Control& sender) {
  if (sender.GetFont().color != kHoverColor) sender.SetFontColor(kHoverColor);
}

void TMemForm::MonLMouseLeave(ui::Control& sender) {
  if (sender.GetFont().color != kLabelColor) sender.SetFontColor(kLabelColor);
}

void TMemForm::HideCalendarDropDown() {
  if (!CalCB.Visible()) return;
  CalCB.SetDroppedDown(false);
  CalCB.SetVisible(false);
}

}  // namespace vm
