// The themed button: how a frame is stretched onto the image, the glyph and the caption, and the
// button's answer to the pointer, the hover timer, the focus and the Enter and Space keys.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "theme/builtin_pictures.h"
#include "theme/dbut.h"
#include "theme/dgroup_buts.h"
#include "theme_fakes.h"
#include "ui/toolkit/headless/headless_backend.h"
#include "ui/toolkit/toolkit.h"

namespace vm::theme {
namespace {

using fakes::CodedBitmap;

// Frames are coded pictures (each pixel knows its place) whose blue channel names the frame.
constexpr int Tint(int frame) { return 10 + 40 * frame; }
ui::Point SourceOf(ui::Pixel p) { return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF)}; }
// The source pixel under the centre of target pixel i when `from` pixels spread over `to`.
int UnderCentre(int i, int from, int to) { return static_cast<int>(std::floor((i + 0.5) * from / to)); }

class DButTest : public ::testing::Test {
 protected:
  DButTest() {
    frames.SetMasked(false);
    for (int f = 0; f < 3; ++f) frames.Add(CodedBitmap(20, 23, Tint(f)));
    form.SetBounds(100, 100, 300, 200);
    image.SetBounds(10, 20, 41, 25);
    form.Show();
  }
  DBut& Make(bool latching = false, const ui::ImageList* list = nullptr) {
    button = std::make_unique<DBut>(image, form, nullptr, list ? *list : frames);
    button->SetLatching(latching);
    image.OnClick = [this](ui::Control& sender) { clicks.push_back(&sender); };
    return *button;
  }
  // The frame the picture shows, told by its top-left pixel; -1 when nothing was painted.
  int Shown() const {
    return image.Picture().IsEmpty() ? -1 : (static_cast<int>(image.Picture().PixelAt(1, 1) & 0xFF) - 10) / 40;
  }
  void PointerAt(ui::Point inImage) { backend.SetCursorPos(image.ClientToScreen(inImage)); }
  ui::Point Centre() const { return {10 + image.Width() / 2, 20 + image.Height() / 2}; }
  bool HoverTimerRunning() const {
    for (const auto& [timer, interval] : backend.RunningTimers())
      if (timer == &button->HoverTimer()) return interval == DBut::kHoverIntervalMs;
    return false;
  }
  ui::Color FormColor() const { return ui::CurrentColorResolver().ToRgb(form.GetColor()); }

  ui::HeadlessBackend backend;
  ui::Application app{backend};
  ui::Form& form = app.CreateForm<ui::Form>("Form1");
  ui::Image image{form, "Pic"};
  ui::ImageList frames{20, 23};
  std::vector<ui::Control*> clicks;
  std::unique_ptr<DBut> button;
};

// ---- drawing ----

TEST_F(DButTest, StretchesInNinePartsOnlyWhenMoreThanFourPixelsLarger) {
  // 20 x 23 frames: the nine-part stretch starts at width 25 or height 28.
  struct Case { int w, h; bool ninePart; };
  const Case cases[] = {{41, 25, true}, {22, 25, false}, {24, 27, false}, {25, 27, true},
                        {24, 28, true}, {12, 10, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.w << " x " << c.h);
    image.SetBounds(10, 20, c.w, c.h);
    Make().DrawFrame(0);
    const ui::Bitmap& shown = image.Picture();
    ASSERT_EQ((ui::Size{shown.Width(), shown.Height()}), (ui::Size{c.w, c.h}));
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) {
        // Nine parts: 4-pixel corners unscaled, edges and middle spread between them.
        const auto part = [](int i, int size, int frame) {
          if (i < 4) return i;
          if (i >= size - 4) return frame - (size - i);
          return 4 + UnderCentre(i - 4, frame - 8, size - 8);
        };
        const ui::Point expected = c.ninePart ? ui::Point{part(x, c.w, 20), part(y, c.h, 23)}
                                              : ui::Point{UnderCentre(x, 20, c.w), UnderCentre(y, 23, c.h)};
        ASSERT_EQ(SourceOf(shown.PixelAt(x, y)), expected) << x << "," << y;
      }
  }
}

