// Secondary windows by number: their creators, the slots of the clock, where they open, and the
// three toggle buttons and two caption buttons drawn on the clock.

#include <cstddef>

#include "app/main_form.h"
#include "app/placement.h"
#include "core/log.h"
#include "theme/dgroup_buts.h"

namespace vm {

namespace {

bool ValidNumber(int number) { return number >= 0 && number < kWindowCount; }

// Glyphs of the toggle buttons, from the menu icon list: process manager, options, task list.
constexpr int kToggleGlyphs[3] = {16, 0, 11};

}  // namespace

void TForm1::CreateForm(int number) {
  WriteLog("  %s:%d Form %d", "TForm1::CreateForm", __LINE__, number);
  if (!ValidNumber(number) || Slots[number]) return;
  const WindowCreator& creator = services_.windows[static_cast<std::size_t>(number)];
  if (!creator) return;
  EnsureMenuIcons();  // the windows use the clock's menu and status icons
  std::unique_ptr<ui::Form> window = creator(*this);
  if (!window) return;
  ui::Form& created = *window;
  // The slot is filled before the window's OnCreate runs, so that its creation may already use
  // PlaceNearClock and the slots.
  Slots[number] = &created;
  // The application keeps the window object (its destruction is then deferred past every
  // running handler); the clock keeps the slot, and the application destroys what is still open
  // together with the clock.
  App().Adopt(std::move(window));
  // However the window goes (DeleteFormA, its own close, the end of the program), its slot must
  // not point at it any more, whatever the window does with its own OnDestroy.
  std::weak_ptr<TForm1*> owner = SlotOwner;
  created.WatchDestruction([owner, number](ui::Form& gone) {
    auto alive = owner.lock();
    if (!alive) return;
    TForm1& clock = **alive;
    if (clock.Slots[number] == &gone) clock.Slots[number] = nullptr;
    if (number < static_cast<int>(clock.Toggled.size()) && clock.Toggled[number] == &gone)
      clock.Toggled[number] = nullptr;
  });
}

void TForm1::DeleteFormA(int number) {
  WriteLog("  %s:%d Form %d", "TForm1::DeleteFormA", __LINE__, number);
  if (!ValidNumber(number)) return;
  ui::Form* window = Slots[number];
  Slots[number] = nullptr;
  if (number < static_cast<int>(Toggled.size())) Toggled[number] = nullptr;
  // Release destroys the window once control has left its handlers, so a window may ask for
  // this from its own close handler.
  if (window) window->Release();
}

void TForm1::ShowSecondary(int number) {
  if (!ValidNumber(number) || !Slots[number]) return;
  Slots[number]->Show();
  Slots[number]->BringToFront();
}

void TForm1::PlaceNearClock(ui::Form& window) {
  ui::Screen& screen = App().GetScreen();
  const WindowBox placed =
      vm::PlaceNearClock({window.Left(), window.Top(), window.Width(), window.Height()},
                         {Left(), Top(), Width(), Height()}, screen.Width(), screen.Height());
  window.SetBounds(placed.left, placed.top, placed.width, placed.height);
}

void TForm1::MyClick(ui::Control& sender) {
  WriteLog("  %s:%d", "TForm1::MyClick", __LINE__);
  const auto index = sender.Tag();
  if (!TopButtons || index < 0 || index >= TopButtons->Count()) return;
  const theme::DBut* button = TopButtons->Button(static_cast<int>(index));
  if (!button) return;
  const int number = static_cast<int>(index);
  if (!button->Down()) {
    DeleteFormA(number);
  } else {
    CreateForm(number);
    ShowSecondary(number);
  }
}

void TForm1::BuildButtons() {
  // A group gives its images' mouse events back when it goes: the old one must be gone before
  // the new one takes them over.
  TopButtons.reset();
  CaptionButtons.reset();
  TopButtons = std::make_unique<theme::DGroupButs>(std::initializer_list<ui::Image*>{&TopP, &TopA, &TopH},
                                                   *this, &MenuIcons, ImL1);
  for (int i = 0; i < TopButtons->Count(); ++i) {
    theme::DBut* button = TopButtons->Button(i);
    button->SetLatching(true);
    button->SetGlyphIndex(kToggleGlyphs[i]);
    button->DrawFrame(theme::DBut::kFrameNormal);
  }
  CaptionButtons = std::make_unique<theme::DGroupButs>(std::initializer_list<ui::Image*>{&MinP, &OffP},
                                                       *this, nullptr, ImL2);
  const char* captions[2] = {"_", "x"};
  for (int i = 0; i < CaptionButtons->Count(); ++i) {
    theme::DBut* button = CaptionButtons->Button(i);
    button->SetCaption(captions[i]);  // drawn in the default text colour
    button->DrawFrame(theme::DBut::kFrameNormal);
  }
}

}  // namespace vm
