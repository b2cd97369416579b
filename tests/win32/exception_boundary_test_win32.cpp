// Real messages to real windows whose handlers throw: the window and the message loop go on,
// and the failure is reported once through the application's error box.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/log.h"
#include "toolkit_support_win32.h"

namespace vm::ui::testing {
namespace {

// Records the boxes instead of waiting for someone to close them.
class RecordedBoxes : public MessageBoxes {
 public:
  explicit RecordedBoxes(std::vector<std::string>& shown) : shown_(shown) {}
  MsgResult Show(const MessageBoxRequest& request) override {
    shown_.push_back(request.text);
    return MsgResult::Ok;
  }

 private:
  std::vector<std::string>& shown_;
};

class ThrowingWindow : public Form {
 public:
  explicit ThrowingWindow(Application& app) : Form(app, "ThrowingWindow") {
    SetBorderStyle(BorderStyle::None);
    SetBounds(100, 100, 200, 80);
    Area.SetAutoSize(false);
    Area.SetBounds(0, 0, 100, 80);
    Ok.SetBounds(110, 10, 75, 25);
  }
  Label Area{*this, "Area"};
  Button Ok{*this, "Ok"};
  Timer Tick{*this, "Tick"};
};

class ExceptionBoundaryWin32Test : public Win32ToolkitTest {
 protected:
  ExceptionBoundaryWin32Test() { backend.SetMessageBoxes(std::make_unique<RecordedBoxes>(boxes)); }
  LPARAM At(const Form& form, int x, int y) {
    return MAKELPARAM(ToDevice(x, Dpi(form)), ToDevice(y, Dpi(form)));
  }
  std::vector<std::string> boxes;
  ScopedLogCapture log;
};

TEST_F(ExceptionBoundaryWin32Test, ThrowingClickHandlersLeaveTheWindowAndTheLoopRunning) {
  ThrowingWindow window(app);
  int areaClicks = 0, buttonClicks = 0;
  window.Area.OnClick = [&](Control&) {
    if (++areaClicks == 1) throw std::runtime_error("area failed");
  };
  window.Ok.OnClick = [&](Control&) {
    if (++buttonClicks == 1) throw 7;  // not a standard exception
  };
  window.Show();
  HWND hwnd = Hwnd(window);
  ASSERT_NE(hwnd, nullptr);
  for (int i = 0; i < 2; ++i) {
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(window, 20, 20));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, At(window, 20, 20));
  }
  EXPECT_TRUE(PumpUntil([&] { return areaClicks >= 2; }));

  // The button's click comes back to the form as a notification of the native control.
  HWND button = Win32Backend::WindowOf(window.Ok.Peer());
  ASSERT_NE(button, nullptr);
  SendMessageW(button, BM_CLICK, 0, 0);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(buttonClicks, 2);

  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(boxes, (std::vector<std::string>{"area failed", "Unknown error (not a standard exception)"}));
  EXPECT_TRUE(log.Contains("Exception: area failed"));
  EXPECT_FALSE(app.Terminated());
}

TEST_F(ExceptionBoundaryWin32Test, AThrowingTimerKeepsTickingAndAFailedPaintIsNotRepeatedForever) {
  ThrowingWindow window(app);
  int ticks = 0, paints = 0;
  window.Tick.SetInterval(20);
  window.Tick.OnTimer = [&](Timer&) {
    ++ticks;
    throw std::runtime_error("tick failed");
  };
  window.OnPaint = [&](Control&, Canvas&) {
    ++paints;
    throw std::runtime_error("paint failed");
  };
  window.Show();
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_TRUE(window.Tick.Running());
  EXPECT_GE(paints, 1);
  // The paint cycle ended although its handler failed: no endless stream of paint messages.
  const int paintsSoFar = paints;
  PumpFor(200);
  EXPECT_EQ(paints, paintsSoFar);
  EXPECT_TRUE(log.Contains("Exception: tick failed"));
  EXPECT_TRUE(log.Contains("Exception: paint failed"));
  EXPECT_GE(boxes.size(), 2u);
  EXPECT_TRUE(IsWindow(Hwnd(window)));
}

}  // namespace
}  // namespace vm::ui::testing
