// The process manager on the headless backend with a process table in memory.

#include <gtest/gtest.h>

#include <string>

#include "app/main_form_fixture.h"
#include "fakes/process_fakes.h"
#include "scheduler/task_runner.h"
#include "theme/dgroup_buts.h"
#include "theme/theme_fakes.h"
#include "theme/visual_style.h"
#include "ui/process/process_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

class ProcessFormTest : public MainFormTest {
 protected:
  ProcessFormTest() {
    services.processTable = &table;
    services.windows = AllWindowKinds();
    table.Start(0x10, "explorer.exe", 30);
    table.Start(0x20, "vemtaro.exe", 3);
  }

  // Opens the window as Ctrl+P does.
  TProcF& Open() {
    if (!form) {
      Create();
      form->Show();
    }
    backend.PressKey(*form, ui::KeyOf('P'), ui::ShiftState{.ctrl = true});
    auto* window = dynamic_cast<TProcF*>(form->Slots[kProcessWindow]);
    if (!window) throw std::logic_error("no process manager");
    return *window;
  }
  // One refresh period: the test clock and the system clock move on together.
  void Tick() {
    clock.AdvanceSeconds(2);
    backend.AdvanceMs(TProcF::kRefreshMs);
  }
  static std::string Sub(const ui::ListItem& row, int i) {
    return static_cast<std::size_t>(i) < row.subItems.size() ? row.subItems[static_cast<std::size_t>(i)] : "?";
  }
  int RowOf(TProcF& w, const std::string& name) { return w.FindRow(name); }
  void Select(TProcF& w, const std::string& name) {
    const int row = RowOf(w, name);
    ASSERT_GE(row, 0) << name;
    backend.SelectRow(w.ProcessListView, row);
  }
  std::vector<std::string> Captions(TProcF& w) {
    std::vector<std::string> out;
    for (const ui::ListItem& row : w.ProcessListView.Items()) out.push_back(row.caption);
    return out;
  }

  fakes::FakeProcessTable table;
};

TEST_F(ProcessFormTest, RowsShowOneProcessPerNameWithItsColumns) {
  table.Start(0x1A2B, "svchost.exe", 12, 13);
  table.Start(0x1A2C, "SVCHOST.EXE", 7, 8);
  table.Start(0x30, "idle.exe", 1, 4);
  table.Start(0x31, "odd.exe", 1, 2);
  TProcF& w = Open();

  EXPECT_EQ(w.Caption(), "ProcF");  // no language file: the design caption
  // The idle process (the snapshot's first entry) has no row; two svchost are one.
  EXPECT_EQ(Captions(w), (std::vector<std::string>{"explorer.exe", "idle.exe", "odd.exe", "svchost.exe", "vemtaro.exe"}));
  const ui::ListItem& row = w.ProcessListView.Item(RowOf(w, "svchost.exe"));
  EXPECT_EQ(Sub(row, TProcF::kThreadsItem), "12");
  EXPECT_EQ(Sub(row, TProcF::kIdItem), "0x00001A2B");
  EXPECT_EQ(Sub(row, TProcF::kParentItem), "0x00000001");
  EXPECT_EQ(Sub(row, TProcF::kPriorityItem), "High");
  EXPECT_EQ(Sub(row, TProcF::kPathItem), "C:\\Apps\\svchost.exe");
  EXPECT_EQ(Sub(row, TProcF::kSeenItem), "12:00:00 PM");
  EXPECT_EQ(Sub(w.ProcessListView.Item(RowOf(w, "idle.exe")), TProcF::kPriorityItem), "Idle");
  EXPECT_EQ(Sub(w.ProcessListView.Item(RowOf(w, "odd.exe")), TProcF::kPriorityItem), "System");
  // Every row has its own icon.
  EXPECT_EQ(w.Icons.Count(), 5);
  EXPECT_EQ(w.ProcessListView.SmallImages(), &w.Icons);
}

