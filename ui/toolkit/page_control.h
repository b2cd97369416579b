#pragma once
// Tabbed pages: a PageControl shows one of its TabSheets at a time, chosen by its tabs.

#include <functional>
#include <string>
#include <vector>

#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

class PageControl;

// A page; its caption is the text of its tab. Made with its page control as parent.
class TabSheet : public WindowedControl {
 public:
  TabSheet(PageControl& parent, const char* name);
  ~TabSheet() override;
  PageControl& Pages() const { return pages_; }
  int PageIndex() const;

 private:
  PageControl& pages_;
};

using TabChangingEvent = std::function<void(Control& sender, bool& allowChange)>;

class PageControlPeer : public ControlPeer {
 public:
  // Pages added or removed (their captions are the tabs).
  virtual void TabsChanged() = 0;
  virtual void ActivePageChanged() = 0;
  // The tab width.
  virtual void StyleChanged() = 0;
};

class PageControl : public WindowedControl {
 public:
  PageControl(Control& parent, const char* name) : WindowedControl(parent, name) {}
  static constexpr ControlClass kClass{"PageControl"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }
  int PageCount() const { return static_cast<int>(sheets_.size()); }
  TabSheet* Page(int index) const;
  TabSheet* ActivePage() const { return Page(active_); }
  int ActivePageIndex() const { return active_; }
  // In code: the page shows, no event. Out-of-range indices are ignored.
  void SetActivePage(int index);
  void SetActivePage(TabSheet& sheet) { SetActivePage(sheet.PageIndex()); }
  // Fixed width of every tab (0: each as wide as its caption).
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int width);
  // Height of the tab row; the pages fill the rest.
  static constexpr int kTabHeight = 24;
  // The area the pages take, in this control's client coordinates.
  Rect PageRect() const;

  TabChangingEvent OnChanging;

  // The user chose a tab: OnChanging may refuse (the tab goes back), else the page changes and
  // OnChange fires.
  void PeerTabSelected(int index);

 protected:
  void BoundsChanged(const Rect& oldBounds) override;

 private:
  friend class TabSheet;
  void AddSheet(TabSheet& sheet);
  void RemoveSheet(TabSheet& sheet);
  void ShowActive();
  std::vector<TabSheet*> sheets_;
  int active_ = -1;
  int tabWidth_ = 0;
};

}  // namespace vm::ui
