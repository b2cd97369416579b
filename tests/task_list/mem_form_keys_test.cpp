// The task list with the keyboard alone and with a screen reader: the tab order in both views,
// Enter, Delete and the Menu key on the table, Esc, the bar buttons by keyboard, and the names
// readers are told.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/main_form_fixture.h"
#include "support/tab_walk.h"
#include "app/task_editor_window.h"
#include "theme/dgroup_buts.h"
#include "task_list/stub_editor.h"
#include "ui/task_list/mem_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {


class MemFormKeysTest : public MainFormTest {
 protected:
  MemFormKeysTest() {
    services.windows = AllWindowKinds();
    services.windows[kTaskEditorWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> {
      return std::make_unique<StubEditor>(owner);
    };
  }
  TMemForm& Open(int tasks = 2) {
    TForm1& f = Create();
    f.Show();
    f.scheduler.TaskList.clear();
    for (int i = 1; i <= tasks; ++i) {
      TTask t;
      f.scheduler.InitTask(t);
      t.Message = "task " + std::to_string(i);
      t.AlarmTime = kToday + i;
      t.State = kStateMessage | kStateAlarmSound;
      t.Active = kScheduled;
      t.TaskId = f.scheduler.NewTaskId();
      f.scheduler.TaskList.push_back(t);
    }
    backend.PressKey(f, ui::KeyOf('T'), {.ctrl = true});
    auto* list = dynamic_cast<TMemForm*>(f.Slots[kTaskListWindow]);
    if (!list) throw std::runtime_error("no task list window");
    return *list;
  }
  TMemForm* List() { return dynamic_cast<TMemForm*>(form->Slots[kTaskListWindow]); }
};

using Names = std::vector<std::string>;

TEST_F(MemFormKeysTest, TabWalksTheToolBarTheSidePanelAndTheTableInEachView) {
  TMemForm& list = Open();
  EXPECT_EQ(TabWalk(list), (Names{"Pg1", "Pg2", "Pg3", "Pg4", "BarB1", "Memo1", "BarB2", "InfoP", "Grid"}));
  list.Pg4Click(list.Pg4);  // the calendar view: the day list covers the bar buttons
  EXPECT_EQ(TabWalk(list), (Names{"Pg1", "Pg2", "Pg3", "Pg4", "PanelGrid", "InfoP", "Pic1", "MonL", "YearL", "Pic2", "Grid"}));
  // Tab from nothing reaches "Add new" first, and Enter there opens the editor on a new task.
  bool opened = false;
  backend.OnNextModal([&](ui::Form& editor) { opened = dynamic_cast<StubEditor&>(editor).newTask; });
  list.Pg4Click(list.Pg4);
  backend.PressKey(list, ui::kKeyTab);
  backend.PressKey(list, ui::kKeyEnter);
  EXPECT_TRUE(opened);
}

TEST_F(MemFormKeysTest, EnterEditsTheSelectedRowDeleteAsksAndTheMenuKeyOpensTheMenuThere) {
  TMemForm& list = Open();
  list.Grid.SetFocus();
  backend.PressKey(list, ui::kKeyDown);  // row 2
  ASSERT_EQ(list.Grid.Row(), 2);
  std::uint32_t edited = 0;
  backend.OnNextModal([&](ui::Form&) { edited = form->scheduler.EditBuf.TaskId; });
  backend.PressKey(list, ui::kKeyEnter);
  EXPECT_EQ(edited, 2u);
  boxes.answers = {MsgResult::No};
  backend.PressKey(list, ui::kKeyDelete);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "               Confirm delete?");
  EXPECT_EQ(form->scheduler.TaskList.size(), 2u);
  boxes.answers = {MsgResult::Yes};
  backend.PressKey(list, ui::kKeyDelete);
  ASSERT_EQ(form->scheduler.TaskList.size(), 1u);
  EXPECT_EQ(form->scheduler.TaskList.front().Message, "task 1");
  backend.PressKey(list, ui::kKeyApps);
  ASSERT_FALSE(backend.Popups().empty());
  EXPECT_EQ(backend.Popups().back().menu, &list.PopupMenu1);
  const ui::Rect cell = list.Grid.CellRect(list.Grid.Col(), list.Grid.Row());
  EXPECT_EQ(backend.Popups().back().at, list.Grid.ClientToScreen({cell.left, cell.bottom}));
  // In the calendar view the table shows a month: Enter and Delete there leave today's task be.
  form->scheduler.TaskList.front().AlarmTime = kToday;
  const std::size_t asked = boxes.shown.size();
  const int modals = backend.UnansweredModals();
  list.Pg4Click(list.Pg4);
  ASSERT_EQ(list.PanelGrid.Cell(2, 1), "task 1");
  list.Grid.SetFocus();
  backend.PressKey(list, ui::kKeyEnter);
  backend.PressKey(list, ui::kKeyDelete);
  EXPECT_EQ(backend.UnansweredModals(), modals);  // no editor opened
  EXPECT_EQ(boxes.shown.size(), asked);
}

