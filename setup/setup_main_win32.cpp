// vemtaro-setup: installs the clock from the installation script beside it, or removes it again,
// as its own file name says ("unins" anywhere in it: remove).

#include <windows.h>

#include <objbase.h>
#include <setupapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "setup/setup_logic.h"
#include "setup/setup_resources.h"
#include "setup/setup_system_win32.h"

namespace setup {
namespace {

constexpr int kNextId = 1;
constexpr int kCancelId = 2;
constexpr int kBrowseId = 11;
constexpr int kRunAfterId = 12;
constexpr DWORD kTargetDirId = 32768;
// Copy: never overwrite an existing file; a file in use is replaced at the next restart.
constexpr DWORD kCopyFlags = SP_COPY_NOOVERWRITE | SP_COPY_IN_USE_NEEDS_REBOOT;
static_assert(kCopyFlags == 264);
// Install section: registry entries and start-menu items.
constexpr UINT kInstallFlags = SPINST_REGISTRY | SPINST_PROFILEITEMS;
constexpr DWORD kScanFlags = SPQ_SCAN_FILE_PRESENCE | SPQ_SCAN_USE_CALLBACK;
#ifdef VM_SETUP_TEST_BUILD
// The test build only (never shipped): the folder that the folder browser would have returned.
constexpr const wchar_t* kTestFolderVariable = L"VEMTARO_SETUP_TEST_FOLDER";
#endif

struct Program {
  const Texts* texts = &TextsFor(Language::English);
  Mode mode = Mode::Install;
  State state = State::Start;
  std::wstring sourceFolder;
  std::wstring targetFolder;
  std::wstring productName;
  HINF inf = INVALID_HANDLE_VALUE;
  bool runAfter = false;
  HMODULE setupLibrary = nullptr;
  HBITMAP picture = nullptr;
  HFONT font = nullptr;
  HWND window = nullptr;
  std::wstring ownPath;          // this program's executable
  bool removeSelfLater = false;  // the removal could not delete this program while it ran
  HWND footer = nullptr, next = nullptr, cancel = nullptr, browse = nullptr, folder = nullptr,
       runCheck = nullptr;
};

Program g;

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return !a.empty() && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                            static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Failures of the copy or delete steps, gathered by the queue callback.
struct QueueContext {
  PVOID defaultContext = nullptr;
  std::wstring failure;        // the message that ends the copy
  std::wstring notRemoved;     // files a removal had to leave
  std::wstring starting;       // the target of the copy under way, when it is a new file
  std::vector<std::wstring> copied;  // new files the copy has made, for a stopped installation
};

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

UINT CALLBACK QueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2) {
  auto* q = static_cast<QueueContext*>(context);
  switch (notification) {
    case SPFILENOTIFY_STARTCOPY: {
      const auto* paths = reinterpret_cast<const FILEPATHS_W*>(param1);
      q->starting = paths->Target && !Exists(paths->Target) ? paths->Target : L"";
      return SetupDefaultQueueCallbackW(q->defaultContext, notification, param1, param2);
    }
    case SPFILENOTIFY_ENDCOPY: {
      const auto* paths = reinterpret_cast<const FILEPATHS_W*>(param1);
      if (paths->Win32Error == NO_ERROR && paths->Target && !q->starting.empty() &&
          SamePath(paths->Target, q->starting))
        q->copied.push_back(q->starting);
      q->starting.clear();
      return SetupDefaultQueueCallbackW(q->defaultContext, notification, param1, param2);
    }
    case SPFILENOTIFY_NEEDMEDIA: {
      // The files come from the setup program's own folder: a file that is not there will not
      // appear by retrying, so the copy ends with a message instead of asking again and again.
      const auto* media = reinterpret_cast<const SOURCE_MEDIA_W*>(param1);
      std::wstring file = media->SourcePath ? media->SourcePath : L"";
      if (!file.empty() && file.back() != L'\\') file += L'\\';
      file += media->SourceFile ? media->SourceFile : L"";
      if (Exists(file))
        return SetupDefaultQueueCallbackW(q->defaultContext, notification, param1, param2);
      if (q->failure.empty()) q->failure = MissingSourceMessage(*g.texts, file);
      SetLastError(ERROR_FILE_NOT_FOUND);
      return FILEOP_ABORT;
    }
    case SPFILENOTIFY_COPYERROR: {
      const auto* paths = reinterpret_cast<const FILEPATHS_W*>(param1);
      std::wstring file = paths->Source ? paths->Source : L"";
      if (q->failure.empty()) {
        q->failure = paths->Win32Error == ERROR_FILE_NOT_FOUND || paths->Win32Error == ERROR_PATH_NOT_FOUND
                         ? MissingSourceMessage(*g.texts, file)
                         : CopyErrorMessage(*g.texts, file, ErrorText(paths->Win32Error));
      }
      SetLastError(paths->Win32Error);
      return FILEOP_ABORT;
    }
    case SPFILENOTIFY_DELETEERROR: {
      const auto* paths = reinterpret_cast<const FILEPATHS_W*>(param1);
      if (paths->Win32Error == ERROR_FILE_NOT_FOUND || paths->Win32Error == ERROR_PATH_NOT_FOUND ||
          !paths->Target)
        return FILEOP_SKIP;
      if (SamePath(paths->Target, g.ownPath))
        g.removeSelfLater = true;  // a running program cannot delete itself: done after it ends
      else
        q->notRemoved += std::wstring(paths->Target) + L"\n";
      return FILEOP_SKIP;
    }
    case SPFILENOTIFY_RENAMEERROR: {
      const auto* paths = reinterpret_cast<const FILEPATHS_W*>(param1);
      if (q->failure.empty())
        q->failure =
            CopyErrorMessage(*g.texts, paths->Source ? paths->Source : L"", ErrorText(paths->Win32Error));
      return FILEOP_ABORT;
    }
    default:
      return SetupDefaultQueueCallbackW(q->defaultContext, notification, param1, param2);
  }
}

// Deletes this program's file, and its folder when nothing else is left there, once the program
// has ended: a hidden command interpreter retries for a few seconds.
void RemoveSelfAfterExit() {
  std::wstring folder = FolderOf(g.ownPath);
  if (folder.size() > 3) folder.pop_back();
  wchar_t shell[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"ComSpec", shell, MAX_PATH)) {
    GetSystemDirectoryW(shell, MAX_PATH);
    wcscat_s(shell, L"\\cmd.exe");
  }
  std::wstring file = L"\"" + g.ownPath + L"\"";
  std::wstring command = L"\"" + std::wstring(shell) + L"\" /d /q /c \"for /l %i in (1,1,20) do @(" +
                         L"ping -n 2 127.0.0.1 >nul & del /f /q " + file + L" >nul 2>&1 & " +
                         L"if not exist " + file + L" (rmdir \"" + folder + L"\" >nul 2>&1 & exit))\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi{};
  std::wstring temp = ShellFolder(CSIDL_LOCAL_APPDATA);
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                     temp.empty() ? nullptr : temp.c_str(), &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

// The clock holds this mutex while it runs.
bool ClockIsRunning() {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"VemtaroMitex");
  if (!mutex) return false;
  CloseHandle(mutex);
  return true;
}

