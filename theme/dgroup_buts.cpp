#include "theme/dgroup_buts.h"

namespace vm::theme {

DGroupButs::DGroupButs(std::span<ui::Image* const> images, ui::Control& holder,
                       const ui::ImageList* glyphList, const ui::ImageList& frameList) {
  buttons_.reserve(images.size());
  for (ui::Image* image : images) {
    // A missing image keeps its place (no button there), so the indexes of the others stay.
    std::unique_ptr<DBut> button;
    if (image != nullptr) {
      button = std::make_unique<DBut>(*image, holder, glyphList, frameList);
      button->SetTag(static_cast<std::int64_t>(buttons_.size()));
    }
    buttons_.push_back(std::move(button));
  }
}

DBut* DGroupButs::Button(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return buttons_[static_cast<std::size_t>(index)].get();
}

void DGroupButs::Press(int index) {
  DBut* button = Button(index);
  if (button == nullptr) return;
  button->DrawFrame(DBut::kFramePressed);
  button->SetDown(true);
  currentIndex_ = index;
  button->GetImage().Invalidate();
}

void DGroupButs::Release(int index) {
  DBut* button = Button(index);
  if (button == nullptr) return;
  button->DrawFrame(DBut::kFrameNormal);
  button->SetDown(false);
  currentIndex_ = -1;
  button->GetImage().Invalidate();
}

void DGroupButs::Redraw() {
  for (const auto& button : buttons_)
    if (button) button->Redraw();
}

}  // namespace vm::theme
