// The task list window: its form description, the table, the commands add, edit and delete,
// and its life from creation to destruction.

#include "ui/task_list/mem_form.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

#include "app/main_form.h"
#include "core/log.h"
#include "theme/builtin_pictures.h"
#include "theme/dgroup_buts.h"
#include "ui/task_list/task_columns.h"

namespace vm {

namespace {

constexpr ui::Color kFontColor = 4947087;  // red 143, green 124, blue 75
constexpr ui::Color kCaptionRowColor = 14215660;
constexpr ui::Color kOddRowColor = 15793904;
constexpr ui::Color kInactiveRowColor = 16312552;
constexpr int kDesignColWidths[10] = {73, 112, 130, 68, 64, 64, 112, 31, 64, 21};
constexpr int kDesignRows = 11;
constexpr int kSplitterDesignTag = 220;
constexpr int kMarkerActive = 2;    // AddList pictures
constexpr int kMarkerInactive = 0;
constexpr int kSortArrow = 8;

ui::Font FormFont(int height) {
  ui::Font f;
  f.name = "MS Sans Serif";
  f.height = -height;
  f.color = kFontColor;
  return f;
}

// The part of a path after its last backslash or colon.
std::string FileNamePart(const std::string& text) {
  const std::size_t cut = text.find_last_of("\\:");
  return cut == std::string::npos ? text : text.substr(cut + 1);
}

}  // namespace

TMemForm::TMemForm(TForm1& owner)
    : ui::Form(owner.App(), "MemForm"), owner_(owner), ownerAlive_(owner.SlotOwner) {
  WriteLog("  %s %d", "TMemForm::TMemForm", 29);
  owner_.Toggled[kTaskListWindow] = this;
  DescribeForm();
  WireHandlers();
  WireAccess();
  PopupMenu1.SetOwnerDraw(true);
  PopupMenu1.SetImages(&owner_.MenuIcons);
  pIm.SetTransparent(true);
  calendarView_ = false;
}

TMemForm::~TMemForm() = default;

void TMemForm::DescribeForm() {
  SetCaption("MemForm");
  SetBorderStyle(ui::BorderStyle::Sizable);
  SetClientSize(535, 377);
  SetMinSize(417, 150);
  SetColor(ui::clWindow);
  SetFont(FormFont(10));
  SetKeyPreview(true);
  SetShowHint(true);

  Image1.SetAlign(ui::Align::Top);
  Image1.SetHeight(49);
  Image1.SetStretch(true);
  Pg1.SetBounds(4, 2, 90, 39);
  Pg2.SetBounds(103, 2, 90, 39);
  Pg3.SetBounds(202, 2, 90, 39);
  for (ui::Image* pg : {&Pg1, &Pg2, &Pg3}) {
    pg->SetStretch(true);
    pg->SetTransparent(true);
  }
  Pg4.SetBounds(416, 24, 57, 17);
  const int bevelLefts[3] = {98, 197, 296};
  ui::Bevel* bevels[3] = {&Bevel3, &Bevel4, &Bevel5};
  for (int i = 0; i < 3; ++i) {
    bevels[i]->SetBounds(bevelLefts[i], 4, 2, 37);
    bevels[i]->SetShape(ui::BevelShape::LeftLine);
  }

  StatusBar1.SetAlign(ui::Align::Bottom);
  StatusBar1.SetHeight(18);

  Panel1.SetAlign(ui::Align::Left);
  Panel1.SetWidth(177);
  Panel1.SetBevelOuter(ui::PanelBevel::None);
  Panel1.SetColor(ui::clInactiveCaption);
  Label7.SetBounds(19, 7, 40, 13);
  Label7.SetCaption("Time");
  Label7.SetTransparent(true);
  Label2.SetBounds(19, 27, 40, 13);
  Label2.SetCaption("Date");
  Label2.SetTransparent(true);
  Bar1.SetBounds(8, 48, 161, 25);
  Bar1.SetTag(1);
  Label5.SetAutoSize(false);
  Label5.SetBounds(8, 54, 161, 13);
  Label5.SetAlignment(ui::Alignment::Center);
  Label5.SetTransparent(true);
  Label5.SetCaption("Select Task");
  BarB1.SetBounds(16, 50, 21, 21);
  BarB1.SetTag(1);
  BarB1.SetTransparent(true);

  Panel2.SetBounds(8, 72, 161, 145);
  Panel2.SetBevelOuter(ui::PanelBevel::None);
  Panel2.SetColor(ui::clWhite);
  Panel2.SetFont(FormFont(9));
  Memo1.SetBounds(28, 4, 129, 52);
  Memo1.SetReadOnly(true);
  Memo1.SetScrollBars(ui::ScrollStyle::Vertical);
  Edit2.SetBounds(28, 64, 129, 16);
  Edit3.SetBounds(28, 88, 129, 16);
  for (ui::Edit* edit : {&Edit2, &Edit3}) {
    edit->SetReadOnly(true);
    edit->SetTabStop(false);
  }
  Label1.SetBounds(8, 116, 145, 13);
  Label1.SetTransparent(true);
  MessageIcon.SetBounds(8, 8, 16, 16);
  ProgramIcon.SetBounds(8, 64, 16, 16);
  SoundIcon.SetBounds(8, 88, 16, 16);

  Bar2.SetBounds(8, 200, 161, 25);
  Label4.SetBounds(40, 203, 120, 13);
  Label4.SetWordWrap(true);
  Label4.SetTransparent(true);
  Label4.SetCaption("Info");
  BarB2.SetBounds(16, 202, 21, 21);
  BarB2.SetTag(0);
  BarB2.SetTransparent(true);
  Panel3.SetBounds(8, 224, 161, 81);
  Panel3.SetBevelOuter(ui::PanelBevel::None);
  Panel3.SetColor(ui::clWhite);
  Panel3.SetVisible(false);
  StartsIcon.SetBounds(8, 8, 16, 16);
  Label8.SetBounds(28, 8, 120, 13);
  Label6.SetBounds(28, 26, 120, 13);
  Label3.SetBounds(8, 50, 150, 13);
  for (ui::Label* l : {&Label6, &Label8, &Label3}) l->SetTransparent(true);

  InfoP.SetBounds(169, 120, 8, 81);
  InfoP.SetCursor(ui::Cursor::Hand);

  Split1.SetAlign(ui::Align::Left);
  Split1.SetWidth(4);
  Split1.SetTag(kSplitterDesignTag);
  Split1.SetVisible(false);
  Panel4.SetAlign(ui::Align::Client);
  Panel4.SetBevelOuter(ui::PanelBevel::None);
  Panel5.SetAlign(ui::Align::Top);
  Panel5.SetHeight(32);
  Panel5.SetBevelOuter(ui::PanelBevel::None);
  Panel5.SetBevelInner(ui::PanelBevel::Lowered);
  Panel5.SetVisible(false);
  Pic1.SetBounds(26, 5, 21, 21);
  MonL.SetBounds(96, 9, 30, 13);
  MonL.SetCursor(ui::Cursor::Hand);
  MonL.SetFont(FormFont(9));
  MonL.SetTransparent(true);
  CalCB.SetBounds(128, 4, 73, 21);
  CalCB.SetDropDownCount(12);
  CalCB.SetVisible(false);
  YearL.SetBounds(208, 9, 30, 13);
  YearL.SetCursor(ui::Cursor::Hand);
  YearL.SetFont(FormFont(9));
  YearL.SetTransparent(true);
  Pic2.SetBounds(267, 5, 21, 21);

  for (ui::StringGrid* grid : {&Grid, &PanelGrid}) {
    grid->SetAlign(ui::Align::Client);
    grid->SetColCount(10);
    grid->SetRowCount(kDesignRows);
    grid->SetFixedRows(1);
    grid->SetFixedCols(0);
    grid->SetDefaultRowHeight(kTableRowHeight);
    for (int c = 0; c < 10; ++c) grid->SetColWidth(c, kDesignColWidths[c]);
    grid->SetColSizing(true);
    grid->SetColor(ui::clWhite);
    grid->SetDefaultDrawing(false);
  }
  PanelGrid.SetDefaultRowHeight(20);
  PanelGrid.SetVisible(false);
  pIm.SetBounds(0, 0, 16, 16);
  pIm.SetVisible(false);
  wIML.SetBkColor(ui::clWhite);

  CDownM.SetVisible(false);
  ATaskM.SetImageIndex(10);
  Edit1.SetImageIndex(11);
  DeletM.SetImageIndex(12);
}

void TMemForm::WireHandlers() {
  OnCreate = ui::Bind(this, &TMemForm::FormCreate);
  OnShow = ui::Bind(this, &TMemForm::FormShow);
  OnClose = ui::Bind(this, &TMemForm::FormClose);
  OnDestroy = ui::Bind(this, &TMemForm::FormDestroy);
  OnKeyPress = ui::Bind(this, &TMemForm::FormKeyPress);
  OnPaint = ui::Bind(this, &TMemForm::FormPaint);
  OnResize = ui::Bind(this, &TMemForm::FormResize);
  for (ui::StringGrid* grid : {&Grid, &PanelGrid}) {
    grid->OnDrawCell = ui::Bind(this, &TMemForm::GridDrawCell);
    grid->OnSelectCell = ui::Bind(this, &TMemForm::GridSelectCell);
    grid->OnDblClick = ui::Bind(this, &TMemForm::GridDblClick);
    grid->OnMouseDown = ui::Bind(this, &TMemForm::GridMouseDown);
    grid->OnMouseUp = ui::Bind(this, &TMemForm::GridMouseUp);
    grid->OnMouseMove = ui::Bind(this, &TMemForm::GridMouseMove);
  }
  OnMouseUp = ui::Bind(this, &TMemForm::PopupAtCursor);
  Panel1.OnMouseUp = ui::Bind(this, &TMemForm::PopupAtCursor);
  ATaskM.OnClick = ui::Bind(this, &TMemForm::ATaskMClick);
  CDownM.OnClick = ui::Bind(this, &TMemForm::ATaskMClick);
  Edit1.OnClick = ui::Bind(this, &TMemForm::Edit1Click);
  DeletM.OnClick = ui::Bind(this, &TMemForm::DeletMClick);
  PopupMenu1.OnDrawItem = [this](ui::MenuItem& item, ui::Canvas& canvas, ui::Rect rect, bool selected) {
    owner_.Options1DrawItem(item, canvas, rect, selected);
  };
  Pg1.OnClick = ui::Bind(this, &TMemForm::Pg1Click);
  Pg2.OnClick = ui::Bind(this, &TMemForm::Pg2Click);
  Pg3.OnClick = ui::Bind(this, &TMemForm::Pg3Click);
  Pg4.OnClick = ui::Bind(this, &TMemForm::Pg4Click);
  InfoP.OnClick = ui::Bind(this, &TMemForm::InfoPClick);
  Pic1.OnClick = ui::Bind(this, &TMemForm::Pic1Click);
  Pic2.OnClick = ui::Bind(this, &TMemForm::Pic2Click);
  MonL.OnClick = ui::Bind(this, &TMemForm::MonLClick);
  YearL.OnClick = ui::Bind(this, &TMemForm::YearLClick);
  CalCB.OnChange = ui::Bind(this, &TMemForm::CalCBChange);
  for (ui::Label* label : {&MonL, &YearL}) {
    label->OnMouseEnter = ui::Bind(this, &TMemForm::MonLMouseEnter);
    label->OnMouseLeave = ui::Bind(this, &TMemForm::MonLMouseLeave);
  }
  BarB1.OnMouseDown = ui::Bind(this, &TMemForm::BarB1MouseDown);
  BarB2.OnMouseDown = ui::Bind(this, &TMemForm::BarB1MouseDown);
  BarB1.OnMouseUp = ui::Bind(this, &TMemForm::BarB1MouseUp);
  BarB2.OnMouseUp = ui::Bind(this, &TMemForm::BarB2MouseUp);
  Split1.OnMoved = ui::Bind(this, &TMemForm::Split1Moved);
}

// ---- creation and the end ----

void TMemForm::FormCreate(ui::Control&) {
  WriteLog("  %s %d", "TMemForm::FormCreate", 403);
  listGrid_ = &Grid;
  const Settings& settings = owner_.settings;
  SetBounds(Left(), Top(), settings.MemWidth, settings.MemHeight);
  Panel1.SetTag(Split1.Tag());
  skipResize_ = true;
  // The stored width may come from a larger window, or from a damaged value.
  const int panelWidth = PanelWidthInside(settings.MemPanelW);
  if (settings.MemView) {
    Panel1.SetWidth(panelWidth);
    Split1.SetTag(panelWidth);
    Pg4Click(Pg4);
  } else {
    Split1.SetTag(panelWidth);
  }
  PlaceInfoP();
  owner_.PlaceNearClock(*this);
  ApplyLanguage();
  ApplyTheme();
  BuildButtons();
  marker_ = ui::Bitmap(16, 16);
  LoadBars();
  LoadActionIcons();
  RefreshList();
}

void TMemForm::BuildButtons() {
  toolButtons_.reset();
  calendarButtons_.reset();
  toolButtons_ = std::make_unique<theme::DGroupButs>(
      std::initializer_list<ui::Image*>{&Pg1, &Pg2, &Pg3, &Pg4, &InfoP}, *this, nullptr, owner_.ImL1);
  const std::string captions[5] = {AddnM.Caption(), Edit1.Caption(), DeletM.Caption(), viewCaption_, "||"};
  for (int i = 0; i < toolButtons_->Count(); ++i) {
    theme::DBut* button = toolButtons_->Button(i);
    button->SetCaption(captions[i]);
    button->SetLatching(i == 3);
    button->GetImage().SetVisible(true);
  }
  // A view restored from the settings shows its toggle pressed.
  toolButtons_->Button(3)->SetDown(calendarView_);
  for (int i = 0; i < toolButtons_->Count(); ++i) {
    theme::DBut* button = toolButtons_->Button(i);
    button->DrawFrame(button->Down() ? theme::DBut::kFramePressed : theme::DBut::kFrameNormal);
  }
  calendarButtons_ = std::make_unique<theme::DGroupButs>(std::initializer_list<ui::Image*>{&Pic1, &Pic2},
                                                         Panel5, nullptr, owner_.ImL3);
  const char* arrows[2] = {"<", ">"};
  for (int i = 0; i < calendarButtons_->Count(); ++i) {
    theme::DBut* button = calendarButtons_->Button(i);
    button->SetCaption(arrows[i]);
    button->DrawFrame(theme::DBut::kFrameNormal);
  }
}

void TMemForm::LoadActionIcons() {
  // The action icons are the first nine of the clock's status icons: the same shell icons with
  // the same fallbacks, already loaded once.
  wIML.Clear();
  for (int i = 0; i < 9; ++i) wIML.AddIcon(owner_.StatusIcons.GetIcon(i));
}

void TMemForm::ApplyLanguage() {
  const Language& language = owner_.GetLanguage();
  auto apply = [&](const char* key, auto setter) {
    if (auto text = language.LookUpText(key)) setter(*text);
  };
  apply("L4.1", [this](const std::string& t) { SetCaption(t); });
  apply("L4.50", [this](const std::string& t) { viewCaption_ = t; });
  ui::MenuItem* items[5] = {&AddnM, &Edit1, &DeletM, &ATaskM, &CDownM};
  for (int i = 0; i < 5; ++i) {
    const std::string key = "M" + std::to_string(20 + i);
    apply(key.c_str(), [&](const std::string& t) { items[i]->SetCaption(t); });
  }
  for (int c = 0; c < 9; ++c) {
    const std::string key = "L4." + std::to_string(2 + c);
    columnCaptions_[static_cast<std::size_t>(c)] = language.TextOr(key, columnCaptions_[static_cast<std::size_t>(c)]);
  }
  ShowColumnCaptions();
  // The weekday short names too: the list shows them before any editor has read them.
  owner_.GetLanguage().ApplyTableKeys("C.", 15, 33);
  if (toolButtons_) {
    ui::MenuItem* captions[3] = {&AddnM, &Edit1, &DeletM};
    for (int i = 0; i < 3; ++i) toolButtons_->Button(i)->SetCaption(captions[i]->Caption());
    toolButtons_->Button(3)->SetCaption(viewCaption_);
  }
}

const std::string& TMemForm::ColumnCaption(int col) const {
  static const std::string kNone;
  return col >= 0 && col < static_cast<int>(columnCaptions_.size()) ? columnCaptions_[static_cast<std::size_t>(col)]
                                                                     : kNone;
}

void TMemForm::ShowColumnCaptions() {
  // The month writes its weekdays over Grid's row 0 and has no columns 7 to 9: the captions are
  // put back whenever the table returns.
  for (ui::StringGrid* grid : {&Grid, &PanelGrid}) {
    if (grid == &Grid && calendarView_) continue;
    for (int c = 0; c < static_cast<int>(columnCaptions_.size()); ++c) grid->SetCell(c, 0, ColumnCaption(c));
  }
  ApplyAccessNames();
}

void TMemForm::FormShow(ui::Control&) {
  WriteLog("  %s %d", "TMemForm::FormShow", 385);
  StatusBar1.SetSimpleText("");
  if (!calendarView_) {
    RefreshList();
    ListGrid().SetSelected(1, 1);
    bool canSelect = true;
    GridSelectCell(ListGrid(), 1, 1, canSelect);
  }
  owner_.PlaceNearClock(*this);
}

void TMemForm::FormClose(ui::Form&, ui::CloseAction&) {
  WriteLog("  %s %d", "TMemForm::FormClose", 89);
  owner_.NotifyTray(1);
  Settings& settings = owner_.settings;
  settings.MemView = calendarView_;
  settings.MemWidth = Width();
  settings.MemHeight = Height();
  settings.MemPanelW = static_cast<std::int32_t>(Split1.Tag());
  owner_.SetRegistryInfo(kDataTypeMemWidth);
  owner_.SetRegistryInfo(kDataTypeMemHeight);
  owner_.SetRegistryInfo(kDataTypeMemView);
  owner_.SetRegistryInfo(kDataTypeMemPanelW);
  // The clock's toggle button comes up, and its click takes the window away.
  if (owner_.TopButtons && owner_.TopButtons->Button(kTaskListWindow)) {
    owner_.TopButtons->Release(kTaskListWindow);
    owner_.MyClick(owner_.TopH);
  } else {
    owner_.DeleteFormA(kTaskListWindow);
  }
}

void TMemForm::FormDestroy(ui::Control&) {
  WriteLog("  %s %d", "TMemForm::FormDestroy", 613);
  toolButtons_.reset();
  calendarButtons_.reset();
  barImages_.Clear();
  marker_ = ui::Bitmap();
  wIML.Clear();
  BarB1.SetPicture(ui::Bitmap());
  Bar1.SetPicture(ui::Bitmap());
  // A task editor left over from adding tasks goes with the list; not while the clock itself is
  // going, which takes its windows away on its own.
  if (auto alive = ownerAlive_.lock()) (*alive)->DeleteFormA(kTaskEditorWindow);
}

void TMemForm::FormKeyPress(ui::Control&, char32_t& key) {
  if (key == 27) HideCalendarDropDown();
}

// ---- the table ----

void TMemForm::RefreshList() {
  ui::StringGrid& grid = ListGrid();
  for (int r = 1; r < grid.RowCount(); ++r)
    for (int c = 0; c < grid.ColCount(); ++c) grid.SetCell(c, r, "");

  Scheduler& scheduler = owner_.scheduler;
  FillDisplayList(owner_.DisplayList, scheduler.TaskList, owner_.SortColumn, owner_.Services().codec);

  const std::optional<DateTime> shownDay =
      calendarView_ ? EncodeDate(calendar_.ShownYear, calendar_.ShownMonth, calendar_.SelectedDay) : std::nullopt;
  // Each wording is looked up in the language file once per refresh, not once per task.
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::string> periods;
  std::map<std::uint32_t, std::string> events;
  TaskTextSources sources{
      owner_.GetLanguage(), owner_.Services().locale,
      [this](DateTime value) { return owner_.FormatTaskDate(value, true); },
      [&](std::uint32_t period, std::uint32_t count) {
        auto [it, added] = periods.try_emplace({period, count});
        if (added) it->second = scheduler.PeriodText(period, count);
        return it->second;
      },
      [&](std::uint32_t mask) {
        auto [it, added] = events.try_emplace(mask);
        if (added) it->second = scheduler.EventText(mask);
        return it->second;
      }};
  std::map<std::uint16_t, std::string> weekDays;
  sources.weekDayList = [&](std::uint16_t days) {
    auto [it, added] = weekDays.try_emplace(days);
    if (added) it->second = WeekDayList(days, owner_.GetLanguage());
    return it->second;
  };
  int r = 1;
  int width = 0;
  for (const TTask& task : owner_.DisplayList) {
    if (calendarView_) {
      // A day that does not exist never matches; neither does a time that is not a date.
      if (!shownDay || task.AlarmTime == 0.0 || !IsValidDateTime(task.AlarmTime) || DayOf(task.AlarmTime) != DayOf(*shownDay)) continue;
    }
    if (grid.RowCount() <= r) grid.SetRowCount(r + 1);
    const TaskRowTexts row = TaskRow(task, sources);
    for (int c = 0; c < kTaskColumns && c < grid.ColCount(); ++c) grid.SetCell(c, r, row[static_cast<std::size_t>(c)]);
    width = std::max(width, IconColumnWidth(row[0].size()));
    grid.SetColWidth(0, width);
    ++r;
  }
  grid.Invalidate();
  if (calendarView_) {
    CountDayTasks();
    Grid.Invalidate();
  }
}

void TMemForm::GridDrawCell(ui::Control& sender, int col, int row, const ui::Rect& rect, ui::GridDrawState state) {
  auto& grid = static_cast<ui::StringGrid&>(sender);
  ui::Canvas* canvas = grid.PaintCanvas();
  if (!canvas) return;
  if (&grid == &Grid && calendarView_) {
    DrawCalendarCell(*canvas, col, row, rect);
    return;
  }
  ui::Color back = kCaptionRowColor;
  int marker = kMarkerActive;
  if (row > 0) {
    if (grid.Cell(8, row) != "0") {
      back = row % 2 == 1 ? kOddRowColor : ui::clWhite;
    } else {
      back = kInactiveRowColor;
      marker = kMarkerInactive;
    }
  }
  canvas->FillRect(rect, back);
  if (!(col == 0 && row > 0)) {
    canvas->SetFont(grid.GetFont());
    canvas->SetTextColor(grid.GetFont().color);
    canvas->SetTransparentText(true);
    const std::string& text = row == 0 ? ColumnCaption(col) : grid.Cell(col, row);
    if (!text.empty()) canvas->TextOut({rect.left + 2, rect.top + 2}, text);
  }
  if (row == 0 && col == owner_.SortColumn) {
    const ui::ImageList& marks = owner_.AddList;
    canvas->DrawImage({rect.left + (rect.Width() - marks.Width()) / 2, rect.bottom - marks.Height()}, marks, kSortArrow);
  }
  if (col == 0 && row > 0 && !grid.Cell(1, row).empty()) {
    canvas->DrawImage({rect.left + 3, rect.top + 3}, owner_.AddList, marker);
    const std::string& code = grid.Cell(0, row);
    for (std::size_t i = 0; i < code.size(); ++i) {
      const int icon = code[i] - '0';
      if (icon < 0 || icon >= wIML.Count()) continue;
      canvas->DrawImage({rect.left + 19 * static_cast<int>(i) + 19, rect.top + 1}, wIML, icon);
    }
  }
  if (state.selected) canvas->FrameRect(rect, ui::clBlack);
}

void TMemForm::GridSelectCell(ui::Control& sender, int col, int row, bool& canSelect) {
  if (row <= 0) return;
  if (&sender == &Grid && calendarView_) {
    const std::string& text = Grid.Cell(col, row);
    if (text.empty()) {
      canSelect = false;
      return;
    }
    calendar_.SelectedDay = std::atoi(text.c_str());
    RefreshList();
    return;
  }
  if (calendarView_) return;
  ShowTaskInfo();
  if (&sender == &Grid) FillSidePanel(row);
}

void TMemForm::FillSidePanel(int row) {
  const ui::StringGrid& g = Grid;
  Memo1.SetText(g.Cell(2, row));
  Label1.SetCaption(g.Cell(3, row));
  Label2.SetCaption(g.Cell(1, row));
  Edit2.SetText(FileNamePart(g.Cell(4, row)));
  Edit3.SetText(FileNamePart(g.Cell(5, row)));
  Label4.SetCaption(ColumnCaption(7));
  Label8.SetCaption(ColumnCaption(6));
  Label7.SetCaption(ColumnCaption(1));
  Label3.SetCaption(g.Cell(6, row));
  Label5.SetCaption(ColumnCaption(0));
  Label6.SetCaption(g.Cell(7, row));
  StatusBar1.SetSimpleText(g.Cell(2, row));
}

void TMemForm::GridDblClick(ui::Control&) { Edit1Click(Edit1); }

void TMemForm::GridMouseDown(ui::Control&, ui::MouseButton button, ui::ShiftState, int, int) {
  if (button == ui::MouseButton::Left) mouseDown_ = true;
}

void TMemForm::GridMouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y) {
  if (button == ui::MouseButton::Right) {
    PopupAtCursor(sender, button, shift, x, y);
    return;
  }
  const bool wasDown = mouseDown_;
  mouseDown_ = false;
  if (!wasDown) return;
  auto& grid = static_cast<ui::StringGrid&>(sender);
  int col = 0, row = 0;
  if (!grid.CellAt({x, y}, col, row) || row != 0) return;
  // The calendar's weekday captions are no table columns.
  if (&grid == &Grid && calendarView_) return;
  owner_.SortColumn = col;
  RefreshList();
}

