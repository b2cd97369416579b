#pragma once
// DBut: an image control turned into a push or toggle button, painted from the frames of a theme
// image list (0 normal, 1 pointer over, 2 pressed), stretched to the image's size, optionally
// with a glyph and a caption.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/focus_proxy.h"
#include "ui/toolkit/graphic_controls.h"
#include "ui/toolkit/image_list.h"
#include "ui/toolkit/input.h"
#include "ui/toolkit/timer.h"
#include "ui/toolkit/windowed_control.h"

namespace vm::theme {

// Screen readers find it as a push button (pressed while a toggle is down) named by the name the
// window gives the image, else by its caption when that is a word (two letters or digits at
// least), else by the image's hint (a symbol such as "X" or "||" is no name).
class DBut : public ui::AccessibleDescriber {
 public:
  static constexpr int kHoverIntervalMs = 150;
  // Frames of the frame list that the button shows.
  static constexpr int kFrameNormal = 0;
  static constexpr int kFrameHot = 1;
  static constexpr int kFramePressed = 2;
  // Width of the border that the nine-part stretch keeps unscaled.
  static constexpr int kBorder = 4;

  // Takes over the image's mouse-move, mouse-down and mouse-up events; its click event stays the
  // window's. `holder` is the control that holds the image (the window or a panel of it).
  // Nothing is owned but the timer and the bitmaps; the image, the holder and the lists must
  // outlive the button.
  DBut(ui::Image& image, ui::Control& holder, const ui::ImageList* glyphList,
       const ui::ImageList& frameList);
  // Gives the image's mouse events back (empty), so the image never calls a dead button.
  ~DBut() override;
  DBut(const DBut&) = delete;
  DBut& operator=(const DBut&) = delete;

  // Paints frame `f` of the frame list with glyph and caption into the image's picture. A frame
  // the list does not hold (a strip that was missing or of size 0) leaves the holder's colour
  // behind the glyph and the caption. With a high-contrast scheme the system's colours stand in
  // for the frames (the caption in the button or highlight text colour).
  void DrawFrame(int f);
  // Paints the frame of the state it stands in: pressed while down, hot while the pointer is
  // over it or it has the focus, else normal.
  void Redraw();

  // ---- the image's events, bound in the constructor ----
  void ImageMouseMove(ui::Control& sender, ui::ShiftState shift, int x, int y);
  void ImageMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void ImageMouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void HoverTimerTimer(ui::Timer& sender);

  // ---- keyboard focus ----
  // The button's focus window (a focus proxy of the image: no area, a tab stop in the image's
  // place) shows the focus as the hot frame with a dotted frame inside; its focus and keys
  // arrive here.
  void FocusGained();
  void FocusLost();
  // Enter and Space act as a press at 2, 2 and, when released, as a release there followed by
  // the image's click, as on a push button. Other keys are ignored; returns whether the key was
  // used.
  bool KeyDown(ui::KeyCode key);
  bool KeyUp(ui::KeyCode key);
  // The window that takes the keyboard focus for the button.
  ui::FocusProxy& FocusWindow() { return *focusWindow_; }
  // Pixels between the image's edge and the dotted focus frame (inside the frame's border).
  static constexpr int kFocusInset = 3;

  // ---- state ----
  ui::Image& GetImage() const { return image_; }
  const ui::ImageList& FrameList() const { return frameList_; }
  const ui::ImageList* GlyphList() const { return glyphList_; }
  int GlyphIndex() const { return glyphIndex_; }
  void SetGlyphIndex(int index) { glyphIndex_ = index; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  bool Latching() const { return latching_; }
  void SetLatching(bool latching) { latching_ = latching; }
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool Hovering() const { return hovering_; }
  bool Focused() const { return focused_; }
  std::int64_t Tag() const { return tag_; }
  void SetTag(std::int64_t tag) { tag_ = tag; }
  const ui::Timer& HoverTimer() const { return hoverTimer_; }
  // The last frame painted (-1: none yet).
  int LastFrame() const { return lastFrame_; }

  // ---- screen readers ----
  void DescribeAccessible(const ui::Control& control, ui::AccessInfo& info) const override;
  // As Enter on the focused button: the press, the release and the click.
  bool DoAccessibleAction(ui::Control& control) override;

 private:
  void Press();
  void Release(ui::Point at);
  bool PointerInsideImage() const;
  void DrawBackground(ui::Bitmap& composed, int f) const;
  void DrawSystemColours(ui::Bitmap& composed, int f) const;

  static void DisposeIdleFocusWindows();
  void FocusEnter(ui::Control& sender);
  void FocusExit(ui::Control& sender);
  void FocusKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);
  void FocusKeyUp(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);

  ui::Image& image_;
  ui::Control& holder_;
  const ui::ImageList* glyphList_;
  const ui::ImageList& frameList_;
  int glyphIndex_ = 0;
  std::string caption_;
  bool hovering_ = false;
  ui::Timer hoverTimer_;
  bool focused_ = false;
  bool down_ = false;
  bool latching_ = false;
  bool drawing_ = false;
  ui::KeyCode heldKey_ = 0;  // Enter or Space, pressed here and not yet released
  int lastFrame_ = -1;
  ui::Bitmap composed_;
  std::int64_t tag_ = 0;
  std::unique_ptr<ui::FocusProxy> focusWindow_;
};

}  // namespace vm::theme