TEST_F(ProcessFormTest, AProcessWhosePathCannotBeReadShowsNoPathAndTheStandardIcon) {
  // "a.exe" is read first; "b.exe" comes after it and has no readable path.
  table.Start(0x40, "a.exe");
  table.Start(0x41, "b.exe", 1, 8, std::string());
  table.iconless.insert("C:\\Apps\\explorer.exe");
  TProcF& w = Open();
  calls.clear();

  const ui::ListItem& b = w.ProcessListView.Item(RowOf(w, "b.exe"));
  EXPECT_EQ(Sub(b, TProcF::kPathItem), "");
  // No icon is asked of a path that is not known; the standard icon stands in for it and for
  // the executable without icons.
  EXPECT_EQ(table.applicationIcons, 2);
  for (const std::string& asked : table.iconQueries) EXPECT_FALSE(asked.empty());
  Select(w, "b.exe");
  EXPECT_EQ(w.StatusBar1.SimpleText(), "");
  w.Gotofile1Click(w.Gotofile1);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "You did not choose process");
  EXPECT_TRUE(calls.empty()) << calls[0];
}

TEST_F(ProcessFormTest, RefreshKeepsRowsInPlaceAndSweepsExitedProcessesEveryOtherTime) {
  table.Start(0x50, "notepad.exe");
  table.Start(0x51, "calc.exe");
  TProcF& w = Open();
  Select(w, "vemtaro.exe");
  const auto* peer = backend.ControlPeer(w.ProcessListView);
  ASSERT_NE(peer, nullptr);
  const int rebuilds = peer->rowRebuilds;

  // notepad exits before the second refresh, which sweeps: it was last seen 2 s ago.
  table.Exit(0x50);
  table.Start(0x52, "Beta.exe");
  Tick();
  EXPECT_EQ(RowOf(w, "notepad.exe"), -1);
  EXPECT_GE(RowOf(w, "beta.exe"), 0);

  // calc exits after it: the third refresh does not sweep, the fourth does.
  table.Exit(0x51);
  Tick();
  EXPECT_GE(RowOf(w, "calc.exe"), 0);
  EXPECT_EQ(Sub(w.ProcessListView.Item(RowOf(w, "vemtaro.exe")), TProcF::kSeenItem), "12:00:04 PM");
  Tick();
  EXPECT_EQ(RowOf(w, "calc.exe"), -1);

  // New rows took their sorted place and nothing was cleared: the selection is where it was,
  // the window's rows were never rebuilt, and they equal the list's.
  EXPECT_EQ(Captions(w), (std::vector<std::string>{"Beta.exe", "explorer.exe", "vemtaro.exe"}));
  EXPECT_EQ(peer->rowRebuilds, rebuilds);
  ASSERT_EQ(w.ProcessListView.ItemIndex(), RowOf(w, "vemtaro.exe"));
  EXPECT_EQ(peer->index, w.ProcessListView.ItemIndex());
  ASSERT_EQ(peer->rows.size(), 3u);
  EXPECT_EQ(peer->rows[0].substr(0, 9), "Beta.exe|");
  EXPECT_EQ(w.SelectedId, "0x00000020");

  // The icons went with their rows, and every row still points at a picture of the list.
  EXPECT_EQ(w.Icons.Count(), 3);
  for (const ui::ListItem& row : w.ProcessListView.Items()) {
    EXPECT_GE(row.imageIndex, 0);
    EXPECT_LT(row.imageIndex, w.Icons.Count());
  }
}

TEST_F(ProcessFormTest, ASelectedProcessThatExitsIsNoLongerChosen) {
  table.Start(0x60, "tool.exe");
  TProcF& w = Open();
  Select(w, "tool.exe");
  table.Exit(0x60);
  Tick();
  EXPECT_EQ(w.SelectedId, TProcF::kNoSelection);
  EXPECT_EQ(w.StatusBar1.SimpleText(), "");
  // Its identifier may belong to another program by now: nothing is ended.
  w.EndProcess1Click(w.EndProcess1);
  EXPECT_TRUE(table.terminated.empty());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "You did not choose process");
}

TEST_F(ProcessFormTest, AFailedSnapshotShowsOneRowThatGoesAfterAGoodOne) {
  table.snapshotFails = true;
  TProcF& w = Open();
  Tick();  // a sweep while the snapshots fail
  EXPECT_EQ(Captions(w), (std::vector<std::string>{"Can't snap processes."}));
  table.snapshotFails = false;
  Tick();  // no sweep
  EXPECT_EQ(RowOf(w, "Can't snap processes."), 0);
  Tick();  // sweep
  EXPECT_EQ(RowOf(w, "Can't snap processes."), -1);
  EXPECT_EQ(Captions(w), (std::vector<std::string>{"explorer.exe", "vemtaro.exe"}));
}

