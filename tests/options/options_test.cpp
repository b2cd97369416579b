// The options window and the about window, opened from the clock as the user opens them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/main_form_fixture.h"
#include "scheduler/speech.h"
#include "theme/dbut.h"
#include "theme/dgroup_buts.h"
#include "ui/options/about_form.h"
#include "ui/options/options_form.h"
#include "ui/toolkit/dpi.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kKey = "Software\\Vemtaro";

class OptionsTest : public MainFormTest {
 protected:
  OptionsTest() {
    services.windows = AllWindowKinds();
    services.desktop = &desktop;
    backend.SetScreen(1024, 768);
    registry.CreateKey(RegRoot::CurrentUser, kKey);
  }
  void StoreDword(const char* name, std::uint32_t value) {
    registry.WriteDword(RegRoot::CurrentUser, kKey, name, value);
  }
  std::optional<std::uint32_t> Stored(const char* name) { return registry.Dword(kKey, name); }
  std::optional<LogFontRecord> StoredLogFont(const char* name) {
    auto v = registry.ReadValue(RegRoot::CurrentUser, kKey, name);
    if (!v) return std::nullopt;
    return LogFontRecord::FromBytes(v->bytes);
  }
  // The clock, shown, with the options window opened by Ctrl+O.
  TOptF& Open() {
    if (!form) {
      Create();
      form->Show();
    }
    backend.PressKey(*form, ui::KeyOf('O'), {.ctrl = true});
    auto* options = dynamic_cast<TOptF*>(form->Slots[kOptionsWindow]);
    if (!options) throw std::logic_error("no options window");
    return *options;
  }
  // The data types SetRegistryInfo was called with, in order, from the log.
  std::vector<int> WrittenDataTypes(std::size_t fromLine = 0) {
    std::vector<int> types;
    const std::vector<std::string> lines = log.Messages();
    for (std::size_t i = fromLine; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      const auto at = line.find("TForm1::SetRegistryInfo");
      const auto type = line.find("datatype = ");
      if (at != std::string::npos && type != std::string::npos) types.push_back(std::stoi(line.substr(type + 11)));
    }
    return types;
  }
  // Drags TLab by the mouse to a new left, top inside the miniature.
  void DragMark(TOptF& o, int left, int top) {
    const ui::Point grip{o.TLab.Left() + 2, o.TLab.Top() + 2};
    backend.MouseDownOn(o.Panel1, grip);
    backend.MouseMoveOn(o.Panel1, {left + 2, top + 2});
    backend.MouseUpOn(o.Panel1, {left + 2, top + 2});
  }
};

TEST_F(OptionsTest, CtrlOOpensTheWindowBesideTheClockWithTheSettingsShown) {
  StoreDword("Zoom", 40);
  StoreDword("Transparency", 180);
  StoreDword("AsPanel", 1);
  StoreDword("UseMonitor", 0);
  StoreDword("DisplayTime", 0);
  StoreDword("TransColor", 1);
  StoreDword("Background", 1);
  StoreDword("Left", 100);
  StoreDword("Top", 600);
  TOptF& o = Open();
  EXPECT_TRUE(o.Visible());
  EXPECT_EQ(o.Top(), form->Top() - o.Height()) << "just above the clock";
  EXPECT_EQ(o.Left(), form->Left());
  EXPECT_EQ(o.ZoomT.Position(), 40);
  EXPECT_EQ(o.Tb.Position(), 180);
  EXPECT_TRUE(o.AsPanCB.Checked());
  EXPECT_FALSE(o.UseMonCB.Checked());
  EXPECT_FALSE(o.ShowTimeCB.Checked());
  EXPECT_FALSE(o.SetFontL.Enabled()) << "the links follow the desktop-time box";
  EXPECT_FALSE(o.SetPosL.Enabled());
  EXPECT_TRUE(o.TransColorCB.Checked());
  EXPECT_TRUE(o.HideCB.Checked());
  EXPECT_FALSE(o.AStartCB.Checked());
  EXPECT_EQ(o.LangE.Text(), "english.vml");
  EXPECT_EQ(o.ZoomT.Min(), 8);
  EXPECT_EQ(o.ZoomT.Max(), 120);
  EXPECT_EQ(o.Tb.Min(), 8);
  EXPECT_EQ(o.Tb.Max(), 255);
  EXPECT_EQ(o.ZoomT.Frequency(), 5);
  EXPECT_EQ(form->Toggled[kOptionsWindow], &o);
  // The clock's tick writes the date and time into the top band; Bevel9 frames it.
  clock.Set(46363.75);  // 18:00
  backend.AdvanceMs(1000);
  EXPECT_EQ(o.Label3.Caption(), locale.ShortDate(46363.75) + " " + locale.LongTime(46363.75));
  EXPECT_EQ(o.Bevel9.Left(), o.Label3.Left() - 3);
  EXPECT_EQ(o.Bevel9.Width(), o.Label3.Width() + 6);
  EXPECT_EQ(o.Bevel9.Top(), o.Label3.Top() - 2);
  EXPECT_EQ(o.Bevel9.Height(), o.Label3.Height() + 4);
}

