#pragma once
// A grid of text cells drawn by portable code on the canvas; its window only reports paint,
// mouse and keys. Fixed rows and columns stay in place; the rest scrolls by whole rows.

#include <functional>
#include <string>
#include <vector>

#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

struct GridDrawState {
  bool selected = false;
  bool focused = false;
  bool fixed = false;
};

using DrawCellEvent = std::function<void(Control& sender, int col, int row, const Rect& rect, GridDrawState state)>;
using SelectCellEvent = std::function<void(Control& sender, int col, int row, bool& canSelect)>;

class StringGrid : public WindowedControl {
 public:
  StringGrid(Control& parent, const char* name);

  // ---- shape ----
  int ColCount() const { return static_cast<int>(colWidths_.size()); }
  // Counts are at least 1; cells beyond a shrunk count are dropped, new cells are empty.
  void SetColCount(int count);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int count);
  int FixedRows() const { return fixedRows_; }
  // Fewer than the rows (at least one row stays selectable).
  void SetFixedRows(int count);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int count);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int width);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int height);
  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  // Lets the user drag column borders in the fixed rows.
  bool ColSizing() const { return colSizing_; }
  void SetColSizing(bool on) { colSizing_ = on; }
  // When on, the grid fills each cell and writes its text before OnDrawCell.
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool on) { defaultDrawing_ = on; Invalidate(); }
  // Selecting highlights the whole row.
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool on) { rowSelect_ = on; Invalidate(); }
  Color FixedColor() const { return fixedColor_; }
  void SetFixedColor(Color c) { fixedColor_ = c; Invalidate(); }
  Color GridLineColor() const { return gridLineColor_; }
  void SetGridLineColor(Color c) { gridLineColor_ = c; Invalidate(); }

  // ---- content ----
  // Out-of-range cells read as empty and ignore writes.
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);
  // Appends a row and returns its index.
  int AddRow(const std::vector<std::string>& cells = {});

  // ---- selection and scrolling ----
  int Col() const { return col_; }
  int Row() const { return row_; }
  // In code: no OnSelectCell; out-of-range or fixed cells are ignored. Scrolls it into view.
  void SetSelected(int col, int row);
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  // The first column shown right of the fixed columns (horizontal scrolling).
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int col);
  // Rows that fit below the fixed rows (above a horizontal scroll bar when there is one).
  int VisibleRowCount() const;
  // Columns that fit right of the fixed columns from LeftCol on (at least one).
  int VisibleColCount() const;
  // Which scroll bars the window shows when the cells do not fit (both by default).
  bool VerticalScrollBar() const { return vScroll_; }
  bool HorizontalScrollBar() const { return hScroll_; }
  void SetScrollBars(bool vertical, bool horizontal) { vScroll_ = vertical; hScroll_ = horizontal; Invalidate(); }
  // Whether the columns, or the rows, are more than the grid shows.
  bool ColumnsOverflow() const;
  bool RowsOverflow() const;

  // ---- geometry ----
  // The cell's rectangle in client coordinates (empty when scrolled out of view).
  Rect CellRect(int col, int row) const;
  // The cell at a client point; false when there is none.
  bool CellAt(Point p, int& col, int& row) const;

  // The canvas the grid is being painted on, for OnDrawCell (nullptr outside a paint).
  Canvas* PaintCanvas() const { return paintCanvas_; }

  // What screen readers read for a cell the window draws as pictures (an icon column); unset or
  // empty: the cell's text.
  std::function<std::string(int col, int row)> AccessibleCellText;
  // Rows are the grid's items and cells their parts; a data cell is described by its column's
  // caption (the first fixed row).
  int AccessibleItemCount(int item) const override;
  AccessInfo AccessibleItem(int item, int sub) const override;
  // Selects the cell (a row: its first cell that can be selected), as a click does.
  bool AccessibleItemAction(int item, int sub) override;
  bool AccessibleFocusedItem(int& item, int& sub) const override;

  DrawCellEvent OnDrawCell;
  // Asked before the user's selection moves; `canSelect` false keeps the old cell.
  SelectCellEvent OnSelectCell;

  // A user's choice of a cell (click or key): OnSelectCell may refuse; true when selected.
  bool UserSelect(int col, int row);

  void PeerMouseDown(MouseButton button, ShiftState shift, Point p) override;
  void PeerMouseMove(ShiftState shift, Point p) override;
  void PeerMouseUp(MouseButton button, ShiftState shift, Point p) override;
  void PeerDoubleClick(ShiftState shift, Point p) override;
  // Three rows a notch; the selection stays where it is.
  void PeerMouseWheel(ShiftState shift, int delta, Point p) override;
  void PeerScroll(bool vertical, ScrollCommand command, int pos) override;
  // Rows (vertical) and columns (horizontal) below and right of the fixed ones.
  bool ScrollBarRange(bool vertical, ScrollRange& range) const override;

  // Room a scroll bar takes from the cells.
  static constexpr int kScrollBarSize = 17;

 protected:
  void PaintFace(Canvas& canvas) override;
  void HandleKey(KeyCode key, ShiftState shift) override;
  void DescribeAccessible(AccessInfo& info) const override;
  // Screen readers follow the focused cell.
  void FocusChanged(bool focused) override;

 private:
  int RowTop(int row) const;
  // The column whose right border is at `x` in the fixed rows (-1: none).
  int BorderAt(Point p) const;
  void ScrollIntoView(int col, int row);
  int FixedWidth() const;
  int ColLeft(int col) const;  // -1: scrolled out of view
  std::string CellName(int col, int row) const;
  std::vector<int> colWidths_;
  int rowCount_ = 5;
  int fixedRows_ = 1;
  int fixedCols_ = 0;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  bool colSizing_ = false;
  bool defaultDrawing_ = true;
  bool rowSelect_ = false;
  Color fixedColor_ = clBtnFace;
  Color gridLineColor_ = clSilver;
  std::vector<std::vector<std::string>> cells_;  // [row][col]
  int col_ = 0;
  int row_ = 1;
  int topRow_ = 1;
  int leftCol_ = 0;
  bool vScroll_ = true;
  bool hScroll_ = true;
  Canvas* paintCanvas_ = nullptr;
  int sizingCol_ = -1;
  int sizingStartX_ = 0;
  int sizingStartWidth_ = 0;
};

}  // namespace vm::ui