TEST_F(ProcessFormTest, ColumnsSortAsTextAndNewRowsFollowTheSortColumn) {
  table.Start(0x70, "five.exe", 5);
  table.Start(0x71, "twelve.exe", 12);
  TProcF& w = Open();
  Select(w, "five.exe");
  backend.ClickColumn(w.ProcessListView, 1);  // Threads
  // Text order: "12" < "3" < "30" < "5".
  EXPECT_EQ(Captions(w), (std::vector<std::string>{"twelve.exe", "vemtaro.exe", "explorer.exe", "five.exe"}));
  EXPECT_EQ(w.ProcessListView.ItemIndex(), 3);  // the selection stayed on its row
  table.Start(0x72, "four.exe", 4);
  Tick();
  EXPECT_EQ(Captions(w), (std::vector<std::string>{"twelve.exe", "vemtaro.exe", "explorer.exe", "four.exe", "five.exe"}));
  EXPECT_EQ(w.ProcessListView.ItemIndex(), 4);
}

TEST_F(ProcessFormTest, KillAndPriorityWithNothingChosenOnlyTellTheUser) {
  TProcF& w = Open();
  w.EndProcess1Click(w.EndProcess1);
  backend.ChooseMenuItem(w.High);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, "You did not choose process");
  EXPECT_EQ(boxes.shown[0].caption, "Message");
  EXPECT_EQ(boxes.shown[1].text, "Choose process!");
  EXPECT_EQ(boxes.shown[1].icon, MsgIcon::Information);
  EXPECT_TRUE(table.terminated.empty());
  EXPECT_TRUE(table.priorityCalls.empty());
  // The item that checked itself gives the mark back.
  EXPECT_TRUE(w.Normal.Checked());
  EXPECT_FALSE(w.High.Checked());
}

TEST_F(ProcessFormTest, KillEndsOnlyTheProcessTheRowShowsAndAsksOnce) {
  table.Start(0x80, "worker.exe");
  table.Start(0x81, "WORKER.exe");
  TProcF& w = Open();
  Select(w, "worker.exe");
  EXPECT_EQ(w.StatusBar1.SimpleText(), "C:\\Apps\\worker.exe");

  boxes.answers = {MsgResult::No};
  w.EndProcess1Click(w.EndProcess1);
  EXPECT_TRUE(table.terminated.empty());

  boxes.answers = {MsgResult::Yes};
  backend.Click(w.Pic1);  // the tool button does the same
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, "Confirm end of process!  : worker.exe");
  EXPECT_EQ(boxes.shown[1].caption, "Warning!");
  EXPECT_EQ(boxes.shown[1].buttons, MsgButtons::YesNo);
  EXPECT_EQ(table.terminated, (std::vector<std::uint32_t>{0x80}));
  EXPECT_TRUE(table.Running(0x81));
  EXPECT_EQ(w.SelectedId, TProcF::kNoSelection);
  EXPECT_EQ(w.StatusBar1.SimpleText(), "");

  w.EndProcess1Click(w.EndProcess1);
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[2].text, "You did not choose process");
  EXPECT_EQ(table.terminated.size(), 1u);
}

TEST_F(ProcessFormTest, KillThatFailsSaysSoOwnedByTheClock) {
  table.Start(0x90, "guarded.exe");
  table.unopenable.insert(0x90);
  TProcF& w = Open();
  Select(w, "guarded.exe");
  w.EndProcess1Click(w.EndProcess1);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, "Can't close the process");
  EXPECT_EQ(boxes.shown[1].owner, form->Handle());
  // It still runs, so it stays chosen.
  EXPECT_EQ(w.SelectedId, "0x00000090");
}

