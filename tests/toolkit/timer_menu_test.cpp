// Timers on the test clock, and popup menus: choices, check and radio state, the owner-draw
// hook, and the rule that code changes fire nothing while user choices do.

#include <string>
#include <vector>

#include "toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class TimerTest : public ToolkitTest {
 protected:
  Form form{app, "Main"};
};

TEST_F(TimerTest, TimerTicksOnlyWhenItsIntervalHasPassed) {
  Timer timer(form, "Timer1");
  int ticks = 0;
  timer.OnTimer = [&](Timer&) { ++ticks; };
  form.Realize();
  backend.AdvanceMs(999);
  EXPECT_EQ(ticks, 0);
  backend.AdvanceMs(1);
  EXPECT_EQ(ticks, 1);
  backend.AdvanceMs(3000);
  EXPECT_EQ(ticks, 4);
}

TEST_F(TimerTest, TimerWaitsForItsFormsWindow) {
  Timer timer(form, "Timer1");
  int ticks = 0;
  timer.OnTimer = [&](Timer&) { ++ticks; };
  backend.AdvanceMs(5000);
  EXPECT_EQ(ticks, 0);
  EXPECT_FALSE(timer.Running());
  form.Realize();  // hidden windows still tick
  backend.AdvanceMs(1000);
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, DisablingStopsAndReenablingStartsAFreshInterval) {
  Timer timer(form, "Timer1");
  int ticks = 0;
  timer.OnTimer = [&](Timer&) { ++ticks; };
  form.Realize();
  backend.AdvanceMs(600);
  timer.SetEnabled(false);
  backend.AdvanceMs(2000);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);
  backend.AdvanceMs(999);
  EXPECT_EQ(ticks, 0);
  backend.AdvanceMs(1);
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, NewIntervalRestartsTheCountAndZeroStops) {
  Timer timer(form, "Timer1");
  int ticks = 0;
  timer.OnTimer = [&](Timer&) { ++ticks; };
  form.Realize();
  backend.AdvanceMs(900);
  timer.SetInterval(500);
  backend.AdvanceMs(499);
  EXPECT_EQ(ticks, 0);
  backend.AdvanceMs(1);
  EXPECT_EQ(ticks, 1);
  timer.SetInterval(0);
  EXPECT_FALSE(timer.Running());
  backend.AdvanceMs(5000);
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, TimersFireInTimeOrderAndAHandlerMayStopAnother) {
  Timer fast(form, "Fast"), slow(form, "Slow");
  fast.SetInterval(500);
  std::vector<std::string> log;
  fast.OnTimer = [&](Timer& t) { log.push_back(t.Name()); };
  slow.OnTimer = [&](Timer& t) {
    log.push_back(t.Name());
    fast.SetEnabled(false);
  };
  form.Realize();
  backend.AdvanceMs(2000);
  // 500 Fast; 1000 Fast then Slow (same time: the one started first); 1500 nothing; 2000 Slow.
  EXPECT_EQ(log, (std::vector<std::string>{"Fast", "Fast", "Slow", "Slow"}));
}

TEST_F(TimerTest, TickDuringItsOwnHandlerIsDroppedNotNested) {
  // A handler that waits in a dialog while time passes (the system keeps sending ticks).
  Timer timer(form, "Timer1");
  int depth = 0, maxDepth = 0, ticks = 0;
  timer.OnTimer = [&](Timer&) {
    ++ticks;
    maxDepth = std::max(maxDepth, ++depth);
    if (ticks == 1) backend.AdvanceMs(3000);
    --depth;
  };
  form.Realize();
  backend.AdvanceMs(1000);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(ticks, 1);
  backend.AdvanceMs(1000);
  EXPECT_EQ(ticks, 2);
}

TEST_F(TimerTest, TimerStopsWithItsFormsWindowAndWhenDestroyed) {
  {
    Timer timer(form, "Timer1");
    form.Realize();
    EXPECT_EQ(backend.RunningTimers().size(), 1u);
  }
  EXPECT_TRUE(backend.RunningTimers().empty());
  auto& owned = app.CreateForm<Form>("Other");
  Timer* timer = new Timer(owned, "T");
  owned.Realize();
  EXPECT_EQ(backend.RunningTimers().size(), 1u);
  owned.Release();
  EXPECT_TRUE(backend.RunningTimers().empty());
  // Kept beyond its form by mistake: idle and harmless, never reaching the dead form.
  EXPECT_EQ(timer->Owner(), nullptr);
  timer->SetEnabled(false);
  timer->SetEnabled(true);
  EXPECT_FALSE(timer->Running());
  delete timer;
}

