// The clock's secondary windows by number, its menus and keys, the menu icons and the change of
// language.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "main_form_fixture.h"
#include "theme/menu_drawing.h"

namespace vm::testing {
namespace {

using ::testing::HasSubstr;

// Stands in for a window kind; counts the live ones.
struct StubWindow : ui::Form {
  StubWindow(ui::Application& app, TForm1& owner, int serialNumber, int& liveCount)
      : Form(app, "StubWindow"), clock(owner), serial(serialNumber), live(liveCount) {
    SetBounds(10, 10, 200, 120);
    ++live;
  }
  ~StubWindow() override { --live; }
  TForm1& clock;
  const int serial;
  int& live;
};

class WindowsMenusTest : public MainFormTest {
 protected:
  // Every window made gets the next serial number (from 1).
  void RegisterStub(int number, std::function<void(StubWindow&)> setup = {}) {
    services.windows[static_cast<std::size_t>(number)] = [this, setup](TForm1& owner) -> std::unique_ptr<ui::Form> {
      auto window = std::make_unique<StubWindow>(owner.App(), owner, ++made, live);
      if (setup) setup(*window);
      return window;
    };
  }
  StubWindow* Stub(int number) { return static_cast<StubWindow*>(form->Slots[number]); }
  int made = 0;
  int live = 0;
};

TEST_F(WindowsMenusTest, ToggleButtonOpensTheWindowReleasingDestroysItAndPressingAgainMakesAFreshOne) {
  RegisterStub(kOptionsWindow);
  auto& f = Create();
  f.Show();
  f.TopA.SetBounds(206, 30, 24, 24);  // a place of its own (the layout puts it elsewhere)
  backend.Click(f.TopA);
  ASSERT_NE(Stub(kOptionsWindow), nullptr);
  EXPECT_TRUE(Stub(kOptionsWindow)->Visible());
  backend.Click(f.TopA);
  EXPECT_EQ(f.Slots[kOptionsWindow], nullptr);
  EXPECT_EQ(live, 0);  // destroyed once the click was handled
  backend.Click(f.TopA);
  EXPECT_EQ(Stub(kOptionsWindow)->serial, 2);
  EXPECT_THAT(log.Messages(), ::testing::Contains(::testing::AllOf(HasSubstr("  TForm1::DeleteFormA:"),
                                                                   ::testing::EndsWith(" Form 1"))));
}

TEST_F(WindowsMenusTest, NumbersWithoutACreatorOrOutsideTheTableCreateNothing) {
  auto& f = Create();
  const auto forms = app.Forms().size();
  for (int number : {int{kTaskEditorWindow}, 6, -1}) {
    f.CreateForm(number);
    f.DeleteFormA(number);
  }
  EXPECT_EQ(app.Forms().size(), forms);
  EXPECT_THAT(log.Messages(), ::testing::Contains(::testing::EndsWith(" Form 6")));  // logged all the same
}

TEST_F(WindowsMenusTest, CtrlPTwiceShowsTheOneProcessManager) {
  RegisterStub(kProcessWindow);
  auto& f = Create();
  f.Show();
  backend.PressKey(f, ui::KeyOf('P'), {.ctrl = true});
  backend.PressKey(f, ui::KeyOf('P'), {.shift = true, .ctrl = true});  // Ctrl among others
  EXPECT_EQ(made, 1);
  EXPECT_TRUE(Stub(kProcessWindow)->Visible());
}

TEST_F(WindowsMenusTest, CtrlShortcutsCountCtrlAtThePressHoweverTheKeysAreLetGo) {
  RegisterStub(kProcessWindow);
  RegisterStub(kTaskListWindow);
  auto& f = Create();
  f.Show();
  // Ctrl let go before P: P's release comes without Ctrl.
  f.PeerKeyDown(ui::kKeyControl, {.ctrl = true});
  f.PeerKeyDown(ui::KeyOf('P'), {.ctrl = true});
  f.PeerKeyUp(ui::kKeyControl, {});
  f.PeerKeyUp(ui::KeyOf('P'), {});
  ASSERT_NE(Stub(kProcessWindow), nullptr);
  EXPECT_TRUE(Stub(kProcessWindow)->Visible());
  // T without Ctrl is no shortcut (the Ctrl of the shortcut before is forgotten); Ctrl held at
  // the release alone still counts, as before.
  f.PeerKeyDown(ui::KeyOf('T'), {});
  f.PeerKeyUp(ui::KeyOf('T'), {});
  EXPECT_EQ(Stub(kTaskListWindow), nullptr);
  f.PeerKeyDown(ui::KeyOf('T'), {});
  f.PeerKeyUp(ui::KeyOf('T'), {.ctrl = true});
  EXPECT_NE(Stub(kTaskListWindow), nullptr);
}

TEST_F(WindowsMenusTest, AWindowMayDeleteItselfFromItsCloseHandlerOrFreeItselfWithoutLeavingAStaleSlot) {
  RegisterStub(kOptionsWindow, [](StubWindow& w) {
    w.OnClose = [&w](ui::Form&, ui::CloseAction&) {
      w.clock.DeleteFormA(kOptionsWindow);
      w.SetCaption("closing");  // still alive while its handler runs
    };
  });
  RegisterStub(kTaskListWindow, [](StubWindow& w) {
    w.OnClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::Free; };
  });
  auto& f = Create();
  backend.ChooseMenuItem(f.Options1);
  backend.UserClose(*Stub(kOptionsWindow));
  EXPECT_EQ(f.Slots[kOptionsWindow], nullptr);
  EXPECT_EQ(live, 0);

