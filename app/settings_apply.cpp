// Applying the stored settings to the clock window, and the three check items of the clock's
// menu that change a setting.

#include "app/clock_fonts.h"
#include "app/main_form.h"
#include "core/log.h"

namespace vm {

void TForm1::GetRegistryInfo() {
  SettingsReadReport report = store_.GetRegistryInfo(settings);
  SetColor(settings.FormColor);
  ApplyReadFonts(report);
  SetAlphaBlendValue(settings.AppliedOpacity());
  SetBounds(settings.Left, settings.Top, Width(), Height());
  HideM.SetChecked(settings.Background);
  OntopM.SetChecked(settings.StayOnTop);
  AutostartM.SetChecked(settings.AutoStart);
}

void TForm1::ApplyReadFonts(const SettingsReadReport& report) {
  // The clock font counts only as a pair of records; FontLog alone leaves the design fonts.
  if (report.clockFont) {
    ApplyClockFont(report.clockFont->dialog, report.clockFont->logFont);
  } else if (!report.fontLogRead) {
    SetFontColor(settings.FontColor);
  }
  ApplyFontColour(settings.FontColor);
  if (report.displayFont) {
    BufLab.SetFont(FontFromLogFont(report.displayFont->logFont, report.displayFont->dialog.Color,
                                   services_.codec));
  }
}

void TForm1::AutostartMClick(ui::MenuItem&) {
  settings.AutoStart = !settings.AutoStart;
  if (!store_.SetAutostart(settings)) {
    // The Run entry could not follow (no Run key, no rights, no program path). Going back keeps
    // the setting and the check mark true to what the next logon does.
    WriteLog(" Autostart not changed");
    settings.AutoStart = !settings.AutoStart;
    store_.SetAutostart(settings);
  }
  AutostartM.SetChecked(settings.AutoStart);
}

void TForm1::HideMClick(ui::MenuItem&) { HideM.SetChecked(store_.ToggleBackground(settings)); }

void TForm1::OntopMClick(ui::MenuItem&) {
  SetTopMost(!settings.StayOnTop);
  Show();
  OntopM.SetChecked(store_.ToggleStayOnTop(settings));
}

}  // namespace vm
