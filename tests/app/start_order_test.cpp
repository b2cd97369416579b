// What the clock does before its window first appears, and what it leaves for afterwards: the
// fade-in runs from a timer after the first frame, and so do the speech probe (on its own
// thread), the icons (unless a menu or a window needs them sooner), the session notifications
// and the buttons' focus windows.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "main_form_fixture.h"
#include "theme/dbut.h"

namespace vm::testing {
namespace {

using namespace std::chrono_literals;

// A speech server whose first step waits until the test lets it go on (at most five seconds, so
// that a broken test cannot hang).
class GatedSpeechServer : public fakes::ScriptedSpeechServer {
 public:
  SpeechResult InitCom() override {
    std::unique_lock lock(mutex_);
    entered_ = true;
    changed_.notify_all();
    changed_.wait_for(lock, 5s, [this] { return open_; });
    lock.unlock();
    return ScriptedSpeechServer::InitCom();
  }
  bool WaitUntilEntered(std::chrono::milliseconds timeout = 5s) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return entered_; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool entered_ = false;
  bool open_ = false;
};

class StartOrderTest : public MainFormTest {
 protected:
  StartOrderTest() {
    services.speech = &gated;
    // No hourly spoken time: the fake clock stands at a full hour, and a speaking worker would
    // outlive the gated server, which goes before the clock does.
    registry.CreateKey(RegRoot::CurrentUser, "Software\\Vemtaro");
    registry.WriteDword(RegRoot::CurrentUser, "Software\\Vemtaro", "UseMonitor", 0);
  }
  ~StartOrderTest() override {
    // The probe must not outlive the gated server, which goes before the clock does.
    gated.Open();
    if (form) form->FinishSpeechProbe();
  }
  // Constructs the clock as the program entry does, without running its speech probe.
  TForm1& CreateWithoutWaiting() {
    form = &app.CreateForm<TForm1>(services, language, startup);
    return *form;
  }
  // The one-shot timer that follows the first frame.
  void AfterFirstFrame() { backend.AdvanceMs(1); }
  int FadeTicks() const { return 15; }  // the fade-in's tick in milliseconds
  // The clock shown, with shell icons of which only menu icon 0's first choice (274) exists.
  TForm1& ShowWithShellIcons() {
    gated.Open();
    services.shellIcons = &shellIcons;
    shellIcons.available = {274};
    TForm1& f = Create();
    f.Show();
    return f;
  }

  GatedSpeechServer gated;
};

TEST_F(StartOrderTest, TheSpeechProbeStartsAfterTheFirstFrameAndAnswersOnItsOwnThread) {
  TForm1& f = CreateWithoutWaiting();
  // FormCreate has ended (the task list is loaded) and the clock shows, with no probe begun.
  EXPECT_EQ(TaskFile().size(), 824u);
  f.Show();
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(gated.WaitUntilEntered(50ms)) << "probed before the first frame";

  AfterFirstFrame();
  ASSERT_TRUE(gated.WaitUntilEntered());
  EXPECT_FALSE(f.AgentAvailable);  // the clock goes on while the probe waits for the server
  EXPECT_EQ(gated.CountOf("Create"), 0);

  gated.Open();
  f.FinishSpeechProbe();
  EXPECT_TRUE(f.AgentAvailable);
  EXPECT_EQ(gated.CountOf("Create"), 1);
  EXPECT_EQ(gated.CountOf("Show"), 0);  // the probe neither shows a character nor speaks
  EXPECT_EQ(gated.CountOf("Speak"), 0);
}

TEST_F(StartOrderTest, AProbeThatFindsNoSpeechLeavesTheFlagOffAndWarnsOnce) {
  gated.Fail("Create", 0x80040154);
  gated.Open();
  TForm1& f = CreateWithoutWaiting();
  AfterFirstFrame();
  f.FinishSpeechProbe();
  EXPECT_FALSE(f.AgentAvailable);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "There was an error initializing Microsoft Agent, code = 0x80040154");
  // Waiting again, or the clock's end, does not wait for a probe that has gone.
  f.FinishSpeechProbe();
}

TEST_F(StartOrderTest, TheProbesWarningIsInTheLanguageOfTheFile) {
  UseLanguage("M.51COM fehlt\r\nM.52Kein Sprachdienst (Fehler %x)\r\n");
  gated.Fail("Create", 0x80040154);
  gated.Open();
  TForm1& f = CreateWithoutWaiting();
  AfterFirstFrame();
  f.FinishSpeechProbe();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Kein Sprachdienst (Fehler 80040154)");
  EXPECT_EQ(f.SpeechTexts.comFailed, "COM fehlt");
  EXPECT_EQ(f.SpeechTexts.speakFailed, SpeechWarnings().speakFailed);  // no key: the default
}

TEST_F(StartOrderTest, ClosingTheClockWaitsForAProbeUnderWay) {
  TForm1& f = CreateWithoutWaiting();
  f.Show();
  AfterFirstFrame();
  ASSERT_TRUE(gated.WaitUntilEntered());
  gated.Open();
  app.Shutdown();  // FormDestroy waits for the probe before the speech objects go
  EXPECT_TRUE(log.Contains(" TForm1::FormDestroy Finished"));
  EXPECT_EQ(gated.CountOf("Create"), 1);
  form = nullptr;
}

TEST_F(StartOrderTest, TheFadeInStartsTransparentAndRisesByTimerUpToTheSetting) {
  gated.Open();
  TForm1& f = Create();
  f.Show();
  // The window is there before any fading step: the first frame does not wait for the fade.
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.AlphaBlendValue(), 0);
  EXPECT_TRUE(f.FadeT.Running());
  backend.AdvanceMs(FadeTicks());
  EXPECT_EQ(f.AlphaBlendValue(), 16);
  backend.AdvanceMs(FadeTicks() * 14);
  EXPECT_EQ(f.AlphaBlendValue(), 240);
  backend.AdvanceMs(FadeTicks());
  EXPECT_EQ(f.AlphaBlendValue(), 250);  // the last step stops at the setting, not above it
  EXPECT_FALSE(f.FadeT.Running());
  backend.AdvanceMs(1000);
  EXPECT_EQ(f.AlphaBlendValue(), 250);
}