TEST_F(OptionsTest, MiniatureKeepsTheScreenProportionsAndTheMarkPositionRoundTrips) {
  TOptF& o = Open();
  EXPECT_EQ(o.Panel1.Width(), 146);   // 1024 / (1024 / 161 + 1)
  EXPECT_EQ(o.Panel1.Height(), 109);  // 768 / (768 / 126 + 1)
  EXPECT_EQ(o.TLab.Left(), 346 / 8);  // the design DispLeft, 7 screen pixels per miniature pixel, + 1
  DragMark(o, 10, 20);
  EXPECT_EQ(o.TLab.Left(), 10);
  EXPECT_EQ(Stored("DispLeft"), 70u);
  EXPECT_EQ(Stored("DispTop"), 140u);
  EXPECT_EQ(form->settings.DispLeft, 70);

  backend.UserClose(o);
  EXPECT_EQ(form->Slots[kOptionsWindow], nullptr);
  TOptF& again = Open();
  EXPECT_EQ(again.TLab.Left(), 8);  // 70 / 8
  EXPECT_EQ(again.TLab.Top(), 17);  // 140 / 8

  // "Select position" puts the pointer 2 pixels inside the mark.
  backend.Click(again.SetPosL);
  EXPECT_EQ(backend.CursorPos(), again.TLab.ClientToScreen({2, 2}));
}

TEST_F(OptionsTest, ClosingWritesTheFiveValuesInOrderAndReleasesTheToggleButton) {
  TOptF& o = Open();
  backend.ClickControl(o.AsPanCB);
  backend.ClickControl(o.ShowTimeCB);
  EXPECT_TRUE(o.SetPosL.Enabled() == o.ShowTimeCB.Checked());
  const std::size_t before = log.Messages().size();
  backend.UserClose(o);
  EXPECT_THAT(WrittenDataTypes(before), ElementsAre(15, 9, 11, 12, 16));
  EXPECT_EQ(Stored("AsPanel"), 1u);
  EXPECT_EQ(Stored("DisplayTime"), 0u);
  EXPECT_EQ(Stored("Zoom"), 15u);
  EXPECT_EQ(form->Slots[kOptionsWindow], nullptr);
  EXPECT_FALSE(form->TopButtons->Button(kOptionsWindow)->Down());
}