void TMemForm::GridMouseMove(ui::Control&, ui::ShiftState, int, int) { HideCalendarDropDown(); }

void TMemForm::PopupAtCursor(ui::Control& sender, ui::MouseButton button, ui::ShiftState, int, int) {
  if (button != ui::MouseButton::Right) return;
  const ui::Point at = App().GetScreen().CursorPos();
  PopupMenu1.SetPopupComponent(&sender);
  PopupMenu1.Popup(at.x, at.y);
}

// ---- the commands ----

std::uint32_t TMemForm::SelectedTaskId(bool& found) {
  const ui::StringGrid& grid = ListGrid();
  const int row = grid.Row();
  found = !grid.Cell(1, row).empty();
  if (!found) return 0;
  const std::string& idText = grid.Cell(9, row);
  char* end = nullptr;
  const unsigned long id = std::strtoul(idText.c_str(), &end, 10);
  found = !idText.empty() && end && *end == '\0';
  return static_cast<std::uint32_t>(id);
}

void TMemForm::ATaskMClick(ui::MenuItem&) {
  owner_.EditNewTask();
  Scheduler& scheduler = owner_.scheduler;
  scheduler.SaveList();
  scheduler.UpdateCurTask();
  RefreshList();
  owner_.ShowClockDate();
}

