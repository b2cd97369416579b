// Forms: creation and realization, close query and close actions, deferred release, modal
// loops, the main form, sizes and alignment.

#include <string>
#include <vector>

#include "toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

// Records the order of its own events.
class LoggingForm : public Form {
 public:
  LoggingForm(Application& app, std::vector<std::string>* log, const char* name = "LoggingForm")
      : Form(app, name), log_(log) {
    OnCreate = [this](Control&) { log_->push_back(Name() + ".create"); };
    OnShow = [this](Control&) { log_->push_back(Name() + ".show"); };
    OnHide = [this](Control&) { log_->push_back(Name() + ".hide"); };
    OnResize = [this](Control&) { log_->push_back(Name() + ".resize"); };
    OnDestroy = [this](Control&) { log_->push_back(Name() + ".destroy"); };
  }
  ~LoggingForm() override { log_->push_back(Name() + ".deleted"); }

 private:
  std::vector<std::string>* log_;
};

class FormLifecycleTest : public ToolkitTest {
 protected:
  // Forms owned by the application log into this until the end of the test.
  void TearDown() override { app.Shutdown(); }
  std::vector<std::string> log;
};

TEST_F(FormLifecycleTest, CreateFormFiresOnCreateButMakesNoWindowUntilShown) {
  auto& form = app.CreateForm<LoggingForm>(&log);
  EXPECT_EQ(log, (std::vector<std::string>{"LoggingForm.create"}));
  EXPECT_FALSE(form.IsRealized());
  EXPECT_EQ(backend.LiveWindows(), 0);

  form.Show();
  // The window gets its size (first resize), then OnShow runs before the window appears.
  EXPECT_EQ(log, (std::vector<std::string>{"LoggingForm.create", "LoggingForm.resize", "LoggingForm.show"}));
  ASSERT_NE(backend.State(form), nullptr);
  EXPECT_TRUE(backend.State(form)->visible);
  EXPECT_EQ(app.MainForm(), &form);
}

TEST_F(FormLifecycleTest, PeerMirrorsPropertiesSetBeforeAndAfterRealize) {
  Form form(app, "Plain");
  form.SetCaption("Vemtaro");
  form.SetBorderStyle(BorderStyle::None);
  form.SetBounds(100, 50, 272, 55);
  form.SetAlphaBlend(true);
  form.SetAlphaBlendValue(300);  // clamped
  form.Realize();
  const auto* state = backend.State(form);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->text, "Vemtaro");
  EXPECT_EQ(state->bounds, Rect::FromXYWH(100, 50, 272, 55));
  EXPECT_EQ(state->alpha, 255);
  EXPECT_FALSE(state->visible);

  form.SetTransparentColor(true);
  form.SetTransparentColorValue(clWindow);
  form.SetTopMost(true);
  form.SetCaption("Other");
  EXPECT_TRUE(state->colorKeyOn);
  EXPECT_EQ(state->colorKey, clWindow);
  EXPECT_TRUE(state->topMost);
  EXPECT_EQ(state->text, "Other");
}

TEST_F(FormLifecycleTest, ClientSizeAccountsForTheFrameOfTheBorderStyle) {
  backend.SetFrameInsets(BorderStyle::Single, {3, 26, 3, 3});
  Form form(app, "Editor");
  form.SetBorderStyle(BorderStyle::Single);
  form.SetClientSize(653, 449);
  EXPECT_EQ(form.Width(), 653 + 6);
  EXPECT_EQ(form.Height(), 449 + 29);
  EXPECT_EQ(form.ClientWidth(), 653);
  form.SetBounds(10, 20, form.Width(), form.Height());
  EXPECT_EQ(form.ClientToScreen({0, 0}), (Point{13, 46}));
  EXPECT_EQ(form.ScreenToClient({13, 46}), (Point{0, 0}));
}

