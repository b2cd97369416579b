// The rules between the action boxes, the file choosers, the sound test and the icons.

#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "ui/toolkit/headless/recording_canvas.h"

namespace vm::testing {
namespace {

using Actions = EditorTest;

bool HasBitmapAt(const ui::RecordingCanvas& canvas, ui::Point at) {
  for (const ui::DrawCall& call : canvas.Calls())
    if (call.kind == ui::DrawCall::Kind::Bitmap && call.rect.TopLeft() == at) return true;
  return false;
}

TEST_F(Actions, RunProgramWithoutAPathAsksForOneAndCancellingUnchecksBoth) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  backend.ClickControl(editor.RunCheck);  // no answer scripted: the dialog is cancelled
  ASSERT_EQ(Dialogs().OpenFileRequests().size(), 1u);
  const ui::OpenFileRequest& asked = Dialogs().OpenFileRequests()[0];
  EXPECT_EQ(asked.title, "Vemtaro.  Select the file");
  EXPECT_EQ(asked.filter,
            "Programs(*.exe,*.bat,*.com)|*.exe;*.bat;*.com|Office(*.doc,*.xls)|*.doc;*.xls|"
            "Web pages(*.htm,*.html)|*.htm;*.html|Links(*.lnk)|*.lnk|All(*.*)|*.*");
  EXPECT_EQ(asked.owner, 0u);
  EXPECT_FALSE(editor.RunCheck.Checked());
  EXPECT_FALSE(editor.ProgramCheck.Checked());
  EXPECT_TRUE(editor.PrgEdit.Text().empty());

  // With a path chosen, Run stays checked and Close is unchecked and disabled.
  backend.ClickControl(editor.ProgramCheck);
  Dialogs().AnswerOpenFile(std::string("C:\\apps\\tool.exe"));
  EXPECT_FALSE(editor.ProgramCheck.Checked());
  backend.ClickControl(editor.RunCheck);
  EXPECT_TRUE(editor.RunCheck.Checked());
  EXPECT_FALSE(editor.ProgramCheck.Checked());
  EXPECT_FALSE(editor.ProgramCheck.Enabled());
  EXPECT_EQ(editor.PrgEdit.Text(), "C:\\apps\\tool.exe");
  EXPECT_EQ(form->scheduler.EditBuf.Program, "C:\\apps\\tool.exe");

  // Cancelling the chooser later keeps the path and its action.
  backend.ClickControl(editor.ProgB);
  EXPECT_EQ(editor.PrgEdit.Text(), "C:\\apps\\tool.exe");
  EXPECT_TRUE(editor.RunCheck.Checked());

