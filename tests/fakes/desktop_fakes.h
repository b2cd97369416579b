#pragma once
// Fakes of the desktop's icon view (platform/desktop.h) and of the shell library's icons
// (platform/shell_icons.h). The desktop draws on recording canvases the test reads afterwards.

#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/shell_icons.h"
#include "ui/toolkit/headless/recording_canvas.h"

namespace vm::fakes {

class FakeDesktop : public Desktop {
 public:
  struct Repaint {
    WindowId window = 0;
    ui::Rect rect;
    std::size_t textsBefore = 0;  // texts the drawing had written when the repaint was asked
  };

  // What the finding answers (0: no such window).
  WindowId desktopWindow = 0x1100;
  WindowId view = 0x2200;
  WindowId workerView = 0;  // an icon view under "WorkerW" (0: none)
  // The picture the desktop shows; CopyPicture scales it (nothing copied while it is empty).
  ui::Bitmap picture;
  std::vector<std::pair<WindowId, ui::Rect>> copies;  // what CopyPicture was asked
  // A text here makes the next call of that step throw std::runtime_error with it, once.
  std::optional<std::string> throwInFindView;
  std::optional<std::string> throwInRepaint;

  std::vector<WindowId> redraws;
  std::vector<Repaint> repaints;
  std::vector<WindowId> drawnOn;
  int contextsReleased = 0;
  ui::RecordingCanvas* LastDrawing() { return drawings_.empty() ? nullptr : drawings_.back().get(); }

  WindowId FindDesktopWindow() override { return desktopWindow; }
  WindowId FindDesktopView(WindowId desktop) override {
    ThrowIfAsked(throwInFindView);
    return desktop == desktopWindow ? view : 0;
  }
  WindowId FindWorkerView() override { return workerView; }
  bool CopyPicture(WindowId window, const ui::Rect& source, ui::Bitmap& into) override {
    copies.emplace_back(window, source);
    if (!window || picture.IsEmpty() || into.IsEmpty()) return false;
    into.GetCanvas().StretchBitmap({0, 0, into.Width(), into.Height()}, picture.Crop(source));
    return true;
  }
  void Redraw(WindowId window) override { redraws.push_back(window); }
  void RepaintRect(WindowId window, const ui::Rect& rect) override {
    ThrowIfAsked(throwInRepaint);
    repaints.push_back({window, rect, current_ ? current_->Texts().size() : 0});
  }
  bool DrawOnWindow(WindowId window, const std::function<void(ui::Canvas&)>& draw) override {
    drawnOn.push_back(window);
    drawings_.push_back(std::make_unique<ui::RecordingCanvas>(ui::Size{1024, 768}));
    current_ = drawings_.back().get();
    try {
      draw(*current_);
    } catch (...) {
      Released();
      throw;
    }
    Released();
    return true;
  }

 private:
  void Released() {
    ++contextsReleased;
    current_ = nullptr;
  }
  static void ThrowIfAsked(std::optional<std::string>& message) {
    if (!message) return;
    const std::string text = *message;
    message.reset();
    throw std::runtime_error(text);
  }
  std::vector<std::unique_ptr<ui::RecordingCanvas>> drawings_;
  ui::RecordingCanvas* current_ = nullptr;
};

// Icons of one colour that tells where they came from: a library icon the colour of its resource
// number, a stock icon 0xFF0000 + its kind.
class FakeShellIcons : public ShellIcons {
 public:
  static ui::Color ColorOfResource(int resource) { return static_cast<ui::Color>(resource); }
  static ui::Color ColorOfStock(StockIcon which) { return 0xFF0000 + static_cast<ui::Color>(which); }

  std::set<int> available;  // resource numbers the library holds
  std::vector<std::string> opened;
  int closed = 0;

  bool Open(const std::string& libraryPath) override {
    opened.push_back(libraryPath);
    return true;
  }
  std::optional<ui::Icon> Load(int resource, int size) override {
    if (!available.count(resource)) return std::nullopt;
    return Filled(ColorOfResource(resource), size);
  }
  void Close() override { ++closed; }
  ui::Icon Stock(StockIcon which, int size) override { return Filled(ColorOfStock(which), size); }

 private:
  static ui::Icon Filled(ui::Color color, int size) { return ui::Icon(ui::Bitmap(size, size, ui::ColorToPixel(color))); }
};

}  // namespace vm::fakes
