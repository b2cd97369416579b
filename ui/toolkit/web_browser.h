#pragma once
// An area that shows a web page through the platform's browser control. Where the platform has
// no browser engine the area stays empty (painted in its colour); nothing fails.

#include <string>

#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

class WebBrowserPeer : public ControlPeer {
 public:
  // Shows the control's Url() (nothing for an empty one) and reports through PeerHosted.
  virtual void PageChanged() = 0;
};

class WebBrowser : public WindowedControl {
 public:
  static constexpr ControlClass kClass{"WebBrowser"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }
  // Navigation flags of the platform's browser control.
  static constexpr int kNavNoHistory = 2;

  WebBrowser(Control& parent, const char* name);

  // Shows the page at `url` (a file path or address); it loads once the window exists.
  void Navigate(const std::string& url, int flags = 0);
  const std::string& Url() const { return url_; }
  int NavigateFlags() const { return flags_; }
  // Whether a browser engine shows the page; false until the window reported it, and where the
  // platform has none.
  bool Hosted() const { return hosted_; }

  // The backend reports whether the browser took the page.
  void PeerHosted(bool hosted) { hosted_ = hosted; }

 private:
  std::string url_;
  int flags_ = 0;
  bool hosted_ = false;
};

}  // namespace vm::ui
