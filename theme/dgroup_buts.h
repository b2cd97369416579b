#pragma once
// DGroupButs: the row of themed buttons a window owns, pressed and released by index.

#include <memory>
#include <span>
#include <vector>

#include "theme/dbut.h"

namespace vm::theme {

class DGroupButs {
 public:
  // One button per image, in order; button i gets tag i. The images, the holder and the lists
  // must outlive the group.
  DGroupButs(std::span<ui::Image* const> images, ui::Control& holder,
             const ui::ImageList* glyphList, const ui::ImageList& frameList);
  DGroupButs(std::initializer_list<ui::Image*> images, ui::Control& holder,
             const ui::ImageList* glyphList, const ui::ImageList& frameList)
      : DGroupButs(std::span<ui::Image* const>(images.begin(), images.size()), holder, glyphList,
                   frameList) {}
  DGroupButs(const DGroupButs&) = delete;
  DGroupButs& operator=(const DGroupButs&) = delete;

  int Count() const { return static_cast<int>(buttons_.size()); }
  // The button at `index`; nullptr outside the group or where no image was given.
  DBut* Button(int index) const;
  // The last button pressed through the group; -1 after a release.
  int CurrentIndex() const { return currentIndex_; }

  // Frame 2, down, current index = index. Other buttons are left as they are. An index outside
  // the group does nothing.
  void Press(int index);
  // Frame 0, up, current index = -1.
  void Release(int index);
  // Every button paints again in the state it stands in (new frames, or the system's colours
  // switched to or from a high-contrast scheme).
  void Redraw();

 private:
  std::vector<std::unique_ptr<DBut>> buttons_;
  int currentIndex_ = -1;
};

}  // namespace vm::theme
