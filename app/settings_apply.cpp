// Applying the stored settings to the clock window.

#include "app/main_form.h"

namespace vm {

void TForm1::GetRegistryInfo() {
  SettingsReadReport report = store_.GetRegistryInfo(settings);
  (void)report;
  SetAlphaBlendValue(settings.AppliedOpacity());
  SetBounds(settings.Left, settings.Top, Width(), Height());
  HideM.SetChecked(settings.Background);
  OntopM.SetChecked(settings.StayOnTop);
  AutostartM.SetChecked(settings.AutoStart);
}

}  // namespace vm
