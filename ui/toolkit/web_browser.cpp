#include "ui/toolkit/web_browser.h"

namespace vm::ui {

WebBrowser::WebBrowser(Control& parent, const char* name)
    : WindowedControl(parent, name) {
  SetTabStop(false);
}

void WebBrowser::Navigate(const std::string& url, int flags) {
  url_ = url;
  flags_ = flags;
  Push(&WebBrowserPeer::PageChanged);
}

}  // namespace vm::ui
