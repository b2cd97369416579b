// The headless backend's table of control peers, one line per control kind (each peer is in
// its own file here) and the creation of a control's peer.
#include <iterator>
#include "core/program_fault.h"
#include <utility>

#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/list_view.h"
#include "ui/toolkit/page_control.h"
#include "ui/toolkit/range_controls.h"
#include "ui/toolkit/std_controls.h"
#include "ui/toolkit/web_browser.h"

namespace vm::ui {

HeadlessPeerFactory MakeHeadlessButtonPeer, MakeHeadlessCheckBoxPeer, MakeHeadlessEditPeer, MakeHeadlessComboBoxPeer,
    MakeHeadlessStatusBarPeer, MakeHeadlessTrackBarPeer, MakeHeadlessUpDownPeer, MakeHeadlessPageControlPeer,
    MakeHeadlessListViewPeer, MakeHeadlessCustomPeer, MakeHeadlessWebBrowserPeer;

namespace {

// A memo mirrors as an edit does, a colour box as a combo box.
const std::pair<const ControlClass*, HeadlessPeerFactory*> kPeers[] = {
    {&Button::kClass, &MakeHeadlessButtonPeer},
    {&CheckBox::kClass, &MakeHeadlessCheckBoxPeer},
    {&Edit::kClass, &MakeHeadlessEditPeer},
    {&Memo::kClass, &MakeHeadlessEditPeer},
    {&ComboBox::kClass, &MakeHeadlessComboBoxPeer},
    {&ColorBox::kClass, &MakeHeadlessComboBoxPeer},
    {&StatusBar::kClass, &MakeHeadlessStatusBarPeer},
    {&TrackBar::kClass, &MakeHeadlessTrackBarPeer},
    {&UpDown::kClass, &MakeHeadlessUpDownPeer},
    {&PageControl::kClass, &MakeHeadlessPageControlPeer},
    {&ListView::kClass, &MakeHeadlessListViewPeer},
    {&WindowedControl::kClass, &MakeHeadlessCustomPeer},
    {&WebBrowser::kClass, &MakeHeadlessWebBrowserPeer},
};

}  // namespace

HeadlessPeerFactory* FindHeadlessPeer(const WindowedControl& control) {
  const ControlClass& wanted = control.PeerClass();
  for (const auto& [cls, make] : kPeers)
    if (cls == &wanted) return make;
  throw ProgramFault(std::string("no headless peer for control class '") + (wanted.name ? wanted.name : "") +
                         "' of control '" + control.Name() + "'");
}

ControlPeer* HeadlessBackend::CreateControlPeer(WindowedControl& control) {
  HeadlessPeerFactory* make = FindHeadlessPeer(control);
  const PeerHandle id = nextPeer_++;
  ControlState& state = controls_[id];
  state.control = &control;
  state.peerClass = control.PeerClass().name;
  state.parent = control.Parent()->WindowedAncestor().Peer();
  state.bounds = control.Bounds();
  state.visible = control.Visible();
  state.enabled = control.Enabled();
  std::unique_ptr<HeadlessPeerBase> peer;
  try {
    peer = make(HeadlessPeerSite{*this, id, state}, control);
    peer->ShowAll();
  } catch (...) {
    controls_.erase(id);
    throw;
  }
  state.pushes.clear();  // creation is no update
  state.rowRebuilds = 0;
  ui::ControlPeer& portable = peer->Portable();
  peers_[id] = std::move(peer);
  return &portable;
}

}  // namespace vm::ui
