#include "ui/toolkit/string_grid.h"

#include <algorithm>

#include "ui/toolkit/application.h"
#include "ui/toolkit/canvas.h"

namespace vm::ui {

namespace {
const std::string kEmpty;
constexpr int kSizingGrip = 3;  // pixels either side of a column border that start sizing
}  // namespace

StringGrid::StringGrid(Control& parent, const char* name)
    : WindowedControl(parent, name) {
  SetColor(clWindow);
  colWidths_.assign(5, defaultColWidth_);
  cells_.assign(static_cast<std::size_t>(rowCount_), std::vector<std::string>(colWidths_.size()));
}

// ---- shape ----

void StringGrid::SetColCount(int count) {
  count = std::max(count, 1);
  colWidths_.resize(static_cast<std::size_t>(count), defaultColWidth_);
  for (auto& row : cells_) row.resize(static_cast<std::size_t>(count));
  fixedCols_ = std::min(fixedCols_, count - 1);
  col_ = std::clamp(col_, fixedCols_, count - 1);
  leftCol_ = std::clamp(leftCol_, fixedCols_, count - 1);
  Invalidate();
}

void StringGrid::SetRowCount(int count) {
  count = std::max(count, 1);
  rowCount_ = count;
  cells_.resize(static_cast<std::size_t>(count), std::vector<std::string>(colWidths_.size()));
  fixedRows_ = std::min(fixedRows_, count - 1);
  row_ = std::clamp(row_, fixedRows_, count - 1);
  topRow_ = std::clamp(topRow_, fixedRows_, count - 1);
  Invalidate();
}

void StringGrid::SetFixedRows(int count) {
  fixedRows_ = std::clamp(count, 0, rowCount_ - 1);
  row_ = std::max(row_, fixedRows_);
  topRow_ = std::max(topRow_, fixedRows_);
  Invalidate();
}

void StringGrid::SetFixedCols(int count) {
  fixedCols_ = std::clamp(count, 0, ColCount() - 1);
  col_ = std::max(col_, fixedCols_);
  leftCol_ = std::max(leftCol_, fixedCols_);
  Invalidate();
}

void StringGrid::SetDefaultColWidth(int width) {
  defaultColWidth_ = std::max(width, 0);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
  Invalidate();
}

void StringGrid::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = std::max(height, 1);
  Invalidate();
}

int StringGrid::ColWidth(int col) const {
  return col >= 0 && col < ColCount() ? colWidths_[static_cast<std::size_t>(col)] : 0;
}

void StringGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= ColCount()) return;
  colWidths_[static_cast<std::size_t>(col)] = std::max(width, 0);
  Invalidate();
}

// ---- content ----

const std::string& StringGrid::Cell(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= rowCount_) return kEmpty;
  return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void StringGrid::SetCell(int col, int row, const std::string& text) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= rowCount_) return;
  cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
  const Rect r = CellRect(col, row);
  if (!r.IsEmpty()) Invalidate();
}

int StringGrid::AddRow(const std::vector<std::string>& cells) {
  SetRowCount(rowCount_ + 1);
  const int row = rowCount_ - 1;
  for (int c = 0; c < ColCount() && c < static_cast<int>(cells.size()); ++c)
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)] = cells[static_cast<std::size_t>(c)];
  return row;
}

// ---- selection and scrolling ----

int StringGrid::FixedWidth() const {
  int w = 0;
  for (int c = 0; c < fixedCols_; ++c) w += colWidths_[static_cast<std::size_t>(c)];
  return w;
}

bool StringGrid::ColumnsOverflow() const {
  int total = 0;
  for (int w : colWidths_) total += w;
  return hScroll_ && total > Width() - (vScroll_ && RowsOverflow() ? kScrollBarSize : 0);
}

bool StringGrid::RowsOverflow() const {
  // Decided without the horizontal bar, so the two answers never depend on each other.
  return vScroll_ && rowCount_ * defaultRowHeight_ > Height();
}

int StringGrid::VisibleRowCount() const {
  const int free = Height() - (ColumnsOverflow() ? kScrollBarSize : 0) - fixedRows_ * defaultRowHeight_;
  return std::max(free / defaultRowHeight_, 1);
}

