#include "ui/toolkit/timer.h"

#include <algorithm>

#include "ui/toolkit/application.h"
#include "ui/toolkit/backend.h"
#include "ui/toolkit/form.h"

namespace vm::ui {

Timer::Timer(Form& owner, const char* name) : owner_(&owner), name_(name) {
  owner_->timers_.push_back(this);
  Update();
}

Timer::~Timer() {
  if (!owner_) return;
  if (peer_) owner_->App().GetBackend().StopTimer(peer_);
  auto& timers = owner_->timers_;
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (peer_ && owner_) owner_->App().GetBackend().StopTimer(peer_);
  peer_ = 0;
  Update();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void Timer::Update() {
  if (!owner_) return;
  const bool wanted = enabled_ && interval_ > 0 && owner_->IsRealized() && !owner_->destroying_;
  Backend& backend = owner_->App().GetBackend();
  if (!wanted) {
    if (peer_) backend.StopTimer(peer_);
    peer_ = 0;
    return;
  }
  if (!peer_) peer_ = backend.StartTimer(*this, interval_);
}

void Timer::PeerTick() {
  if (ticking_ || !peer_ || !OnTimer || !owner_) return;
  Application::DispatchScope scope(owner_->App());
  ticking_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{ticking_};
  auto handler = OnTimer;
  handler(*this);
}

}  // namespace vm::ui
