// The task editor with the keyboard alone: the tab order down the WHAT half, then the WHEN half
// and OK last; the period labels by Enter; the hour, the minute and the sound repeats by the
// arrow keys on their big labels.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "support/tab_walk.h"

namespace vm::testing {
namespace {

class EditorKeysTest : public EditorTest {
 protected:
  static std::ptrdiff_t At(const std::vector<std::string>& walk, const std::string& name) {
    const auto it = std::find(walk.begin(), walk.end(), name);
    return it == walk.end() ? -1 : it - walk.begin();
  }
};

TEST_F(EditorKeysTest, TabGoesDownTheWhatHalfThenTheWhenHalfAndEndsOnOk) {
  TForm2& editor = OpenNew();
  const std::vector<std::string> walk = TabWalk(editor);
  ASSERT_FALSE(walk.empty());
  EXPECT_EQ(walk.front(), "ActiveCh");
  EXPECT_EQ(walk.back(), "Button5");
  // The WHAT half top to bottom, with the pictures of the sound test in their place.
  const std::vector<std::string> what = {"ActiveCh", "MessageCheck", "AlarmMessage", "ProgB", "CompCheck",
                                         "AlSoundCh", "TestIm", "StopIm", "RepeatL"};
  for (std::size_t i = 1; i < what.size(); ++i) EXPECT_LT(At(walk, what[i - 1]), At(walk, what[i])) << what[i];
  // Then the calendar, the time and the shown page's boxes.
  EXPECT_LT(At(walk, "RepeatL"), At(walk, "Button3"));
  EXPECT_LT(At(walk, "MonL"), At(walk, "Grid"));
  EXPECT_LT(At(walk, "HourL"), At(walk, "MinL"));
  EXPECT_LT(At(walk, "MinL"), At(walk, "PwrOn_CB"));  // the events page shows first
  EXPECT_EQ(At(walk, "OnceL"), -1);                   // on a page not shown
  backend.ChooseTab(editor.Page1, editor.Tab1.PageIndex());
  EXPECT_GT(At(TabWalk(editor), "OnceL"), At(TabWalk(editor), "MinL"));
}

TEST_F(EditorKeysTest, EnterOnAPeriodLabelChoosesThePeriodAndCountsAsAChange) {
  TForm2& editor = OpenNew();
  backend.ChooseTab(editor.Page1, editor.Tab1.PageIndex());
  ASSERT_EQ(editor.ModifiedCounter, 0);
  editor.HoursLFocus.SetFocus();
  backend.PressKey(editor, ui::kKeyEnter);
  EXPECT_EQ(editor.MarkedPeriod(), 2);
  EXPECT_GT(editor.ModifiedCounter, 0);
  EXPECT_TRUE(editor.RepCntL.Visible());
}

TEST_F(EditorKeysTest, ArrowKeysOnTheHourMinuteAndRepeatLabelsSpinTheirValuesWithWrapping) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 3, 1, 23, 59));
  editor.HourLFocus.SetFocus();
  backend.PressKey(editor, ui::kKeyUp);
  EXPECT_EQ(editor.Hour, 0);  // the hour wraps as the up-down does
  EXPECT_EQ(editor.HourL.Caption(), "0");
  editor.MinLFocus.SetFocus();
  backend.PressKey(editor, ui::kKeyDown);
  EXPECT_EQ(editor.MinL.Caption(), "58");
  EXPECT_GT(editor.ModifiedCounter, 0);
  const int repeats = editor.SoundUpDown.Position();
  editor.RepeatLFocus.SetFocus();
  backend.PressKey(editor, ui::kKeyUp);
  EXPECT_EQ(editor.SoundUpDown.Position(), repeats + 1);
  backend.PressKey(editor, ui::kKeyLeft);  // other keys do nothing
  EXPECT_EQ(editor.SoundUpDown.Position(), repeats + 1);
}

}  // namespace
}  // namespace vm::testing