int StringGrid::VisibleColCount() const {
  const int room = Width() - (RowsOverflow() ? kScrollBarSize : 0) - FixedWidth();
  int used = 0, count = 0;
  for (int c = leftCol_; c < ColCount(); ++c) {
    used += colWidths_[static_cast<std::size_t>(c)];
    if (used > room) break;
    ++count;
  }
  return std::max(count, 1);
}

void StringGrid::ScrollIntoView(int col, int row) {
  if (row >= fixedRows_) {
    if (row < topRow_) topRow_ = row;
    else if (row >= topRow_ + VisibleRowCount()) topRow_ = row - VisibleRowCount() + 1;
  }
  if (col >= fixedCols_) {
    if (col < leftCol_) leftCol_ = col;
    else
      while (leftCol_ < col && col >= leftCol_ + VisibleColCount()) ++leftCol_;
  }
}

void StringGrid::SetLeftCol(int col) {
  leftCol_ = std::clamp(col, fixedCols_, ColCount() - 1);
  Invalidate();
}

void StringGrid::SetTopRow(int row) {
  const int maxTop = std::max(rowCount_ - VisibleRowCount(), fixedRows_);
  topRow_ = std::clamp(row, fixedRows_, maxTop);
  Invalidate();
}

void StringGrid::SetSelected(int col, int row) {
  if (col < fixedCols_ || col >= ColCount() || row < fixedRows_ || row >= rowCount_) return;
  const bool moved = col != col_ || row != row_;
  col_ = col;
  row_ = row;
  ScrollIntoView(col, row);
  Invalidate();
  if (moved && Focused()) NotifyAccessible(*this, AccessEvent::Focus, row, col);
}

bool StringGrid::UserSelect(int col, int row) {
  if (col < fixedCols_ || col >= ColCount() || row < fixedRows_ || row >= rowCount_) return false;
  Form* form = FormOrNull();
  if (!form) return false;
  Application::DispatchScope scope(form->App());
  bool canSelect = true;
  Fire(EventKind::Change, OnSelectCell, *this, col, row, canSelect);
  if (!canSelect) return false;
  SetSelected(col, row);
  return true;
}

// ---- geometry ----

int StringGrid::RowTop(int row) const {
  if (row < fixedRows_) return row * defaultRowHeight_;
  return (fixedRows_ + row - topRow_) * defaultRowHeight_;
}

int StringGrid::ColLeft(int col) const {
  if (col < fixedCols_) {
    int x = 0;
    for (int c = 0; c < col; ++c) x += colWidths_[static_cast<std::size_t>(c)];
    return x;
  }
  if (col < leftCol_) return -1;
  int x = FixedWidth();
  for (int c = leftCol_; c < col; ++c) x += colWidths_[static_cast<std::size_t>(c)];
  return x;
}

Rect StringGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0 || row >= rowCount_) return {};
  if (row >= fixedRows_ && row < topRow_) return {};
  const int x = ColLeft(col);
  if (x < 0) return {};
  const Rect r = Rect::FromXYWH(x, RowTop(row), colWidths_[static_cast<std::size_t>(col)], defaultRowHeight_);
  return r.top >= Height() ? Rect{} : r;
}

bool StringGrid::CellAt(Point p, int& col, int& row) const {
  if (p.x < 0 || p.y < 0) return false;
  col = -1;
  for (int c = 0; c < ColCount(); ++c) {
    const int x = ColLeft(c);
    if (x < 0) continue;
    if (p.x < x + colWidths_[static_cast<std::size_t>(c)]) {
      col = c;
      break;
    }
  }
  if (col < 0) return false;
  const int line = p.y / defaultRowHeight_;
  row = line < fixedRows_ ? line : topRow_ + line - fixedRows_;
  return row < rowCount_;
}

int StringGrid::BorderAt(Point p) const {
  if (!colSizing_ || p.y >= fixedRows_ * defaultRowHeight_) return -1;
  for (int c = 0; c < ColCount(); ++c) {
    const int left = ColLeft(c);
    if (left < 0) continue;
    const int x = left + colWidths_[static_cast<std::size_t>(c)];
    if (p.x >= x - kSizingGrip && p.x <= x + kSizingGrip) return c;
  }
  return -1;
}

// ---- painting ----

