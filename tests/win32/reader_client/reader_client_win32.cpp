// A screen reader's first questions, from a process of its own: the accessible object of a
// top-level window's client area (AccessibleObjectFromWindow), then every object below it
// (AccessibleChildren), printed one per line as "role | name | value | states" with indentation.
//
//   vemtaro_reader_client "Window caption" [button name]...
//
// Exit status: 0 when every button name given was found on an object with the push-button role;
// 1 when one was not; 2 when no visible window has the caption; 3 when the window gave no
// accessible object (the HRESULT is printed).

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text, int length = -1) {
  if (!text) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  if (length < 0 && !out.empty()) out.pop_back();  // the terminating zero
  return out;
}

std::wstring Wide(const char* text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
  if (!out.empty()) out.pop_back();
  return out;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

struct Found {
  std::string name;
  long role = 0;
};

VARIANT ChildId(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::string NameOf(IAccessible* object, long child) {
  BSTR name = nullptr;
  if (object->get_accName(ChildId(child), &name) != S_OK || !name) return {};
  std::string text = Utf8(name);
  SysFreeString(name);
  return text;
}

long RoleOf(IAccessible* object, long child) {
  VARIANT role;
  VariantInit(&role);
  if (FAILED(object->get_accRole(ChildId(child), &role)) || role.vt != VT_I4) {
    VariantClear(&role);
    return 0;
  }
  return role.lVal;
}

std::string ValueOf(IAccessible* object, long child) {
  BSTR value = nullptr;
  if (object->get_accValue(ChildId(child), &value) != S_OK || !value) return {};
  std::string text = Utf8(value);
  SysFreeString(value);
  return text;
}

std::string RoleText(long role) {
  wchar_t text[128] = {};
  if (role == 0 || GetRoleTextW(static_cast<DWORD>(role), text, 128) == 0) return "(no role)";
  return Utf8(text);
}

std::string States(IAccessible* object, long child) {
  VARIANT state;
  VariantInit(&state);
  if (FAILED(object->get_accState(ChildId(child), &state)) || state.vt != VT_I4) return {};
  std::string out;
  const struct {
    DWORD bit;
    const char* text;
  } names[] = {{STATE_SYSTEM_FOCUSED, "focused"},   {STATE_SYSTEM_FOCUSABLE, "focusable"},
               {STATE_SYSTEM_PRESSED, "pressed"},   {STATE_SYSTEM_UNAVAILABLE, "unavailable"},
               {STATE_SYSTEM_SELECTED, "selected"}, {STATE_SYSTEM_INVISIBLE, "invisible"}};
  for (const auto& n : names)
    if (static_cast<DWORD>(state.lVal) & n.bit) out += (out.empty() ? "" : ",") + std::string(n.text);
  return out;
}

void Print(int depth, IAccessible* object, long child, std::vector<Found>& found) {
  Found f{Trimmed(NameOf(object, child)), RoleOf(object, child)};
  std::printf("%*s%s | %s | %s | %s\n", depth * 2, "", RoleText(f.role).c_str(), f.name.c_str(),
              ValueOf(object, child).c_str(), States(object, child).c_str());
  found.push_back(f);
}

void Walk(IAccessible* object, int depth, std::vector<Found>& found, int& budget) {
  if (depth > 8 || budget <= 0) return;
  long count = 0;
  if (FAILED(object->get_accChildCount(&count)) || count <= 0) return;
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  long got = 0;
  if (FAILED(AccessibleChildren(object, 0, count, children.data(), &got))) return;
  for (long i = 0; i < got && budget > 0; ++i, --budget) {
    VARIANT& c = children[static_cast<std::size_t>(i)];
    if (c.vt == VT_DISPATCH && c.pdispVal) {
      IAccessible* child = nullptr;
      if (SUCCEEDED(c.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child))) && child) {
        Print(depth, child, CHILDID_SELF, found);
        Walk(child, depth + 1, found, budget);
        child->Release();
      }
    } else if (c.vt == VT_I4) {
      Print(depth, object, c.lVal, found);
    }
    VariantClear(&c);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vemtaro_reader_client \"Window caption\" [button name]...\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HWND window = nullptr;
  const std::wstring caption = Wide(argv[1]);
  for (HWND w = FindWindowW(nullptr, caption.c_str()); w; w = FindWindowExW(nullptr, w, nullptr, caption.c_str()))
    if (IsWindowVisible(w)) {
      window = w;
      break;
    }
  if (!window) {
    std::printf("no visible window \"%s\"\n", argv[1]);
    return 2;
  }
  IAccessible* client = nullptr;
  const HRESULT hr = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                reinterpret_cast<void**>(&client));
  if (FAILED(hr) || !client) {
    std::printf("no accessible object for \"%s\": 0x%08lX\n", argv[1], static_cast<unsigned long>(hr));
    return 3;
  }
  std::vector<Found> found;
  int budget = 600;
  Print(0, client, CHILDID_SELF, found);
  Walk(client, 1, found, budget);
  client->Release();

  int missing = 0;
  for (int i = 2; i < argc; ++i) {
    const std::string wanted = argv[i];
    bool seen = false;
    for (const Found& f : found) seen = seen || (f.role == ROLE_SYSTEM_PUSHBUTTON && f.name == wanted);
    std::printf("%s push button \"%s\"\n", seen ? "found" : "MISSING", wanted.c_str());
    if (!seen) ++missing;
  }
  std::fflush(stdout);
  return missing == 0 ? 0 : 1;
}
