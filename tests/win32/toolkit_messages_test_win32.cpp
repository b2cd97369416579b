// The Win32 backend's message handling: real mouse and key messages reach the controls, menu
// commands reach their items, the system's notifications reach the form's hook, a window closes
// and releases itself, modal loops, owner-drawn popup menus and the notification-area icon.

#include <string>
#include <vector>

#include "toolkit_support_win32.h"

#include <commctrl.h>

namespace vm::ui::testing {
namespace {

class Panel : public Form {
 public:
  explicit Panel(Application& app) : Form(app, "Panel") {
    SetBorderStyle(BorderStyle::None);
    SetBounds(200, 200, 272, 55);
    Background.SetAutoSize(false);
    Background.SetBounds(0, 0, 272, 55);
    VML.SetBounds(104, 16, 50, 14);
    VML.SetAutoSize(false);
    VML.SetCaption("Vemtaro");
    OntopM.SetAutoCheck(true);
  }
  Label Background{*this, "Background"};
  Label VML{*this, "VML"};
  PopupMenu OptMenu{*this, "OptMenu"};
  MenuItem OntopM{OptMenu, "OntopM", "Always on top"};
  MenuItem N5{OptMenu, "N5", "-"};
  MenuItem About1{OptMenu, "About1", "Help"};
  MenuItem Help1{About1, "Help1", "Vemtaro Help"};
};

class ToolkitMessagesTest : public Win32ToolkitTest {
 protected:
  LPARAM At(const Form& form, int x, int y) {
    return MAKELPARAM(ToDevice(x, Dpi(form)), ToDevice(y, Dpi(form)));
  }
  std::vector<std::string> log;
};

TEST_F(ToolkitMessagesTest, PostedButtonMessagesOverALabelClickIt) {
  Panel panel(app);
  panel.VML.OnClick = [&](Control& s) { log.push_back(s.Name() + " click"); };
  panel.Background.OnClick = [&](Control& s) { log.push_back(s.Name() + " click"); };
  panel.VML.OnMouseDown = [&](Control&, MouseButton b, ShiftState s, int x, int y) {
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y) + (s.left ? " left" : ""));
  };
  panel.Realize();
  HWND hwnd = Hwnd(panel);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(panel, 110, 20));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, At(panel, 110, 20));
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(panel, 10, 40));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, At(panel, 10, 40));
  EXPECT_TRUE(PumpUntil([&] { return log.size() >= 3; }));
  EXPECT_EQ(log, (std::vector<std::string>{"down 6,4 left", "VML click", "Background click"}));
  EXPECT_NE(GetCapture(), hwnd);  // released with the button
}

struct TooltipSearch {
  HWND owner;
  HWND found;
};

