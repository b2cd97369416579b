#pragma once
// A list in report style: columns with headers, rows of a caption and sub-items with an
// optional small image, whole-row selection, sorting by a comparison of the window's own.

#include <cstdint>
#include <functional>
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

class ListView : public WindowedControl {
 public:
  ListView(Control& parent, std::string name);

  // ---- columns ----
  const std::vector<ListColumn>& Columns() const { return columns_; }
  int AddColumn(const ListColumn& column);
  void ClearColumns();
  // The width kept inside the column's limits; returns it.
  int SetColumnWidth(int column, int width);

  // ---- items ----
  const std::vector<ListItem>& Items() const { return items_; }
  int ItemCount() const { return static_cast<int>(items_.size()); }
  const ListItem& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  int AddItem(ListItem item);
  void SetItem(int index, ListItem item);
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
  // Sorts the rows by OnCompare (by caption when there is no handler). The sort is stable, so
  // equal rows keep their order; the selected row stays selected.
  void CustomSort(int data = 0);

  ListCompareEvent OnCompare;
  ListColumnClickEvent OnColumnClick;
  ListSelectItemEvent OnSelectItem;

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
  int itemIndex_ = -1;
  bool rowSelect_ = true;
  const ImageList* smallImages_ = nullptr;
};

}  // namespace vm::ui
