#include "ui/toolkit/application.h"

#include <algorithm>

#include "core/log.h"
#include "ui/toolkit/backend.h"
#include "ui/toolkit/form.h"

namespace vm::ui {

// ---- Screen ----

int Screen::Width() const { return backend_.GetScreenInfo().width; }
int Screen::Height() const { return backend_.GetScreenInfo().height; }
int Screen::PixelsPerInch() const { return backend_.GetScreenInfo().pixelsPerInch; }
Rect Screen::WorkArea() const { return backend_.GetScreenInfo().workArea; }
int Screen::VerticalScrollBarWidth() const { return backend_.GetScreenInfo().verticalScrollBarWidth; }
Point Screen::CursorPos() const { return backend_.CursorPos(); }
ShiftState Screen::ModifierKeys() const { return backend_.ModifierKeys(); }
void Screen::SetCursorPos(Point p) { backend_.SetCursorPos(p); }
Color Screen::PixelAt(Point p) const { return backend_.ScreenPixel(p); }

// ---- Application ----

Application::Application(Backend& backend)
    : backend_(backend), renderContext_(&backend.Text(), &backend.Colors()), screen_(backend) {
  backend_.Attach(this);
}

Application::~Application() {
  Shutdown();
  backend_.Attach(nullptr);
}

MessageBoxes& Application::Messages() { return backend_.Messages(); }
Dialogs& Application::GetDialogs() { return backend_.GetDialogs(); }

void Application::SetTitle(const std::string& title) {
  title_ = title;
  backend_.SetAppTitle(title);
}

void Application::SetTaskbarButton(bool visible) { backend_.SetTaskbarButton(visible); }
void Application::FlashTaskbarButton(bool invert) { backend_.FlashTaskbarButton(invert); }
void Application::Beep() { backend_.Beep(); }

void Application::Adopt(std::unique_ptr<Form> form) {
  if (!form) return;
  Form& ref = *form;
  owned_.push_back(std::move(form));
  if (!mainForm_) mainForm_ = &ref;
  // The constructor has finished: the form's OnCreate may now use everything it declared.
  if (!ref.IsRealized()) ref.FireCreate();
}

bool Application::Owns(const Form& form) const {
  return std::any_of(owned_.begin(), owned_.end(), [&](const auto& f) { return f.get() == &form; });
}

void Application::RegisterForm(Form& form) { forms_.push_back(&form); }

void Application::UnregisterForm(Form& form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
  released_.erase(std::remove(released_.begin(), released_.end(), &form), released_.end());
  if (mainForm_ == &form) mainForm_ = nullptr;
}

void Application::Run() {
  if (!mainForm_) return;
  mainForm_->Realize();
  if (showMainForm_) {
    // The clock first, then its task-bar button: the button need not hold up the window.
    mainForm_->Show();
    SetTaskbarButton(true);
  }
  backend_.RunMessageLoop([this] { return terminated_ || !mainForm_; });
  Shutdown();
}

void Application::Terminate() { terminated_ = true; }

void Application::ProcessMessages() { backend_.ProcessMessages(); }

void Application::RegisterMessageName(const std::string& name) { backend_.RegisterMessageName(name); }

void Application::PeerAppActivated(bool active) {
  if (active == active_) return;
  active_ = active;
  DispatchScope scope(*this);
  auto handler = active ? OnActivate : OnDeactivate;
  if (handler) handler();
}

// ---- exceptions at the event boundary ----

std::string ExceptionMessage(std::exception_ptr error) {
  if (!error) return "Unknown error";
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    const char* what = e.what();
    return what && *what ? what : "Unknown error";
  } catch (...) {
    return "Unknown error (not a standard exception)";
  }
}

void LogUncaughtException(std::exception_ptr error) noexcept {
  try {
    const std::string message = ExceptionMessage(error);
    WriteLog("Exception: %s", message.c_str());
  } catch (...) {
    // Nothing is left to report with.
  }
}

void Application::HandleException(std::exception_ptr error) noexcept {
  LogUncaughtException(error);
  // While the box is open its loop delivers messages; a handler that keeps failing (a timer
  // every second) must not stack box upon box.
  if (errorBoxOpen_) return;
  errorBoxOpen_ = true;
  try {
    MessageBoxRequest box;
    box.text = ExceptionMessage(error);
    box.caption = title_;
    box.icon = MsgIcon::Error;
    box.buttons = MsgButtons::Ok;
    if (mainForm_ && mainForm_->IsRealized() && mainForm_->Visible())
      box.owner = backend_.NativeId(mainForm_->Peer());
    backend_.Messages().Show(box);
  } catch (...) {
    LogUncaughtException(std::current_exception());
  }
  errorBoxOpen_ = false;
}

// ---- release and destruction ----

Application::DispatchScope::DispatchScope(Application& app) : app_(app) { ++app_.depth_; }

Application::DispatchScope::~DispatchScope() {
  if (--app_.depth_ == 0 && !app_.released_.empty()) app_.FlushReleased();
}

void Application::ScheduleRelease(Form& form) {
  if (std::find(released_.begin(), released_.end(), &form) == released_.end())
    released_.push_back(&form);
  if (depth_ == 0) FlushReleased();
}

void Application::FlushReleased() {
  // Destruction runs handlers (OnDestroy) that may release further forms: they join the queue.
  ++depth_;
  while (!released_.empty()) {
    Form* form = released_.front();
    released_.erase(released_.begin());
    if (Owns(*form)) {
      DestroyOwned(form);
    } else {
      // A form owned elsewhere keeps its object; its window goes and it may be shown again.
      form->Hide();
      form->Unrealize();
      form->released_ = false;
    }
  }
  --depth_;
}

void Application::DestroyOwned(Form* form) {
  form->BeforeDestruction();
  if (form == mainForm_) terminated_ = true;
  auto it = std::find_if(owned_.begin(), owned_.end(), [&](const auto& f) { return f.get() == form; });
  if (it == owned_.end()) return;
  std::unique_ptr<Form> doomed = std::move(*it);
  owned_.erase(it);
  doomed.reset();
}

void Application::Shutdown() {
  // From inside an event handler the forms on the stack must live on: the application only
  // ends, and Run or the destructor destroys the forms afterwards.
  if (depth_ > 0) {
    terminated_ = true;
    return;
  }
  if (shuttingDown_) return;
  shuttingDown_ = true;
  ++depth_;
  // The main form's OnDestroy runs while every other window still exists (it may close them).
  if (mainForm_) mainForm_->BeforeDestruction();
  Form* main = mainForm_;
  while (true) {
    auto it = std::find_if(owned_.rbegin(), owned_.rend(), [&](const auto& f) { return f.get() != main; });
    if (it == owned_.rend()) break;
    DestroyOwned(it->get());
  }
  if (main) DestroyOwned(main);
  released_.clear();
  --depth_;
  shuttingDown_ = false;
}

}  // namespace vm::ui
