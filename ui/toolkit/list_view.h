#pragma once
// A list in report style: columns with headers, rows of a caption and sub-items with an
// optional small image, whole-row selection, sorting by a comparison of the window's own.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

class ImageList;

enum class TextAlign : std::uint8_t { Left, Right, Center };

struct ListColumn {
  std::string caption;
  int width = 80;
  int minWidth = 0;  // 0: no limit
  int maxWidth = 0;  // 0: no limit
  TextAlign align = TextAlign::Left;
};

struct ListItem {
  std::string caption;
  std::vector<std::string> subItems;
  int imageIndex = -1;
  std::int64_t data = 0;  // the owner's value (a process id, a record number)
};

// `compare` < 0 puts item1 first. `data` is the value handed to CustomSort.
using ListCompareEvent =
    std::function<void(Control& sender, const ListItem& item1, const ListItem& item2, int data, int& compare)>;
using ListColumnClickEvent = std::function<void(Control& sender, int column)>;
using ListSelectItemEvent = std::function<void(Control& sender, int index, bool selected)>;

// What a list view tells its window. A change of one row comes as such, so that the window
// keeps its scroll position, its selection (which it moves along with the rows, as the list
// view does) and its picture; a window whose rows do not fit the change takes all rows again.
class ListViewPeer : public ControlPeer {
 public:
  virtual void ColumnsChanged() = 0;
  // All rows are new (and the small images may be).
  virtual void RowsChanged() = 0;
  virtual void RowInserted(int index) = 0;
  virtual void RowDeleted(int index) = 0;
  // A row's texts or image; `column` >= 0: only that text (0 the caption, n sub-item n - 1).
  virtual void RowChanged(int index, int column) = 0;
  virtual void SelectionChanged() = 0;
  // Whole-row selection or the small images.
  virtual void StyleChanged() = 0;
};

class ListView : public WindowedControl {
 public:
  ListView(Control& parent, const char* name);
  static constexpr ControlClass kClass{"ListView"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }

  // ---- columns ----
  const std::vector<ListColumn>& Columns() const { return columns_; }
  int AddColumn(const ListColumn& column);
  void ClearColumns();
  // The width kept inside the column's limits; returns it.
  int SetColumnWidth(int column, int width);
  // Nothing for a column out of range.
  void SetColumnCaption(int column, const std::string& caption);

  // ---- items ----
  const std::vector<ListItem>& Items() const { return items_; }
  int ItemCount() const { return static_cast<int>(items_.size()); }
  const ListItem& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  // Appends the row, or with Sorted() inserts it where OnCompare puts it (after the rows it
  // compares equal to). Returns its index. The selection stays on its row.
  int AddItem(ListItem item);
  // Inserts the row at `index` (clamped to 0 .. ItemCount()); the selection stays on its row.
  int InsertItem(int index, ListItem item);
  void SetItem(int index, ListItem item);
  // One text of a row: 0 the caption, n the sub-item n - 1 (missing sub-items before it are
  // added empty). Nothing for a row out of range or when the text is already the same.
  void SetItemText(int index, int column, const std::string& text);
  void SetItemImage(int index, int imageIndex);
  // The owner's value of a row; the window shows nothing of it.
  void SetItemData(int index, std::int64_t data);
  void DeleteItem(int index);
  // Replaces all rows at once (the selection is cleared).
  void SetItems(std::vector<ListItem> items);
  void Clear() { SetItems({}); }

  // ---- selection ----
  // -1: none. In code: no event; out-of-range values select nothing.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool on);
  const ImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(const ImageList* images);

  // ---- sorting ----
  // New rows take their place by OnCompare (by caption without a handler).
  bool Sorted() const { return sorted_; }
  void SetSorted(bool on) { sorted_ = on; }
  // Sorts the rows by OnCompare (by caption when there is no handler). The sort is stable, so
  // equal rows keep their order; the selected row stays selected.
  void CustomSort(int data = 0);

  ListCompareEvent OnCompare;
  ListColumnClickEvent OnColumnClick;
  ListSelectItemEvent OnSelectItem;
  // OnMouseDown (of Control) reports presses of either button on the rows, after the window
  // has moved its selection to the row under the pointer.

  // ---- entry points of the backend ----
  void PeerColumnClicked(int column);
  // The user selected a row (-1: the selection went away): ItemIndex first, then OnSelectItem.
  void PeerItemSelected(int index);
  // The user dragged a column border; returns the width kept (within the limits).
  int PeerColumnResized(int column, int width);
  void PeerDoubleClick();

 private:
  std::vector<ListColumn> columns_;
  std::vector<ListItem> items_;
  bool sorted_ = false;
  int itemIndex_ = -1;
  bool rowSelect_ = true;
  const ImageList* smallImages_ = nullptr;
};

}  // namespace vm::ui
