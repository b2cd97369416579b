// The main window's links to the system: system messages and registered names, the
// notification-area icon, the screen, the application's activation, scripted dialogs.

#include <string>
#include <vector>

#include "toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class SystemTest : public ToolkitTest {
 protected:
  Form form{app, "Main"};
  std::vector<SystemMessage> seen;

  void Hook(bool handle) {
    form.OnSystemMessage = [this, handle](Form&, const SystemMessage& m) {
      seen.push_back(m);
      return SystemMessageResult{handle, handle ? 1 : 0};
    };
  }
};

TEST_F(SystemTest, RegisteredNamesArriveWithTheirNameOnlyOnceRegistered) {
  Hook(true);
  form.Realize();
  EXPECT_FALSE(backend.SendRegisteredMessage(form, "VMR_SHOW").handled);
  EXPECT_TRUE(seen.empty());
  app.RegisterMessageName("VMR_SHOW");
  app.RegisterMessageName("TaskbarCreated");
  const SystemMessageResult r = backend.SendRegisteredMessage(form, "VMR_SHOW");
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(r.result, 1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kind, SystemMessageKind::Registered);
  EXPECT_EQ(seen[0].name, "VMR_SHOW");
}

TEST_F(SystemTest, HiddenWindowStillHearsTheSystemButAFormWithoutWindowCannot) {
  Hook(false);
  EXPECT_THROW(backend.SendTrayCallback(form, 514), std::logic_error);
  form.Realize();
  EXPECT_FALSE(backend.SendTrayCallback(form, 517).handled);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kind, SystemMessageKind::TrayCallback);
  EXPECT_EQ(seen[0].code, 517u);
}

TEST_F(SystemTest, WithoutAHookMessagesGoToTheDefault) {
  form.Realize();
  SystemMessage m;
  m.kind = SystemMessageKind::PowerBroadcast;
  m.code = 4;
  EXPECT_FALSE(backend.SendSystemMessage(form, m).handled);
}

TEST_F(SystemTest, HookMayShowTheFormWhileHandlingAMessage) {
  app.RegisterMessageName("VMR_SHOW");
  form.OnSystemMessage = [](Form& f, const SystemMessage& m) {
    if (m.name == "VMR_SHOW") f.BringToFront();
    return SystemMessageResult{};
  };
  form.Realize();
  backend.SendRegisteredMessage(form, "VMR_SHOW");
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(backend.State(form)->activations, 1);
}

TEST_F(SystemTest, TrayIconAddsWithoutIconAndModifiesWithTheFormsIconAndTip) {
  Bitmap pic(16, 16, ColorToPixel(clRed));
  form.SetIcon(Icon(pic));
  TrayIcon tray(form);
  EXPECT_TRUE(tray.Add());
  ASSERT_TRUE(backend.TrayIcon().has_value());
  EXPECT_FALSE(backend.TrayIcon()->icon.has_value());
  EXPECT_EQ(backend.TrayIcon()->tip, "");
  EXPECT_EQ(backend.TrayIcon()->id, 1006u);
  EXPECT_EQ(backend.TrayIcon()->callbackMessage, 32868u);
  EXPECT_EQ(backend.TrayIcon()->flags, 7u);
  EXPECT_TRUE(tray.Modify("Vemtaro  "));
  ASSERT_TRUE(backend.TrayIcon()->icon.has_value());
  EXPECT_EQ(backend.TrayIcon()->icon->Width(), 16);
  EXPECT_EQ(backend.TrayIcon()->tip, "Vemtaro  ");
  EXPECT_TRUE(form.IsRealized());  // the icon needed the window
}

TEST_F(SystemTest, TrayTipIsCutTo127CharactersWithoutSplittingOne) {
  TrayIcon tray(form);
  tray.Add();
  std::string tip(126, 'x');
  tip += "\xD0\xA2\xD0\xB5";  // two Cyrillic letters: 128 characters in all
  tray.Modify(tip);
  EXPECT_EQ(Utf8Length(backend.TrayIcon()->tip), 127u);
  EXPECT_EQ(backend.TrayIcon()->tip, std::string(126, 'x') + "\xD0\xA2");
}

