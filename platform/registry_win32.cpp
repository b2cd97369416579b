#include "platform/win32_services_win32.h"

#include <cstring>

#include "platform/wide_text_win32.h"

namespace vm {

namespace {

HKEY RootKey(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// A NUL inside a key path or value name would silently cut it short at the API ("Software",
// NUL, "Vemtaro" would name "Software"), so such names are refused.
bool HasNul(const std::string& text) { return text.find('\0') != std::string::npos; }

// "\\Software\\Vemtaro\\" and "Software\\Vemtaro" name the same key; the API wants the latter.
std::wstring KeyPath(const std::string& key) {
  std::size_t first = key.find_first_not_of('\\');
  if (first == std::string::npos) return {};
  std::size_t last = key.find_last_not_of('\\');
  return Utf8ToWide(std::string_view(key).substr(first, last - first + 1));
}

// An open key, closed when it goes out of scope.
class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (handle_ != nullptr) RegCloseKey(handle_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  LONG Open(RegRoot root, const std::string& key, REGSAM access) {
    if (HasNul(key)) return ERROR_INVALID_PARAMETER;
    return RegOpenKeyExW(RootKey(root), KeyPath(key).c_str(), 0, access, &handle_);
  }
  LONG Create(RegRoot root, const std::string& key, REGSAM access) {
    if (HasNul(key)) return ERROR_INVALID_PARAMETER;
    return RegCreateKeyExW(RootKey(root), KeyPath(key).c_str(), 0, nullptr,
                           REG_OPTION_NON_VOLATILE, access, nullptr, &handle_, nullptr);
  }
  HKEY Get() const { return handle_; }
  HKEY Release() {
    HKEY handle = handle_;
    handle_ = nullptr;
    return handle;
  }

 private:
  HKEY handle_ = nullptr;
};

// The text of REG_SZ data: up to the first NUL, with or without a terminator; an odd last byte
// (not a whole UTF-16 unit) is dropped.
std::string StringFromData(const std::vector<std::uint8_t>& data) {
  std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
  if (!wide.empty()) std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
  return WideToUtf8(WideFromBuffer(wide.data(), wide.size()));
}

}  // namespace

bool Win32Registry::KeyExists(RegRoot root, const std::string& key) {
  OpenKey k;
  LONG result = k.Open(root, key, KEY_QUERY_VALUE);
  // A key the user may not read still exists.
  return result == ERROR_SUCCESS || result == ERROR_ACCESS_DENIED;
}

bool Win32Registry::CreateKey(RegRoot root, const std::string& key) {
  OpenKey k;
  return k.Create(root, key, KEY_WRITE) == ERROR_SUCCESS;
}

Win32Registry::~Win32Registry() { DropReadKey(); }

void Win32Registry::DropReadKey() {
  if (readKey_ != nullptr) RegCloseKey(readKey_);
  readKey_ = nullptr;
  readPath_.clear();
}

HKEY Win32Registry::ReadKey(RegRoot root, const std::string& key) {
  if (readKey_ != nullptr && readRoot_ == root && readPath_ == key) return readKey_;
  DropReadKey();
  OpenKey k;
  if (k.Open(root, key, KEY_READ) != ERROR_SUCCESS) return nullptr;
  readKey_ = k.Release();
  readRoot_ = root;
  readPath_ = key;
  return readKey_;
}

std::optional<RegValue> Win32Registry::ReadValue(RegRoot root, const std::string& key,
                                                 const std::string& name) {
  if (HasNul(name)) return std::nullopt;
  std::wstring wideName = Utf8ToWide(name);
  std::lock_guard<Mutex> guard(readLock_);
  HKEY handle = ReadKey(root, key);
  if (handle == nullptr) return std::nullopt;

  // Most values fit here, and then one call reads them.
  std::uint8_t first[256];
  DWORD type = REG_NONE;
  DWORD size = sizeof first;
  LONG result = RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, first, &size);
  if (result == ERROR_KEY_DELETED) {
    // The kept key was deleted since it was opened: read the key of that name as it is now.
    DropReadKey();
    handle = ReadKey(root, key);
    if (handle == nullptr) return std::nullopt;
    size = sizeof first;
    result = RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, first, &size);
  }
  if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return std::nullopt;

  RegValue value;
  if (size > kMaxValueSize) return value;  // Other, no bytes: present but not loaded

  std::vector<std::uint8_t> data;
  if (result == ERROR_SUCCESS) {
    data.assign(first, first + (size < sizeof first ? size : sizeof first));
  } else {
    // Larger than the first buffer. The value may change between the size query and the read:
    // ask again with the new size a few times, then give up.
    for (int attempt = 0;; ++attempt) {
      data.assign(size, 0);
      DWORD got = size;
      result = RegQueryValueExW(handle, wideName.c_str(), nullptr, &type,
                                data.empty() ? nullptr : data.data(), &got);
      if (result == ERROR_SUCCESS) {
        data.resize(got < size ? got : size);
        break;
      }
      if (result != ERROR_MORE_DATA) return std::nullopt;  // deleted meanwhile, or unreadable
      if (attempt == 3 || got > kMaxValueSize) return value;  // keeps growing: not loaded
      size = got;
    }
  }

  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      // Kept unexpanded: the program writes plain strings and reads them back as written.
      value.type = RegType::String;
      value.text = StringFromData(data);
      break;
    case REG_DWORD:
      if (data.size() == sizeof(std::uint32_t)) {
        value.type = RegType::Dword;
        std::memcpy(&value.number, data.data(), sizeof value.number);
      } else {
        value.bytes = std::move(data);  // a DWORD of the wrong size is not a number
      }
      break;
    case REG_BINARY:
      value.type = RegType::Binary;
      value.bytes = std::move(data);
      break;
    default:
      value.bytes = std::move(data);
      break;
  }
  return value;
}

bool Win32Registry::WriteRaw(RegRoot root, const std::string& key, const std::string& name,
                             std::uint32_t type, const void* data, std::size_t size) {
  if (size > kMaxValueSize || HasNul(name)) return false;
  OpenKey k;
  if (k.Open(root, key, KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  return RegSetValueExW(k.Get(), Utf8ToWide(name).c_str(), 0, type,
                        static_cast<const BYTE*>(data), static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool Win32Registry::WriteString(RegRoot root, const std::string& key, const std::string& name,
                                const std::string& value) {
  std::wstring wide = Utf8ToWide(value);
  // Stored with its terminator, as the API asks.
  return WriteRaw(root, key, name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

bool Win32Registry::WriteDword(RegRoot root, const std::string& key, const std::string& name,
                               std::uint32_t value) {
  DWORD number = value;
  return WriteRaw(root, key, name, REG_DWORD, &number, sizeof number);
}

bool Win32Registry::WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                                std::span<const std::uint8_t> value) {
  return WriteRaw(root, key, name, REG_BINARY, value.data(), value.size());
}

bool Win32Registry::DeleteValue(RegRoot root, const std::string& key, const std::string& name) {
  OpenKey k;
  if (HasNul(name) || k.Open(root, key, KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  return RegDeleteValueW(k.Get(), Utf8ToWide(name).c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteKeyTree(RegRoot root, const std::string& key) {
  std::wstring path = KeyPath(key);
  if (path.empty() || HasNul(key)) return false;
  {
    std::lock_guard<Mutex> guard(readLock_);
    DropReadKey();  // it may be the key going, or one inside it
  }
  return RegDeleteTreeW(RootKey(root), path.c_str()) == ERROR_SUCCESS;
}

}  // namespace vm
