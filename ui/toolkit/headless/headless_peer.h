#pragma once
// The headless backend's control peers: one class per control kind (its own file here,
// listed in headless_peers.cpp), each mirroring what its control pushes into the window's
// ControlState, where the tests read it.

#include <memory>

#include "ui/toolkit/headless/headless_backend.h"
#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

// What the backend asks of every headless peer besides the portable interface.
class HeadlessPeerBase {
 public:
  virtual ~HeadlessPeerBase() = default;
  virtual ControlPeer& Portable() = 0;
  // Mirrors the control's whole state once the window exists.
  virtual void ShowAll() = 0;
  // Whether the window is clicked as a button is (HeadlessBackend::ClickControl), and the click.
  virtual bool TakesClicks() const { return false; }
  virtual void Clicked() {}
};

// Where a peer lives: its backend, handle and the state it mirrors.
struct HeadlessPeerSite {
  HeadlessBackend& backend;
  PeerHandle handle;
  HeadlessBackend::ControlState& state;
};

// The common part of a kind's peer: `Interface` is the kind's peer interface, `Kind` the
// control class it serves.
template <class Interface, class Kind>
class HeadlessPeer : public Interface, public HeadlessPeerBase {
 public:
  HeadlessPeer(const HeadlessPeerSite& site, WindowedControl& control)
      : backend_(site.backend), handle_(site.handle), state_(site.state), control_(PeerKind<Kind>(control)) {}

  PeerHandle Handle() const override { return handle_; }
  ControlPeer& Portable() override { return *this; }
  void TextChanged() override {
    Count("TextChanged");
    state_.text = control_.Caption();
  }
  void FontChanged() override { Count("FontChanged"); }
  void BoundsChanged() override { state_.bounds = control_.Bounds(); }
  void ShowAll() override { TextChanged(); }

 protected:
  // Counts the pushes by the name of the peer's method.
  void Count(const char* change) { ++state_.pushes[change]; }
  HeadlessBackend& backend_;
  PeerHandle handle_;
  HeadlessBackend::ControlState& state_;
  Kind& control_;
};

using HeadlessPeerFactory = std::unique_ptr<HeadlessPeerBase>(const HeadlessPeerSite& site, WindowedControl& control);

// The peer factory of a control class; ProgramFault naming the class and the control when
// there is none.
HeadlessPeerFactory* FindHeadlessPeer(const WindowedControl& control);

}  // namespace vm::ui