// ---- menus ----

class MenuForm : public Form {
 public:
  explicit MenuForm(Application& app) : Form(app, "Main") {
    OntopM.SetAutoCheck(true);
    for (MenuItem* item : {&Low, &Normal, &High}) {
      item->SetRadioItem(true);
      item->SetAutoCheck(true);
      item->SetGroupIndex(1);
    }
    Normal.SetChecked(true);
  }
  PopupMenu OptMenu{*this, "OptMenu"};
  MenuItem OntopM{OptMenu, "OntopM", "Always on top"};
  MenuItem Priority{OptMenu, "Priority", "Priority"};
  MenuItem Low{Priority, "Low", "Low"};
  MenuItem Normal{Priority, "Normal", "Normal"};
  MenuItem High{Priority, "High", "High"};
  MenuItem N1{OptMenu, "N1", "-"};
  MenuItem Hidden{OptMenu, "Hidden", "Hidden"};
  MenuItem About{OptMenu, "About", "About..."};
};

class MenuTest : public ToolkitTest {
 protected:
  MenuForm form{app};
  std::vector<std::string> log;
};

TEST_F(MenuTest, CheckedInCodeFiresNothing) {
  form.OntopM.OnClick = [&](MenuItem&) { log.push_back("click"); };
  form.OntopM.SetChecked(true);
  form.High.SetChecked(true);
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(form.Normal.Checked());  // radio group still kept in code
}

TEST_F(MenuTest, UserChoiceUpdatesTheCheckMarkBeforeTheHandlerRuns) {
  form.OntopM.OnClick = [&](MenuItem& item) { log.push_back(item.Checked() ? "on" : "off"); };
  backend.ChooseMenuItem(form.OntopM);
  backend.ChooseMenuItem(form.OntopM);
  EXPECT_EQ(log, (std::vector<std::string>{"on", "off"}));
}

TEST_F(MenuTest, RadioChoiceChecksItAndUnchecksItsGroup) {
  form.High.OnClick = [&](MenuItem& item) {
    log.push_back(std::string(item.Checked() ? "high" : "-") + (form.Normal.Checked() ? " normal" : ""));
  };
  backend.ChooseMenuItem(form.High);
  backend.ChooseMenuItem(form.High);  // a checked radio item stays checked
  EXPECT_EQ(log, (std::vector<std::string>{"high", "high"}));
  EXPECT_FALSE(form.Low.Checked());
}

TEST_F(MenuTest, NestedChoiceOfTheSameItemUpdatesStateButDoesNotReenterTheHandler) {
  int calls = 0;
  form.OntopM.OnClick = [&](MenuItem& item) {
    ++calls;
    // Something in the handler leads to the same choice again (a native echo, a nested loop).
    backend.ChooseMenuItem(item);
  };
  backend.ChooseMenuItem(form.OntopM);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(form.OntopM.Checked());  // flipped twice
  backend.ChooseMenuItem(form.OntopM);
  EXPECT_EQ(calls, 2);
}

TEST_F(MenuTest, DisabledHiddenSeparatorAndSubmenuItemsDoNothing) {
  for (MenuItem* item : {&form.N1, &form.Hidden, &form.About, &form.Priority})
    item->OnClick = [&](MenuItem& i) { log.push_back(i.Name()); };
  form.Hidden.SetVisible(false);
  form.About.SetEnabled(false);
  for (MenuItem* item : {&form.N1, &form.Hidden, &form.About, &form.Priority}) backend.ChooseMenuItem(*item);
  EXPECT_TRUE(log.empty());
}