TEST_F(SystemTest, TraySystemAnswersAreReturnedAsTheyCome) {
  TrayIcon tray(form);
  EXPECT_FALSE(tray.Modify("before add"));
  EXPECT_TRUE(tray.Add());
  EXPECT_FALSE(tray.Add());  // exists already: refused, the next modify still works
  EXPECT_TRUE(tray.Modify("tip"));
  EXPECT_TRUE(tray.Delete());
  EXPECT_FALSE(tray.Delete());
  EXPECT_FALSE(tray.Modify("after delete"));
  EXPECT_FALSE(backend.TrayIconShown());
  // A change of an icon that is not there is not asked of the system (before the add and after
  // the delete).
  EXPECT_EQ(backend.TrayCalls().size(), 5u);
}

TEST_F(SystemTest, ScreenReportsTheBackendsScreenAndPixels) {
  backend.SetScreen(1280, 800, 144);
  backend.ScreenColorAt = [](Point p) { return p.x > 100 ? clBlue : clWhite; };
  backend.SetCursorPos({5, 6});
  Screen& screen = app.GetScreen();
  EXPECT_EQ(screen.Width(), 1280);
  EXPECT_EQ(screen.Height(), 800);
  EXPECT_EQ(screen.PixelsPerInch(), 144);
  EXPECT_EQ(screen.PixelAt({110, 10}), clBlue);
  EXPECT_EQ(screen.PixelAt({10, 10}), clWhite);
  EXPECT_EQ(screen.CursorPos(), (Point{5, 6}));
}

TEST_F(SystemTest, ApplicationDeactivationFiresOncePerChange) {
  int deactivations = 0;
  app.OnDeactivate = [&] { ++deactivations; };
  backend.AppActivation(true);
  backend.AppActivation(false);
  backend.AppActivation(false);
  EXPECT_EQ(deactivations, 1);
  app.SetTitle("Vemtaro");
  app.SetTaskbarButton(false);
  EXPECT_EQ(backend.AppTitle(), "Vemtaro");
  EXPECT_FALSE(backend.TaskbarButtonVisible());
}

TEST_F(SystemTest, FormActivationAndMoveDrag) {
  std::vector<std::string> log;
  form.OnActivate = [&](Control&) { log.push_back("activate"); };
  form.OnDeactivate = [&](Control&) { log.push_back("deactivate"); };
  form.Show();
  backend.UserActivate(form, true);
  backend.UserActivate(form, false);
  form.BeginMove();
  EXPECT_EQ(log, (std::vector<std::string>{"activate", "deactivate"}));
  EXPECT_EQ(backend.State(form)->moveDrags, 1);
}

TEST_F(SystemTest, DialogsAnswerFromTheScriptAndCancelWhenUnscripted) {
  Dialogs& dialogs = app.GetDialogs();
  FontChoice choice;
  choice.faceName = "Georgia";
  choice.flags = kFontDialogScreenFonts | kFontDialogInitFromChoice | kFontDialogEffects;
  FontChoice answer;
  answer.faceName = "Arial";
  answer.height = -11;
  backend.DialogScript().AnswerFont(answer);
  EXPECT_TRUE(dialogs.ChooseFont(choice, form.Handle()));
  EXPECT_EQ(choice.faceName, "Arial");
  EXPECT_EQ(choice.flags, 321u);  // the caller's flags stay
  EXPECT_EQ(backend.DialogScript().FontRequests()[0].faceName, "Georgia");
  EXPECT_EQ(backend.DialogScript().Owners()[0], form.Handle());

  ColorChoice color;
  color.color = clRed;
  EXPECT_FALSE(dialogs.ChooseColor(color, 0));
  EXPECT_EQ(color.color, clRed);
  EXPECT_FALSE(dialogs.OpenFile({}).has_value());
  EXPECT_EQ(backend.DialogScript().Unanswered(), 2);

  MessageBoxRequest box;
  box.buttons = MsgButtons::YesNo;
  EXPECT_EQ(app.Messages().Show(box), MsgResult::No);
  backend.MessageBoxScript().Answer(MsgResult::Yes);
  EXPECT_EQ(app.Messages().Show(box), MsgResult::Yes);
  EXPECT_EQ(backend.MessageBoxScript().Shown().size(), 2u);
}

}  // namespace
}  // namespace vm::ui::testing