TEST_F(DButTest, RoundedFramesSitOnTheHoldersColour) {
  ui::ImageList builtIn;
  FillBuiltinImL1(builtIn);
  image.SetBounds(10, 20, 90, 39);
  Make(false, &builtIn).DrawFrame(0);
  // The corner is see-through, so it shows the window (and a transparent image leaves it out).
  EXPECT_EQ(image.Picture().TransparentColor(), FormColor());
  EXPECT_NE(image.Picture().ColorAt(45, 19), FormColor());
}

TEST_F(DButTest, WithoutAFrameOnlyTheCaptionIsDrawnInTheMiddle) {
  ui::ImageList sizeZero(0, 0);
  // A strip of size 0, and a frame the list does not have.
  for (auto [list, frame] : {std::pair{&sizeZero, 0}, std::pair{&frames, 5}}) {
    Make(false, list).SetCaption("| |");
    button->DrawFrame(frame);
    const ui::Bitmap& shown = image.Picture();
    const ui::Color text = ui::CurrentColorResolver().ToRgb(ui::clWindowText);
    ui::Rect ink{shown.Width(), shown.Height(), 0, 0};
    for (int y = 0; y < shown.Height(); ++y)
      for (int x = 0; x < shown.Width(); ++x) {
        ASSERT_TRUE(shown.ColorAt(x, y) == FormColor() || shown.ColorAt(x, y) == text) << x << "," << y;
        if (shown.ColorAt(x, y) == text)
          ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1), std::max(ink.bottom, y + 1)};
      }
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(std::abs(ink.left - (shown.Width() - ink.right)), 1);
    EXPECT_LE(std::abs(ink.top - (shown.Height() - ink.bottom)), 1);
  }
}

TEST_F(DButTest, GlyphIsDrawnAtFourFourLeavingTheListsBackgroundOut) {
  ui::ImageList glyphs(16, 16);
  glyphs.SetBkColor(ui::clSilver);
  ui::Bitmap glyph(16, 16, ui::ColorToPixel(ui::clSilver));
  glyph.Fill({6, 6, 10, 10}, ui::ColorToPixel(ui::clRed));
  glyphs.Add(glyph);
  DBut b(image, form, &glyphs, frames);
  b.DrawFrame(1);
  EXPECT_EQ(image.Picture().ColorAt(4 + 6, 4 + 9), ui::clRed);
  // Around it (the list's background colour) the frame shows.
  EXPECT_EQ(image.Picture().PixelAt(4 + 10, 4 + 10) & 0xFF, static_cast<ui::Pixel>(Tint(1)));
  b.SetGlyphIndex(1);  // not in the list: no glyph
  b.DrawFrame(1);
  EXPECT_NE(image.Picture().ColorAt(4 + 6, 4 + 9), ui::clRed);
}

// ---- pointer ----

TEST_F(DButTest, HoverShowsTheHotFrameUntilTheTimerFindsThePointerGone) {
  DBut& b = Make();
  backend.MouseMove(form, Centre());
  EXPECT_EQ(Shown(), 1);
  EXPECT_TRUE(HoverTimerRunning());
  PointerAt({image.Width() - 1, 10});  // its last column is still inside
  backend.AdvanceMs(450);
  EXPECT_EQ(Shown(), 1);
  PointerAt({0, 10});  // its own left edge is outside already
  backend.AdvanceMs(DBut::kHoverIntervalMs);
  EXPECT_EQ(Shown(), 0);
  EXPECT_FALSE(b.Hovering());
  EXPECT_FALSE(HoverTimerRunning());
}

TEST_F(DButTest, AButtonHiddenUnderTheRestingPointerStopsHovering) {
  DBut& b = Make();
  backend.MouseMove(form, Centre());
  PointerAt({image.Width() / 2, image.Height() / 2});
  backend.AdvanceMs(DBut::kHoverIntervalMs);
  ASSERT_TRUE(HoverTimerRunning());
  form.Hide();  // a click on it hid its window; the pointer stays where it was
  backend.AdvanceMs(DBut::kHoverIntervalMs);
  EXPECT_FALSE(b.Hovering());
  EXPECT_FALSE(HoverTimerRunning());
  EXPECT_EQ(Shown(), 0);
}