TEST_F(ProcessFormTest, PriorityChangesTheChosenProcessAndMarksTheResult) {
  table.Start(0xA0, "job.exe", 1, 13);
  TProcF& w = Open();
  Select(w, "job.exe");
  EXPECT_TRUE(w.High.Checked());  // the row's priority
  backend.ChooseMenuItem(w.Idle);
  EXPECT_EQ(table.priorityCalls, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{0xA0, 64}}));
  EXPECT_TRUE(w.Idle.Checked());

  table.priorityFails = true;
  backend.ChooseMenuItem(w.aNormal);
  EXPECT_EQ(table.priorityCalls.back(), (std::pair<std::uint32_t, std::uint32_t>{0xA0, 32768}));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Can't change priority");
  EXPECT_FALSE(w.aNormal.Checked());

  // A process that cannot be opened: nothing is said.
  table.unopenable.insert(0xA0);
  backend.ChooseMenuItem(w.bNormal);
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(ProcessFormTest, ARowShowingSystemKeepsNoMarkAfterChoosingOrAFailedChange) {
  table.Start(0xB0, "job.exe", 1, 13);
  table.Start(0xC0, "kernel.exe", 1, 31);  // a base priority of no item: "System"
  TProcF& w = Open();
  auto marked = [&] {
    std::vector<std::string> out;
    for (ui::MenuItem* item : w.SetPriority1.Items())
      if (item->Checked()) out.push_back(item->Caption());
    return out;
  };
  Select(w, "job.exe");
  ASSERT_EQ(marked(), (std::vector<std::string>{"High"}));
  Select(w, "kernel.exe");
  ASSERT_EQ(Sub(w.ProcessListView.Item(RowOf(w, "kernel.exe")), TProcF::kPriorityItem), "System");
  EXPECT_TRUE(marked().empty()) << "the job's mark stayed";
  // A change that fails and one on a process that cannot be opened leave no mark either.
  table.priorityFails = true;
  backend.ChooseMenuItem(w.aNormal);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(marked().empty());
  table.priorityFails = false;
  table.unopenable.insert(0xC0);
  backend.ChooseMenuItem(w.Idle);
  EXPECT_TRUE(marked().empty());
}

TEST_F(ProcessFormTest, RightPressOpensThePriorityMenuOnlyWithARowChosen) {
  TProcF& w = Open();
  backend.MouseDownOn(w.ProcessListView, {20, 20}, ui::MouseButton::Right);
  EXPECT_TRUE(backend.Popups().empty());
  Select(w, "explorer.exe");
  backend.MouseDownOn(w.ProcessListView, {20, 20}, ui::MouseButton::Left);
  EXPECT_TRUE(backend.Popups().empty());
  backend.MouseDownOn(w.ProcessListView, {20, 20}, ui::MouseButton::Right);
  ASSERT_EQ(backend.Popups().size(), 1u);
  EXPECT_EQ(backend.Popups()[0].menu, &w.PriorMenu);
  EXPECT_TRUE(w.PriorMenu.OwnerDraw());
  EXPECT_TRUE(static_cast<bool>(w.PriorMenu.OnDrawItem));
}

TEST_F(ProcessFormTest, GoToFileOpensTheFolderOfTheChosenProcess) {
  table.Start(0xB0, "app.exe", 1, 8, std::string("C:\\Program Files\\App\\app.exe"));
  TProcF& w = Open();
  Select(w, "app.exe");
  calls.clear();
  backend.Click(w.Pic2);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].rfind("shell.execute verb=open file=C:\\Program Files\\App parameters=", 0), 0u) << calls[0];
}

TEST_F(ProcessFormTest, LanguageKeysNameTheItemsTheButtonsAndTheColumns) {
  UseLanguage("M13Priorit\xE4t\nM14Beenden\nM27Leerlauf\n42001Ordner\nM30Prozesse\nM.16Nichts gewaehlt\n"
              "L7.50Prozess\nL7.51Threads\nL7.52Kennung\nL7.53Eltern\nL7.54Priorit\xE4t\nL7.55Pfad\nL7.56Systemeigen");
  TProcF& w = Open();
  EXPECT_EQ(w.Caption(), "Prozesse");
  EXPECT_EQ(w.SetPriority1.Caption(), "Priorität");
  EXPECT_EQ(w.Idle.Caption(), "Leerlauf");
  EXPECT_EQ(w.High.Caption(), "High");  // no key: the design caption
  ASSERT_TRUE(w.Buttons);
  EXPECT_EQ(w.Buttons->Button(0)->Caption(), "Beenden");
  EXPECT_EQ(w.Buttons->Button(1)->Caption(), "Ordner");
  table.Start(0xC0, "slow.exe", 1, 4);
  Tick();
  EXPECT_EQ(Sub(w.ProcessListView.Item(RowOf(w, "slow.exe")), TProcF::kPriorityItem), "Leerlauf");
  table.Start(0xC1, "kernel.exe", 1, 2);  // a base priority no menu item stands for
  Tick();
  EXPECT_EQ(Sub(w.ProcessListView.Item(RowOf(w, "kernel.exe")), TProcF::kPriorityItem), "Systemeigen");
  std::vector<std::string> headers;
  for (const ui::ListColumn& column : w.ProcessListView.Columns()) headers.push_back(column.caption);
  EXPECT_EQ(headers, (std::vector<std::string>{"Prozess", "Threads", "Kennung", "Eltern", "Priorität", "Pfad"}));
}