TEST_F(MemFormKeysTest, EscHidesAnOpenMonthListFirstAndThenClosesTheWindowAsItsCloseBoxDoes) {
  TMemForm& list = Open();
  list.Pg4Click(list.Pg4);
  list.MonLClick(list.MonL);
  ASSERT_TRUE(list.CalCB.Visible());
  list.Grid.SetFocus();
  backend.PressKey(list, ui::kKeyEscape);
  EXPECT_FALSE(list.CalCB.Visible());
  EXPECT_EQ(List(), &list);
  backend.PressKey(list, ui::kKeyEscape);
  EXPECT_EQ(List(), nullptr);  // closed: the clock's toggle came up and took it away
  EXPECT_FALSE(form->TopButtons->Button(kTaskListWindow)->Down());
  EXPECT_EQ(registry.ReadValue(RegRoot::CurrentUser, "Software\\Vemtaro", "MemView")->number, 1u);
}

TEST_F(MemFormKeysTest, EnterOnABarButtonOpensAndClosesItsBoxAsTheMouseDoes) {
  TMemForm& list = Open();
  ASSERT_TRUE(list.Panel2.Visible());
  list.BarB1Focus.SetFocus();
  backend.PressKey(list, ui::kKeyEnter);
  EXPECT_FALSE(list.Panel2.Visible());
  backend.PressKey(list, ui::kKeySpace);
  EXPECT_TRUE(list.Panel2.Visible());
  list.BarB1Focus.PeerKeyUp(ui::kKeyEnter, {});  // a release whose press went elsewhere
  EXPECT_TRUE(list.Panel2.Visible());
}

TEST_F(MemFormKeysTest, ReadersFindPushButtonsNamedByTheirWordsOrTheLanguageTextsAndTheActionsOfARow) {
  UseLanguage("L4.1Task List\r\nM20Add new           \r\nL4.81Panel\r\nC2.8Sound\r\n");
  TMemForm& list = Open();
  const std::vector<std::pair<ui::Image*, std::string>> expected = {
      {&list.Pg1, "Add new"}, {&list.Pg2, "Edit"}, {&list.Pg3, "Delete"},
      {&list.Pg4, "Calendar view"}, {&list.InfoP, "Panel"}};
  for (const auto& [image, name] : expected) {
    const ui::AccessInfo info = ui::Describe({image});
    EXPECT_EQ(info.role, ui::AccessRole::PushButton) << image->Name();
    EXPECT_EQ(info.name, name);
  }
  EXPECT_EQ(ui::Describe({&list.Grid}).name, "Task List");
  EXPECT_EQ(ui::Describe({&list.Grid, 1, 0}).name, "Show message, Sound");  // the icon column
  EXPECT_EQ(ui::Describe({&list.Grid, 1, 2}).name, "task 1");
  EXPECT_EQ(ui::Describe({&list.Grid, 1, 2}).description, "Message");
  EXPECT_EQ(ui::Describe({&list.BarB1}).role, ui::AccessRole::PushButton);
  EXPECT_EQ(ui::Describe({&list.BarB1}).name, "Show or hide the details");
}

}  // namespace
}  // namespace vm::testing
