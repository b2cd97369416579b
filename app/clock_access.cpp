// The clock with the keyboard alone and with a screen reader: the tab order of its buttons, its
// menu on the Menu key and Shift+F10, and what readers are told (the time and date as the clock
// face's value, names of the buttons from the language texts).

#include "app/main_form.h"

namespace vm {

namespace {

// The English defaults of the language texts that name the buttons.
constexpr const char* kToggleNames[3] = {"Processes", "Options", "Task List"};  // L1.1, L1.6, L1.7
constexpr const char* kMinPName = "Hide to the notification area";            // L1.80
constexpr const char* kOffPName = "Close";                                     // L1.81

}  // namespace

void TForm1::WireAccess() {
  // Left to right: the program name, the two caption buttons at the top, the three toggles.
  SetTabSequence({&VML, &MinP, &OffP, &TopP, &TopA, &TopH});
  ui::Image* toggles[3] = {&TopP, &TopA, &TopH};
  for (int i = 0; i < 3; ++i) toggles[i]->SetHint(kToggleNames[i]);
  ApplyAccessNames();
}

void TForm1::ApplyAccessNames() {
  MinP.SetAccessibleName(language_.TextOr("L1.80", kMinPName));
  OffP.SetAccessibleName(language_.TextOr("L1.81", kOffPName));
}

void TForm1::OpenOptMenuByKey() {
  // Below the clock, where the menu does not cover what it is about.
  const ui::Point at = ClientToScreen({0, ClientHeight()});
  OptMenu.Popup(at.x, at.y);
}

void TForm1::DescribeAccessible(ui::AccessInfo& info) const {
  Form::DescribeAccessible(info);
  info.role = ui::AccessRole::Clock;
  info.value = TimeLabel.Caption() + ", " + DaywL.Caption() + " " + DateLabel.Caption();
}

}  // namespace vm
