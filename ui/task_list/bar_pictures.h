#pragma once
// The title bars of the task list's details boxes and their open/close buttons, drawn in memory
// for systems whose shell style file does not provide them (every system since Vista).

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/image_list.h"

namespace vm {

inline constexpr int kBarWidth = 161;
inline constexpr int kBarHeight = 25;
inline constexpr int kBarButtonSize = 21;
inline constexpr int kBarButtonPictures = 8;

// A box title bar, 161 x 25, rounded at the top; its pixel (0, 0) is the colour to leave out.
ui::Bitmap BuiltinBarPicture();
// Eight 21 x 21 button pictures: 0 and 1 "close the box" (normal), 2 and 3 "open the box",
// 4 and 5 "close" hot and pressed, 6 and 7 "open" pressed and hot. The list is emptied first.
void FillBuiltinBarButtons(ui::ImageList& list);

}  // namespace vm
