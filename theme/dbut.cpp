#include "theme/dbut.h"

#include <cctype>
#include <vector>

#include "ui/toolkit/application.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/text_metrics.h"

namespace vm::theme {

namespace {

// Clears a flag when the scope ends, whatever way it ends.
struct FlagScope {
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  bool& flag_;
};

// `from` of `source` scaled to w x h. Each target pixel takes the source pixel under its
// centre, so a 1-pixel border stays one pixel wide however the frame is stretched or shrunk.
ui::Bitmap Resample(const ui::Bitmap& source, const ui::Rect& from, int w, int h) {
  ui::Bitmap out(w, h, 0);
  const long long fw = from.Width(), fh = from.Height();
  for (int y = 0; y < h; ++y) {
    const int sy = from.top + static_cast<int>((2LL * y + 1) * fh / (2LL * h));
    for (int x = 0; x < w; ++x) {
      const int sx = from.left + static_cast<int>((2LL * x + 1) * fw / (2LL * w));
      out.SetPixelAt(x, y, source.PixelAt(sx, sy));
    }
  }
  return out;
}

}  // namespace

DBut::DBut(ui::Image& image, ui::Control& holder, const ui::ImageList* glyphList,
           const ui::ImageList& frameList)
    : image_(image), holder_(holder), glyphList_(glyphList), frameList_(frameList),
      hoverTimer_(image.OwnerForm(), "HoverTimer"),
      focusWindow_(std::make_unique<ui::FocusProxy>(image)) {
  DisposeIdleFocusWindows();
  hoverTimer_.SetEnabled(false);
  hoverTimer_.SetInterval(kHoverIntervalMs);
  hoverTimer_.OnTimer = ui::Bind(this, &DBut::HoverTimerTimer);
  image_.OnMouseMove = ui::Bind(this, &DBut::ImageMouseMove);
  image_.OnMouseDown = ui::Bind(this, &DBut::ImageMouseDown);
  image_.OnMouseUp = ui::Bind(this, &DBut::ImageMouseUp);
  image_.SetAccessibleDescriber(this);
  focusWindow_->SetFocusInset(kFocusInset);
  focusWindow_->OnEnter = ui::Bind(this, &DBut::FocusEnter);
  focusWindow_->OnExit = ui::Bind(this, &DBut::FocusExit);
  focusWindow_->OnKeyDown = ui::Bind(this, &DBut::FocusKeyDown);
  focusWindow_->OnKeyUp = ui::Bind(this, &DBut::FocusKeyUp);
}

namespace {

// Focus windows of buttons that went while one of the window's own key events was being
// delivered (Enter whose click closed the window): they are deleted once that is over.
std::vector<std::unique_ptr<ui::FocusProxy>>& RetiredFocusWindows() {
  static std::vector<std::unique_ptr<ui::FocusProxy>> retired;
  return retired;
}

}  // namespace

void DBut::DisposeIdleFocusWindows() {
  auto& retired = RetiredFocusWindows();
  std::erase_if(retired, [](const auto& w) { return !w->Busy(); });
}

DBut::~DBut() {
  if (image_.Describer() == this) image_.SetAccessibleDescriber(nullptr);
  image_.OnMouseMove = nullptr;
  image_.OnMouseDown = nullptr;
  image_.OnMouseUp = nullptr;
  focusWindow_->OnEnter = nullptr;
  focusWindow_->OnExit = nullptr;
  focusWindow_->OnKeyDown = nullptr;
  focusWindow_->OnKeyUp = nullptr;
  if (focusWindow_->Busy()) {
    focusWindow_->SetTabStop(false);
    focusWindow_->SetVisible(false);
    RetiredFocusWindows().push_back(std::move(focusWindow_));
  }
  focusWindow_.reset();
  DisposeIdleFocusWindows();
}

// ---- painting ----

void DBut::DrawBackground(ui::Bitmap& composed, int f) const {
  const ui::Bitmap* frame = frameList_.Frame(f);
  if (frame == nullptr || frame->IsEmpty()) return;
  ui::BitmapCanvas canvas(composed);
  // A masked list's frames carry their own transparency (rounded corners): blend them over the
  // holder's colour. An unmasked list's frames are copied as they are.
  const bool blend = frameList_.Masked();
  const ui::Rect whole{0, 0, frame->Width(), frame->Height()};
  const auto put = [&](const ui::Rect& dest, const ui::Rect& src) {
    const ui::Rect from = src.Intersect(whole);
    if (dest.IsEmpty() || from.IsEmpty()) return;
    const ui::Bitmap part = Resample(*frame, from, dest.Width(), dest.Height());
    if (blend) canvas.DrawBitmapAlpha(dest, part);
    else canvas.DrawBitmap(dest.TopLeft(), part);
  };

  const int w = composed.Width(), h = composed.Height();
  const int W = frame->Width(), H = frame->Height();
  const int b = kBorder;
  if (w > W + b || h > H + b) {
    // Nine parts: the corners unscaled, the edges stretched along, the middle both ways.
    put({0, 0, b, b}, {0, 0, b, b});
    put({w - b, 0, w, b}, {W - b, 0, W, b});
    put({0, h - b, b, h}, {0, H - b, b, H});
    put({w - b, h - b, w, h}, {W - b, H - b, W, H});
    put({b, 0, w - b, b}, {b, 0, W - b, b});
    put({b, h - b, w - b, h}, {b, H - b, W - b, H});
    put({0, b, b, h - b}, {0, b, b, H - b});
    put({w - b, b, w, h - b}, {W - b, b, W, H - b});
    put({b, b, w - b, h - b}, {b, b, W - b, H - b});
  } else {
    put({0, 0, w, h}, {0, 0, W, H});
  }
}

void DBut::DrawSystemColours(ui::Bitmap& composed, int f) const {
  // The frames are pictures of the visual style; a high-contrast scheme asks for its own
  // colours: the button face with a text-coloured edge, the highlight when hot or pressed, and
  // a double edge when pressed.
  ui::BitmapCanvas canvas(composed);
  const ui::Rect all{0, 0, composed.Width(), composed.Height()};
  const bool lit = f != kFrameNormal;
  canvas.FillRect(all, lit ? ui::clHighlight : ui::clBtnFace);
  canvas.FrameRect(all, lit ? ui::clHighlightText : ui::clBtnText);
  if (f == kFramePressed) canvas.FrameRect(all.Inflate(-1, -1), ui::clHighlightText);
}

void DBut::DrawFrame(int f) {
  if (drawing_) return;
  FlagScope guard(drawing_);

  const int w = image_.Width(), h = image_.Height();
  const ui::ColorResolver& colors = ui::CurrentColorResolver();
  const bool highContrast = colors.HighContrast();
  // What lies behind the frame's transparent corners (or everything when the list holds no
  // such frame): the holder's colour, so the button sits on its window as if cut out.
  const ui::Color behind = colors.ToRgb(holder_.GetColor());
  composed_ = ui::Bitmap(w, h, ui::ColorToPixel(behind));
  if (highContrast) DrawSystemColours(composed_, f);
  else DrawBackground(composed_, f);

  // A fresh canvas: the default font and text colour of a bitmap canvas.
  ui::BitmapCanvas canvas(composed_);
  if (highContrast) canvas.SetTextColor(f == kFrameNormal ? ui::clBtnText : ui::clHighlightText);
  if (glyphList_ != nullptr && glyphList_->Frame(glyphIndex_) != nullptr) {
    const ui::Bitmap glyph = glyphList_->GetBitmap(glyphIndex_);
    const ui::Color key = glyphList_->BkColor() == ui::clNone ? ui::clBlack : glyphList_->BkColor();
    canvas.DrawBitmapTransparent(ui::Rect::FromXYWH(kBorder, kBorder, glyph.Width(), glyph.Height()),
                                 glyph, key);
  }
  if (!caption_.empty()) {
    canvas.SetTransparentText(true);
    const ui::Size extent = canvas.TextExtent(caption_);
    canvas.TextOut({(w - extent.width) / 2, (h - extent.height) / 2}, caption_);
  }

  image_.SetPicture(composed_);
  image_.Invalidate();
  lastFrame_ = f;
}

void DBut::Redraw() {
  if (down_) DrawFrame(kFramePressed);
  else DrawFrame(hovering_ || focused_ ? kFrameHot : kFrameNormal);
}

// ---- pointer ----

void DBut::ImageMouseMove(ui::Control&, ui::ShiftState, int, int) {
  if (hovering_) return;
  if (!(latching_ && down_)) DrawFrame(kFrameHot);
  hoverTimer_.SetEnabled(true);
  hovering_ = true;
}

bool DBut::PointerInsideImage() const {
  const ui::Point cursor = image_.OwnerForm().App().GetScreen().CursorPos();
  // Strictly inside: the image's own edge counts as outside. Measured in the image's client
  // coordinates, which is the holder's test shifted by the image's position.
  const ui::Point p = image_.ScreenToClient(cursor);
  return p.x > 0 && p.x < image_.Width() && p.y > 0 && p.y < image_.Height();
}

void DBut::HoverTimerTimer(ui::Timer&) {
  // A button hidden under a resting pointer (its window hidden by its own click) is left: the
  // pointer no longer hovers over anything, and the timer would poll until the next move.
  if (image_.Showing() && PointerInsideImage()) return;
  hoverTimer_.SetEnabled(false);
  hovering_ = false;
  if (!(latching_ && down_)) DrawFrame(kFrameNormal);
}

void DBut::SetDown(bool down) {
  if (down == down_) return;
  down_ = down;
  if (latching_) ui::NotifyAccessible(image_, ui::AccessEvent::StateChange);
}

void DBut::Press() {
  const bool was = down_;
  down_ = latching_ ? !down_ : true;
  if (down_) DrawFrame(kFramePressed);
  if (latching_ && down_ != was) ui::NotifyAccessible(image_, ui::AccessEvent::StateChange);
}

void DBut::Release(ui::Point at) {
  if (latching_) {
    DrawFrame(down_ ? kFramePressed : kFrameHot);
    return;
  }
  down_ = false;
  DrawFrame(image_.ClientRect().Contains(at) ? kFrameHot : kFrameNormal);
}

void DBut::ImageMouseDown(ui::Control&, ui::MouseButton button, ui::ShiftState, int, int) {
  if (button == ui::MouseButton::Left) Press();
}

void DBut::ImageMouseUp(ui::Control&, ui::MouseButton button, ui::ShiftState, int x, int y) {
  if (button == ui::MouseButton::Left) Release({x, y});
}

// ---- keyboard ----

void DBut::FocusGained() {
  if (focused_) return;
  DrawFrame(kFrameHot);
  focused_ = true;
}

void DBut::FocusLost() {
  // A key held while the focus left is no click any more; a push button pressed by it comes up.
  if (heldKey_ != 0 && !latching_) down_ = false;
  heldKey_ = 0;
  DrawFrame(latching_ && down_ ? kFramePressed : kFrameNormal);
  focused_ = false;
}

void DBut::FocusEnter(ui::Control&) { FocusGained(); }
void DBut::FocusExit(ui::Control&) { FocusLost(); }

void DBut::FocusKeyDown(ui::Control&, ui::KeyCode& key, ui::ShiftState shift) {
  if (shift.ctrl || shift.alt) return;  // the window's shortcuts
  if (KeyDown(key)) key = 0;
}

void DBut::FocusKeyUp(ui::Control&, ui::KeyCode& key, ui::ShiftState shift) {
  if (shift.ctrl || shift.alt) return;
  // Last: the click may destroy this button (and its focus window, the sender).
  if (KeyUp(key)) key = 0;
}

bool DBut::KeyDown(ui::KeyCode key) {
  if (key != ui::kKeyEnter && key != ui::kKeySpace) return false;
  // A held key repeats its key-down: only the first one presses, or a toggle button would
  // flip with every repeat. The other of the two keys while one is held does nothing.
  if (heldKey_ != 0) return true;
  heldKey_ = key;
  Press();
  return true;
}

bool DBut::KeyUp(ui::KeyCode key) {
  if (key != ui::kKeyEnter && key != ui::kKeySpace) return false;
  // A release whose press went elsewhere (Enter that closed a dialog, then focus came here)
  // is no click of this button.
  if (heldKey_ != key) return heldKey_ != 0;
  heldKey_ = 0;
  Release({2, 2});
  // Last: the window's click handler may destroy this button.
  ui::NotifyEvent click = image_.OnClick;
  if (click) click(image_);
  return true;
}

// ---- screen readers ----

namespace {

// A caption names the button when it holds a word: two letters or digits at least ("X", ">" or
// "| |" are symbols). A character of another script counts once (its first UTF-8 byte).
bool IsWord(const std::string& text) {
  int letters = 0;
  for (unsigned char c : text)
    if (std::isalnum(c) || c >= 0xC0) ++letters;
  return letters >= 2;
}

}  // namespace

void DBut::DescribeAccessible(const ui::Control&, ui::AccessInfo& info) const {
  info.role = ui::AccessRole::PushButton;
  info.defaultAction = "Press";
  if (!image_.AccessibleName().empty()) info.name = ui::TrimmedText(image_.AccessibleName());
  else if (IsWord(caption_)) info.name = ui::TrimmedText(caption_);
  else info.name = ui::TrimmedText(image_.Hint());
  info.states.pressed = latching_ ? down_ : down_ && heldKey_ != 0;
  info.states.focusable = true;
  info.states.focused = focused_;
}

bool DBut::DoAccessibleAction(ui::Control&) {
  if (heldKey_ != 0) return false;
  KeyDown(ui::kKeyEnter);
  KeyUp(ui::kKeyEnter);  // last: the click may take the button away
  return true;
}

}  // namespace vm::theme
