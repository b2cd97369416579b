#include "ui/toolkit/web_browser.h"

namespace vm::ui {

WebBrowser::WebBrowser(Control& parent, std::string name)
    : WindowedControl(parent, std::move(name)) {
  SetTabStop(false);
}

void WebBrowser::Navigate(const std::string& url, int flags) {
  url_ = url;
  flags_ = flags;
  Push(&WebBrowserPeer::PageChanged);
}

}  // namespace vm::ui