void StringGrid::PaintFace(Canvas& canvas) {
  struct Scope {
    Canvas*& slot;
    ~Scope() { slot = nullptr; }
  } scope{paintCanvas_};
  paintCanvas_ = &canvas;
  canvas.FillRect(ClientRect(), GetColor());
  canvas.SetFont(GetFont());
  for (int row = 0; row < rowCount_; ++row) {
    if (row >= fixedRows_ && row < topRow_) continue;
    if (RowTop(row) >= Height()) break;
    for (int col = 0; col < ColCount(); ++col) {
      const Rect r = CellRect(col, row);
      if (r.IsEmpty()) continue;
      if (r.left >= Width()) break;
      GridDrawState state;
      state.fixed = row < fixedRows_ || col < fixedCols_;
      state.selected = !state.fixed && row == row_ && (rowSelect_ || col == col_);
      state.focused = state.selected && Focused();
      canvas.Save();
      canvas.ClipTo(r);
      if (defaultDrawing_) {
        const Color back = state.fixed ? fixedColor_ : state.selected ? clHighlight : GetColor();
        canvas.FillRect(r, back);
        canvas.SetTextColor(state.selected ? clHighlightText : GetFont().color);
        canvas.SetTransparentText(true);
        const std::string& text = Cell(col, row);
        if (!text.empty()) canvas.TextOut({r.left + 2, r.top + 2}, text);
      }
      canvas.Restore();
      if (OnDrawCell) {
        canvas.Save();
        canvas.ClipTo(r);
        Fire(EventKind::Paint, OnDrawCell, *this, col, row, r, state);
        canvas.Restore();
      }
      // Grid lines on the right and bottom edge of each cell.
      canvas.Line({r.right - 1, r.top}, {r.right - 1, r.bottom}, gridLineColor_);
      canvas.Line({r.left, r.bottom - 1}, {r.right, r.bottom - 1}, gridLineColor_);
    }
  }
}

// ---- input ----

void StringGrid::PeerMouseDown(MouseButton button, ShiftState shift, Point p) {
  WindowedControl::PeerMouseDown(button, shift, p);
  if (button != MouseButton::Left) return;
  if (const int border = BorderAt(p); border >= 0) {
    sizingCol_ = border;
    sizingStartX_ = p.x;
    sizingStartWidth_ = ColWidth(border);
    return;
  }
  int col = 0, row = 0;
  if (CellAt(p, col, row)) UserSelect(col, row);
}

void StringGrid::PeerMouseMove(ShiftState shift, Point p) {
  WindowedControl::PeerMouseMove(shift, p);
  if (sizingCol_ >= 0) SetColWidth(sizingCol_, std::max(sizingStartWidth_ + p.x - sizingStartX_, kSizingGrip * 2));
}

void StringGrid::PeerMouseUp(MouseButton button, ShiftState shift, Point p) {
  WindowedControl::PeerMouseUp(button, shift, p);
  if (button == MouseButton::Left) sizingCol_ = -1;
}

void StringGrid::PeerDoubleClick(ShiftState shift, Point p) {
  // The second press selects like the first, then the double click is reported.
  int col = 0, row = 0;
  if (BorderAt(p) < 0 && CellAt(p, col, row)) UserSelect(col, row);
  WindowedControl::PeerDoubleClick(shift, p);
}

void StringGrid::PeerMouseWheel(ShiftState, int delta, Point) {
  constexpr int kRowsPerNotch = 3;
  const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : delta < 0 ? -1 : 0);
  if (notches != 0) SetTopRow(topRow_ - notches * kRowsPerNotch);
}

void StringGrid::PeerScroll(bool vertical, ScrollCommand command, int pos) {
  const int first = vertical ? fixedRows_ : fixedCols_;
  const int last = vertical ? rowCount_ - 1 : ColCount() - 1;
  const int page = vertical ? VisibleRowCount() : VisibleColCount();
  int at = vertical ? topRow_ : leftCol_;
  switch (command) {
    case ScrollCommand::LineBack: --at; break;
    case ScrollCommand::LineForward: ++at; break;
    case ScrollCommand::PageBack: at -= page; break;
    case ScrollCommand::PageForward: at += page; break;
    case ScrollCommand::Track: at = first + pos; break;
    case ScrollCommand::First: at = first; break;
    case ScrollCommand::Last: at = last; break;
  }
  if (vertical) SetTopRow(at);
  else SetLeftCol(std::clamp(at, first, std::max(first, last - VisibleColCount() + 1)));
}