  backend.ChooseMenuItem(f.mTask);
  f.Toggled[kTaskListWindow] = f.Slots[kTaskListWindow];  // as the task list does
  backend.UserClose(*Stub(kTaskListWindow));
  EXPECT_EQ(f.Slots[kTaskListWindow], nullptr);
  EXPECT_EQ(f.Toggled[kTaskListWindow], nullptr);
  backend.ChooseMenuItem(f.mTaskAdd);  // a stale slot would show the destroyed window here
  EXPECT_EQ(Stub(kTaskListWindow)->serial, 3);
  app.Shutdown();  // what is still open goes with the clock
  EXPECT_EQ(live, 0);
}

TEST_F(WindowsMenusTest, AWindowThatSetsItsOwnOnDestroyAfterCreationStillEmptiesItsSlot) {
  // Shared: the second window outlives the test body and goes with the application.
  auto ownDestroys = std::make_shared<int>(0);
  RegisterStub(kOptionsWindow, [ownDestroys](StubWindow& w) {
    // Bound when first shown, after the clock made it: replaces whatever was there.
    w.OnShow = [&w, ownDestroys](ui::Control&) { w.OnDestroy = [ownDestroys](ui::Control&) { ++*ownDestroys; }; };
    w.OnClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::Free; };
  });
  auto& f = Create();
  backend.ChooseMenuItem(f.Options1);
  f.Toggled[kOptionsWindow] = f.Slots[kOptionsWindow];
  backend.UserClose(*Stub(kOptionsWindow));
  EXPECT_EQ(*ownDestroys, 1);
  EXPECT_EQ(live, 0);
  EXPECT_EQ(f.Slots[kOptionsWindow], nullptr);
  EXPECT_EQ(f.Toggled[kOptionsWindow], nullptr);
  backend.ChooseMenuItem(f.Options1);  // a fresh window, not the destroyed one
  EXPECT_EQ(Stub(kOptionsWindow)->serial, 2);
}

TEST_F(WindowsMenusTest, AWindowOpenedAtTheRightScreenEdgeIsFlushWithIt) {
  RegisterStub(kOptionsWindow, [](StubWindow& w) { w.OnShow = [&w](ui::Control&) { w.clock.PlaceNearClock(w); }; });
  backend.SetScreen(1024, 768);
  auto& f = Create();
  f.SetBounds(1024 - 100, 400, f.Width(), f.Height());
  backend.ChooseMenuItem(f.mOpt);
  EXPECT_EQ(Stub(kOptionsWindow)->Top(), 400 - Stub(kOptionsWindow)->Height());
  EXPECT_EQ(Stub(kOptionsWindow)->Left(), 1024 - Stub(kOptionsWindow)->Width());
}

TEST_F(WindowsMenusTest, HelpAndTheControlPanelApplets) {
  auto& f = Create();
  f.Show();
  backend.PressKey(f, ui::kKeyF1);  // no help file named: nothing
  UseLanguage("C.34vemtaro.htm\r\n");
  f.ApplyLanguage();
  backend.PressKey(f, ui::kKeyF1, {.shift = true, .alt = true});
  f.WinVersion = 18;
  backend.ChooseMenuItem(f.DateTimeFormat);
  f.WinVersion = 20;
  backend.ChooseMenuItem(f.SetTime);
  std::vector<std::string> shell;
  for (auto& c : calls)
    if (c.rfind("shell.", 0) == 0) shell.push_back(c);
  ASSERT_EQ(shell.size(), 3u);
  EXPECT_THAT(shell[0], HasSubstr(std::string("verb=open file=") + kDir + "vemtaro.htm parameters= directory="));
  EXPECT_EQ(shell[1], "shell.run rundll32 shell32,Control_RunDLL intl.cpl");
  EXPECT_THAT(shell[2], HasSubstr("shell.execute verb= file=timedate.cpl parameters= directory= "));
}

TEST_F(WindowsMenusTest, MenuItemsAreDrawnByTheMenuDrawing) {
  auto& f = Create();
  f.OptMenu.Popup(10, 10);
  const ui::DrawCall* caption = backend.DrawPopupItem(f.Options1, true).FindText(f.Options1.Caption());
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->color, theme::kSelectedTextColor);
}