TEST_F(MenuTest, PopupRecordsThePointAndTheChosenItemRunsAfterOnPopup) {
  form.OptMenu.OnPopup = [&](Control&) { log.push_back("popup"); };
  form.About.OnClick = [&](MenuItem&) { log.push_back("about"); };
  backend.ChooseOnNextPopup(&form.About);
  form.OptMenu.Popup(300, 200);
  form.OptMenu.Popup(10, 10);  // dismissed
  EXPECT_EQ(log, (std::vector<std::string>{"popup", "about", "popup"}));
  ASSERT_EQ(backend.Popups().size(), 2u);
  EXPECT_EQ(backend.Popups()[0].at, (Point{300, 200}));
  EXPECT_EQ(backend.Popups()[0].menu, &form.OptMenu);
}

TEST_F(MenuTest, OwnerDrawHookGetsEachVisibleItemWithItsRectangle) {
  ImageList icons(16, 16);
  form.OptMenu.SetImages(&icons);
  form.OptMenu.SetOwnerDraw(true);
  form.Hidden.SetVisible(false);
  form.OptMenu.OnMeasureItem = [](MenuItem& item, Size& size) { size.height = item.IsSeparator() ? 5 : 20; };
  std::vector<std::pair<std::string, Rect>> drawn;
  form.OptMenu.OnDrawItem = [&](MenuItem& item, Canvas& canvas, Rect rect, bool selected) {
    drawn.emplace_back(item.Name() + (selected ? "*" : ""), rect);
    canvas.FillRect(rect, selected ? clMenuHighlight : clMenu);
  };
  form.OptMenu.Popup(0, 0);
  ASSERT_EQ(drawn.size(), 4u);  // OntopM, Priority, N1, About
  const int width = drawn[0].second.Width();
  EXPECT_EQ(drawn[0], (std::pair<std::string, Rect>{"OntopM", {0, 0, width, 20}}));
  EXPECT_EQ(drawn[2], (std::pair<std::string, Rect>{"N1", {0, 40, width, 45}}));
  EXPECT_EQ(drawn[3], (std::pair<std::string, Rect>{"About", {0, 45, width, 65}}));
  // Every item spans the widest item.
  EXPECT_GE(width, form.OptMenu.DefaultItemSize(form.OntopM).width);

  RecordingCanvas& hot = backend.DrawPopupItem(form.About, true);
  EXPECT_EQ(drawn.back().first, "About*");
  EXPECT_TRUE(hot.HasFill({0, 45, width, 65}, clMenuHighlight));
}

TEST_F(MenuTest, OwnerDrawnItemsAreDrawnInTheFontTheyAreMeasuredIn) {
  form.OptMenu.SetOwnerDraw(true);
  std::vector<Size> seen;
  form.OptMenu.OnDrawItem = [&](MenuItem& item, Canvas& canvas, Rect rect, bool) {
    EXPECT_EQ(canvas.GetFont(), PopupMenu::ItemFont());
    if (!item.IsSeparator()) seen.push_back(canvas.TextExtent(item.Caption()));
  };
  form.OptMenu.Popup(0, 0);
  ASSERT_FALSE(seen.empty());
  // The caption measured on the canvas fits the item measured by default.
  const Size item = form.OptMenu.DefaultItemSize(form.About);
  EXPECT_LE(seen.back().height + 4, item.height);
  EXPECT_LT(seen.back().width, item.width);
}

TEST_F(MenuTest, CommandIdsFindTheirItemsAndDieWithThem) {
  const std::uint32_t aboutId = form.About.CommandId();
  EXPECT_EQ(form.OptMenu.Items().FindByCommand(aboutId), &form.About);
  EXPECT_EQ(form.OptMenu.Items().FindByCommand(form.High.CommandId()), &form.High);
  EXPECT_NE(form.Low.CommandId(), form.High.CommandId());
  MenuItem& added = form.Priority.Add("Idle", "Idle");
  const std::uint32_t addedId = added.CommandId();
  EXPECT_EQ(form.OptMenu.Items().FindByCommand(addedId), &added);
  form.Priority.Clear();
  EXPECT_EQ(form.OptMenu.Items().FindByCommand(addedId), nullptr);
  EXPECT_EQ(form.OptMenu.Items().FindByCommand(form.High.CommandId()), nullptr);
}

}  // namespace
}  // namespace vm::ui::testing