  backend.ClickControl(editor.RunCheck);  // off again: Close becomes available
  EXPECT_TRUE(editor.ProgramCheck.Enabled());
  backend.ClickControl(editor.ProgramCheck);
  EXPECT_TRUE(editor.ProgramCheck.Checked());
  EXPECT_FALSE(editor.RunCheck.Checked());
  EXPECT_FALSE(editor.RunCheck.Enabled());
  CloseEditor();
  EXPECT_EQ(Stored(1)->State & (kStateRunProgram | kStateCloseProgram), kStateCloseProgram);
  EXPECT_EQ(Stored(1)->Program, "C:\\apps\\tool.exe");
}

TEST_F(Actions, ShutdownPutsItsTextIntoTheMessageAndTheMessageBoxEnablesTheMemo) {
  UseLanguage("L2.12Plain text\r\nL2.13The computer shuts down\r\nL2.14Default message");
  TForm2& editor = OpenNew();  // the memo holds the new task's default text
  ASSERT_EQ(editor.AlarmMessage.Text(), "Default message");
  EXPECT_TRUE(editor.HiberCheck.Enabled());
  backend.ClickControl(editor.CompCheck);
  EXPECT_EQ(editor.AlarmMessage.Text(), "The computer shuts down");
  EXPECT_FALSE(editor.HiberCheck.Enabled());
  EXPECT_FALSE(editor.WakeupCh.Enabled());
  backend.ClickControl(editor.CompCheck);
  EXPECT_EQ(editor.AlarmMessage.Text(), "Plain text");
  EXPECT_TRUE(editor.WakeupCh.Enabled());

  editor.MessageCheck.SetChecked(true);
  backend.ClickControl(editor.MessageCheck);
  EXPECT_FALSE(editor.AlarmMessage.Enabled());
  backend.ClickControl(editor.MessageCheck);
  EXPECT_TRUE(editor.AlarmMessage.Enabled());
}

TEST_F(Actions, AMessageTheUserWroteIsNeverReplacedByTheShutdownTexts) {
  UseLanguage("L2.12Plain text\r\nL2.13The computer shuts down\r\nL2.14Default message");
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  // The stored message, with the focus passing the box and with clicks on it.
  backend.FocusControl(editor.CompCheck);
  backend.FocusControl(editor.RebootCheck);
  EXPECT_EQ(editor.AlarmMessage.Text(), "Stored message");
  backend.ClickControl(editor.CompCheck);
  backend.FocusControl(editor.RebootCheck);
  EXPECT_EQ(editor.AlarmMessage.Text(), "Stored message");
  backend.ClickControl(editor.CompCheck);
  // A message typed now stays too.
  backend.TypeText(editor.AlarmMessage, "!");
  ASSERT_EQ(editor.AlarmMessage.Text(), "Stored message!");
  backend.ClickControl(editor.CompCheck);
  EXPECT_EQ(editor.AlarmMessage.Text(), "Stored message!");
  backend.ClickControl(editor.CompCheck);

  // The program's own texts, and an empty message, give way.
  for (const std::string own : {"Default message", "Plain text", "The computer shuts down", "Message", ""}) {
    SCOPED_TRACE(own);
    editor.AlarmMessage.SetText(own);
    ASSERT_FALSE(editor.CompCheck.Checked());
    backend.ClickControl(editor.CompCheck);
    EXPECT_EQ(editor.AlarmMessage.Text(), "The computer shuts down");
    backend.FocusControl(editor.RebootCheck);
    EXPECT_EQ(editor.AlarmMessage.Text(), "The computer shuts down");
    backend.ClickControl(editor.CompCheck);
    EXPECT_EQ(editor.AlarmMessage.Text(), "Plain text");
  }
}

TEST_F(Actions, UntickingTheLastEventFreesTheDateAndTimeAgain) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  backend.ChooseTab(editor.Page1, editor.Tab3.PageIndex());
  backend.ClickControl(editor.LockS_CB);
  backend.ChooseTab(editor.Page1, editor.Tab1.PageIndex());
  backend.ClickControl(editor.ImmedCB);
  ASSERT_FALSE(editor.Grid.Enabled());
  backend.ChooseTab(editor.Page1, editor.Tab3.PageIndex());
  backend.ClickControl(editor.LockS_CB);
  EXPECT_FALSE(editor.ImmedCB.Enabled());
  EXPECT_FALSE(editor.ImmedCB.Checked());
  for (const ui::Control* c : std::initializer_list<const ui::Control*>{&editor.Grid, &editor.HourUpDown,
                                                                        &editor.MinUpDown, &editor.MonL, &editor.YearL})
    EXPECT_TRUE(c->Enabled()) << c->Name();
  // A new event brings "Immediately" back, unticked.
  backend.ClickControl(editor.UnLockS_CB);
  EXPECT_TRUE(editor.ImmedCB.Enabled());
  EXPECT_FALSE(editor.ImmedCB.Checked());
  EXPECT_TRUE(editor.Grid.Enabled());
}

TEST_F(Actions, TheSoundChooserAndTheSoundRepeat) {
  TTask task = TaskAt(1, 2027, 1, 1, 1, 1);
  task.State |= kStateAlarmSound;
  task.SoundRepeat = 0;
  TForm2& editor = OpenOn(task);
  EXPECT_EQ(editor.RepeatL.Caption(), "~");
  backend.Spin(editor.SoundUpDown, ui::UpDownDirection::Up);
  EXPECT_EQ(editor.RepeatL.Caption(), "1");
  backend.Spin(editor.SoundUpDown, ui::UpDownDirection::Down);
  EXPECT_EQ(editor.RepeatL.Caption(), "~");

  Dialogs().AnswerOpenFile(std::string("C:\\sounds\\ring.mp3"));
  backend.ClickControl(editor.SoundB);
  ASSERT_EQ(Dialogs().OpenFileRequests().size(), 1u);
  EXPECT_EQ(Dialogs().OpenFileRequests()[0].filter,
            "All files (*.*)|*.*|Mp3 files (*.mp3)|*.MP3|Wave files (*.wav)|*.WAV|Midi files (*.Mid)|*.MID");
  EXPECT_EQ(Dialogs().OpenFileRequests()[0].owner, editor.Handle());
  EXPECT_EQ(editor.SoundEdit.Text(), "C:\\sounds\\ring.mp3");
  backend.ClickControl(editor.SoundB);  // cancelled: the file stays
  EXPECT_EQ(editor.SoundEdit.Text(), "C:\\sounds\\ring.mp3");
  CloseEditor();
  EXPECT_EQ(Stored(1)->SoundFile, "C:\\sounds\\ring.mp3");
  EXPECT_EQ(Stored(1)->SoundRepeat, 0u);
  EXPECT_EQ(Stored(1)->SoundOn, 1u);
}

