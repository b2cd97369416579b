#include "platform/win32_services_win32.h"

#include <algorithm>

#include "platform/wide_text_win32.h"

namespace vm {

namespace {

// A NUL inside a path would make the API act on a different, shorter path.
std::optional<std::wstring> WidePath(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return std::nullopt;
  return Utf8ToWide(path);
}

// A handle closed when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    bool ok = true;
    if (Valid()) ok = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

// WriteFile takes at most a DWORD; larger blocks go in pieces. False unless every byte went out.
bool WriteAll(HANDLE file, const void* data, std::size_t size) {
  constexpr std::size_t kPiece = 16u << 20;
  auto bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    DWORD piece = static_cast<DWORD>(std::min(size, kPiece));
    DWORD written = 0;
    if (!::WriteFile(file, bytes, piece, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

class Win32WritableFile : public WritableFile {
 public:
  explicit Win32WritableFile(HANDLE file) : file_(file) {}
  bool Write(const void* data, std::size_t size) override {
    if (size == 0) return true;
    if (data == nullptr) return false;
    // No buffer of our own: each call is one or more WriteFile calls, so what returned has
    // reached the system and survives a crash of the program.
    return WriteAll(file_.Get(), data, size);
  }

 private:
  Handle file_;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> Win32FileSystem::ReadFile(const std::string& path) {
  auto wide = WidePath(path);
  if (!wide) return std::nullopt;
  // Sharing delete as well lets another writer replace the file while it is being read.
  Handle file(CreateFileW(wide->c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > kMaxReadSize) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                    nullptr)) {
      return std::nullopt;
    }
    if (got == 0) break;  // shortened by someone else meanwhile: what is there is the content
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

bool Win32FileSystem::FileExists(const std::string& path) {
  auto wide = WidePath(path);
  if (!wide) return false;
  DWORD attributes = GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  auto wide = WidePath(path);
  if (!wide) return false;
  const std::string pid = std::to_string(GetCurrentProcessId());
  std::wstring temp = *wide + L".tmp-" + std::wstring(pid.begin(), pid.end());
  Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  bool ok = WriteAll(file.Get(), bytes.data(), bytes.size());
  ok = ok && FlushFileBuffers(file.Get());
  ok = file.Close() && ok;
  // MoveFileEx is one rename on the same volume: readers see the old file or the new one.
  ok = ok && MoveFileExW(temp.c_str(), wide->c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

bool Win32FileSystem::MoveFile(const std::string& from, const std::string& to) {
  auto wideFrom = WidePath(from);
  auto wideTo = WidePath(to);
  if (!wideFrom || !wideTo) return false;
  return MoveFileExW(wideFrom->c_str(), wideTo->c_str(), 0) != 0;
}

bool Win32FileSystem::DeleteFile(const std::string& path) {
  auto wide = WidePath(path);
  return wide && DeleteFileW(wide->c_str()) != 0;
}

std::optional<std::vector<std::string>> Win32FileSystem::FileNames(const std::string& folder) {
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  auto wide = WidePath(pattern + "*");
  if (!wide) return std::nullopt;
  WIN32_FIND_DATAW found;
  // The basic information level leaves out the short (8.3) names, which are not wanted here.
  HANDLE search = FindFirstFileExW(wide->c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                   nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<std::string>{};
    return std::nullopt;
  }
  std::vector<std::string> names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      names.push_back(WideToUtf8(found.cFileName));
  } while (FindNextFileW(search, &found));
  bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  if (!complete) return std::nullopt;
  return names;
}

std::unique_ptr<WritableFile> Win32FileSystem::CreateForWriting(const std::string& path) {
  auto wide = WidePath(path);
  if (!wide) return nullptr;
  HANDLE file = CreateFileW(wide->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32WritableFile>(file);
}

}  // namespace vm