void ShowError(const std::wstring& text) {
  MessageBoxW(g.window, text.c_str(), g.productName.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

// The start-menu shortcuts the script lists in its section "Shortcuts": link name, file of the
// installation folder. They go to the current user's Start menu, in a folder named after the
// product, so that removing them needs no administrator either.
struct ShortcutEntry {
  std::wstring name;
  std::wstring file;
};

std::vector<ShortcutEntry> ScriptShortcuts() {
  std::vector<ShortcutEntry> entries;
  INFCONTEXT line;
  if (!SetupFindFirstLineW(g.inf, L"Shortcuts", nullptr, &line)) return entries;
  do {
    wchar_t name[MAX_PATH] = {}, file[MAX_PATH] = {};
    if (SetupGetStringFieldW(&line, 1, name, MAX_PATH, nullptr) &&
        SetupGetStringFieldW(&line, 2, file, MAX_PATH, nullptr) && IsPlainFileName(name) &&
        IsPlainFileName(file))
      entries.push_back({name, file});
  } while (SetupFindNextLine(&line, &line));
  return entries;
}

bool WriteShortcuts(std::wstring& problem) {
  auto entries = ScriptShortcuts();
  if (entries.empty()) return true;
  std::wstring programs = ShellFolder(CSIDL_PROGRAMS);
  if (programs.empty()) {
    problem = std::wstring(g.texts->noStartMenu);
    return false;
  }
  std::wstring folder = ShortcutFolder(programs, g.productName);
  CreateDirectoryW(folder.c_str(), nullptr);
  bool ok = true;
  for (const auto& e : entries) {
    std::wstring target = g.targetFolder + L"\\" + e.file;
    if (!CreateShortcut(ShortcutPath(programs, g.productName, e.name), target, g.targetFolder)) {
      problem += ShortcutPath(programs, g.productName, e.name) + L"\n";
      ok = false;
    }
  }
  return ok;
}

void RemoveShortcuts() {
  auto entries = ScriptShortcuts();
  std::wstring programs = ShellFolder(CSIDL_PROGRAMS);
  if (entries.empty() || programs.empty()) return;
  for (const auto& e : entries) DeleteFileW(ShortcutPath(programs, g.productName, e.name).c_str());
  RemoveDirectoryW(ShortcutFolder(programs, g.productName).c_str());  // only when empty
}

// A stopped installation takes back the files it had made, and the folder when it made that too,
// so that nothing half-installed is left. Files that were there before stay as they were.
void RemoveCopied(const QueueContext& context, bool folderWasThere) {
  for (auto it = context.copied.rbegin(); it != context.copied.rend(); ++it) DeleteFileW(it->c_str());
  if (!folderWasThere) RemoveDirectoryW(g.targetFolder.c_str());  // only when empty
}

void ShowDonePage() {
  SetWindowTextW(g.next, std::wstring(g.texts->close).c_str());
  ShowWindow(g.cancel, SW_HIDE);
  ShowWindow(g.browse, SW_HIDE);
  if (g.mode == Mode::Install) ShowWindow(g.runCheck, SW_SHOW);
  ShowWindow(g.window, SW_SHOWNORMAL);
  InvalidateRect(g.window, nullptr, TRUE);
  SetFocus(g.next);
}

void Perform() {
  HSPFILEQ queue = SetupOpenFileQueue();
  if (queue == INVALID_HANDLE_VALUE) return;

  const wchar_t* section = nullptr;
  if (g.mode == Mode::Install) {
    SetupSetDirectoryIdW(g.inf, kTargetDirId, g.targetFolder.c_str());
    SetupQueueCopySectionW(queue, g.sourceFolder.c_str(), g.inf, nullptr, L"CopyF1", kCopyFlags);
    section = L"Install";
  } else {
    if (MessageBoxW(g.window, std::wstring(g.texts->confirmRemoval).c_str(), g.productName.c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES) {
      SetupCloseFileQueue(queue);
      return;
    }
    if (ClockIsRunning()) {
      // Its files are in use: removing now would leave them behind without an uninstall entry.
      SetupCloseFileQueue(queue);
      ShowError(std::wstring(g.texts->closeClockFirst));
      return;
    }
    std::wstring folder = g.sourceFolder;
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    SetupSetDirectoryIdW(g.inf, kTargetDirId, folder.c_str());
    SetupQueueDeleteSectionW(queue, g.inf, nullptr, L"Remove1");
    section = L"Uninstall";
  }

  QueueContext context;
  const bool folderWasThere = g.mode == Mode::Install && Exists(g.targetFolder);
  context.defaultContext = SetupInitDefaultQueueCallback(g.window);
  BOOL committed = SetupCommitFileQueueW(g.window, queue, QueueCallback, &context);
  DWORD commitError = committed ? 0 : GetLastError();

  if (!committed && g.mode == Mode::Install) {
    // Nothing is registered for an installation whose files did not all arrive.
    SetupTermDefaultQueueCallback(context.defaultContext);
    SetupCloseFileQueue(queue);
    RemoveCopied(context, folderWasThere);
    ShowError(!context.failure.empty() ? context.failure
                                       : CopyErrorMessage(*g.texts, g.targetFolder, ErrorText(commitError)));
    return;
  }

  SetupInstallFromInfSectionW(g.window, g.inf, section, kInstallFlags, nullptr, nullptr, 0, nullptr,
                              nullptr, nullptr, nullptr);
  std::wstring shortcutProblem;
  if (g.mode == Mode::Install) {
    if (!WriteShortcuts(shortcutProblem))
      ShowError(std::wstring(g.texts->shortcutsFailed) + shortcutProblem);
  } else {
    RemoveShortcuts();
  }

  DWORD scanResult = 0;
  SetupScanFileQueueW(queue, kScanFlags, g.window, QueueCallback, &context, &scanResult);
  SetupPromptReboot(queue, g.window, FALSE);
  SetupCloseFileQueue(queue);
  SetupTermDefaultQueueCallback(context.defaultContext);
  SetupCloseInfFile(g.inf);
  g.inf = INVALID_HANDLE_VALUE;

  if (!context.notRemoved.empty()) ShowError(NotRemovedMessage(*g.texts, context.notRemoved));
  g.state = State::Done;
  ShowDonePage();
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data)
    SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

// Asks for the folder; an empty result means the user cancelled.
std::wstring AskForFolder() {
#ifdef VM_SETUP_TEST_BUILD
  wchar_t fromTest[MAX_PATH] = {};
  if (GetEnvironmentVariableW(kTestFolderVariable, fromTest, MAX_PATH) > 0) return fromTest;
#endif

  IMalloc* allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator))) return {};
  std::wstring start = DefaultProgramsFolder(ShellFolder(CSIDL_LOCAL_APPDATA));
  if (!start.empty()) CreateDirectoryW(start.c_str(), nullptr);
  BROWSEINFOW info{};
  info.hwndOwner = g.window;
  const std::wstring title(g.texts->browseTitle);
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_UAHINT;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  std::wstring chosen;
  if (LPITEMIDLIST item = SHBrowseForFolderW(&info)) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path)) chosen = path;
    allocator->Free(item);
  }
  allocator->Release();
  return chosen;
}