// A named CALLBACK: a lambda would have the wrong calling convention in the 32-bit build.
BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<TooltipSearch*>(lp);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (GetWindow(hwnd, GW_OWNER) == s->owner && lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The tooltip window the backend made for `owner`, or nullptr.
HWND TooltipOf(HWND owner) {
  TooltipSearch search{owner, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(ToolkitMessagesTest, HintOfTheControlUnderTheMouseGoesToTheTooltip) {
  Panel panel(app);
  panel.SetShowHint(true);
  panel.VML.SetHint("Vemtaro  ");
  panel.VML.SetCursor(Cursor::Hand);
  panel.Show();
  SendMessageW(Hwnd(panel), WM_MOUSEMOVE, 0, At(panel, 110, 20));
  HWND tip = TooltipOf(Hwnd(panel));
  ASSERT_NE(tip, nullptr);
  wchar_t text[64] = {};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = Hwnd(panel);
  info.uId = reinterpret_cast<UINT_PTR>(Hwnd(panel));
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, L"Vemtaro  ");
  SendMessageW(Hwnd(panel), WM_MOUSEMOVE, 0, At(panel, 10, 40));  // the background has no hint
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, L"");
}

TEST_F(ToolkitMessagesTest, KeysAndCharactersReachTheForm) {
  Panel panel(app);
  std::vector<KeyCode> keys;
  std::u32string chars;
  panel.OnKeyUp = [&](Control&, KeyCode& key, ShiftState) { keys.push_back(key); };
  panel.OnKeyPress = [&](Control&, char32_t& ch) { chars += ch; };
  panel.Realize();
  PostMessageW(Hwnd(panel), WM_KEYUP, VK_F1, 0);
  PostMessageW(Hwnd(panel), WM_CHAR, 0xD83D, 0);  // one character in two halves
  PostMessageW(Hwnd(panel), WM_CHAR, 0xDE00, 0);
  EXPECT_TRUE(PumpUntil([&] { return !keys.empty() && !chars.empty(); }));
  EXPECT_EQ(keys, (std::vector<KeyCode>{kKeyF1}));
  EXPECT_EQ(chars, U"\U0001F600");
}

TEST_F(ToolkitMessagesTest, MenuCommandReachesItsItemWithTheCheckMarkUpdated) {
  Panel panel(app);
  panel.OntopM.OnClick = [&](MenuItem& item) { log.push_back(item.Checked() ? "checked" : "unchecked"); };
  panel.Help1.OnClick = [&](MenuItem& item) { log.push_back(item.Name()); };
  panel.Realize();
  PostMessageW(Hwnd(panel), WM_COMMAND, MAKEWPARAM(panel.OntopM.CommandId(), 0), 0);
  PostMessageW(Hwnd(panel), WM_COMMAND, MAKEWPARAM(panel.Help1.CommandId(), 0), 0);
  PostMessageW(Hwnd(panel), WM_COMMAND, MAKEWPARAM(0x7777, 0), 0);  // nobody's: ignored
  EXPECT_TRUE(PumpUntil([&] { return log.size() >= 2; }));
  PumpFor(50);
  EXPECT_EQ(log, (std::vector<std::string>{"checked", "Help1"}));
}

TEST_F(ToolkitMessagesTest, RegisteredMessageReachesTheHookWithItsName) {
  Panel panel(app);
  std::vector<SystemMessage> seen;
  panel.OnSystemMessage = [&](Form&, const SystemMessage& m) {
    seen.push_back(m);
    return SystemMessageResult{};
  };
  app.RegisterMessageName("VMR_SHOW");
  app.RegisterMessageName("TaskbarCreated");
  panel.Realize();  // hidden windows hear it too
  const UINT show = RegisterWindowMessageW(L"VMR_SHOW");
  EXPECT_EQ(backend.RegisteredMessage("VMR_SHOW"), show);
  SendMessageW(Hwnd(panel), show, 0, 0);
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, show, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  SendMessageW(Hwnd(panel), RegisterWindowMessageW(L"NotOurs"), 0, 0);
  ASSERT_EQ(seen.size(), 2u);
  for (const SystemMessage& m : seen) {
    EXPECT_EQ(m.kind, SystemMessageKind::Registered);
    EXPECT_EQ(m.name, "VMR_SHOW");
  }
}

TEST_F(ToolkitMessagesTest, SystemNotificationsAreTranslatedAndAnswered) {
  Panel panel(app);
  std::vector<std::pair<SystemMessageKind, std::uint32_t>> seen;
  panel.OnSystemMessage = [&](Form&, const SystemMessage& m) {
    seen.emplace_back(m.kind, m.code);
    if (m.kind == SystemMessageKind::SysCommand && m.code == 0xF140) return SystemMessageResult{true, 0};
    if (m.kind == SystemMessageKind::PowerBroadcast) return SystemMessageResult{true, 1};
    return SystemMessageResult{};
  };
  panel.Realize();
  HWND hwnd = Hwnd(panel);
  EXPECT_EQ(SendMessageW(hwnd, WM_POWERBROADCAST, 4, 0), 1);
  EXPECT_EQ(SendMessageW(hwnd, WM_SYSCOMMAND, 0xF142, 0), 0);  // screen saver, low bits cleared
  SendMessageW(hwnd, WM_TIMECHANGE, 0, 0);
  SendMessageW(hwnd, 0x02B1 /* WM_WTSSESSION_CHANGE */, 7, 0);
  SendMessageW(hwnd, 0x03B9 /* MM_MCINOTIFY */, 1, 0);
  SendMessageW(hwnd, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONUP);
  const std::vector<std::pair<SystemMessageKind, std::uint32_t>> expected = {
      {SystemMessageKind::PowerBroadcast, 4}, {SystemMessageKind::SysCommand, 0xF140},
      {SystemMessageKind::TimeChange, 0},     {SystemMessageKind::SessionChange, 7},
      {SystemMessageKind::MciNotify, 1},      {SystemMessageKind::TrayCallback, 517}};
  EXPECT_EQ(seen, expected);
}

TEST_F(ToolkitMessagesTest, WindowThatFreesItselfOnCloseIsGoneWhenTheMessageReturns) {
  app.CreateForm<Form>("Main");
  auto& about = app.CreateForm<Form>("About");
  bool destroyed = false;
  about.OnDestroy = [&](Control&) { destroyed = true; };
  about.OnClose = [&](Form& f, CloseAction& action) {
    action = CloseAction::Free;
    EXPECT_TRUE(IsWindow(Hwnd(f)));  // still there while the handler runs
  };
  about.Realize();
  HWND hwnd = Hwnd(about);
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(app.Forms().size(), 1u);
}

TEST_F(ToolkitMessagesTest, CloseRefusedByCloseQueryKeepsTheWindow) {
  app.CreateForm<Form>("Main");
  auto& editor = app.CreateForm<Form>("Editor");
  editor.OnCloseQuery = [](Form&, bool& canClose) { canClose = false; };
  editor.Realize();
  SendMessageW(Hwnd(editor), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(Hwnd(editor)));
}

TEST_F(ToolkitMessagesTest, ModalLoopDisablesTheOtherWindowsAndReturnsTheResult) {
  auto& main = app.CreateForm<Panel>();
  auto& dialog = app.CreateForm<Form>("Dialog");
  dialog.SetBorderStyle(BorderStyle::Single);
  dialog.SetBounds(50, 50, 200, 100);
  main.Show();
  Timer answer(dialog, "Answer");
  answer.SetInterval(50);
  bool mainWasDisabled = false;
  answer.OnTimer = [&](Timer& t) {
    mainWasDisabled = !IsWindowEnabled(Hwnd(main));
    t.SetEnabled(false);
    dialog.SetModalResult(mrOk);
  };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_TRUE(mainWasDisabled);
  EXPECT_TRUE(IsWindowEnabled(Hwnd(main)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(dialog)));
}

TEST_F(ToolkitMessagesTest, RunShowsTheMainFormAndEndsWhenItCloses) {
  auto& main = app.CreateForm<Panel>();
  auto* closer = new Timer(main, "Closer");  // made with new: it outlives its form, harmlessly
  closer->SetInterval(50);
  bool wasVisible = false, buttonShown = false;
  closer->OnTimer = [&](Timer&) {
    wasVisible = IsWindowVisible(Hwnd(main)) != FALSE;
    buttonShown = IsWindowVisible(backend.AppWindow()) != FALSE;
    main.Close();
  };
  app.Run();
  EXPECT_TRUE(wasVisible);
  EXPECT_TRUE(buttonShown);
  EXPECT_TRUE(app.Forms().empty());
  delete closer;  // kept beyond its form: harmless
}

TEST_F(ToolkitMessagesTest, OwnerDrawnPopupMeasuresAndDrawsItsVisibleItems) {
  Panel panel(app);
  panel.OptMenu.SetOwnerDraw(true);
  panel.OptMenu.OnMeasureItem = [](MenuItem& item, Size& size) { size = {150, item.IsSeparator() ? 6 : 20}; };
  std::vector<std::pair<std::string, Rect>> drawn;
  panel.OptMenu.OnDrawItem = [&](MenuItem& item, Canvas& c, Rect r, bool) {
    drawn.emplace_back(item.Name(), r);
    c.FillRect(r, clMenu);
    c.SetTransparentText(true);
    c.TextOut({r.left + 25, r.top + 3}, item.Caption());
  };
  panel.Show();
  // The menu runs its own loop; a timer closes it again.
  Timer closer(panel, "Closer");
  closer.SetInterval(300);
  closer.OnTimer = [&](Timer& t) {
    t.SetEnabled(false);
    EndMenu();
  };
  bool chosen = false;
  panel.OntopM.OnClick = [&](MenuItem&) { chosen = true; };
  panel.OptMenu.Popup(250, 250);
  if (drawn.empty()) GTEST_SKIP() << "the popup menu was not drawn (no foreground window under this display)";
  ASSERT_GE(drawn.size(), 3u);
  EXPECT_EQ(drawn[0].first, "OntopM");
  EXPECT_EQ(drawn[0].second.Height(), 20);
  EXPECT_EQ(drawn[1].first, "N5");
  EXPECT_EQ(drawn[1].second.Height(), 6);
  EXPECT_EQ(drawn[2].second.top, drawn[1].second.bottom);
  EXPECT_FALSE(chosen);
}

TEST_F(ToolkitMessagesTest, NotificationAreaIconAddModifyDelete) {
  Panel panel(app);
  Bitmap pic(16, 16, ColorToPixel(clNavy));
  panel.SetIcon(Icon(pic));
  TrayIcon tray(panel);
  EXPECT_FALSE(tray.Modify("not added yet"));
  ASSERT_TRUE(tray.Add());
  EXPECT_TRUE(tray.Modify(std::string(300, 'x')));  // the tip is cut, not refused
  EXPECT_TRUE(tray.Delete());
  EXPECT_FALSE(tray.Delete());
  EXPECT_FALSE(tray.Modify("deleted"));
  ASSERT_TRUE(tray.Add());  // added again, after the shell lost it
  EXPECT_TRUE(tray.Modify("again"));
  EXPECT_TRUE(tray.Delete());
}

}  // namespace
}  // namespace vm::ui::testing