TEST_F(DButTest, LatchingButtonTogglesBeforeTheWindowHearsAndStaysPressedUnderHover) {
  DBut& b = Make(true);
  std::vector<bool> downInHandler;
  image.OnClick = [&](ui::Control&) { downInHandler.push_back(b.Down()); };
  PointerAt({5, 5});
  backend.Click(image);
  EXPECT_EQ(Shown(), 2);
  PointerAt({-5, 5});
  backend.AdvanceMs(DBut::kHoverIntervalMs);  // leaving does not show it released
  backend.MouseMove(form, Centre());           // nor does coming back
  EXPECT_EQ(Shown(), 2);
  backend.Click(image);
  EXPECT_EQ(Shown(), 1);  // released, the pointer over it
  EXPECT_EQ(downInHandler, (std::vector<bool>{true, false}));
}

TEST_F(DButTest, PushButtonReleasedOutsideShowsNormalAndDoesNotClick) {
  DBut& b = Make();
  backend.MouseDown(form, Centre());
  EXPECT_EQ(Shown(), 2);
  backend.MouseUp(form, {Centre().x + 100, Centre().y});
  EXPECT_EQ(Shown(), 0);
  EXPECT_FALSE(b.Down());
  EXPECT_TRUE(clicks.empty());
  backend.Click(image);
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(clicks, std::vector<ui::Control*>{&image});
}

TEST_F(DButTest, OnlyTheLeftButtonCounts) {
  for (bool latching : {false, true}) {
    Make(latching).DrawFrame(0);
    for (ui::MouseButton other : {ui::MouseButton::Right, ui::MouseButton::Middle}) {
      backend.MouseDown(form, Centre(), other);
      backend.MouseUp(form, Centre(), other);
    }
    EXPECT_FALSE(button->Down());
    EXPECT_NE(Shown(), 2);
  }
}

// ---- keyboard and focus ----