TEST_F(Actions, PlayWithoutASoundFileBeepsAndOpensNothing) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  const std::string noFile = form->GetLanguage().LookUpText("L2.15").value_or(std::string());
  editor.SoundEdit.SetText(noFile);
  const std::size_t commands = mci.Commands().size();
  const int beeps = backend.Beeps();
  editor.TestImClick(editor.TestIm);
  EXPECT_EQ(backend.Beeps(), beeps + 1);
  EXPECT_EQ(mci.Commands().size(), commands);
  // A file name that only resembles the no-file text is played, without a beep.
  editor.SoundEdit.SetText(noFile + " ");
  editor.TestImClick(editor.TestIm);
  EXPECT_EQ(backend.Beeps(), beeps + 1);
  EXPECT_GT(mci.Commands().size(), commands);
}

TEST_F(Actions, PlayOpensTheSoundFileAndStopClosesIt) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  editor.TestImClick(editor.TestIm);
  bool opened = false, played = false;
  for (const std::string& command : mci.Commands()) {
    if (command.find("open") == 0) opened = true;
    if (command.find("play") == 0) played = true;
  }
  EXPECT_TRUE(opened);
  EXPECT_TRUE(played);
  const std::size_t before = mci.Commands().size();
  editor.StopImClick(editor.StopIm);
  ASSERT_GT(mci.Commands().size(), before);
  EXPECT_EQ(mci.Commands().back().find("close"), 0u);

  // Pressing moves the picture by one pixel; releasing puts it back.
  const ui::Rect at = editor.TestIm.Bounds();
  backend.MouseDown(editor, {at.left + 5, at.top + 5});
  EXPECT_EQ(editor.TestIm.Left(), at.left + 1);
  EXPECT_EQ(editor.TestIm.Top(), at.top + 1);
  backend.MouseUp(editor, {at.left + 6, at.top + 6});
  EXPECT_EQ(editor.TestIm.Bounds(), at);
}

TEST_F(Actions, TheStatusIconsArePaintedBesideTheActionBoxes) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  ASSERT_GE(form->StatusIcons.Count(), 9);
  ui::RecordingCanvas& canvas = backend.PaintForm(editor);
  for (const ui::CheckBox* box : {&editor.MessageCheck, &editor.SpeakCh, &editor.AlSoundCh, &editor.RunCheck,
                                  &editor.ProgramCheck, &editor.CompCheck, &editor.RebootCheck,
                                  &editor.HiberCheck, &editor.WakeupCh})
    EXPECT_TRUE(HasBitmapAt(canvas, {20, box->Top()})) << box->Name();
  EXPECT_FALSE(HasBitmapAt(canvas, {20, editor.LockCheck.Top()}));
}

// Captions that once stood in one language only: English without a language file, the file's
// words with one.
TEST_F(Actions, TheTestLabelAndTheOffEventBoxesFollowTheLanguageFile) {
  TForm2& english = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  EXPECT_EQ(english.Label2.Caption(), "Test");
  EXPECT_EQ(english.PwrOff_CB.Caption(), "Power Off");
  EXPECT_EQ(english.SSaverOff_CB.Caption(), "ScreenSaver Off");
  CloseEditor();
  form->DeleteFormA(kTaskEditorWindow);  // the next window reads the language anew

  UseLanguage("L2.50Probe\r\n20050Ausschalten\r\n20051Bildschirmschoner aus\r\n");
  TForm2& german = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  EXPECT_EQ(german.Label2.Caption(), "Probe");
  EXPECT_EQ(german.PwrOff_CB.Caption(), "Ausschalten");
  EXPECT_EQ(german.SSaverOff_CB.Caption(), "Bildschirmschoner aus");
}

}  // namespace
}  // namespace vm::testing
