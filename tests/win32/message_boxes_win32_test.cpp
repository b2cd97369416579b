// Message boxes shown for real and answered by a second thread, which also checks what the box
// looks like.

#include <thread>
#include <vector>

#include "win32/services_test_support_win32.h"

namespace vm {
namespace {

struct SeenBox {
  bool found = false;
  bool topMost = false;
  std::vector<std::string> texts;  // captions of the box's child windows
};

BOOL CALLBACK CollectText(HWND child, LPARAM seen) {
  wchar_t text[256] = {};
  GetWindowTextW(child, text, 256);
  reinterpret_cast<SeenBox*>(seen)->texts.push_back(WideToUtf8(text));
  return TRUE;
}

// Shows `request` on this thread; a second thread finds the box by its caption and presses `button`.
// If no box appears within 15 s that thread ends the modal loop so that the test cannot hang.
MsgResult ShowAndAnswer(const MessageBoxRequest& request, int button, SeenBox& seen) {
  DWORD mainThread = GetCurrentThreadId();
  std::thread answerer([&] {
    const std::wstring caption = Utf8ToWide(request.caption);
    for (int i = 0; i < 300; ++i) {
      HWND box = FindWindowW(L"#32770", caption.c_str());
      if (box != nullptr && IsWindowVisible(box)) {
        seen.found = true;
        seen.topMost = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&seen));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        return;
      }
      Sleep(50);
    }
    PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
  });
  MsgResult result = Win32MessageBoxes().Show(request);
  answerer.join();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  return result;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  for (const auto& t : texts)
    if (t == text) return true;
  return false;
}

TEST(MessageBoxesTest, ShowsTheTextAndMapsEachAnswer) {
  MessageBoxRequest request;
  request.text = "\xC3\x9C" "berschreiben? \xD0\x96";  // Überschreiben? Ж
  request.caption = win32test::UniqueName("Attention!");
  request.icon = MsgIcon::Question;
  request.buttons = MsgButtons::YesNo;
  SeenBox seen;
  EXPECT_EQ(ShowAndAnswer(request, IDNO, seen), MsgResult::No);
  ASSERT_TRUE(seen.found) << "the message box never appeared";
  EXPECT_TRUE(Contains(seen.texts, request.text));
  EXPECT_FALSE(seen.topMost);

  // A window handle that names no window (its owner was destroyed meanwhile) still gets a box.
  request.owner = 0x7FFF0;
  request.icon = MsgIcon::Warning;
  request.buttons = MsgButtons::YesNoCancel;
  SeenBox cancelled;
  EXPECT_EQ(ShowAndAnswer(request, IDCANCEL, cancelled), MsgResult::Cancel);
  EXPECT_TRUE(cancelled.found);

  request.buttons = MsgButtons::OkCancel;
  SeenBox ok;
  EXPECT_EQ(ShowAndAnswer(request, IDOK, ok), MsgResult::Ok);
  EXPECT_TRUE(ok.found);
}

TEST(MessageBoxesTest, TopMostRequestPutsTheBoxOnTop) {
  MessageBoxRequest request;
  request.text = "Can't get Windows directory";
  request.caption = win32test::UniqueName("Warning!");
  request.icon = MsgIcon::Error;
  request.buttons = MsgButtons::YesNo;
  request.topMost = true;
  request.foreground = true;
  SeenBox seen;
  EXPECT_EQ(ShowAndAnswer(request, IDYES, seen), MsgResult::Yes);
  ASSERT_TRUE(seen.found) << "the message box never appeared";
  if (!seen.topMost && win32test::IsWine()) {
    GTEST_SKIP() << "Wine does not apply MB_TOPMOST to message boxes";
  }
  EXPECT_TRUE(seen.topMost);
}

}  // namespace
}  // namespace vm
