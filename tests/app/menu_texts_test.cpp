// The shipped english.vml words the clock's menus as the form description does: an English user
// sees the same captions with or without the language file.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "main_form_fixture.h"

namespace vm::testing {
namespace {

TEST_F(MainFormTest, EnglishLanguageFileKeepsTheDesignCaptionsOfTheTwelveMenuItems) {
  TForm1& clock = Create();
  std::vector<std::string> design;
  for (ui::MenuItem* item : clock.MenuTexts) design.push_back(item->Caption());

  std::ifstream in(std::string(VM_SOURCE_DIR) + "/lang/english.vml", std::ios::binary);
  ASSERT_TRUE(in);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  UseLanguage(content);
  clock.ApplyLanguage();
  for (std::size_t i = 0; i < design.size(); ++i)
    EXPECT_EQ(clock.MenuTexts[i]->Caption(), design[i]) << "key M" << i + 1;
}

}  // namespace
}  // namespace vm::testing
