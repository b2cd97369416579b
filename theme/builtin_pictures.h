#pragma once
// The program's own pictures, drawn in memory: the button frames of the image lists ImL1, ImL2
// and ImL3, the small pictures of AddList and the background bands. They are what the windows
// show until a visual style provides its own (and what stays when it does not).

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/image_list.h"

namespace vm::theme {

// ImL1 and ImL3: frames 20 x 23; ImL2: the caption buttons' frames 14 x 14.
inline constexpr int kButtonFrameWidth = 20;
inline constexpr int kButtonFrameHeight = 23;
inline constexpr int kCaptionFrameSize = 14;
// Frames of ImL1 and ImL3, in order.
enum ButtonFrame { kFrameNormal, kFrameHot, kFramePressed, kFrameDisabled, kFrameFocused,
                   kFrameDefault, kButtonFrameCount };
// Frames of ImL2, in order.
enum CaptionFrame { kCaptionNormal, kCaptionHot, kCaptionPressed, kCaptionDisabled,
                    kCaptionFrameCount };

// AddList: 16 x 16 pictures.
inline constexpr int kAddListSize = 16;
enum AddListPicture {
  kPictureUnchecked,  // an inactive task, an unchecked item
  kPictureMixed,      // neither on nor off
  kPictureChecked,    // an active task, a checked item
  kPictureCross,      // removed or failed
  kPicturePlay,
  kPictureStop,
  kPicturePause,
  kPictureClock,      // a timed task
  kPictureSortDown,   // the sort column's arrow in a grid header
  kPictureSortUp,
  kAddListCount
};

// The lists are masked: the pictures' corners and surroundings are transparent. A list is
// emptied and given its size first.
void FillBuiltinImL1(ui::ImageList& list);
void FillBuiltinImL2(ui::ImageList& list);
void FillBuiltinImL3(ui::ImageList& list);
// Background colour: the button face, so a picture taken out with GetBitmap fits a window and
// its pixel (1, 1) names the colour to leave out when it is drawn transparently.
void FillBuiltinAddList(ui::ImageList& list);

// The clock window's background band (262 x 30, shown stretched).
ui::Bitmap BuiltinClockBackground();
// The tool-bar band of the task list and the process manager (535 x 49, shown stretched).
ui::Bitmap BuiltinToolbarBackground();

}  // namespace vm::theme
