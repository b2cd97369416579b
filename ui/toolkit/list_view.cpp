#include "ui/toolkit/list_view.h"

#include <algorithm>
#include <numeric>

#include "ui/toolkit/application.h"

namespace vm::ui {

ListView::ListView(Control& parent, const char* name) : WindowedControl(parent, name) {
  SetColor(clWindow);
}

namespace {
int Limit(const ListColumn& c, int width) {
  width = std::max(width, 0);
  if (c.minWidth > 0) width = std::max(width, c.minWidth);
  if (c.maxWidth > 0) width = std::min(width, std::max(c.maxWidth, c.minWidth));
  return width;
}
}  // namespace

int ListView::AddColumn(const ListColumn& column) {
  columns_.push_back(column);
  columns_.back().width = Limit(column, column.width);
  Push(&ListViewPeer::ColumnsChanged);
  return static_cast<int>(columns_.size()) - 1;
}

void ListView::ClearColumns() {
  columns_.clear();
  Push(&ListViewPeer::ColumnsChanged);
}

int ListView::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= static_cast<int>(columns_.size())) return 0;
  ListColumn& c = columns_[static_cast<std::size_t>(column)];
  c.width = Limit(c, width);
  Push(&ListViewPeer::ColumnsChanged);
  return c.width;
}

void ListView::SetColumnCaption(int column, const std::string& caption) {
  if (column < 0 || column >= static_cast<int>(columns_.size())) return;
  columns_[static_cast<std::size_t>(column)].caption = caption;
  Push(&ListViewPeer::ColumnsChanged);
}

int ListView::AddItem(ListItem item) {
  int at = ItemCount();
  if (sorted_) {
    auto handler = OnCompare;
    // After the last row that does not sort after the new one: equal rows keep their order.
    auto it = std::upper_bound(items_.begin(), items_.end(), item, [&](const ListItem& a, const ListItem& b) {
      int compare = 0;
      if (handler) handler(*this, a, b, 0, compare);
      else compare = a.caption.compare(b.caption);
      return compare < 0;
    });
    at = static_cast<int>(it - items_.begin());
  }
  return InsertItem(at, std::move(item));
}

int ListView::InsertItem(int index, ListItem item) {
  index = std::clamp(index, 0, ItemCount());
  items_.insert(items_.begin() + index, std::move(item));
  // The window moves its selection along with the rows, as this does.
  if (itemIndex_ >= index) ++itemIndex_;
  Push(&ListViewPeer::RowInserted, index);
  return index;
}

void ListView::SetItem(int index, ListItem item) {
  if (index < 0 || index >= ItemCount()) return;
  items_[static_cast<std::size_t>(index)] = std::move(item);
  Push(&ListViewPeer::RowChanged, index, -1);
}

void ListView::SetItemText(int index, int column, const std::string& text) {
  if (index < 0 || index >= ItemCount() || column < 0) return;
  ListItem& row = items_[static_cast<std::size_t>(index)];
  if (column == 0) {
    if (row.caption == text) return;
    row.caption = text;
  } else {
    const auto sub = static_cast<std::size_t>(column - 1);
    if (sub < row.subItems.size() && row.subItems[sub] == text) return;
    if (row.subItems.size() <= sub) row.subItems.resize(sub + 1);
    row.subItems[sub] = text;
  }
  Push(&ListViewPeer::RowChanged, index, column);
}

void ListView::SetItemImage(int index, int imageIndex) {
  if (index < 0 || index >= ItemCount()) return;
  ListItem& row = items_[static_cast<std::size_t>(index)];
  if (row.imageIndex == imageIndex) return;
  row.imageIndex = imageIndex;
  Push(&ListViewPeer::RowChanged, index, -1);
}

void ListView::SetItemData(int index, std::int64_t data) {
  if (index >= 0 && index < ItemCount()) items_[static_cast<std::size_t>(index)].data = data;
}

void ListView::DeleteItem(int index) {
  if (index < 0 || index >= ItemCount()) return;
  items_.erase(items_.begin() + index);
  // The window drops or moves its selection with the row, as this does: no state to push.
  if (itemIndex_ == index) itemIndex_ = -1;
  else if (itemIndex_ > index) --itemIndex_;
  Push(&ListViewPeer::RowDeleted, index);
}

void ListView::SetItems(std::vector<ListItem> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  Push(&ListViewPeer::RowsChanged);
  Push(&ListViewPeer::SelectionChanged);
}

void ListView::SetItemIndex(int index) {
  itemIndex_ = index >= 0 && index < ItemCount() ? index : -1;
  Push(&ListViewPeer::SelectionChanged);
}

void ListView::SetRowSelect(bool on) {
  rowSelect_ = on;
  Push(&ListViewPeer::StyleChanged);
}

void ListView::SetSmallImages(const ImageList* images) {
  smallImages_ = images;
  Push(&ListViewPeer::StyleChanged);
  Push(&ListViewPeer::RowsChanged);
}

void ListView::CustomSort(int data) {
  std::vector<std::size_t> order(items_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  auto handler = OnCompare;  // a handler that replaces itself must not pull the rug
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    int compare = 0;
    if (handler) handler(*this, items_[a], items_[b], data, compare);
    else compare = items_[a].caption.compare(items_[b].caption);
    return compare < 0;
  });
  std::vector<ListItem> sorted;
  sorted.reserve(items_.size());
  int selected = -1;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (static_cast<int>(order[i]) == itemIndex_) selected = static_cast<int>(i);
    sorted.push_back(std::move(items_[order[i]]));
  }
  items_ = std::move(sorted);
  itemIndex_ = selected;
  Push(&ListViewPeer::RowsChanged);
  Push(&ListViewPeer::SelectionChanged);
}

void ListView::PeerColumnClicked(int column) {
  Form* form = FormOrNull();
  if (!form || column < 0 || column >= static_cast<int>(columns_.size())) return;
  Application::DispatchScope scope(form->App());
  Fire(EventKind::Click, OnColumnClick, *this, column);
}

void ListView::PeerItemSelected(int index) {
  Form* form = FormOrNull();
  if (!form || PushingToPeer()) return;
  if (index < 0 || index >= ItemCount()) index = -1;
  if (index == itemIndex_) return;
  Application::DispatchScope scope(form->App());
  const int old = itemIndex_;
  itemIndex_ = index;
  if (old >= 0) Fire(EventKind::Change, OnSelectItem, *this, old, false);
  if (index >= 0 && itemIndex_ == index) Fire(EventKind::Change, OnSelectItem, *this, index, true);
}

int ListView::PeerColumnResized(int column, int width) {
  if (column < 0 || column >= static_cast<int>(columns_.size())) return width;
  ListColumn& c = columns_[static_cast<std::size_t>(column)];
  c.width = Limit(c, width);
  return c.width;
}

void ListView::PeerDoubleClick() {
  Form* form = FormOrNull();
  if (!form) return;
  Application::DispatchScope scope(form->App());
  Fire(EventKind::DblClick, OnDblClick, *this);
}

}  // namespace vm::ui