TEST_F(OptionsTest, SettingsSurviveAWindowOpenedWithoutADesktopView) {
  desktop.desktopWindow = 0;
  desktop.view = 0;
  StoreDword("Zoom", 33);
  StoreDword("AsPanel", 1);
  StoreDword("UseMonitor", 0);
  StoreDword("DisplayTime", 0);
  StoreDword("TransColor", 1);
  TOptF& o = Open();
  EXPECT_EQ(o.DesktopView(), 0u);
  EXPECT_TRUE(o.DispIm.Picture().IsEmpty());
  backend.UserClose(o);
  EXPECT_EQ(Stored("Zoom"), 33u);
  EXPECT_EQ(Stored("AsPanel"), 1u);
  EXPECT_EQ(Stored("UseMonitor"), 0u);
  EXPECT_EQ(Stored("DisplayTime"), 0u);
  EXPECT_EQ(Stored("TransColor"), 1u);
}

TEST_F(OptionsTest, TheMiniatureShowsTheIconViewUnderProgmanOrUnderWorkerW) {
  desktop.picture = ui::Bitmap(1024, 768, ui::ColorToPixel(ui::clBlue));
  desktop.picture.Fill({0, 0, 512, 768}, ui::ColorToPixel(ui::clRed));
  TOptF& o = Open();
  EXPECT_EQ(o.DesktopView(), desktop.view);
  ASSERT_FALSE(o.DispIm.Picture().IsEmpty());
  EXPECT_EQ(o.DispIm.Picture().Width(), o.Panel1.Width());
  EXPECT_EQ(o.DispIm.Picture().ColorAt(2, 2), ui::clRed);
  EXPECT_EQ(o.DispIm.Picture().ColorAt(o.Panel1.Width() - 2, 2), ui::clBlue);
  backend.UserClose(o);

  // A wallpaper slideshow keeps the view under "WorkerW".
  desktop.view = 0;
  desktop.workerView = 0x3300;
  TOptF& again = Open();
  EXPECT_EQ(again.DesktopView(), 0x3300u);
  EXPECT_FALSE(again.DispIm.Picture().IsEmpty());
}

TEST_F(OptionsTest, WithoutSpeechTheHourlyBoxIsDisabledAndKeepsTheSetting) {
  speech.Fail("Create");
  TOptF& o = Open();
  EXPECT_FALSE(form->AgentAvailable);
  EXPECT_FALSE(o.UseMonCB.Enabled());
  EXPECT_TRUE(o.UseMonCB.Checked());
  backend.UserClose(o);
  EXPECT_EQ(Stored("UseMonitor"), 1u);
}

TEST_F(OptionsTest, SpeechAvailableEnablesTheHourlyBox) {
  TOptF& o = Open();
  EXPECT_TRUE(form->AgentAvailable);
  EXPECT_TRUE(o.UseMonCB.Enabled());
  // Opening the window only asks whether speech works: nothing is shown or said.
  EXPECT_EQ(speech.CountOf("Show 1"), 0);
  EXPECT_EQ(speech.CountOf("Speak MSA test"), 0);
}