TEST_F(ProcessFormTest, AHeaderLongerThanItsColumnWidensItUpToTheColumnsLimit) {
  UseLanguage("L7.50Name\nL7.54Priorit\xE4tsklasse des Prozesses laut System\n");
  TProcF& w = Open();
  const auto& columns = w.ProcessListView.Columns();
  EXPECT_EQ(columns[0].width, 150);  // a short header keeps the design width
  EXPECT_EQ(columns[4].width, 100);  // the longest the column may be
  EXPECT_GT(columns[1].width, 35);   // "Threads" does not fit the design's 35 pixels
  EXPECT_EQ(columns[5].width, 150);
}

TEST_F(ProcessFormTest, WithoutALanguageFileColumnsAndPrioritiesAreEnglish) {
  table.Start(0xC1, "kernel.exe", 1, 2);
  TProcF& w = Open();
  EXPECT_EQ(Sub(w.ProcessListView.Item(RowOf(w, "kernel.exe")), TProcF::kPriorityItem), "System");
  std::vector<std::string> headers;
  for (const ui::ListColumn& column : w.ProcessListView.Columns()) headers.push_back(column.caption);
  EXPECT_EQ(headers, (std::vector<std::string>{"Process Name", "Threads", "Process ID", "Parent ID", "Priority",
                                               "Full Name"}));
}

TEST_F(ProcessFormTest, CtrlPTwiceShowsOneWindowAndClosingDestroysIt) {
  TProcF& w = Open();
  TProcF& again = Open();
  EXPECT_EQ(&w, &again);
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(form->Toggled[kProcessWindow], &w);
  backend.UserClose(w);
  EXPECT_EQ(form->Slots[kProcessWindow], nullptr);
  EXPECT_EQ(form->Toggled[kProcessWindow], nullptr);
  EXPECT_FALSE(form->TopButtons->Button(kProcessWindow)->Down());
}

TEST_F(ProcessFormTest, ARowFollowsAnotherProcessOfItsNameWhenItsOwnEnds) {
  table.Start(0xF0, "host.exe", 4, 8);
  table.Start(0xF1, "host.exe", 9, 13);
  TProcF& w = Open();
  // The row is the first process's, its priority too.
  EXPECT_EQ(Sub(w.ProcessListView.Item(RowOf(w, "host.exe")), TProcF::kPriorityItem), "Normal");
  Select(w, "host.exe");
  table.Exit(0xF0);
  Tick();
  const ui::ListItem& row = w.ProcessListView.Item(RowOf(w, "host.exe"));
  EXPECT_EQ(Sub(row, TProcF::kIdItem), "0x000000F1");
  EXPECT_EQ(Sub(row, TProcF::kThreadsItem), "9");
  EXPECT_EQ(Sub(row, TProcF::kPriorityItem), "High");
  // What was chosen has gone; choosing the row again ends the process it now shows.
  EXPECT_EQ(w.SelectedId, TProcF::kNoSelection);
  Select(w, "host.exe");
  w.EndProcess1Click(w.EndProcess1);
  EXPECT_EQ(table.terminated, (std::vector<std::uint32_t>{0xF1}));
}

// ---- the close-program action of a firing task ----

