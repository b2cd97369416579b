#pragma once
// The application: owns the forms it creates, runs the message loop, and offers the screen,
// the message boxes and the common dialogs of its backend.

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"
#include "ui/toolkit/color.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/input.h"
#include "ui/toolkit/text_metrics.h"

namespace vm::ui {

class Backend;
class Dialogs;
class Form;

// The primary screen in design pixels.
class Screen {
 public:
  explicit Screen(Backend& backend) : backend_(backend) {}
  int Width() const;
  int Height() const;
  // The monitor's real pixels per inch (96 at 100 %); sizes stay in design pixels regardless.
  int PixelsPerInch() const;
  // The area not covered by the task bar.
  Rect WorkArea() const;
  // The width of the system's vertical scroll bars.
  int VerticalScrollBarWidth() const;
  Point CursorPos() const;
  // Shift, Ctrl and Alt as held for the input being handled.
  ShiftState ModifierKeys() const;
  // Moves the mouse pointer there (screen coordinates).
  void SetCursorPos(Point p);
  // The colour of the screen at `p` (what is drawn there now, whatever window it belongs to).
  Color PixelAt(Point p) const;

 private:
  Backend& backend_;
};

class Application {
 public:
  explicit Application(Backend& backend);
  // Destroys the forms that are still alive (see Shutdown).
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Backend& GetBackend() const { return backend_; }
  Screen& GetScreen() { return screen_; }
  MessageBoxes& Messages();
  Dialogs& GetDialogs();

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  // When false, Run creates the main form's window but leaves it hidden.
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool show) { showMainForm_ = show; }
  // The button of the application in the task bar.
  void SetTaskbarButton(bool visible);
  // Flashes that button once (`invert` toggles its highlight; false ends the flashing).
  void FlashTaskbarButton(bool invert);
  // The system's default sound.
  void Beep();

  // Creates a form owned by the application; the first one becomes the main form. OnCreate
  // fires when the constructor has finished.
  template <class T, class... Args>
  T& CreateForm(Args&&... args) {
    auto form = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T& ref = *form;
    Adopt(std::move(form));
    return ref;
  }
  // Takes ownership of a form made elsewhere (the same as CreateForm after construction).
  void Adopt(std::unique_ptr<Form> form);
  Form* MainForm() const { return mainForm_; }
  bool Owns(const Form& form) const;
  // Every form alive, in creation order.
  const std::vector<Form*>& Forms() const { return forms_; }

  // Shows the main form (unless ShowMainForm is false) and runs the message loop until
  // Terminate; then destroys the forms.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles the messages that are waiting, then returns.
  void ProcessMessages();
  // Registers a window message name; such messages reach the forms' OnSystemMessage as
  // SystemMessageKind::Registered with this name.
  void RegisterMessageName(const std::string& name);

  // The whole application lost the focus to another program.
  std::function<void()> OnDeactivate;
  std::function<void()> OnActivate;

  // Destroys every form: OnDestroy of the main form first, then the other forms from the last
  // created, then the main form object. Called from an event handler it only terminates.
  void Shutdown();

  // ---- used by forms and backends ----
  // Marks that an event is being delivered; released forms are destroyed when the outermost
  // scope ends, so no handler ever runs on a destroyed form.
  class DispatchScope {
   public:
    explicit DispatchScope(Application& app);
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
   private:
    Application& app_;
  };
  bool Dispatching() const { return depth_ > 0; }
  void ScheduleRelease(Form& form);
  void RegisterForm(Form& form);
  void UnregisterForm(Form& form);
  // The backend reports the application's activation changes.
  void PeerAppActivated(bool active);

  // An exception that reached the place where the system delivered an event (a window message,
  // a control's notification, a timer tick): it is logged, its message is shown in the error
  // box, and the program goes on. One box at a time: an exception while the box is open (its
  // loop keeps delivering messages) is only logged.
  void HandleException(std::exception_ptr error) noexcept;
  bool ErrorBoxOpen() const { return errorBoxOpen_; }

 private:
  void FlushReleased();
  void DestroyOwned(Form* form);

  Backend& backend_;
  ScopedRenderContext renderContext_;
  Screen screen_;
  std::string title_;
  bool showMainForm_ = true;
  bool terminated_ = false;
  bool active_ = false;
  bool shuttingDown_ = false;
  bool errorBoxOpen_ = false;
  int depth_ = 0;
  Form* mainForm_ = nullptr;
  std::vector<Form*> forms_;
  std::vector<std::unique_ptr<Form>> owned_;
  std::vector<Form*> released_;
};

// The text an exception stands for: what() of a standard exception, else a fixed text.
std::string ExceptionMessage(std::exception_ptr error);

// For the backends, at every place where the system enters portable code: runs `deliver` and
// hands what it throws to the application (only logged when there is none). Exceptions never
// travel on into the system's code, which cannot unwind them (the 32-bit build's message
// dispatch). Returns false when `deliver` threw.
void LogUncaughtException(std::exception_ptr error) noexcept;
template <class F>
bool GuardedDelivery(Application* app, F&& deliver) noexcept {
  try {
    deliver();
    return true;
  } catch (...) {
    if (app) app->HandleException(std::current_exception());
    else LogUncaughtException(std::current_exception());
    return false;
  }
}

}  // namespace vm::ui