TEST_F(OptionsTest, PressingTheStartBoxesFlipsTheSettingAndTheBoxShowsIt) {
  registry.CreateKey(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  TOptF& o = Open();
  backend.MouseClickCheckBox(o.AStartCB);
  EXPECT_TRUE(form->settings.AutoStart);
  EXPECT_TRUE(o.AStartCB.Checked());
  EXPECT_TRUE(form->AutostartM.Checked());
  EXPECT_EQ(Stored("AutoStart"), 1u);
  backend.MouseClickCheckBox(o.AStartCB);
  EXPECT_FALSE(form->settings.AutoStart);
  EXPECT_FALSE(o.AStartCB.Checked());

  backend.MouseClickCheckBox(o.HideCB);
  EXPECT_TRUE(form->settings.Background);
  EXPECT_TRUE(o.HideCB.Checked());
  EXPECT_EQ(Stored("Background"), 1u);
}

TEST_F(OptionsTest, StartBoxesToggledFromTheKeyboardOrPressedAndLeftStayTrueToTheSetting) {
  TOptF& o = Open();
  // Space on the focused box: the system's click without a press.
  backend.ClickControl(o.HideCB);
  EXPECT_TRUE(form->settings.Background);
  EXPECT_TRUE(o.HideCB.Checked());
  EXPECT_EQ(Stored("Background"), 1u);
  // Pressed, then released outside: the setting flipped with the press, and the box shows it.
  backend.MouseDownOn(o.HideCB, {2, 2});
  backend.MouseUpOn(o.HideCB, {300, 2});
  EXPECT_FALSE(form->settings.Background);
  EXPECT_FALSE(o.HideCB.Checked());
  // A mouse click after that works as before.
  backend.MouseClickCheckBox(o.HideCB);
  EXPECT_TRUE(form->settings.Background);
  EXPECT_TRUE(o.HideCB.Checked());
}

TEST_F(OptionsTest, ZoomSetsTheClockFontSizeInPointsAndKeepsTheClockFace) {
  // A desktop-time font read at start must not reach the clock through a zoom change.
  LogFontRecord desk = Settings::DesignDisplayLogFont();
  desk.SetFace("Courier New");
  const FontRecordBytes deskBytes = desk.ToBytes();
  registry.WriteBinary(RegRoot::CurrentUser, kKey, "DisplayFont", Settings::DesignDisplayFontDialog().ToBytes());
  registry.WriteBinary(RegRoot::CurrentUser, kKey, "DisplayFont2", deskBytes);
  TOptF& o = Open();
  const int widthBefore = form->Width();
  backend.DragTrackBar(o.ZoomT, 30);
  EXPECT_EQ(form->TimeLabel.GetFont().height, -40);  // 30 pt at 96 pixels per inch
  EXPECT_EQ(form->TimeLabel.GetFont().name, "Georgia");
  EXPECT_EQ(form->SecLabel.GetFont().height, -20);
  EXPECT_GT(form->Width(), widthBefore);
  auto stored = StoredLogFont("FontLog2");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->Height, -40);
  EXPECT_EQ(stored->Face(), "Georgia");
  EXPECT_EQ(StoredLogFont("DisplayFont2")->Face(), "Courier New") << "the desktop font is left alone";
  EXPECT_FALSE(Stored("Zoom")) << "Zoom waits for the close";
  backend.UserClose(o);
  EXPECT_EQ(Stored("Zoom"), 30u);
}

TEST_F(OptionsTest, ZoomIsTheSizeInPointsInTheScreensPixelsAsNearAsTheyAllow) {
  for (const int pixelsPerInch : {120, 144}) {
    SCOPED_TRACE(pixelsPerInch);
    backend.SetScreen(1024, 768, pixelsPerInch);
    TOptF& o = Open();
    // The heights the clock's font can have on this screen: design pixels scaled by its DPI.
    auto onScreen = [&](int design) { return ui::ToDevice(design, pixelsPerInch); };
    for (int points = o.ZoomT.Min(); points <= o.ZoomT.Max(); ++points) {
      backend.DragTrackBar(o.ZoomT, points);
      const int wanted = ui::MulDiv(points, pixelsPerInch, 72);
      const int design = -form->TimeLabel.GetFont().height;
      const int miss = std::abs(onScreen(design) - wanted);
      EXPECT_LE(miss, std::abs(onScreen(design - 1) - wanted)) << points << " pt";
      EXPECT_LE(miss, std::abs(onScreen(design + 1) - wanted)) << points << " pt";
    }
    backend.UserClose(o);
  }
}

TEST_F(OptionsTest, TransparencyAndColourChangeTheClockAtOnce) {
  TOptF& o = Open();
  backend.DragTrackBar(o.Tb, 120);
  EXPECT_EQ(form->AlphaBlendValue(), 120);
  EXPECT_EQ(Stored("Transparency"), 120u);

  const int maroon = [&] {
    for (int i = 0; i < o.ThemeCB.ItemCount(); ++i)
      if (o.ThemeCB.Colors()[static_cast<std::size_t>(i)].color == ui::clMaroon) return i;
    return -1;
  }();
  ASSERT_GE(maroon, 0);
  backend.ChooseItem(o.ThemeCB, maroon);
  EXPECT_EQ(form->TimeLabel.GetFont().color, ui::clMaroon);
  EXPECT_EQ(Stored("FontColor"), ui::clMaroon);
  EXPECT_EQ(o.ThemeCB.Tag(), maroon);

  backend.ClickControl(o.TransColorCB);
  EXPECT_TRUE(form->settings.TransColor);
  EXPECT_TRUE(form->TransparentColor());
}

