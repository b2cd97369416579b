// The headless list view: its rows as the window holds them (caption and sub-items joined by
// '|'), counted by how they got there, the selection and the column count. A row change moves
// the selection along with the rows, as the system's list view does.
#include <string>

#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/list_view.h"

namespace vm::ui {

namespace {

std::string RowText(const ListItem& item) {
  std::string text = item.caption;
  for (const std::string& sub : item.subItems) text += "|" + sub;
  return text;
}

class ListViewPeerHeadless final : public HeadlessPeer<ListViewPeer, ListView> {
 public:
  using HeadlessPeer::HeadlessPeer;
  void ColumnsChanged() override {
    Count("ColumnsChanged");
    state_.columnCount = static_cast<int>(control_.Columns().size());
  }
  void RowsChanged() override {
    Count("RowsChanged");
    Rebuild();
  }
  void RowInserted(int index) override {
    Count("RowInserted");
    if (index < 0 || index > Held()) return Rebuild();
    state_.rows.insert(state_.rows.begin() + index, RowText(control_.Item(index)));
    if (state_.index >= index) ++state_.index;
    ++state_.rowInserts;
    state_.itemCount = Held();
  }
  void RowDeleted(int index) override {
    Count("RowDeleted");
    if (index < 0 || index >= Held()) return Rebuild();
    state_.rows.erase(state_.rows.begin() + index);
    if (state_.index == index) state_.index = -1;
    else if (state_.index > index) --state_.index;
    ++state_.rowDeletes;
    state_.itemCount = Held();
  }
  void RowChanged(int index, int column) override {
    Count("RowChanged");
    if (index < 0 || index >= Held()) return Rebuild();
    state_.rows[static_cast<std::size_t>(index)] = RowText(control_.Item(index));
    ++state_.rowUpdates;
  }
  void SelectionChanged() override {
    Count("SelectionChanged");
    state_.index = control_.ItemIndex();
  }
  void StyleChanged() override { Count("StyleChanged"); }
  void ShowAll() override {
    TextChanged();
    StyleChanged();
    ColumnsChanged();
    RowsChanged();
    SelectionChanged();
  }

 private:
  int Held() const { return static_cast<int>(state_.rows.size()); }
  // Every row deleted and added again.
  void Rebuild() {
    state_.rows.clear();
    for (const ListItem& item : control_.Items()) state_.rows.push_back(RowText(item));
    ++state_.rowRebuilds;
    state_.itemCount = Held();
  }
};

}  // namespace

std::unique_ptr<HeadlessPeerBase> MakeHeadlessListViewPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<ListViewPeerHeadless>(site, control);
}

}  // namespace vm::ui
