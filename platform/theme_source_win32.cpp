#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/theme_source.h"
#include "platform/wide_text_win32.h"

namespace vm {

namespace {

constexpr const wchar_t* kSchemeNamesType = L"FILERESNAMES";

HMODULE ToHandle(ThemeModule module) { return reinterpret_cast<HMODULE>(module); }

// A resource name as EnumResourceNames hands it over: a number or a text that is only valid
// during the callback, so the text is copied.
struct ResourceName {
  bool found = false;
  bool isNumber = false;
  WORD number = 0;
  std::wstring text;
  LPCWSTR Get() const { return isNumber ? MAKEINTRESOURCEW(number) : text.c_str(); }
};

BOOL CALLBACK TakeFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  auto* first = reinterpret_cast<ResourceName*>(param);
  first->found = true;
  if (IS_INTRESOURCE(name)) {
    first->isNumber = true;
    first->number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
  } else {
    first->text = name;
  }
  return FALSE;  // the first one is all we need
}

class Win32ThemeSource : public ThemeSource {
 public:
  std::optional<ThemeModule> LoadDataFile(const std::string& path) override {
    if (path.empty()) return std::nullopt;
    // As a data file and image resource: mapped for its resources only, nothing executes.
    HMODULE module = LoadLibraryExW(Utf8ToWide(path).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return std::nullopt;
    return reinterpret_cast<ThemeModule>(module);
  }

  void Release(ThemeModule module) override {
    if (module != 0) FreeLibrary(ToHandle(module));
  }

  std::optional<std::vector<std::uint8_t>> SchemeNamesResource(ThemeModule module) override {
    if (module == 0) return std::nullopt;
    ResourceName first;
    EnumResourceNamesW(ToHandle(module), kSchemeNamesType, &TakeFirstName,
                       reinterpret_cast<LONG_PTR>(&first));
    if (!first.found) return std::nullopt;
    HRSRC info = FindResourceW(ToHandle(module), first.Get(), kSchemeNamesType);
    if (info == nullptr) return std::nullopt;
    HGLOBAL loaded = LoadResource(ToHandle(module), info);
    const DWORD size = SizeofResource(ToHandle(module), info);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) return std::nullopt;
    const std::size_t take = std::min<std::size_t>(size, kMaxSchemeNamesBytes);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + take);
  }

  std::optional<ui::Bitmap> LoadBitmapResource(ThemeModule module, const std::string& name) override {
    if (module == 0 || name.empty()) return std::nullopt;
    const std::wstring wideName = Utf8ToWide(name);
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(ToHandle(module), wideName.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return std::nullopt;
    std::optional<ui::Bitmap> result = ToPixels(bitmap);
    DeleteObject(bitmap);
    return result;
  }

  std::optional<std::string> ExpandEnvironment(const std::string& path) override {
    const std::wstring source = Utf8ToWide(path);
    // The answer counts the terminating NUL.
    const DWORD needed = ExpandEnvironmentStringsW(source.c_str(), nullptr, 0);
    if (needed == 0 || needed - 1 > kMaxPathChars) return std::nullopt;
    std::wstring buffer(needed, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(source.c_str(), buffer.data(), needed);
    if (written == 0 || written > needed) return std::nullopt;
    return WideToUtf8(WideFromBuffer(buffer.data(), written));
  }

 private:
  static std::optional<ui::Bitmap> ToPixels(HBITMAP bitmap) {
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) == 0) return std::nullopt;
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (width <= 0 || height <= 0) return ui::Bitmap();
    if (width > kMaxBitmapSide || height > kMaxBitmapSide) return std::nullopt;

    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;  // top-down rows, as ui::Bitmap keeps them
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;

    ui::Bitmap out(width, height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height),
                               out.MutablePixels().data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) return std::nullopt;

    // 32-bit DIB pixels are 0xAARRGGBB like ui::Pixel. Only a 32-bit source has an alpha
    // channel, and many of those leave it all zero: then the picture is opaque.
    std::vector<ui::Pixel>& pixels = out.MutablePixels();
    const bool ownAlpha = info.bmBitsPixel == 32 &&
                          std::any_of(pixels.begin(), pixels.end(),
                                      [](ui::Pixel p) { return (p >> 24) != 0; });
    if (!ownAlpha)
      for (ui::Pixel& p : pixels) p |= 0xFF000000u;
    return out;
  }
};

}  // namespace

std::unique_ptr<ThemeSource> MakeWin32ThemeSource() { return std::make_unique<Win32ThemeSource>(); }

}  // namespace vm