TEST_F(OptionsTest, DesktopFontUnderThirteenPixelsIsStoredAsThirteen) {
  TOptF& o = Open();
  ui::FontChoice chosen;
  chosen.height = -10;
  chosen.faceName = "Arial";
  chosen.weight = 400;
  chosen.color = ui::clYellow;
  backend.DialogScript().AnswerFont(chosen);
  backend.Click(o.SetFontL);
  auto stored = StoredLogFont("DisplayFont2");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->Height, -13);
  EXPECT_EQ(stored->Face(), "Arial");
  EXPECT_EQ(form->BufLab.GetFont().height, -13);
  EXPECT_EQ(form->BufLab.GetFont().color, ui::clYellow);
  EXPECT_EQ(o.TLab.GetFont().color, ui::clYellow);
  EXPECT_EQ(form->TimeLabel.GetFont().name, "Georgia") << "the clock font is not touched";
  EXPECT_FALSE(StoredLogFont("FontLog2"));

  // Cancelled: nothing changes; the picture's click opens the same dialog.
  backend.ClickOn(o.Panel1, {o.Panel1.Width() - 5, o.Panel1.Height() - 5});
  EXPECT_EQ(backend.DialogScript().FontRequests().size(), 2u);
  EXPECT_EQ(StoredLogFont("DisplayFont2")->Face(), "Arial");
}

TEST_F(OptionsTest, ReleasingTheToggleButtonKeepsWhatWasSet) {
  Create();
  form->Show();
  form->TopA.SetBounds(206, 30, 24, 24);
  backend.Click(form->TopA);
  auto* o = dynamic_cast<TOptF*>(form->Slots[kOptionsWindow]);
  ASSERT_NE(o, nullptr);
  backend.ClickControl(o->AsPanCB);
  backend.DragTrackBar(o->ZoomT, 22);
  backend.Click(form->TopA);  // released: the window goes without a close
  EXPECT_EQ(form->Slots[kOptionsWindow], nullptr);
  EXPECT_EQ(Stored("AsPanel"), 1u);
  EXPECT_EQ(Stored("Zoom"), 22u);
}

TEST_F(OptionsTest, LanguageTextsAndTheClockMenuCaptions) {
  UseLanguage(
      "L5.1Einstellungen\r\nL5.2Start\r\nL5.7Groesse\r\nM26Deckkraft\r\nL5.10Ziehen\r\nL1.2Im Tray DE\r\n"
      "L1.3Autostart DE\r\nM3Sprache DE\r\nM5Schrift DE\r\n");
  TOptF& o = Open();
  EXPECT_EQ(o.Caption(), "Einstellungen");
  EXPECT_EQ(o.Label1.Caption(), "Start ");
  EXPECT_EQ(o.ZoomL.Caption(), "Groesse ");
  EXPECT_EQ(o.TranL.Caption(), "Deckkraft");
  EXPECT_EQ(o.TLab.Hint(), "Ziehen ");
  EXPECT_EQ(o.ShowTimeCB.Caption(), "Show time on Desktop") << "a missing key leaves the text";
  // The clock menu's texts, as the language file gives them to its items.
  EXPECT_EQ(o.AStartCB.Caption(), "Autostart DE");
  EXPECT_EQ(o.HideCB.Caption(), "Im Tray DE");
  EXPECT_EQ(o.LangL.Caption(), "Sprache DE");
  EXPECT_EQ(o.FontIm.Hint(), "Schrift DE");
}