TEST_F(DButTest, EnterPressesAndReleasesAtTwoTwoThenClicks) {
  DBut& b = Make();
  EXPECT_TRUE(b.KeyDown(ui::kKeyEnter));
  EXPECT_EQ(Shown(), 2);
  EXPECT_TRUE(clicks.empty());
  EXPECT_TRUE(b.KeyUp(ui::kKeyEnter));
  EXPECT_EQ(Shown(), 1);  // 2, 2 lies inside the image
  EXPECT_EQ(clicks, std::vector<ui::Control*>{&image});
  EXPECT_FALSE(b.KeyDown(ui::KeyOf('A')));
  EXPECT_FALSE(b.KeyUp(ui::KeyOf('A')));

  // A held key repeats its key-down: a toggle button flips once. Enter released here after it
  // was pressed elsewhere is no click.
  b.SetLatching(true);
  b.KeyDown(ui::kKeyEnter);
  b.KeyDown(ui::kKeyEnter);
  b.KeyUp(ui::kKeyEnter);
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(b.KeyUp(ui::kKeyEnter));
  EXPECT_TRUE(b.Down());
  EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(DButTest, AClickHandlerMayDestroyTheButton) {
  Make();
  image.OnClick = [this](ui::Control&) { button.reset(); };
  button->KeyDown(ui::kKeyEnter);
  button->KeyUp(ui::kKeyEnter);
  EXPECT_EQ(button, nullptr);
  // The image no longer reaches the button it had; the window still hears its clicks.
  image.OnClick = [this](ui::Control& sender) { clicks.push_back(&sender); };
  backend.Click(image);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(DButTest, FocusShowsHotAndLosingItShowsTheRestingFrame) {
  DBut& b = Make(true);
  b.FocusGained();
  EXPECT_EQ(Shown(), 1);
  b.DrawFrame(0);
  b.FocusGained();  // already focused: no new frame
  EXPECT_EQ(Shown(), 0);
  b.KeyDown(ui::kKeyEnter);
  b.KeyUp(ui::kKeyEnter);
  b.FocusLost();
  EXPECT_EQ(Shown(), 2);  // latched down
  EXPECT_FALSE(b.Focused());
}

// ---- the keyboard, through the button's focus window ----

TEST_F(DButTest, TabFocusesTheButtonsInTurnAndShowsWhichHasTheFocus) {
  ui::Image second{form, "Pic2"};
  second.SetBounds(60, 20, 41, 25);
  DBut& b = Make();
  DBut b2(second, form, nullptr, frames);
  backend.PressKey(form, ui::kKeyTab);
  EXPECT_EQ(backend.FocusedControl(), &b.FocusWindow());
  EXPECT_TRUE(b.Focused());
  EXPECT_EQ(Shown(), 1);  // the focus shows as the hot frame
  backend.PressKey(form, ui::kKeyTab);
  EXPECT_EQ(backend.FocusedControl(), &b2.FocusWindow());
  EXPECT_FALSE(b.Focused());
  EXPECT_TRUE(b2.Focused());
  EXPECT_EQ(Shown(), 0);
  EXPECT_EQ(b2.LastFrame(), 1);
  // No area of its own: the window under the image takes no clicks from it.
  EXPECT_TRUE(b.FocusWindow().Bounds().IsEmpty());
  // Besides the hot frame, a dotted frame inside the border of the focused button only.
  const ui::Bitmap& shown = backend.PaintForm(form).Surface();
  const ui::Color hot = second.Picture().ColorAt(DBut::kFocusInset, DBut::kFocusInset);
  EXPECT_EQ(shown.ColorAt(60 + DBut::kFocusInset, 20 + DBut::kFocusInset), ~hot & 0xFFFFFF);
  EXPECT_EQ(shown.ColorAt(60 + DBut::kFocusInset + 1, 20 + DBut::kFocusInset),
            second.Picture().ColorAt(DBut::kFocusInset + 1, DBut::kFocusInset));
  EXPECT_EQ(shown.ColorAt(10 + DBut::kFocusInset, 20 + DBut::kFocusInset),
            image.Picture().ColorAt(DBut::kFocusInset, DBut::kFocusInset));
}

TEST_F(DButTest, EnterAndSpaceOnTheFocusedButtonClickItAsAPushButton) {
  DBut& b = Make();
  backend.PressKey(form, ui::kKeyTab);
  for (ui::KeyCode key : {ui::kKeyEnter, ui::kKeySpace}) {
    EXPECT_EQ(b.FocusWindow().PeerKeyDown(key, {}), 0);  // used: the window does nothing more
    EXPECT_EQ(Shown(), 2);
    EXPECT_TRUE(b.Down());
    EXPECT_EQ(b.FocusWindow().PeerKeyUp(key, {}), 0);
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(Shown(), 1);
  }
  EXPECT_EQ(clicks.size(), 2u);
  // Ctrl+Space and Enter released after Space was pressed are no clicks.
  backend.PressKey(form, ui::kKeySpace, ui::ShiftState{.ctrl = true});
  b.FocusWindow().PeerKeyDown(ui::kKeySpace, {});
  b.FocusWindow().PeerKeyUp(ui::kKeyEnter, {});
  EXPECT_EQ(clicks.size(), 2u);
  b.FocusWindow().PeerKeyUp(ui::kKeySpace, {});
  EXPECT_EQ(clicks.size(), 3u);
}

TEST_F(DButTest, FocusLeavingWhileTheKeyIsHeldReleasesWithoutAClick) {
  ui::Edit other{form, "Other"};
  other.SetBounds(10, 100, 80, 22);
  other.CreatePeers();
  DBut& b = Make();
  b.FocusWindow().SetFocus();
  ASSERT_TRUE(b.Focused());
  b.FocusWindow().PeerKeyDown(ui::kKeySpace, {});
  ASSERT_TRUE(b.Down());
  backend.FocusControl(other);
  EXPECT_FALSE(b.Down());
  EXPECT_EQ(Shown(), 0);
  b.FocusWindow().PeerKeyUp(ui::kKeySpace, {});
  EXPECT_TRUE(clicks.empty());
}

TEST_F(DButTest, AKeyClickMayDestroyTheButtonWithItsFocusWindow) {
  Make();
  image.OnClick = [this](ui::Control&) { button.reset(); };
  backend.PressKey(form, ui::kKeyTab);
  ASSERT_NE(backend.FocusedControl(), nullptr);
  backend.PressKey(form, ui::kKeyEnter);
  EXPECT_EQ(button, nullptr);
  // The window that had the focus is hidden now, and goes at the next occasion.
  const ui::WindowedControl* left = backend.FocusedControl();
  EXPECT_TRUE(left == nullptr || !left->Visible());
  // A button made afterwards takes the focus as usual (and clears away the old window).
  DBut& again = Make();
  backend.PressKey(form, ui::kKeyTab);
  EXPECT_EQ(backend.FocusedControl(), &again.FocusWindow());
}

TEST_F(DButTest, AButtonMadeForAWindowOnTheScreenGetsItsFocusWindowAtOnce) {
  DBut& b = Make();  // the form is shown already
  EXPECT_NE(backend.ControlPeer(b.FocusWindow()), nullptr);
  button.reset();
  EXPECT_EQ(backend.LiveControlWindows(), 0);
}

// ---- screen readers ----

TEST_F(DButTest, ReadersFindAPushButtonNamedByItsWordCaptionElseItsHintAndTheWindowsNameFirst) {
  DBut& b = Make();
  image.SetHint("Stop");
  b.SetCaption("  Add new      ");
  ui::AccessInfo info = ui::Describe({&image});
  EXPECT_EQ(info.role, ui::AccessRole::PushButton);
  EXPECT_EQ(info.name, "Add new");
  for (const char* symbol : {"| |", "X", ">"}) {  // a symbol: the hint says what it does
    b.SetCaption(symbol);
    EXPECT_EQ(ui::Describe({&image}).name, "Stop") << symbol;
  }
  image.SetAccessibleName("Stop the sound");
  EXPECT_EQ(ui::Describe({&image}).name, "Stop the sound");
  b.SetCaption("Вид");  // letters of another script are a word too
  image.SetAccessibleName("");
  EXPECT_EQ(ui::Describe({&image}).name, "Вид");
  backend.PressKey(form, ui::kKeyTab);
  EXPECT_TRUE(ui::Describe({&image}).states.focused);
}

TEST_F(DButTest, AToggleReadsAsPressedWhileDownAndTheReadersActionTogglesAndClicksIt) {
  DBut& b = Make(true);
  EXPECT_FALSE(ui::Describe({&image}).states.pressed);
  EXPECT_TRUE(ui::DoAccessDefaultAction({&image}));
  EXPECT_TRUE(b.Down());
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_TRUE(ui::Describe({&image}).states.pressed);
  // The change reaches readers through the button's focus window.
  ASSERT_FALSE(backend.AccessEvents().empty());
  EXPECT_EQ(backend.AccessEvents().back().peer, b.FocusWindow().Peer());
  EXPECT_EQ(backend.AccessEvents().back().event, ui::AccessEvent::StateChange);
  DGroupButs group({&image}, form, nullptr, frames);  // takes the image over
  group.Button(0)->SetLatching(true);
  group.Press(0);
  EXPECT_TRUE(ui::Describe({&image}).states.pressed);
  group.Release(0);
  EXPECT_FALSE(ui::Describe({&image}).states.pressed);
}

// ---- the group ----

TEST_F(DButTest, GroupNumbersItsButtonsAndPressesThemByIndex) {
  ui::Image second{form, "Pic2"}, third{form, "Pic3"};
  DGroupButs group({&image, nullptr, &second, &third}, form, nullptr, frames);
  ASSERT_EQ(group.Count(), 4);
  EXPECT_EQ(group.Button(1), nullptr);  // a missing image keeps its place
  EXPECT_EQ(group.Button(3)->Tag(), 3);

  group.Press(0);
  group.Press(3);
  EXPECT_EQ(group.CurrentIndex(), 3);
  EXPECT_TRUE(group.Button(0)->Down());  // the group does not release the others
  EXPECT_EQ(third.Picture().PixelAt(1, 1) & 0xFF, static_cast<ui::Pixel>(Tint(2)));
  group.Release(3);
  EXPECT_EQ(group.CurrentIndex(), -1);
  EXPECT_FALSE(group.Button(3)->Down());
  EXPECT_EQ(third.Picture().PixelAt(1, 1) & 0xFF, static_cast<ui::Pixel>(Tint(0)));
  group.Press(4);
  group.Press(1);
  EXPECT_EQ(group.CurrentIndex(), -1);
}

}  // namespace
}  // namespace vm::theme