void ChooseFolder() {
  std::wstring chosen = AskForFolder();
  if (chosen.empty()) return;  // cancelled: the page stays as it was
  std::wstring target = TargetFolderFor(chosen, g.productName);
  FolderVerdict verdict = JudgeTargetFolder(target, CanWriteFolder(target));
  if (verdict != FolderVerdict::Ok) {
    ShowError(FolderVerdictMessage(*g.texts, verdict, target));
    return;
  }
  g.targetFolder = target;
  SetWindowTextW(g.folder, target.c_str());
  ShowWindow(g.folder, SW_SHOW);
  ShowWindow(g.browse, SW_SHOW);
  g.state = State::FolderChosen;
  InvalidateRect(g.window, nullptr, TRUE);
}

void Finish() {
  if (g.runAfter && g.mode == Mode::Install) {
    std::wstring program = InstalledProgram(g.targetFolder, g.productName);
    ShellExecuteW(nullptr, L"open", program.c_str(), nullptr, g.targetFolder.c_str(), SW_SHOWNORMAL);
  }
  DestroyWindow(g.window);
}

void Act(Action action) {
  switch (action) {
    case Action::ChooseFolder: ChooseFolder(); break;
    case Action::Perform: Perform(); break;
    case Action::Finish: Finish(); break;
    case Action::Close: DestroyWindow(g.window); break;
    case Action::None: break;
  }
}

void OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kNextId: Act(NextAction(g.state, g.mode)); break;
    case kCancelId: Act(CancelAction(g.state)); break;
    case kBrowseId:
      if (g.state == State::FolderChosen) ChooseFolder();
      break;
    case kRunAfterId:
      g.runAfter = SendMessageW(g.runCheck, BM_GETCHECK, 0, 0) == BST_CHECKED;
      break;
  }
}

void Paint(HDC dc) {
  RECT client;
  GetClientRect(g.window, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HGDIOBJ oldFont = SelectObject(dc, g.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  std::wstring main = MainText(*g.texts, g.state, g.mode, g.productName);
  TextOutW(dc, 180, 20, main.c_str(), static_cast<int>(main.size()));
  if (g.state == State::Start) {
    std::wstring hint(g.texts->continueHint);
    TextOutW(dc, 290, 280, hint.c_str(), static_cast<int>(hint.size()));
  }
  if (g.picture) {
    BITMAP info{};
    GetObjectW(g.picture, sizeof(info), &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, g.picture);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  SelectObject(dc, oldFont);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
    case WM_DRAWITEM:
      return 0;
    case WM_ERASEBKGND:
      Paint(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      // The check box sits on the white page.
      if (reinterpret_cast<HWND>(lParam) == g.runCheck) {
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      break;
    case WM_DESTROY:
      if (g.setupLibrary) FreeLibrary(g.setupLibrary);
      g.setupLibrary = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id) {
  HWND child = CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, g.window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  if (child && g.font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), FALSE);
  return child;
}

int Run(HINSTANCE instance) {
  // One language for the whole run, the user's own when it is Russian, English otherwise.
  g.texts = &TextsFor(LanguageFor(GetUserDefaultUILanguage()));
  Win32SystemCalls system;
  auto identity = Identify(system);  // starts and ends COM itself when it follows a shortcut
  if (!identity) return 1;
  // The folder browser and the shell links need COM on this thread for the whole run.
  struct ComScope {
    HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ~ComScope() {
      if (SUCCEEDED(started)) CoUninitialize();
    }
  } com;
  g.mode = identity->mode;
  g.ownPath = system.ModuleFileName();
  g.sourceFolder = identity->sourceFolder;

  UINT errorLine = 0;
  g.inf = SetupOpenInfFileW(identity->infPath.c_str(), nullptr, INF_STYLE_WIN4, &errorLine);
  if (g.inf == INVALID_HANDLE_VALUE) return 1;
  wchar_t product[MAX_PATH] = {};
  if (!SetupGetSourceInfoW(g.inf, 1, SRCINFO_DESCRIPTION, product, MAX_PATH, nullptr) || !product[0]) {
    SetupCloseInfFile(g.inf);
    return 1;
  }
  g.productName = product;
  g.state = State::Start;

  // The system setup library's icon and picture where it has them; this program's own otherwise
  // (the library is not on every system).
  g.setupLibrary = LoadLibraryExW(L"syssetup.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HICON icon = g.setupLibrary ? LoadIconW(g.setupLibrary, MAKEINTRESOURCEW(81)) : nullptr;
  if (!icon) icon = LoadIconW(instance, MAKEINTRESOURCEW(kSetupIcon));
  g.picture = g.setupLibrary ? LoadBitmapW(g.setupLibrary, MAKEINTRESOURCEW(124)) : nullptr;
  if (!g.picture) g.picture = LoadBitmapW(instance, MAKEINTRESOURCEW(kSetupPicture));

  WNDCLASSW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"SetupProg";
  if (!RegisterClassW(&wc)) {
    MessageBoxW(nullptr, L"This program requires Windows NT!", L"SetupProg", MB_ICONERROR);
    return 0;
  }

  // A font whose character set the system chooses, so the Russian texts read right whatever the
  // system's code page.
  g.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  g.window = CreateWindowExW(WS_EX_APPWINDOW, L"SetupProg", g.productName.c_str(),
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                             560, 420, nullptr, nullptr, instance, nullptr);
  if (!g.window) return 1;
  SendMessageW(g.window, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), FALSE);
  g.footer = Child(L"static", L"", WS_VISIBLE | SS_GRAYRECT, 0, 328, 600, 140, 0);
  const Texts& t = *g.texts;
  g.next = Child(L"button", std::wstring(t.next).c_str(), WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 290, 345, 85, 25, kNextId);
  g.cancel = Child(L"button", std::wstring(t.cancel).c_str(), WS_VISIBLE | WS_TABSTOP, 400, 345, 85, 25, kCancelId);
  g.browse = Child(L"button", std::wstring(t.browse).c_str(), WS_TABSTOP, 460, 150, 80, 25, kBrowseId);
  g.folder = Child(L"edit", std::wstring(t.folderField).c_str(), WS_BORDER | ES_READONLY | ES_AUTOHSCROLL, 180, 150, 270,
                   25, 0);
  g.runCheck = Child(L"button", std::wstring(t.runAfter).c_str(), WS_TABSTOP | BS_AUTOCHECKBOX, 200, 200, 280, 25,
                     kRunAfterId);

  ShowWindow(g.window, SW_SHOW);
  UpdateWindow(g.window);
  SetFocus(g.next);

  MSG msg;
  int code = 0;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab moves between the buttons, Enter is Next and Esc is Cancel.
    if (g.window && IsWindow(g.window) && IsDialogMessageW(g.window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (msg.message == WM_QUIT) code = static_cast<int>(msg.wParam);
  if (g.inf != INVALID_HANDLE_VALUE) SetupCloseInfFile(g.inf);
  if (g.picture) DeleteObject(g.picture);
  if (g.removeSelfLater) RemoveSelfAfterExit();
  return code;
}

}  // namespace
}  // namespace setup

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return setup::Run(instance); }