TEST_F(OptionsTest, FontImageNudgesAndLinksUnderlineOnlyWhileThePointerIsAway) {
  TOptF& o = Open();
  const int top = o.FontIm.Top();
  const ui::Point at{o.FontIm.Left() + 3, o.FontIm.Top() + 3};
  backend.MouseDown(o, at);
  EXPECT_EQ(o.FontIm.Top(), top + 1);
  backend.MouseUp(o, at);
  EXPECT_EQ(o.FontIm.Top(), top);
  EXPECT_EQ(backend.DialogScript().FontRequests().size(), 1u) << "the clock's font dialog";

  EXPECT_TRUE(o.SetPosL.GetFont().underline);
  o.SetPosL.DeliverMouseEnter();
  EXPECT_FALSE(o.SetPosL.GetFont().underline);
  o.SetPosL.DeliverMouseLeave();
  EXPECT_TRUE(o.SetPosL.GetFont().underline);
}

// ---- the about window ----

class AboutTest : public OptionsTest {};

TEST_F(AboutTest, OpensModallyFromTheMenuAndIsGoneAfterwards) {
  Create();
  form->Show();
  std::string seenVersion;
  backend.OnNextModal([&](ui::Form& window) {
    auto& about = dynamic_cast<TForm5&>(window);
    seenVersion = about.Label1.Caption();
    backend.UserClose(window);
  });
  backend.ChooseMenuItem(form->About2);
  EXPECT_THAT(seenVersion, HasSubstr("4.02"));
  EXPECT_EQ(form->Slots[kAboutWindow], nullptr);
  EXPECT_EQ(backend.UnansweredModals(), 0);
}

TEST_F(AboutTest, MailLinkAddressesTheMakerWithTheSubjectAndTheWebLinkOpensThePage) {
  Create();
  TForm5 about(app, *form, {"https://example.org/vemtaro", "maker@example.org"});
  about.Show();
  backend.Click(about.MailL);
  backend.Click(about.Label4);
  std::vector<std::string> shell;
  for (auto& c : calls)
    if (c.rfind("shell.", 0) == 0) shell.push_back(c);
  ASSERT_EQ(shell.size(), 2u);
  EXPECT_THAT(shell[0], HasSubstr("verb= file=mailto:maker@example.org?subject=Vemtaro "));
  EXPECT_THAT(shell[1], HasSubstr("verb=open file=https://example.org/vemtaro "));
  EXPECT_TRUE(about.MailL.Visible());
}

TEST_F(AboutTest, TheMakersNameStaysInsideTheWindowLargeOverSmallAsDesigned) {
  Create();
  TForm5 about(app, *form, {"", ""});
  ASSERT_GT(176 + about.Label7.Width(), about.ClientWidth());  // the design place would cut it
  for (const ui::Label* name : {&about.Label3, &about.Label7}) {
    EXPECT_GE(name->Left(), 0) << name->Name();
    EXPECT_LE(name->Left() + name->Width(), about.ClientWidth()) << name->Name();
  }
  EXPECT_EQ(about.Label7.Left() - about.Label3.Left(), 176 - 160);
  EXPECT_EQ(about.Label7.Top(), 16);
}

TEST_F(AboutTest, WithoutAddressesTheLinkOpensTheHelpPageAndTheMailRowIsHidden) {
  Create();
  TForm5 about(app, *form, {"", ""});
  about.Show();
  EXPECT_FALSE(about.MailL.Visible());
  EXPECT_FALSE(about.Label5.Visible());
  EXPECT_EQ(about.Label4.Caption(), "vemtaro-help.htm");
  backend.Click(about.Label4);
  EXPECT_THAT(calls, ::testing::Contains(HasSubstr(std::string("verb=open file=") + kDir + "vemtaro-help.htm ")));
}

}  // namespace
}  // namespace vm::testing
