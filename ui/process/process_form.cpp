#include "ui/process/process_form.h"
#include "core/busy_scope.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "app/main_form.h"
#include "core/log.h"
#include "draw/text_metrics.h"
#include "platform/process_table.h"
#include "scheduler/close_program.h"
#include "theme/builtin_pictures.h"
#include "theme/dgroup_buts.h"
#include "theme/theme_loader.h"
#include "theme/visual_style.h"
#include "core/text_format.h"

namespace vm {

namespace {

// Priority classes of the menu items.
constexpr std::int64_t kIdleClass = 64;
constexpr std::int64_t kBelowNormalClass = 16384;
constexpr std::int64_t kNormalClass = 32;
constexpr std::int64_t kAboveNormalClass = 32768;
constexpr std::int64_t kHighClass = 128;
constexpr std::int64_t kRealTimeClass = 256;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int CompareText(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(Lower(a[i]));
    const auto y = static_cast<unsigned char>(Lower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

std::string Hex8(std::uint32_t value) {
  return FormatText("0x%08X", value);
}

// "0x..." as a process identifier; nothing for any other text.
std::optional<std::uint32_t> ParseId(const std::string& text) {
  if (text.size() < 3 || text[0] != '0' || Lower(text[1]) != 'x') return std::nullopt;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str() + 2, &end, 16);
  if (end == text.c_str() + 2 || *end != '\0' || value > 0xFFFFFFFFul) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::int64_t Milliseconds(DateTime value) { return std::llround(value * 86'400'000.0); }

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return {};
  // A root keeps its backslash ("C:\"), any other folder loses it.
  if (slash == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, slash);
}

}  // namespace

TProcF::TProcF(TForm1& owner)
    : ui::Form(owner.App(), "ProcF"), owner_(owner), table_(owner.Services().processTable) {
  Describe();
  Wire();
  WireAccess();
  ProcessListView.SetSmallImages(&Icons);
  PriorMenu.SetImages(&owner_.MenuIcons);
  ApplyLanguage();
  // The list is filled before the window is first shown.
  Refresh();
}

TProcF::~TProcF() = default;

void TProcF::Describe() {
  SetCaption("ProcF");
  SetBounds(0, 0, 448, 380);
  SetMinSize(425, 154);
  SetColor(ui::clWindow);
  SetBorderStyle(ui::BorderStyle::Sizable);

  Image1.SetAlign(ui::Align::Top);
  Image1.SetHeight(49);
  Image1.SetStretch(true);
  Pic1.SetBounds(7, 5, 90, 39);
  Pic2.SetBounds(111, 5, 90, 39);
  Pic1.SetTransparent(true);
  Pic2.SetTransparent(true);
  Pic1.SetTag(0);
  Pic2.SetTag(1);
  Bevel3.SetBounds(104, 0, 2, 49);
  Bevel1.SetBounds(208, 0, 2, 49);
  Bevel3.SetShape(ui::BevelShape::LeftLine);
  Bevel1.SetShape(ui::BevelShape::LeftLine);

  StatusBar1.SetAlign(ui::Align::Bottom);
  StatusBar1.SetHeight(19);
  ProcessListView.SetAlign(ui::Align::Client);
  ProcessListView.SetRowSelect(true);
  ProcessListView.SetSorted(true);
  ProcessListView.SetColor(ui::clWindow);
  ProcessListView.AddColumn({"Process Name", 150, 50, 300});
  ProcessListView.AddColumn({"Threads", 35, 15, 0});
  ProcessListView.AddColumn({"Process ID", 80, 50, 300});
  ProcessListView.AddColumn({"Parent ID", 80, 50, 300});
  ProcessListView.AddColumn({"Priority", 60, 45, 100});
  ProcessListView.AddColumn({"Full Name", 150, 50, 300});

  Timer1.SetInterval(kRefreshMs);
  Timer1.SetEnabled(true);

  PriorMenu.SetOwnerDraw(true);
  struct PriorityItem {
    ui::MenuItem* item;
    std::int64_t priorityClass;
  };
  for (const PriorityItem& p : {PriorityItem{&Idle, kIdleClass}, PriorityItem{&bNormal, kBelowNormalClass},
                                PriorityItem{&Normal, kNormalClass}, PriorityItem{&aNormal, kAboveNormalClass},
                                PriorityItem{&High, kHighClass}, PriorityItem{&RealTime, kRealTimeClass}}) {
    p.item->SetTag(p.priorityClass);
    p.item->SetRadioItem(true);
    p.item->SetAutoCheck(true);
    p.item->SetGroupIndex(1);
  }
  Normal.SetChecked(true);
}

void TProcF::Wire() {
  OnCreate = ui::Bind(this, &TProcF::FormCreate);
  OnShow = ui::Bind(this, &TProcF::FormShow);
  OnClose = ui::Bind(this, &TProcF::FormClose);
  OnDestroy = ui::Bind(this, &TProcF::FormDestroy);
  Timer1.OnTimer = ui::Bind(this, &TProcF::Timer1Timer);
  ProcessListView.OnColumnClick = ui::Bind(this, &TProcF::ProcessListViewColumnClick);
  ProcessListView.OnCompare = ui::Bind(this, &TProcF::ProcessListViewCompare);
  ProcessListView.OnMouseDown = ui::Bind(this, &TProcF::ProcessListViewMouseDown);
  ProcessListView.OnSelectItem = ui::Bind(this, &TProcF::ProcessListViewSelectItem);
  Idle.OnClick = ui::Bind(this, &TProcF::IdleClick);
  bNormal.OnClick = ui::Bind(this, &TProcF::bNormalClick);
  Normal.OnClick = ui::Bind(this, &TProcF::NormalClick);
  aNormal.OnClick = ui::Bind(this, &TProcF::aNormalClick);
  High.OnClick = ui::Bind(this, &TProcF::HighClick);
  // Real Time changes the priority as the others do (the system grants High instead to a
  // user without the right to real-time priority).
  RealTime.OnClick = ui::Bind(this, &TProcF::RealTimeClick);
  EndProcess1.OnClick = ui::Bind(this, &TProcF::EndProcess1Click);
  Gotofile1.OnClick = ui::Bind(this, &TProcF::Gotofile1Click);
  Pic1.OnClick = ui::Bind(this, &TProcF::PicClick);
  Pic2.OnClick = ui::Bind(this, &TProcF::PicClick);
}

// ---- lifecycle ----

void TProcF::FormCreate(ui::Control&) {
  WriteLog("  %s:%d", "TProcF::FormCreate", __LINE__);
  ApplyLanguage();
  owner_.Toggled[kProcessWindow] = this;
  ApplyTheme();
  Buttons = std::make_unique<theme::DGroupButs>(std::initializer_list<ui::Image*>{&Pic1, &Pic2}, *this,
                                                nullptr, owner_.ImL1);
  const std::string captions[2] = {EndProcess1.Caption(), Gotofile1.Caption()};
  for (int i = 0; i < Buttons->Count(); ++i) {
    theme::DBut* button = Buttons->Button(i);
    button->SetCaption(captions[i]);
    button->SetLatching(false);
    button->SetDown(false);
    button->DrawFrame(theme::DBut::kFrameNormal);
  }
  PriorMenu.OnDrawItem = ui::Bind(&owner_, &TForm1::Options1DrawItem);
}

void TProcF::FormShow(ui::Control&) {
  Timer1.SetEnabled(true);
  owner_.PlaceNearClock(*this);
}

void TProcF::FormClose(ui::Form&, ui::CloseAction&) {
  WriteLog("  %s:%d", "TProcF::FormClose", __LINE__);
  // The clock's toggle button goes up, and the clock reacts to it as to a click: the window is
  // destroyed.
  if (owner_.TopButtons && owner_.TopButtons->Button(kProcessWindow)) {
    owner_.TopButtons->Release(kProcessWindow);
    owner_.MyClick(owner_.TopP);
  }
  // Whichever way the clock reacted, a closed process manager does not stay behind hidden.
  if (owner_.Slots[kProcessWindow] == this) owner_.DeleteFormA(kProcessWindow);
}

void TProcF::FormDestroy(ui::Control&) {
  Timer1.SetEnabled(false);
  Buttons.reset();
  ProcessListView.SetSmallImages(nullptr);
  Icons.Clear();
}

void TProcF::ApplyLanguage() {
  const Language& language = owner_.GetLanguage();
  struct Key {
    const char* key;
    ui::MenuItem* item;
  };
  for (const Key& k : {Key{"M13", &SetPriority1}, Key{"M14", &EndProcess1}, Key{"M15", &bNormal},
                       Key{"M16", &Normal}, Key{"M17", &aNormal}, Key{"M18", &High}, Key{"M19", &RealTime},
                       Key{"M27", &Idle}, Key{"42001", &Gotofile1}}) {
    if (auto text = language.LookUpText(k.key)) k.item->SetCaption(*text);
  }
  if (auto text = language.LookUpText("M30")) SetCaption(*text);
  for (int column = 0; column < static_cast<int>(ProcessListView.Columns().size()); ++column) {
    if (auto text = language.LookUpText("L7." + std::to_string(kColumnKeyFirst + column)))
      ProcessListView.SetColumnCaption(column, *text);
  }
  if (auto text = language.LookUpText("L7." + std::to_string(kSystemPriorityKey))) SystemPriority = *text;
  FitColumnsToHeaders();
}

void TProcF::FitColumnsToHeaders() {
  // A header wider than its column (a longer word in another language) widens the column, up to
  // the column's limit, so that the header reads whole.
  const ui::Font font = ProcessListView.GetFont();
  for (int column = 0; column < static_cast<int>(ProcessListView.Columns().size()); ++column) {
    const ui::ListColumn& c = ProcessListView.Columns()[static_cast<std::size_t>(column)];
    const int needed = ui::CurrentTextRenderer().Measure(font, c.caption).width + kHeaderMargin;
    if (needed > c.width) ProcessListView.SetColumnWidth(column, needed);
  }
}

void TProcF::ApplyTheme() {
  std::optional<ui::Bitmap> band;
  if (owner_.Style) band = theme::LoadThemeBitmap(*owner_.Style, theme::kToolbarBackgroundBitmap);
  Image1.SetPicture(band ? *band : theme::BuiltinToolbarBackground());
  if (Buttons) Buttons->Redraw();  // new frames, or a high-contrast scheme switched on or off
}

// ---- the refresh ----

void TProcF::Timer1Timer(ui::Timer&) { Refresh(); }

void TProcF::Refresh() {
  if (Busy) return;
  BusyScope busy(Busy);
  MainServices& services = owner_.Services();
  Stamp = services.clock.Now();
  stampMs_ = Milliseconds(Stamp);
  const std::string seen = services.locale.LongTime(Stamp);

  std::optional<std::vector<ProcessEntry>> snapshot;
  if (table_) snapshot = table_->Snapshot();
  if (!snapshot) {
    // One row says so while the snapshots fail; it goes at the first sweep after a good one.
    const std::string text = owner_.GetLanguage().Msg("M.10");
    if (FindRow(text) < 0) {
      ui::ListItem row;
      row.caption = text;
      ProcessListView.AddItem(std::move(row));
    }
  } else {
    // A row shows one process of its name: the one it was made for while that one runs, else
    // the first other one of that name.
    std::map<std::string, const ProcessEntry*> firstOfName;
    std::set<std::string> ownSeen;
    // The first entry is the system's idle process.
    for (std::size_t i = 1; i < snapshot->size(); ++i) {
      const ProcessEntry& entry = (*snapshot)[i];
      const int row = FindRow(entry.exeFile);
      // Names are told apart by the row that shows them (FindRow's comparison).
      if (row < 0) {
        AddProcessRow(entry, seen, stampMs_);
        ownSeen.insert(entry.exeFile);
        continue;
      }
      const std::string key = ProcessListView.Item(row).caption;
      firstOfName.emplace(key, &entry);
      ProcessListView.SetItemText(row, kSeenItem + 1, seen);
      ProcessListView.SetItemData(row, stampMs_);
      const ui::ListItem& shown = ProcessListView.Item(row);
      if (shown.subItems.size() > kIdItem && shown.subItems[kIdItem] == Hex8(entry.processId)) {
        ownSeen.insert(key);
        ProcessListView.SetItemText(row, kPriorityItem + 1, PriorityText(entry.basePriority));
      }
    }
    for (const auto& [key, entry] : firstOfName) {
      if (ownSeen.count(key)) continue;
      const int row = FindRow(entry->exeFile);
      if (row < 0) continue;
      if (ProcessListView.Item(row).subItems.size() > kIdItem &&
          ProcessListView.Item(row).subItems[kIdItem] == SelectedId)
        ResetSelection();
      ProcessListView.SetItemText(row, kThreadsItem + 1, std::to_string(entry->threadCount));
      ProcessListView.SetItemText(row, kIdItem + 1, Hex8(entry->processId));
      ProcessListView.SetItemText(row, kParentItem + 1, Hex8(entry->parentProcessId));
      ProcessListView.SetItemText(row, kPriorityItem + 1, PriorityText(entry->basePriority));
      ProcessListView.SetItemText(row, kPathItem + 1, FullPath(*entry));
    }
  }

  Parity = Parity == 1 ? 0 : Parity + 1;
  if (Parity == 0) SweepStaleRows(snapshot.has_value());
}

std::string TProcF::FullPath(const ProcessEntry& entry) {
  // Windows 2000 and older have no way to read another process's path.
  if (owner_.WinVersion <= 20) return entry.exeFile;
  if (!table_) return {};
  return table_->ImagePath(entry.processId).value_or(std::string());
}

void TProcF::AddProcessRow(const ProcessEntry& entry, const std::string& seen, std::int64_t seenMs) {
  const std::string path = FullPath(entry);
  std::optional<ui::Icon> icon;
  if (!path.empty()) icon = table_->FileIcon(path, kIconSize);
  if (!icon) icon = table_->ApplicationIcon(kIconSize);

  ui::ListItem row;
  row.caption = entry.exeFile;
  row.subItems = {std::to_string(entry.threadCount), Hex8(entry.processId), Hex8(entry.parentProcessId),
                  PriorityText(entry.basePriority), path, seen};
  row.imageIndex = Icons.AddIcon(*icon);
  row.data = seenMs;
  ProcessListView.AddItem(std::move(row));
}

void TProcF::SweepStaleRows(bool snapshotTaken) {
  const std::int64_t threshold = (Milliseconds(owner_.Services().clock.Now()) - stampMs_) / 1000;
  for (int i = ProcessListView.ItemCount() - 1; i >= 0; --i) {
    const ui::ListItem& row = ProcessListView.Item(i);
    if (row.subItems.empty()) {
      // The row of a failed snapshot.
      if (snapshotTaken) DeleteRow(i);
      continue;
    }
    if ((stampMs_ - row.data) / 1000 >= threshold + kStaleSeconds) DeleteRow(i);
  }
}

void TProcF::DeleteRow(int index) {
  const ui::ListItem row = ProcessListView.Item(index);
  // A process that is gone is no longer the one chosen: its identifier may be given to
  // another process.
  if (row.subItems.size() > kIdItem && row.subItems[kIdItem] == SelectedId) ResetSelection();
  const int image = row.imageIndex;
  if (image >= 0) Icons.Delete(image);
  ProcessListView.DeleteItem(index);
  if (image < 0) return;
  for (int i = 0; i < ProcessListView.ItemCount(); ++i) {
    const int current = ProcessListView.Item(i).imageIndex;
    if (current > image) ProcessListView.SetItemImage(i, current - 1);
  }
}

int TProcF::FindRow(const std::string& name) const {
  const auto& items = ProcessListView.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string& caption = items[i].caption;
    if (table_ ? table_->SameExeName(caption, name) : caption == name) return static_cast<int>(i);
  }
  return -1;
}

std::string TProcF::PriorityText(std::int32_t basePriority) const {
  switch (basePriority) {
    case 4: return Idle.Caption();
    case 6: return bNormal.Caption();
    case 8: return Normal.Caption();
    case 10: return aNormal.Caption();
    case 13: return High.Caption();
    case 24: return RealTime.Caption();
    default: return SystemPriority;
  }
}

// ---- sorting and selection ----

void TProcF::ProcessListViewColumnClick(ui::Control&, int column) {
  SortColumn = column;
  ProcessListView.CustomSort(0);
}

void TProcF::ProcessListViewCompare(ui::Control&, const ui::ListItem& item1, const ui::ListItem& item2, int,
                                    int& compare) {
  compare = 0;
  if (item1.caption.empty() || item2.caption.empty()) return;
  if (SortColumn == 0) {
    compare = CompareText(item1.caption, item2.caption);
    return;
  }
  const auto sub = static_cast<std::size_t>(SortColumn - 1);
  if (sub >= item1.subItems.size() || sub >= item2.subItems.size()) return;
  compare = CompareText(item1.subItems[sub], item2.subItems[sub]);
}

void TProcF::ProcessListViewSelectItem(ui::Control&, int index, bool selected) {
  if (!selected || index < 0 || index >= ProcessListView.ItemCount()) return;
  const ui::ListItem& row = ProcessListView.Item(index);
  auto sub = [&](int i) { return static_cast<std::size_t>(i) < row.subItems.size() ? row.subItems[i] : std::string(); };
  // The row of a failed snapshot names no process.
  SelectedId = row.subItems.empty() ? kNoSelection : sub(kIdItem);
  SelectedName = row.caption;
  StatusBar1.SetSimpleText(sub(kPathItem));
  MarkPriority(sub(kPriorityItem));
}

void TProcF::MarkPriority(const std::string& shown) {
  // A row showing "System" has no item of its own: then none is marked, not the one marked last.
  ui::MenuItem* match = nullptr;
  for (ui::MenuItem* item : SetPriority1.Items())
    if (!match && item->Caption() == shown) match = item;
  for (ui::MenuItem* item : SetPriority1.Items()) item->SetChecked(item == match);
}

void TProcF::ProcessListViewMouseDown(ui::Control&, ui::MouseButton button, ui::ShiftState, int, int) {
  if (button != ui::MouseButton::Right || ProcessListView.ItemIndex() < 0) return;
  const ui::Point at = App().GetScreen().CursorPos();
  PriorMenu.Popup(at.x, at.y);
}

// ---- priority, ending, the folder ----

void TProcF::Inform(const std::string& text, WindowId owner, MsgIcon icon) {
  MessageBoxRequest request;
  request.text = text;
  request.caption = owner_.GetLanguage().Msg("C.2");
  request.icon = icon;
  request.owner = owner;
  owner_.Services().messages.Show(request);
}

void TProcF::ChangePriority(ui::MenuItem& item) {
  const Language& language = owner_.GetLanguage();
  const std::optional<std::uint32_t> id = SelectedId == kNoSelection ? std::nullopt : ParseId(SelectedId);
  auto restoreCheck = [&] {
    // The item checked itself when chosen; the mark goes back to the priority the row shows.
    const int row = ProcessListView.ItemIndex();
    MarkPriority(row >= 0 && ProcessListView.Item(row).subItems.size() > kPriorityItem
                     ? ProcessListView.Item(row).subItems[kPriorityItem]
                     : Normal.Caption());
  };
  if (!id) {
    restoreCheck();
    Inform(language.Msg("M.11"), Handle());
    return;
  }
  if (!table_) return;
  switch (table_->SetPriorityClass(*id, static_cast<std::uint32_t>(item.Tag()))) {
    case ProcessCallResult::Done:
      item.SetChecked(true);
      break;
    case ProcessCallResult::NotOpened:
      restoreCheck();
      break;
    case ProcessCallResult::Failed:
      restoreCheck();
      Inform(language.Msg("M.12"), Handle());
      break;
  }
}

void TProcF::IdleClick(ui::MenuItem& sender) { ChangePriority(sender); }
void TProcF::bNormalClick(ui::MenuItem& sender) { ChangePriority(sender); }
void TProcF::NormalClick(ui::MenuItem& sender) { ChangePriority(sender); }
void TProcF::aNormalClick(ui::MenuItem& sender) { ChangePriority(sender); }
void TProcF::HighClick(ui::MenuItem& sender) { ChangePriority(sender); }
void TProcF::RealTimeClick(ui::MenuItem& sender) { ChangePriority(sender); }

void TProcF::ResetSelection() {
  SelectedId = kNoSelection;
  SelectedName.clear();
  StatusBar1.SetSimpleText("");
  ProcessListView.SetItemIndex(-1);
}

void TProcF::EndProcess1Click(ui::MenuItem&) {
  WriteLog("  %s:%d", "TProcF::EndProcess1Click", __LINE__);
  const Language& language = owner_.GetLanguage();
  const std::optional<std::uint32_t> id = SelectedId == kNoSelection ? std::nullopt : ParseId(SelectedId);
  if (!id) {
    Inform(language.Msg("M.16"), Handle());
    return;
  }
  MessageBoxRequest question;
  question.text = language.Msg("M.13") + ": " + SelectedName;
  question.caption = language.Msg("C.1");
  question.icon = MsgIcon::Warning;
  question.buttons = MsgButtons::YesNo;
  question.owner = Handle();
  if (owner_.Services().messages.Show(question) != MsgResult::Yes) return;

  const ProcessCallResult result = table_ ? table_->Terminate(*id) : ProcessCallResult::NotOpened;
  switch (result) {
    case ProcessCallResult::Done:
      ResetSelection();
      break;
    case ProcessCallResult::Failed:
      Inform(language.Msg("M.14"), owner_.Handle(), MsgIcon::Warning);
      ResetSelection();
      break;
    case ProcessCallResult::NotOpened:
      Inform(language.Msg("M.14"), owner_.Handle());
      break;
  }
  Timer1.SetEnabled(true);
}

void TProcF::Gotofile1Click(ui::MenuItem&) {
  const std::string folder = DirectoryOf(StatusBar1.SimpleText());
  if (folder.empty()) {
    Inform(owner_.GetLanguage().Msg("M.16"), Handle());
    return;
  }
  if (Shell* shell = owner_.Services().actions.shell) shell->Execute(Handle(), "open", folder, "", "");
}

void TProcF::PicClick(ui::Control& sender) {
  if (sender.Tag() == 0) EndProcess1Click(EndProcess1);
  else if (sender.Tag() == 1) Gotofile1Click(Gotofile1);
}

// ---- the close-program action ----

void TProcF::CloseProgram(const std::string& programPath) {
  WriteLog("  %s:%d", "TProcF::CloseProgram", __LINE__);
  const std::string name = FileNameOf(programPath);
  if (name.empty() || !table_) return;
  const std::optional<std::vector<ProcessEntry>> snapshot = table_->Snapshot();
  if (!snapshot) return;
  for (std::size_t i = 1; i < snapshot->size(); ++i) {
    const ProcessEntry& entry = (*snapshot)[i];
    if (!table_->SameExeName(entry.exeFile, name)) continue;
    if (table_->Terminate(entry.processId) == ProcessCallResult::Done) continue;
    MessageBoxRequest request;
    request.text = programPath;
    request.caption = "Can't close program";
    request.icon = MsgIcon::Information;
    request.owner = owner_.Handle();
    owner_.Services().messages.Show(request);
  }
}

}  // namespace vm
