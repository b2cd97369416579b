// The list view's row-by-row updates and row presses against the system's list view.

#include "win32/toolkit_support_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vm::ui::testing {
namespace {

constexpr int kRows = 300;

class RowsForm : public Form {
 public:
  explicit RowsForm(Application& app) : Form(app, "RowsForm") {
    SetClientSize(320, 200);
    List.SetBounds(0, 0, 320, 200);
    List.AddColumn({"Name", 120});
    List.AddColumn({"Seen", 120});
    List.SetSorted(true);
    for (int i = 0; i < kRows; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "row%03d", i);
      List.AddItem({name, {"0"}, i % 2});
    }
    Images.AddIcon(Icon(Bitmap(16, 16, 0xFFFF0000u)));
    Images.AddIcon(Icon(Bitmap(16, 16, 0xFF0000FFu)));
    List.SetSmallImages(&Images);
  }
  ImageList Images{16, 16};
  ListView List{*this, "List"};
};

class ListRowsWin32Test : public Win32ToolkitTest {
 protected:
  void SetUp() override {
    form.Show();
    PumpFor(50);
    list_ = Win32Backend::WindowOf(form.List.Peer());
    ASSERT_NE(list_, nullptr);
  }
  int Top() const { return static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0)); }
  int Selected() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  int Count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
  std::wstring Text(int row, int column) const {
    wchar_t buffer[64] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
  }
  int Image(int row) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  }
  // The user selects a row: the list view's own state change, reported to its parent.
  void UserSelects(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }

  RowsForm form{app};
  HWND list_ = nullptr;
};

TEST_F(ListRowsWin32Test, ARefreshOfEveryRowKeepsTheScrollPositionAndTheSelection) {
  ASSERT_EQ(Count(), kRows);
  SendMessageW(list_, LVM_ENSUREVISIBLE, 150, FALSE);
  const int top = Top();
  ASSERT_GT(top, 100);
  UserSelects(top + 2);
  ASSERT_EQ(form.List.ItemIndex(), top + 2);  // the system's selection reached the portable one

  // A refresh: every row's time changes, two new rows and one going row, all below the view.
  for (int i = 0; i < form.List.ItemCount(); ++i) form.List.SetItemText(i, 1, "12:00:02");
  form.Images.AddIcon(Icon(Bitmap(16, 16, 0xFF00FF00u)));
  form.List.AddItem({"row999", {"new"}, 2});
  form.List.AddItem({"row2995", {"new"}, 2});
  form.List.DeleteItem(kRows - 10);
  PumpFor(50);

  EXPECT_EQ(Top(), top);
  EXPECT_EQ(Selected(), top + 2);
  EXPECT_EQ(form.List.ItemIndex(), top + 2);
  ASSERT_EQ(Count(), form.List.ItemCount());
  for (int i : {0, top, top + 2, Count() - 1}) {
    const ListItem& row = form.List.Item(i);
    EXPECT_EQ(Text(i, 0), std::wstring(row.caption.begin(), row.caption.end())) << i;
    EXPECT_EQ(Text(i, 1), std::wstring(row.subItems[0].begin(), row.subItems[0].end())) << i;
    EXPECT_EQ(Image(i), row.imageIndex) << i;
  }
  // The new picture reached the system's image list with the row that shows it.
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(list_, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 3);
}

TEST_F(ListRowsWin32Test, ARightPressOnARowSelectsItAndReachesOnMouseDown) {
  std::vector<std::pair<MouseButton, int>> presses;  // button, selected row at the time
  form.List.OnMouseDown = [&](Control&, MouseButton button, ShiftState, int, int) {
    presses.push_back({button, form.List.ItemIndex()});
  };
  RECT r{};
  r.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageW(list_, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r)));
  const LPARAM at = MAKELPARAM(r.left + 30, (r.top + r.bottom) / 2);
  // The list view follows the pressed button until it comes up: it is already waiting.
  PostMessageW(list_, WM_RBUTTONUP, 0, at);
  SendMessageW(list_, WM_RBUTTONDOWN, MK_RBUTTON, at);
  PumpFor(50);
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0].first, MouseButton::Right);
  EXPECT_EQ(presses[0].second, 3);
}

}  // namespace
}  // namespace vm::ui::testing