TEST_F(FormLifecycleTest, MinimumSizeLimitsEveryResize) {
  Form form(app, "Editor");
  form.SetMinSize(425, 0);
  form.SetBounds(0, 0, 300, 200);
  EXPECT_EQ(form.Width(), 425);
  form.Show();
  backend.UserSetBounds(form, Rect::FromXYWH(0, 0, 500, 200));
  EXPECT_EQ(form.Width(), 500);
}

TEST_F(FormLifecycleTest, ResizeFiresOnceForASizeChangeEvenWhenTheWindowEchoesIt) {
  backend.SetEchoBounds(true);
  LoggingForm form(app, &log);
  form.Show();
  log.clear();
  form.SetBounds(0, 0, 400, 300);
  EXPECT_EQ(log, (std::vector<std::string>{"LoggingForm.resize"}));
  log.clear();
  form.SetBounds(10, 10, 400, 300);  // moved only
  EXPECT_TRUE(log.empty());
  backend.UserSetBounds(form, Rect::FromXYWH(10, 10, 420, 300));
  EXPECT_EQ(log, (std::vector<std::string>{"LoggingForm.resize"}));
  EXPECT_EQ(form.Width(), 420);
}

TEST_F(FormLifecycleTest, CloseQueryCanRefuseAndOnCloseDecidesTheAction) {
  Form main(app, "Main");  // not owned: closing a non-main form
  auto& form = app.CreateForm<Form>("Second");
  (void)main;
  form.Show();
  bool allow = false;
  int closes = 0;
  form.OnCloseQuery = [&](Form&, bool& canClose) { canClose = allow; };
  form.OnClose = [&](Form&, CloseAction& action) {
    ++closes;
    action = CloseAction::Hide;
  };
  backend.UserClose(form);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(closes, 0);
  allow = true;
  backend.UserClose(form);
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(form.IsRealized());  // hidden, not destroyed
  EXPECT_EQ(closes, 1);
}

TEST_F(FormLifecycleTest, CloseActionNoneKeepsTheFormOpen) {
  auto& main = app.CreateForm<Form>("Main");
  main.Show();
  main.OnClose = [](Form&, CloseAction& action) { action = CloseAction::None; };
  main.Close();
  EXPECT_TRUE(main.Visible());
  EXPECT_FALSE(app.Terminated());
}

TEST_F(FormLifecycleTest, ClosingTheMainFormEndsTheApplication) {
  auto& main = app.CreateForm<Form>("Main");
  auto& other = app.CreateForm<Form>("Other");
  other.Show();
  other.Close();
  EXPECT_FALSE(app.Terminated());
  main.Show();
  main.Close();
  EXPECT_TRUE(app.Terminated());
}

TEST_F(FormLifecycleTest, FormReleasedFromItsCloseHandlerIsDestroyedAfterTheHandlerReturns) {
  app.CreateForm<LoggingForm>(&log, "Main");
  auto& dialog = app.CreateForm<LoggingForm>(&log, "Dialog");
  dialog.Show();
  dialog.OnClose = [&](Form& self, CloseAction& action) {
    self.Release();
    log.push_back("handler still running");
    // The form must still be usable here.
    log.push_back(self.Name() + " alive");
    action = CloseAction::None;  // Release alone decides; no hide needed
  };
  log.clear();
  backend.UserClose(dialog);
  EXPECT_EQ(log, (std::vector<std::string>{"Dialog.hide", "handler still running", "Dialog alive",
                                           "Dialog.destroy", "Dialog.deleted"}));
  EXPECT_EQ(app.Forms().size(), 1u);
}

TEST_F(FormLifecycleTest, CloseActionFreeDestroysTheFormAndItsWindow) {
  app.CreateForm<Form>("Main");
  auto& about = app.CreateForm<Form>("About");
  about.Show();
  EXPECT_EQ(backend.LiveWindows(), 1);
  about.OnClose = [](Form&, CloseAction& action) { action = CloseAction::Free; };
  backend.UserClose(about);
  EXPECT_EQ(backend.LiveWindows(), 0);
  EXPECT_EQ(app.Forms().size(), 1u);
}

