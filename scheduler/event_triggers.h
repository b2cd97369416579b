#pragma once
// System events that start tasks: the subscription to session changes and the start of every
// task waiting for an event.

#include <cstdint>

#include "platform/action_services.h"
#include "platform/services.h"

namespace vm {

class Scheduler;

// Starts every task whose Event holds all bits of `mask`: its time becomes now, moved on by one
// period unless Period is 0 ("Immediately", Period 1 with Cnt 0, keeps now), and it becomes
// scheduled; then the current task is chosen again. A mask of 0 starts nothing.
void UpdateEventTask(Scheduler& scheduler, Clock& clock, std::uint16_t mask);

// The main window's subscription to session-change notifications, from RegisterWts until this
// object dies.
class SessionSubscription {
 public:
  explicit SessionSubscription(SessionNotifications& sessions);
  ~SessionSubscription();
  SessionSubscription(const SessionSubscription&) = delete;
  SessionSubscription& operator=(const SessionSubscription&) = delete;

  // Subscribes `mainWindow`; true when that succeeded. Without the library or its entry points
  // nothing is subscribed and lock, unlock, logon and logoff never arrive.
  bool RegisterWts(WindowId mainWindow);

  // Unsubscribes and frees the library; called by the destructor, harmless twice.
  void Unregister();

 private:
  SessionNotifications& sessions_;
  WindowId window_ = 0;
  bool called_ = false;
};

}  // namespace vm
