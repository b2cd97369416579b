// The single-instance mutex and the broadcast of the show message, with windows of the test's
// own threads standing in for the running instance.

#include <atomic>
#include <thread>

#include "win32/services_test_support_win32.h"

namespace vm {
namespace {

TEST(InstanceGuardTest, SecondCreationOfTheSameMutexReportsARunningInstance) {
  const std::string name = win32test::UniqueName("VemtaroTestMutex");
  Win32InstanceGuard first;
  EXPECT_FALSE(first.CreateMutexAlreadyExisted(name));
  EXPECT_TRUE(first.CreateMutexAlreadyExisted(name));
  EXPECT_TRUE(Win32InstanceGuard().CreateMutexAlreadyExisted(name));  // handles outlive guards
  EXPECT_FALSE(first.CreateMutexAlreadyExisted(name + "-other"));

  // The creator owns the mutex: another thread cannot take it.
  DWORD waited = 0;
  std::thread([&] {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, Utf8ToWide(name).c_str());
    waited = mutex != nullptr ? WaitForSingleObject(mutex, 0) : WAIT_FAILED;
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) ReleaseMutex(mutex);
    if (mutex != nullptr) CloseHandle(mutex);
  }).join();
  EXPECT_EQ(waited, static_cast<DWORD>(WAIT_TIMEOUT));
}

// A hidden top-level window on its own thread that counts the registered message.
class ListeningWindow {
 public:
  ListeningWindow(UINT message, bool answers) : message_(message), answers_(answers) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] { Run(); });
    WaitForSingleObject(ready_, 10000);
  }
  ~ListeningWindow() {
    SetEvent(release_);
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    CloseHandle(ready_);
    CloseHandle(release_);
  }
  bool Created() const { return window_ != nullptr; }
  // Lets a window that stopped answering go on (it then handles what waits for it).
  void Release() { SetEvent(release_); }
  int Received() const { return received_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto self = reinterpret_cast<ListeningWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == self->message_ && wParam == 0 && lParam == 0) {
      ++self->received_;
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  void Run() {
    static const wchar_t kClass[] = L"VemtaroTestListener";
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassW(&windowClass);  // fails harmlessly when already registered
    threadId_ = GetCurrentThreadId();
    window_ = CreateWindowExW(0, kClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_ != nullptr) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
    SetEvent(ready_);
    if (!answers_) WaitForSingleObject(release_, INFINITE);  // stops answering, like a hung program
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (window_ != nullptr) DestroyWindow(window_);
  }

  UINT message_;
  bool answers_;
  HANDLE ready_;
  HANDLE release_;
  std::thread thread_;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
  std::atomic<int> received_{0};
};

TEST(InstanceGuardTest, BroadcastReachesAHiddenTopLevelWindow) {
  const std::string name = win32test::UniqueName("VMR_SHOW_TEST");
  UINT message = RegisterWindowMessageW(Utf8ToWide(name).c_str());
  ListeningWindow window(message, true);
  ASSERT_TRUE(window.Created());
  Win32InstanceGuard().BroadcastRegisteredMessage(name);
  EXPECT_EQ(window.Received(), 1);  // processed before the broadcast returned
}

TEST(InstanceGuardTest, AWindowThatNoLongerAnswersDoesNotHoldTheBroadcastForEver) {
  const std::string name = win32test::UniqueName("VMR_SHOW_TEST");
  UINT message = RegisterWindowMessageW(Utf8ToWide(name).c_str());
  ListeningWindow hung(message, false);
  ListeningWindow answering(message, true);
  ASSERT_TRUE(hung.Created());
  ASSERT_TRUE(answering.Created());
  // The hung window stays hung until the test ends, so a broadcast without time-out would not
  // come back before then. Other programs' windows may slow it down, hence the wide margin.
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread broadcaster([&] {
    Win32InstanceGuard().BroadcastRegisteredMessage(name);
    SetEvent(done);
  });
  DWORD waited = WaitForSingleObject(done, 60000);
  EXPECT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0)) << "the broadcast waits for the hung window";
  if (waited == WAIT_OBJECT_0) {
    EXPECT_EQ(answering.Received(), 1);
    EXPECT_EQ(hung.Received(), 0);
  }
  hung.Release();
  broadcaster.join();
  CloseHandle(done);
}

}  // namespace
}  // namespace vm