TEST_F(ProcessFormTest, ANewVisualStyleReachesTheToolBarOfAnOpenWindow) {
  constexpr const char* kStyle = "C:\\windows\\resources\\themes\\luna\\luna.msstyles";
  fakes::FakeThemeSource themes;
  fakes::SetThemeManager(registry, kStyle, "Metallic");
  themes.files[kStyle] = {};
  services.themes = &themes;
  TProcF& window = Open();
  const ui::Bitmap band = fakes::CodedBitmap(30, 49, 4);
  ASSERT_FALSE(window.Image1.Picture().SamePixels(band));
  themes.files[kStyle].bitmaps["METALLIC_TOOLBARBACKGROUND_BMP"] = band;
  backend.SendSystemMessage(*form, {SystemMessageKind::SettingChange});
  EXPECT_TRUE(window.Image1.Picture().SamePixels(band));
  window.Close();  // the window and the clock's style go before `themes`
  form->Style.reset();
}

class CloseProgramTest : public ProcessFormTest {
 protected:
  // A due close-program task fires at the next tick of the clock.
  void FireCloseProgram(const std::string& program) {
    TTask task;
    task.State = kStateCloseProgram;
    task.SoundOn = 0;
    task.Active = kScheduled;
    task.AlarmTime = clock.Now() - 1.0 / 86400;
    task.Program = program;
    form->scheduler.CurTask = task;
    ASSERT_TRUE(form->Runner);
    form->Runner->Tick();
  }
};

TEST_F(CloseProgramTest, EndsEveryCopyThroughAnUnshownWindowThatGoesAgain) {
  Create();
  table.Start(0xD0, "Report.exe");
  table.Start(0xD1, "report.EXE");
  table.Start(0xD2, "reporter.exe");
  table.terminateFails.insert(0xD1);
  int snapshotsBefore = table.snapshots;
  FireCloseProgram("C:\\Tools\\REPORT.exe");
  EXPECT_EQ(table.terminated, (std::vector<std::uint32_t>{0xD0, 0xD1}));
  EXPECT_TRUE(table.Running(0xD2));
  // The window filled its list once when it was made, then took its own snapshot.
  EXPECT_EQ(table.snapshots - snapshotsBefore, 2);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "C:\\Tools\\REPORT.exe");
  EXPECT_EQ(boxes.shown[0].caption, "Can't close program");
  EXPECT_EQ(boxes.shown[0].owner, form->Handle());
  EXPECT_EQ(form->Slots[kProcessWindow], nullptr);
  // Nothing went the other way round the window.
  for (const std::string& call : calls) EXPECT_EQ(call.find("processes."), std::string::npos) << call;
}

TEST_F(CloseProgramTest, NamesCompareAsTheSystemComparesThemEveryLetterWithoutCase) {
  // The same comparison as the action's own path without a window: "Отчёт.exe" is "ОТЧЁТ.EXE".
  TProcF& w = Open();
  table.Start(0xF0, "ОТЧЁТ.EXE");
  table.Start(0xF1, "отчёт.exe");
  table.Start(0xF2, "отчет.exe");  // another letter, another program
  Tick();
  EXPECT_EQ(w.FindRow("Отчёт.exe"), w.FindRow("ОТЧЁТ.EXE"));
  EXPECT_NE(w.FindRow("отчет.exe"), w.FindRow("отчёт.exe"));
  FireCloseProgram("C:\\Отчёты\\Отчёт.exe");
  EXPECT_EQ(table.terminated, (std::vector<std::uint32_t>{0xF0, 0xF1}));
  EXPECT_TRUE(table.Running(0xF2));
}

TEST_F(CloseProgramTest, LeavesTheUsersOpenWindowOpen) {
  TProcF& w = Open();
  table.Start(0xE0, "stuck.exe");
  Tick();
  FireCloseProgram("D:\\stuck.exe");
  EXPECT_EQ(table.terminated, (std::vector<std::uint32_t>{0xE0}));
  EXPECT_EQ(form->Slots[kProcessWindow], &w);
  EXPECT_TRUE(w.Visible());
  EXPECT_FALSE(w.IsReleased());
}

TEST_F(CloseProgramTest, WithoutAProcessManagerTheFiringEndsTheProgramItself) {
  services.windows = {};
  Create();
  FireCloseProgram("C:\\Tools\\report.exe");
  EXPECT_TRUE(table.terminated.empty());
  bool endedByName = false;
  for (const std::string& call : calls) endedByName |= call.find("report.exe") != std::string::npos;
  EXPECT_TRUE(endedByName);
}

}  // namespace
}  // namespace vm::testing
