#pragma once
// TProcF: the process manager. It lists the running processes (one row per executable name)
// with their threads, identifiers, priority and path, refreshes the list every two seconds in
// place, changes priorities, ends a process or opens the folder of its executable. The clock's
// close-program action ends processes through it as well.

#include <cstdint>
#include <memory>
#include <string>

#include "app/process_window.h"
#include "app/window_interface.h"
#include "core/date_time.h"
#include "ui/toolkit/toolkit.h"

namespace vm {

class TForm1;
class ProcessTable;
struct ProcessEntry;
namespace theme {
class DGroupButs;
}

class TProcF : public ui::Form, public ProcessWindow {
 public:
  void* FindInterface(const void* tag) override { return AnswerInterface<ProcessWindow>(this, tag); }
  // Columns of the list: the caption, then sub-items 0 to 4; sub-item 5 (no column) holds the
  // time of day the process was last seen.
  static constexpr int kThreadsItem = 0, kIdItem = 1, kParentItem = 2, kPriorityItem = 3,
                       kPathItem = 4, kSeenItem = 5;
  static constexpr int kRefreshMs = 2000;
  static constexpr int kIconSize = 16;
  // A row not seen by this many seconds (plus the time the refresh took) goes at a sweep.
  static constexpr int kStaleSeconds = 2;
  // The selected identifier text while nothing is selected.
  static constexpr const char* kNoSelection = "x";
  // Language keys: "L7." + 50 .. 55 name the six columns, "L7.56" a priority of no menu item.
  static constexpr int kColumnKeyFirst = 50, kSystemPriorityKey = 56;
  // The room a column header takes beside its text (the header's own margins).
  static constexpr int kHeaderMargin = 14;

  explicit TProcF(TForm1& owner);
  ~TProcF() override;

  // ---- the form description ----
  ui::Image Image1{*this, "Image1"};
  ui::Image Pic1{*this, "Pic1"};
  ui::Image Pic2{*this, "Pic2"};
  ui::Bevel Bevel3{*this, "Bevel3"};
  ui::Bevel Bevel1{*this, "Bevel1"};
  ui::StatusBar StatusBar1{*this, "StatusBar1"};
  ui::ListView ProcessListView{*this, "ProcessListView"};
  ui::Timer Timer1{*this, "Timer1"};

  ui::PopupMenu PriorMenu{*this, "PriorMenu"};
  ui::MenuItem SetPriority1{PriorMenu, "SetPriority1", "Priority"};
  ui::MenuItem Idle{SetPriority1, "Idle", "Idle"};
  ui::MenuItem bNormal{SetPriority1, "bNormal", "Below Normal"};
  ui::MenuItem Normal{SetPriority1, "Normal", "Normal"};
  ui::MenuItem aNormal{SetPriority1, "aNormal", "Above Normal"};
  ui::MenuItem High{SetPriority1, "High", "High"};
  ui::MenuItem RealTime{SetPriority1, "RealTime", "Real Time"};
  ui::MenuItem EndProcess1{PriorMenu, "EndProcess1", "Kill process"};
  ui::MenuItem Gotofile1{PriorMenu, "Gotofile1", "Go to file"};

  // ---- state ----
  std::string SelectedId = kNoSelection;  // sub-item 1 of the selected row, "0x..."
  std::string SelectedName;
  DateTime Stamp = 0;     // time of the refresh in progress or last run
  bool Busy = false;      // a refresh is running
  int Parity = 0;         // 0 or 1: stale rows are swept when it turns 0
  int SortColumn = 0;     // 0 the name, c > 0 sub-item c - 1
  std::string SystemPriority = "System";  // the priority text of a base priority no item has
  ui::ImageList Icons{kIconSize, kIconSize};
  std::unique_ptr<theme::DGroupButs> Buttons;

  // ---- handlers ----
  void FormCreate(ui::Control& sender);
  void FormShow(ui::Control& sender);
  void FormClose(ui::Form& sender, ui::CloseAction& action);
  void FormDestroy(ui::Control& sender);
  void ApplyLanguage();
  void FitColumnsToHeaders();
  void ApplyTheme() override;
  void Timer1Timer(ui::Timer& sender);
  void ProcessListViewColumnClick(ui::Control& sender, int column);
  void ProcessListViewCompare(ui::Control& sender, const ui::ListItem& item1, const ui::ListItem& item2,
                              int data, int& compare);
  void ProcessListViewMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  // The Menu key and Shift+F10 open the priority menu as the right button does.
  void ProcessListViewKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);
  void ProcessListViewSelectItem(ui::Control& sender, int index, bool selected);
  void IdleClick(ui::MenuItem& sender);
  void bNormalClick(ui::MenuItem& sender);
  void NormalClick(ui::MenuItem& sender);
  void aNormalClick(ui::MenuItem& sender);
  void HighClick(ui::MenuItem& sender);
  void RealTimeClick(ui::MenuItem& sender);
  void EndProcess1Click(ui::MenuItem& sender);
  void Gotofile1Click(ui::MenuItem& sender);
  // The two tool buttons: tag 0 ends the process, tag 1 opens its folder.
  void PicClick(ui::Control& sender);

  // ProcessWindow
  void CloseProgram(const std::string& programPath) override;

  // The text of a base priority: the caption of its menu item, SystemPriority for other values.
  std::string PriorityText(std::int32_t basePriority) const;
  // The full path shown for a process; empty when it cannot be read.
  std::string FullPath(const ProcessEntry& entry);
  // The row of an executable name (the system's comparison of file names), -1 when there is none.
  int FindRow(const std::string& name) const;

 private:
  void Describe();
  void Wire();
  // The tab order and Esc.
  void WireAccess();
  void Refresh();
  void AddProcessRow(const ProcessEntry& entry, const std::string& seen, std::int64_t seenMs);
  // Rows last seen `threshold` + 2 seconds or more before the stamp go, with their icons.
  void SweepStaleRows(bool snapshotTaken);
  void DeleteRow(int index);
  void ChangePriority(ui::MenuItem& item);
  // Checks the priority item whose caption is `shown`, and no other.
  void MarkPriority(const std::string& shown);
  void ResetSelection();
  void Inform(const std::string& text, WindowId owner, MsgIcon icon = MsgIcon::Information);

  TForm1& owner_;
  ProcessTable* table_;
  std::int64_t stampMs_ = 0;
};

}  // namespace vm