TEST_F(FormLifecycleTest, CloseCalledFromCodeWithFreeDestroysTheFormOnReturn) {
  app.CreateForm<LoggingForm>(&log, "Main");
  auto& about = app.CreateForm<LoggingForm>(&log, "About");
  about.Show();
  about.OnClose = [](Form&, CloseAction& action) { action = CloseAction::Free; };
  log.clear();
  about.Close();  // outside any handler: gone when Close returns, and Close touches it no more
  EXPECT_EQ(log, (std::vector<std::string>{"About.hide", "About.destroy", "About.deleted"}));
}

TEST_F(FormLifecycleTest, ShutdownFromAHandlerOnlyEndsTheApplication) {
  auto& main = app.CreateForm<LoggingForm>(&log, "Main");
  main.Show();
  main.OnClick = [&](Control&) { app.Shutdown(); };
  backend.Click(main, {3, 3});
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(app.Forms().size(), 1u);  // destroyed later, off the handler's stack
}

TEST_F(FormLifecycleTest, ReleaseOfAnotherFormFromAClickWaitsForTheOutermostHandler) {
  auto& main = app.CreateForm<LoggingForm>(&log, "Main");
  auto* child = &app.CreateForm<LoggingForm>(&log, "Child");
  main.Show();
  main.OnClick = [&](Control&) {
    child->Release();
    log.push_back("after release");
  };
  log.clear();
  backend.Click(main, {5, 5});
  EXPECT_EQ(log, (std::vector<std::string>{"after release", "Child.destroy", "Child.deleted"}));
}

TEST_F(FormLifecycleTest, ModalFormReturnsTheResultItsScriptSet) {
  app.CreateForm<Form>("Main");
  auto& dialog = app.CreateForm<Form>("Dialog");
  backend.OnNextModal([](Form& f) {
    EXPECT_TRUE(f.IsModal());
    EXPECT_TRUE(f.Visible());
    f.SetModalResult(mrOk);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.IsModal());
  EXPECT_EQ(backend.UnansweredModals(), 0);
}

TEST_F(FormLifecycleTest, ModalCloseRunsCloseQueryAndMayBeRefused) {
  app.CreateForm<Form>("Main");
  auto& dialog = app.CreateForm<Form>("Dialog");
  int queries = 0;
  dialog.OnCloseQuery = [&](Form&, bool& canClose) { canClose = ++queries > 1; };
  backend.OnNextModal([](Form& f) { f.Close(); });   // refused: the loop goes on
  backend.OnNextModal([](Form& f) { f.SetModalResult(mrYes); });
  EXPECT_EQ(dialog.ShowModal(), mrYes);
  EXPECT_EQ(queries, 2);
}

TEST_F(FormLifecycleTest, UnscriptedModalFormIsCancelledInsteadOfHanging) {
  app.CreateForm<Form>("Main");
  auto& dialog = app.CreateForm<Form>("Dialog");
  dialog.OnCloseQuery = [](Form&, bool& canClose) { canClose = false; };  // refuses everything
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(backend.UnansweredModals(), 1);
}

TEST_F(FormLifecycleTest, ModalFormHiddenOrReleasedByCodeEndsItsLoop) {
  app.CreateForm<Form>("Main");
  auto& dialog = app.CreateForm<Form>("Dialog");
  backend.OnNextModal([](Form& f) { f.Hide(); });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  backend.OnNextModal([](Form& f) { f.Release(); });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(backend.UnansweredModals(), 0);
  EXPECT_EQ(app.Forms().size(), 1u);  // released: destroyed once ShowModal returned
}

TEST_F(FormLifecycleTest, ModalFormFreedOnCloseIsDestroyedAfterShowModalReturns) {
  auto& main = app.CreateForm<LoggingForm>(&log, "Main");
  auto& about = app.CreateForm<LoggingForm>(&log, "About");
  about.OnClose = [](Form&, CloseAction& action) { action = CloseAction::Free; };
  main.Show();
  int result = -1;
  main.OnClick = [&](Control&) {
    backend.OnNextModal([](Form& f) { f.SetModalResult(mrOk); });
    result = about.ShowModal();
    log.push_back("ShowModal returned");
  };
  log.clear();
  backend.Click(main, {1, 1});
  EXPECT_EQ(result, mrOk);
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 3], "ShowModal returned");
  EXPECT_EQ(log[log.size() - 2], "About.destroy");
  EXPECT_EQ(log.back(), "About.deleted");
}