TEST_F(StartOrderTest, TheFadeFollowsAnOpacityChangedWhileItRuns) {
  gated.Open();
  TForm1& f = Create();
  f.Show();
  backend.AdvanceMs(FadeTicks() * 10);
  ASSERT_EQ(f.AlphaBlendValue(), 160);
  f.settings.Transparency = 100;  // lower than where the fade has got to
  backend.AdvanceMs(FadeTicks());
  EXPECT_EQ(f.AlphaBlendValue(), 100);
  EXPECT_FALSE(f.FadeT.Running());
}

TEST_F(StartOrderTest, ClosingDuringTheFadeInFadesOutAndStopsTheFadeIn) {
  gated.Open();
  TForm1& f = Create();
  f.Show();
  backend.AdvanceMs(FadeTicks() * 3);
  ASSERT_EQ(f.AlphaBlendValue(), 48);
  f.Close();
  app.ProcessMessages();
  EXPECT_FALSE(f.FadeT.Running());
  EXPECT_EQ(f.AlphaBlendValue(), 1);  // the fade-out's last step
  backend.AdvanceMs(FadeTicks() * 20);
  EXPECT_EQ(f.AlphaBlendValue(), 1);
}

TEST_F(StartOrderTest, OlderSystemsShowTheClockAtOnceWithoutFading) {
  env.major = 4;  // version code 15
  gated.Open();
  TForm1& f = Create();
  f.Show();
  EXPECT_EQ(f.AlphaBlendValue(), 250);
  EXPECT_FALSE(f.FadeT.Running());
}

TEST_F(StartOrderTest, IconsSessionNotificationsAndFocusWindowsComeOnceAfterTheFirstFrame) {
  TForm1& f = ShowWithShellIcons();
  ui::FocusProxy& focusWindow = f.TopButtons->Button(0)->FocusWindow();
  EXPECT_EQ(focusWindow.Peer(), 0u) << "made before the first frame";
  EXPECT_TRUE(shellIcons.opened.empty()) << "read before the first frame";
  EXPECT_EQ(f.MenuIcons.Count(), 0);
  EXPECT_TRUE(f.GetIcon().IsEmpty());
  EXPECT_FALSE(log.Contains("  TForm1::RegisterWts:2856"));
  const auto glyphPixel = [&] {  // inside TopA's glyph, menu icon 0
    const int inside = theme::DBut::kBorder + 8;
    return f.TopA.Picture().ColorAt(inside, inside);
  };
  const ui::Color before = glyphPixel();
  backend.AdvanceMs(1);
  EXPECT_EQ(shellIcons.opened.size(), 1u);
  EXPECT_EQ(f.MenuIcons.Count(), 17);
  EXPECT_NE(before, fakes::FakeShellIcons::ColorOfResource(274));
  EXPECT_EQ(glyphPixel(), fakes::FakeShellIcons::ColorOfResource(274)) << "the toggle button lacks its glyph";
  EXPECT_FALSE(f.GetIcon().IsEmpty());
  EXPECT_TRUE(log.Contains("  TForm1::RegisterWts:2856"));
  EXPECT_NE(focusWindow.Peer(), 0u);
  f.OptMenu.Popup(10, 10);
  backend.AdvanceMs(1000);
  EXPECT_EQ(shellIcons.opened.size(), 1u) << "read again";
}

TEST_F(StartOrderTest, AMenuOpenedBeforeTheIconsWereReadHasThem) {
  TForm1& f = ShowWithShellIcons();
  int countAtPopup = -1;
  f.OptMenu.OnPopup = [&, chained = f.OptMenu.OnPopup](ui::Control& sender) {
    chained(sender);
    countAtPopup = f.MenuIcons.Count();
  };
  f.OptMenu.Popup(10, 10);
  EXPECT_EQ(countAtPopup, 17);
  backend.AdvanceMs(1000);
  EXPECT_EQ(shellIcons.opened.size(), 1u);
}

}  // namespace
}  // namespace vm::testing
