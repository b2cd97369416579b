// The clock display: the display half of the tick, time and date texts, layout, fonts, colours.

#include "app/main_form.h"
#include "core/date_text.h"

namespace vm {

void TForm1::WireDisplay() {}

void TForm1::DisplayTick() {}

void TForm1::SplitClockTime() {}

void TForm1::ShowClockTime() {}

void TForm1::ShowClockDate() {
  DateTime now = services_.clock.Now();
  DateLabel.SetCaption(services_.locale.ShortDate(now));
  DaywL.SetCaption(language_.Msg("C." + std::to_string(7 + IsoWeekday(now))));
}

void TForm1::SetSize() {}

void TForm1::LoadTheme() {}

std::string TForm1::FormatTaskDate(DateTime value, bool withTime) {
  return vm::FormatTaskDate(value, withTime, language_, services_.locale);
}

}  // namespace vm
