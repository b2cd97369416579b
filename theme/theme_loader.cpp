#include "theme/theme_loader.h"

#include "core/log.h"

namespace vm::theme {

LoadedPictures LoadTheme(ThemeTargets& targets, const std::vector<std::function<void()>>& applyTheme) {
  WriteLog("  %s:%d", "TForm1::LoadTheme", 1109);
  if (!targets.style) targets.style = std::make_unique<VisualStyle>(targets.registry, targets.source);
  VisualStyle& style = *targets.style;
  LoadedPictures loaded;
  if (!OpenVisualStyle(style)) return loaded;

  WriteLog(" Loading images...");
  // Every picture comes from the one file just opened: opening it again for each (it is read
  // from disk each time) cost the first frame about 12 ms under Wine, and a theme switched
  // between two pictures could have mixed the pictures of two themes. Each list is emptied and
  // refilled only when its strip is in the file (LoadThemeStrip).
  loaded.ImL1 = StripOfOpenStyle(style, targets.ImL1, kToolbarButtonsBitmap, kImL1Frames);
  loaded.ImL2 = StripOfOpenStyle(style, targets.ImL2, kComboButtonBitmap, kImL2Frames);
  loaded.ImL3 = StripOfOpenStyle(style, targets.ImL3, kTaskBandButtonBitmap, kImL3Frames);
  if (std::optional<ui::Bitmap> background = BitmapOfOpenStyle(style, kTaskbarBackgroundBitmap)) {
    targets.Image1.SetPicture(std::move(*background));
    loaded.Image1 = true;
  }
  WriteLog(" Loading OK  ");

  // A copy: a hook may change the list it was handed in (a window closing itself).
  const std::vector<std::function<void()>> hooks = applyTheme;
  for (const std::function<void()>& hook : hooks)
    if (hook) hook();
  WriteLog(" LoadTheme finished OK ");
  return loaded;
}

}  // namespace vm::theme