void TMemForm::Edit1Click(ui::MenuItem&) {
  bool found = false;
  const std::uint32_t id = SelectedTaskId(found);
  if (!found) return;
  owner_.EditTask(id);
  RefreshList();
}

void TMemForm::DeletMClick(ui::MenuItem&) {
  if (ListGrid().Cell(1, ListGrid().Row()).empty()) return;
  const Language& language = owner_.GetLanguage();
  MessageBoxRequest ask;
  ask.text = language.Msg("M.18");
  ask.caption = language.Msg("C.7");
  ask.icon = MsgIcon::None;
  ask.buttons = MsgButtons::YesNo;
  ask.owner = Handle();
  if (owner_.Services().messages.Show(ask) != MsgResult::Yes) return;
  WriteLog("  %s %d", "TMemForm::DeletMClick", 556);
  bool found = false;
  const std::uint32_t id = SelectedTaskId(found);
  Scheduler& scheduler = owner_.scheduler;
  if (found && scheduler.FindTask(id)) scheduler.TaskList.erase(scheduler.TaskIter);
  scheduler.TaskIter = scheduler.TaskList.end();
  scheduler.SaveList();
  scheduler.UpdateCurTask();
  RefreshList();
  owner_.ShowClockDate();
}

void TMemForm::Pg1Click(ui::Control&) { ATaskMClick(ATaskM); }
void TMemForm::Pg2Click(ui::Control&) { Edit1Click(Edit1); }
void TMemForm::Pg3Click(ui::Control&) { DeletMClick(DeletM); }

}  // namespace vm