TEST_F(WindowsMenusTest, MenuIconsTakeThePrimaryResourceThenTheFallbackThenAStockIcon) {
  // Menu: 274 is icon 0's first choice, 16 icon 1's fallback; icon 2 has neither (21, 14).
  // Status: 1001 is icon 0's first choice; icon 4 has neither (240, 999).
  shellIcons.available = {274, 16, 1001};
  services.shellIcons = &shellIcons;
  auto& f = Create();
  backend.AdvanceMs(1);  // the icons are read after the first frame
  EXPECT_EQ(shellIcons.opened, (std::vector<std::string>{"C:\\windows\\system32\\shell32.dll"}));
  EXPECT_EQ(shellIcons.closed, 1);
  ASSERT_EQ(f.MenuIcons.Count(), 17);
  ASSERT_EQ(f.StatusIcons.Count(), 12);
  auto colour = [](const ui::ImageList& list, int i) { return list.Frame(i)->ColorAt(8, 8); };
  EXPECT_EQ(colour(f.MenuIcons, 0), fakes::FakeShellIcons::ColorOfResource(274));
  EXPECT_EQ(colour(f.MenuIcons, 1), fakes::FakeShellIcons::ColorOfResource(16));
  EXPECT_EQ(ui::AlphaOf(f.MenuIcons.Frame(2)->PixelAt(8, 8)), 0);  // empty: the numbering stays
  EXPECT_EQ(colour(f.StatusIcons, 0), fakes::FakeShellIcons::ColorOfResource(1001));
  EXPECT_EQ(colour(f.StatusIcons, 4), fakes::FakeShellIcons::ColorOfStock(StockIcon::Warning));
  EXPECT_EQ(colour(f.StatusIcons, 5), fakes::FakeShellIcons::ColorOfStock(StockIcon::WindowsLogo));
}

TEST_F(WindowsMenusTest, ChoosingALanguageAppliesAndStoresItKeepsTextsItLacksAndSurvivesAnUnreadableFile) {
  auto& f = Create();
  const std::string german = "D:\\Sprachen\\deutsch.vml";  // outside the program directory
  const std::string other = std::string(kDir) + "andere.vml";
  files.Put(german, "M1Optionen\r\nC.8Montag\r\n");  // the clock's date is a Monday
  files.Put(other, "M2Aussehen\r\n");
  for (auto answer : {std::optional<std::string>(), std::optional(german), std::optional(other),
                      std::optional(std::string(kDir) + "gone.vml")})
    backend.DialogScript().AnswerOpenFile(answer);

  backend.ChooseMenuItem(f.Languige1);  // cancelled
  const ui::OpenFileRequest& asked = backend.DialogScript().OpenFileRequests().at(0);
  EXPECT_EQ(asked.filter, "Language file(*.vml)|*.vml");
  EXPECT_EQ(asked.title, "Select the language for Vemtaro");
  EXPECT_EQ(asked.initialDir, kDir);
  EXPECT_EQ(registry.String("Software\\Vemtaro", "Language"), std::nullopt);

  backend.ChooseMenuItem(f.Languige1);
  EXPECT_EQ(f.Options1.Caption(), "Optionen");
  EXPECT_EQ(f.DaywL.Caption(), "Montag");
  EXPECT_EQ(registry.String("Software\\Vemtaro", "Language"), german);

  backend.ChooseMenuItem(f.Languige1);  // without M1 and C.8: the German texts stay
  EXPECT_EQ(f.Dateandtime1.Caption(), "Aussehen");
  EXPECT_EQ(f.Options1.Caption(), "Optionen");
  EXPECT_EQ(f.DaywL.Caption(), "Montag");

  backend.ChooseMenuItem(f.Languige1);  // cannot be read: reported, the stored path stays
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Can't open language resource");
  EXPECT_EQ(registry.String("Software\\Vemtaro", "Language"), other);
  EXPECT_EQ(f.settings.LanguagePath, other);
}

// The chooser takes a UTF-8 file (the shipped russian.vml) and an ANSI file alike: each reads in
// its own encoding, whatever was loaded before.
TEST_F(WindowsMenusTest, ChoosingTheShippedRussianFileThenAnAnsiFileShowsEachInItsOwnLetters) {
  auto& f = Create();
  std::ifstream in(std::string(VM_SOURCE_DIR) + "/lang/russian.vml", std::ios::binary);
  ASSERT_TRUE(in);
  const std::string russian((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  files.Put(std::string(kDir) + "russian.vml", russian);
  files.Put(std::string(kDir) + "deutsch.vml", "M30Proze\xDF" "e\r\n");  // Latin-1 sharp s
  backend.DialogScript().AnswerOpenFile(std::string(kDir) + "russian.vml");
  backend.DialogScript().AnswerOpenFile(std::string(kDir) + "deutsch.vml");

  backend.ChooseMenuItem(f.Languige1);
  EXPECT_EQ(f.mProc.Caption(), "Процессы");
  EXPECT_EQ(f.TopP.Hint(), "Процессы");
  EXPECT_EQ(f.Options1.Caption().substr(0, std::string("Настройки").size()), "Настройки");

  backend.ChooseMenuItem(f.Languige1);
  EXPECT_EQ(f.mProc.Caption(), "Proze\xC3\x9F" "e");
  EXPECT_EQ(f.TopP.Hint(), "Процессы") << "a key the new file lacks keeps its text";
}

}  // namespace
}  // namespace vm::testing