bool StringGrid::ScrollBarRange(bool vertical, ScrollRange& range) const {
  if (vertical ? !vScroll_ : !hScroll_) return false;
  range.min = 0;
  if (vertical) {
    range.max = std::max(rowCount_ - fixedRows_ - 1, 0);
    range.page = RowsOverflow() ? VisibleRowCount() : range.max + 1;
    range.pos = topRow_ - fixedRows_;
  } else {
    range.max = std::max(ColCount() - fixedCols_ - 1, 0);
    range.page = ColumnsOverflow() ? VisibleColCount() : range.max + 1;
    range.pos = leftCol_ - fixedCols_;
  }
  return true;
}

void StringGrid::HandleKey(KeyCode key, ShiftState) {
  int col = col_, row = row_;
  switch (key) {
    case kKeyUp: --row; break;
    case kKeyDown: ++row; break;
    case kKeyLeft: --col; break;
    case kKeyRight: ++col; break;
    case kKeyPageUp: row -= VisibleRowCount(); break;
    case kKeyPageDown: row += VisibleRowCount(); break;
    case kKeyHome: row = fixedRows_; break;
    case kKeyEnd: row = rowCount_ - 1; break;
    default: return;
  }
  row = std::clamp(row, fixedRows_, rowCount_ - 1);
  col = std::clamp(col, fixedCols_, ColCount() - 1);
  if (col != col_ || row != row_) UserSelect(col, row);
}

// ---- accessibility ----

void StringGrid::DescribeAccessible(AccessInfo& info) const {
  WindowedControl::DescribeAccessible(info);
  info.role = AccessRole::Table;
}

std::string StringGrid::CellName(int col, int row) const {
  if (AccessibleCellText) {
    std::string text = AccessibleCellText(col, row);
    if (!text.empty()) return TrimmedText(text);
  }
  return TrimmedText(Cell(col, row));
}

int StringGrid::AccessibleItemCount(int item) const {
  if (item < 0) return rowCount_;
  return item < rowCount_ ? ColCount() : 0;
}

AccessInfo StringGrid::AccessibleItem(int item, int sub) const {
  AccessInfo info;
  if (item < 0 || item >= rowCount_ || sub >= ColCount()) return info;
  const bool fixedRow = item < fixedRows_;
  if (sub < 0) {
    info.role = AccessRole::Row;
    for (int c = 0; c < ColCount(); ++c) {
      const std::string text = CellName(c, item);
      if (!text.empty()) info.name += (info.name.empty() ? "" : ", ") + text;
      const Rect cell = CellRect(c, item);
      if (cell.IsEmpty()) continue;
      info.bounds = info.bounds.IsEmpty() ? cell
                                          : Rect{std::min(info.bounds.left, cell.left), std::min(info.bounds.top, cell.top),
                                                 std::max(info.bounds.right, cell.right), std::max(info.bounds.bottom, cell.bottom)};
    }
    info.states.selectable = !fixedRow;
    info.states.selected = item == row_;
    info.states.offscreen = info.bounds.IsEmpty();
    if (!fixedRow) info.defaultAction = "Select";
    return info;
  }
  const bool fixed = fixedRow || sub < fixedCols_;
  info.role = fixedRow ? AccessRole::ColumnHeader : AccessRole::Cell;
  info.name = CellName(sub, item);
  if (!fixedRow && fixedRows_ > 0) info.description = CellName(sub, 0);
  info.bounds = CellRect(sub, item);
  info.states.offscreen = info.bounds.IsEmpty();
  info.states.readOnly = true;
  info.states.selectable = !fixed;
  info.states.focusable = !fixed;
  info.states.selected = !fixed && item == row_ && (sub == col_ || rowSelect_);
  info.states.focused = item == row_ && sub == col_ && Focused();
  if (!fixed) info.defaultAction = "Select";
  return info;
}

bool StringGrid::AccessibleItemAction(int item, int sub) {
  if (item < fixedRows_ || item >= rowCount_) return false;
  const int col = sub < 0 ? std::max(col_, fixedCols_) : sub;
  return UserSelect(col, item);
}

bool StringGrid::AccessibleFocusedItem(int& item, int& sub) const {
  if (row_ < fixedRows_ || row_ >= rowCount_ || col_ < 0 || col_ >= ColCount()) return false;
  item = row_;
  sub = col_;
  return true;
}

void StringGrid::FocusChanged(bool focused) {
  if (focused) NotifyAccessible(*this, AccessEvent::Focus, row_, col_);
}

}  // namespace vm::ui
