#pragma once
// LoadTheme: the main window's operation that takes the button frames and the clock's
// background from the active visual style, then lets the secondary windows take theirs.

#include <functional>
#include <memory>
#include <vector>

#include "platform/services.h"
#include "platform/theme_source.h"
#include "theme/visual_style.h"
#include "ui/toolkit/graphic_controls.h"
#include "ui/toolkit/image_list.h"

namespace vm::theme {

// Theme bitmap names.
inline constexpr const char* kToolbarButtonsBitmap = "EXPLORERBARTOOLBARBUTTONS";
inline constexpr const char* kComboButtonBitmap = "COMBOBUTTON";
inline constexpr const char* kTaskBandButtonBitmap = "TASKBANDBUTTONVERTICAL";
inline constexpr const char* kTaskbarBackgroundBitmap = "TASKBARBACKGROUND";
inline constexpr const char* kToolbarBackgroundBitmap = "TOOLBARBACKGROUND";
inline constexpr int kImL1Frames = 6;
inline constexpr int kImL2Frames = 4;
inline constexpr int kImL3Frames = 6;

// What LoadTheme works on: the main window's lists, record and clock background, and the
// services the record is created with.
struct ThemeTargets {
  Registry& registry;
  ThemeSource& source;
  // Created by the first LoadTheme; owned by the main window.
  std::unique_ptr<VisualStyle>& style;
  ui::ImageList& ImL1;
  ui::ImageList& ImL2;
  ui::ImageList& ImL3;
  // The clock window's background band (Image1).
  ui::Image& Image1;
};

// Which targets a LoadTheme gave pictures of the visual style.
struct LoadedPictures {
  bool ImL1 = false;
  bool ImL2 = false;
  bool ImL3 = false;
  bool Image1 = false;
};

// Loads the strips and the clock background from the visual style. Without a visual-style file
// nothing changes; a strip or picture the file lacks keeps what the list or image shows (the
// built-in pictures). Then calls `applyTheme` in order - the alarm window, the task editor, the
// options window, the process manager, the task list - skipping empty entries (the windows that
// do not exist).
LoadedPictures LoadTheme(ThemeTargets& targets, const std::vector<std::function<void()>>& applyTheme);

}  // namespace vm::theme
