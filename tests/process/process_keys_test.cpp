// The process manager with the keyboard alone and with a screen reader: the tab order, Esc, the
// priority menu on the Menu key, and the names of its two buttons.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form_fixture.h"
#include "support/tab_walk.h"
#include "fakes/process_fakes.h"
#include "theme/dgroup_buts.h"
#include "ui/process/process_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

class ProcessKeysTest : public MainFormTest {
 protected:
  ProcessKeysTest() {
    services.processTable = &table;
    services.windows = AllWindowKinds();
    table.Start(0x10, "explorer.exe", 30);
  }
  TProcF& Open() {
    Create();
    form->Show();
    backend.PressKey(*form, ui::KeyOf('P'), ui::ShiftState{.ctrl = true});
    auto* window = dynamic_cast<TProcF*>(form->Slots[kProcessWindow]);
    if (!window) throw std::logic_error("no process manager");
    return *window;
  }
  fakes::FakeProcessTable table;
};

TEST_F(ProcessKeysTest, TabWalksTheTwoButtonsThenTheListAndEscClosesTheWindow) {
  TProcF& w = Open();
  EXPECT_EQ(TabWalk(w), (std::vector<std::string>{"Pic1", "Pic2", "ProcessListView"}));
  w.ProcessListView.SetFocus();
  backend.PressKey(w, ui::kKeyEscape);
  EXPECT_EQ(form->Slots[kProcessWindow], nullptr);
  EXPECT_FALSE(form->TopButtons->Button(kProcessWindow)->Down());
}

TEST_F(ProcessKeysTest, TheMenuKeyOpensThePriorityMenuOnlyWithARowChosen) {
  TProcF& w = Open();
  w.ProcessListView.SetFocus();
  backend.PressKey(w, ui::kKeyApps);
  EXPECT_TRUE(backend.Popups().empty());
  backend.SelectRow(w.ProcessListView, 0);
  backend.PressKey(w, ui::kKeyF10, ui::ShiftState{.shift = true});
  ASSERT_EQ(backend.Popups().size(), 1u);
  EXPECT_EQ(backend.Popups().back().menu, &w.PriorMenu);
  EXPECT_EQ(backend.Popups().back().at, w.ProcessListView.ClientToScreen({0, 0}));
}

TEST_F(ProcessKeysTest, ReadersFindTheButtonsNamedByTheirCaptions) {
  TProcF& w = Open();
  EXPECT_EQ(ui::Describe({&w.Pic1}).name, "Kill process");
  EXPECT_EQ(ui::Describe({&w.Pic2}).name, "Go to file");
  EXPECT_EQ(ui::Describe({&w.Pic1}).role, ui::AccessRole::PushButton);
  EXPECT_TRUE(ui::Describe({&w.ProcessListView}).system);  // the system's list view
}

}  // namespace
}  // namespace vm::testing