TEST_F(FormLifecycleTest, ShutdownDestroysTheMainFormLastAfterItsOnDestroy) {
  app.CreateForm<LoggingForm>(&log, "Main");
  app.CreateForm<LoggingForm>(&log, "A");
  app.CreateForm<LoggingForm>(&log, "B");
  log.clear();
  app.Shutdown();
  EXPECT_EQ(log, (std::vector<std::string>{"Main.destroy", "B.destroy", "B.deleted", "A.destroy",
                                           "A.deleted", "Main.deleted"}));
  EXPECT_TRUE(app.Forms().empty());
}

TEST_F(FormLifecycleTest, RunShowsTheMainFormUnlessToldNotTo) {
  auto& main = app.CreateForm<Form>("Main");
  app.SetShowMainForm(false);
  bool seenHidden = false;
  backend.OnMessageLoop([&] {
    seenHidden = main.IsRealized() && !main.Visible();
    app.Terminate();
  });
  app.Run();
  EXPECT_TRUE(seenHidden);
  EXPECT_TRUE(app.Forms().empty());
}

// A form whose controls are aligned to its edges.
class AlignedForm : public Form {
 public:
  explicit AlignedForm(Application& app) : Form(app, "Aligned") {
    SetBorderStyle(BorderStyle::None);
    Band.SetBounds(0, 0, 10, 30);
    Band.SetAlign(Align::Bottom);
    Fill.SetAlign(Align::Client);
    SetBounds(0, 0, 272, 55);
  }
  Image Band{*this, "Band"};
  Label Fill{*this, "Fill"};
};

TEST_F(FormLifecycleTest, AlignedControlsFollowTheFormsSize) {
  AlignedForm form(app);
  EXPECT_EQ(form.Band.Bounds(), Rect::FromXYWH(0, 25, 272, 30));
  EXPECT_EQ(form.Fill.Bounds(), Rect::FromXYWH(0, 0, 272, 25));
  form.SetBounds(0, 0, 300, 100);
  EXPECT_EQ(form.Band.Bounds(), Rect::FromXYWH(0, 70, 300, 30));
  EXPECT_EQ(form.Fill.Bounds(), Rect::FromXYWH(0, 0, 300, 70));
  form.Band.Hide();
  EXPECT_EQ(form.Fill.Bounds(), Rect::FromXYWH(0, 0, 300, 100));
}

TEST_F(FormLifecycleTest, ScreenCenteredFormIsPlacedInTheWorkArea) {
  backend.SetScreen(1000, 800);
  Form form(app, "Alarm");
  form.SetBounds(0, 0, 400, 300);
  form.SetPosition(FormPosition::ScreenCenter);
  form.Show();
  EXPECT_EQ(form.Bounds(), Rect::FromXYWH(300, 250, 400, 300));
}

TEST_F(FormLifecycleTest, HandleCreatesTheWindowForServicesThatNeedAnOwner) {
  Form form(app, "Main");
  const WindowId id = form.Handle();
  EXPECT_NE(id, 0u);
  EXPECT_TRUE(form.IsRealized());
  EXPECT_FALSE(form.Visible());
}

}  // namespace
}  // namespace vm::ui::testing
