// What a handler throws stops where the system delivered the event: it is logged, its message
// is shown in one error box, and the next event is handled as usual.
#include <stdexcept>
#include <string>

#include "core/log.h"
#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class ThrowingForm : public Form {
 public:
  explicit ThrowingForm(Application& app) : Form(app, "ThrowingForm") {
    SetClientSize(200, 100);
    Ok.SetBounds(10, 10, 75, 25);
  }
  Button Ok{*this, "Ok"};
  Timer Tick{*this, "Tick"};
};

class ExceptionBoundaryTest : public ToolkitTest {
 protected:
  ExceptionBoundaryTest() {
    app.SetTitle("Vemtaro");
    form.Show();
  }
  const std::vector<MessageBoxRequest>& Boxes() { return backend.MessageBoxScript().Shown(); }

  ScopedLogCapture log;
  ThrowingForm& form = app.CreateForm<ThrowingForm>();
};

TEST_F(ExceptionBoundaryTest, ClickHandlerThatThrowsIsLoggedShownOnceAndTheNextClickIsHandled) {
  int clicks = 0;
  form.Ok.OnClick = [&](Control&) {
    if (++clicks == 1) throw std::runtime_error("The list could not be read");
  };
  backend.ClickControl(form.Ok);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "The list could not be read");
  EXPECT_EQ(Boxes()[0].caption, "Vemtaro");
  EXPECT_EQ(Boxes()[0].icon, MsgIcon::Error);
  EXPECT_EQ(Boxes()[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(Boxes()[0].owner, form.Handle());
  EXPECT_TRUE(log.Contains("Exception: The list could not be read"));

  backend.ClickControl(form.Ok);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_FALSE(app.Terminated());
  EXPECT_FALSE(app.ErrorBoxOpen());
}

TEST_F(ExceptionBoundaryTest, ValuesThatAreNoStandardExceptionAreReportedWithAFixedText) {
  form.OnMouseDown = [&](Control&, MouseButton, ShiftState, int, int) { throw 42; };
  form.OnMouseUp = [&](Control&, MouseButton, ShiftState, int, int) { throw std::logic_error(""); };
  backend.Click(form, {150, 80});
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].text, "Unknown error (not a standard exception)");
  EXPECT_EQ(Boxes()[1].text, "Unknown error");  // what() says nothing
  EXPECT_TRUE(log.Contains("Exception: Unknown error (not a standard exception)"));
  EXPECT_EQ(app.MainForm(), &form);
}

TEST_F(ExceptionBoundaryTest, TimerThatKeepsThrowingOpensOneBoxWhileItIsOpenAndKeepsTicking) {
  int ticks = 0;
  form.Tick.SetInterval(1000);
  form.Tick.OnTimer = [&](Timer&) {
    ++ticks;
    throw std::runtime_error("tick " + std::to_string(ticks));
  };
  // The box's own loop goes on delivering messages while the user reads it: three more ticks.
  int nested = 0;
  backend.MessageBoxScript().WhileOpen = [&](const MessageBoxRequest&) {
    if (nested++ == 0) backend.AdvanceMs(3000);
  };
  backend.AdvanceMs(1000);
  EXPECT_EQ(ticks, 4);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "tick 1");
  for (const char* line : {"Exception: tick 1", "Exception: tick 2", "Exception: tick 4"})
    EXPECT_TRUE(log.Contains(line)) << line;

  // Once the box is closed the next failure shows a box again; the timer never stopped.
  backend.AdvanceMs(1000);
  EXPECT_EQ(ticks, 5);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1].text, "tick 5");
  EXPECT_TRUE(form.Tick.Running());
}

TEST_F(ExceptionBoundaryTest, AFailingErrorBoxIsLoggedAndSwallowed) {
  backend.MessageBoxScript().WhileOpen = [](const MessageBoxRequest&) { throw std::runtime_error("no box"); };
  form.Ok.OnClick = [](Control&) { throw std::runtime_error("first"); };
  EXPECT_NO_THROW(backend.ClickControl(form.Ok));
  EXPECT_TRUE(log.Contains("Exception: first"));
  EXPECT_TRUE(log.Contains("Exception: no box"));
  EXPECT_FALSE(app.ErrorBoxOpen());
}

TEST_F(ExceptionBoundaryTest, KeysMenusSystemMessagesAndPaintsAreGuardedToo) {
  form.SetKeyPreview(true);
  int keys = 0;
  form.OnKeyDown = [&](Control&, KeyCode&, ShiftState) {
    ++keys;
    throw std::runtime_error("key");
  };
  backend.PressKey(form, 'A');
  EXPECT_EQ(keys, 1);

  PopupMenu menu(form, "Menu");
  MenuItem& item = menu.Items().Add("Item1", "Item");
  item.OnClick = [](MenuItem&) { throw std::runtime_error("menu"); };
  backend.ChooseOnNextPopup(&item);
  menu.Popup(5, 5);

  form.OnSystemMessage = [](Form&, const SystemMessage&) -> SystemMessageResult { throw std::runtime_error("message"); };
  SystemMessage message;
  message.kind = SystemMessageKind::TimeChange;
  EXPECT_FALSE(backend.SendSystemMessage(form, message).handled);

  form.OnPaint = [](Control&, Canvas&) { throw std::runtime_error("paint"); };
  backend.PaintForm(form);

  for (const char* line : {"Exception: key", "Exception: menu", "Exception: message", "Exception: paint"})
    EXPECT_TRUE(log.Contains(line)) << line;
  EXPECT_EQ(Boxes().size(), 4u);
}

TEST_F(ExceptionBoundaryTest, MisusedSimulatedInputStillReachesTheTest) {
  form.Hide();
  EXPECT_THROW(backend.Click(form, {1, 1}), std::logic_error);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace vm::ui::testing
