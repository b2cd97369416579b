// The Win32 backend's table of control peers, one line per control kind (each peer is in its
// own file here), and the creation of a control's peer and window.

#include "ui/toolkit/win32/control_peer_win32.h"

#include <iterator>
#include <memory>
#include "core/program_fault.h"
#include <string>
#include <utility>

#include "ui/toolkit/list_view.h"
#include "ui/toolkit/page_control.h"
#include "ui/toolkit/range_controls.h"
#include "ui/toolkit/std_controls.h"
#include "ui/toolkit/web_browser.h"

namespace vm::ui {

namespace win32 {

PeerFactory MakeButtonPeer, MakeCheckBoxPeer, MakeEditPeer, MakeMemoPeer, MakeComboBoxPeer, MakeColorBoxPeer,
    MakeStatusBarPeer, MakeTrackBarPeer, MakeUpDownPeer, MakePageControlPeer, MakeListViewPeer, MakeCustomPeer,
    MakeWebBrowserPeer;

namespace {

const std::pair<const ControlClass*, PeerFactory*> kPeers[] = {
    {&Button::kClass, &MakeButtonPeer},
    {&CheckBox::kClass, &MakeCheckBoxPeer},
    {&Edit::kClass, &MakeEditPeer},
    {&Memo::kClass, &MakeMemoPeer},
    {&ComboBox::kClass, &MakeComboBoxPeer},
    {&ColorBox::kClass, &MakeColorBoxPeer},
    {&StatusBar::kClass, &MakeStatusBarPeer},
    {&TrackBar::kClass, &MakeTrackBarPeer},
    {&UpDown::kClass, &MakeUpDownPeer},
    {&PageControl::kClass, &MakePageControlPeer},
    {&ListView::kClass, &MakeListViewPeer},
    {&WindowedControl::kClass, &MakeCustomPeer},
    {&WebBrowser::kClass, &MakeWebBrowserPeer},
};

PeerFactory* FindPeer(const WindowedControl& control) {
  const ControlClass& wanted = control.PeerClass();
  for (const auto& [cls, make] : kPeers)
    if (cls == &wanted) return make;
  throw ProgramFault(std::string("no Win32 peer for control class '") + (wanted.name ? wanted.name : "") +
                         "' of control '" + control.Name() + "'");
}

}  // namespace

}  // namespace win32

ControlPeer* Win32Backend::CreateControlPeer(WindowedControl& control) {
  win32::PeerFactory* make = win32::FindPeer(control);
  win32::WindowRecord* parent = Record(control.Parent()->WindowedAncestor().Peer());
  if (!parent || parent->dead) return nullptr;
  auto record = std::make_unique<win32::WindowRecord>();
  record->backend = this;
  record->control = &control;
  record->dpi = parent->dpi;
  record->peer = make(*record, control);
  win32::WindowRecord* r = record.release();  // from here on its window's
  if (!win32::CreateControlWindow(*r, parent->hwnd)) return nullptr;
  return &r->peer->Portable();
}

}  // namespace vm::ui
