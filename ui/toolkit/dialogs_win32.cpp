#include "ui/toolkit/dialogs_win32.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

// The common dialog header names its functions by macro; the portable interface's methods
// carry the plain names.
#undef ChooseFont
#undef ChooseColor

#include <algorithm>
#include <vector>

#include "ui/toolkit/dpi.h"
#include "ui/toolkit/win32_util_win32.h"

namespace vm::ui {

using win32::Narrow;
using win32::Widen;

namespace {
HWND Owner(WindowId id) { return reinterpret_cast<HWND>(id); }
}  // namespace

namespace win32 {

std::wstring FilterList(const std::string& filter) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (start <= filter.size()) {
    const std::size_t bar = filter.find('|', start);
    parts.push_back(Widen(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::wstring list;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i + 1].empty()) continue;
    list += parts[i];
    list += L'\0';
    list += parts[i + 1];
    list += L'\0';
  }
  list += L'\0';
  return list;
}

LOGFONTW ToLogFont(const FontChoice& choice, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = ToDevice(choice.height, dpi);
  lf.lfWidth = ToDevice(choice.width, dpi);
  lf.lfEscapement = choice.escapement;
  lf.lfOrientation = choice.orientation;
  lf.lfWeight = choice.weight;
  lf.lfItalic = choice.italic;
  lf.lfUnderline = choice.underline;
  lf.lfStrikeOut = choice.strikeOut;
  lf.lfCharSet = choice.charSet;
  lf.lfOutPrecision = choice.outPrecision;
  lf.lfClipPrecision = choice.clipPrecision;
  lf.lfQuality = choice.quality;
  lf.lfPitchAndFamily = choice.pitchAndFamily;
  const std::wstring face = CutUtf16(Widen(choice.faceName), LF_FACESIZE - 1);
  std::copy(face.begin(), face.end(), lf.lfFaceName);
  return lf;
}

void FromLogFont(const LOGFONTW& lf, int dpi, FontChoice& choice) {
  choice.height = ToDesign(lf.lfHeight, dpi);
  choice.width = ToDesign(lf.lfWidth, dpi);
  choice.escapement = lf.lfEscapement;
  choice.orientation = lf.lfOrientation;
  choice.weight = lf.lfWeight;
  choice.italic = lf.lfItalic;
  choice.underline = lf.lfUnderline;
  choice.strikeOut = lf.lfStrikeOut;
  choice.charSet = lf.lfCharSet;
  choice.outPrecision = lf.lfOutPrecision;
  choice.clipPrecision = lf.lfClipPrecision;
  choice.quality = lf.lfQuality;
  choice.pitchAndFamily = lf.lfPitchAndFamily;
  const std::wstring_view face(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
  choice.faceName = Narrow(face);
}

}  // namespace win32

std::optional<std::string> Win32Dialogs::OpenFile(const OpenFileRequest& request) {
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring proposed = win32::CutUtf16(Widen(request.fileName), file.size() - 1);
  std::copy(proposed.begin(), proposed.end(), file.begin());
  const std::wstring filter = win32::FilterList(request.filter);
  const std::wstring title = Widen(request.title);
  const std::wstring dir = Widen(request.initialDir);
  const std::wstring ext = Widen(request.defaultExt);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = Owner(request.owner);
  ofn.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
  ofn.nFilterIndex = static_cast<DWORD>(std::max(request.filterIndex, 1));
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  // The current directory stays: the program finds its files relative to it.
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return Narrow(file.data());
}

bool Win32Dialogs::ChooseFont(FontChoice& choice, WindowId owner) {
  const int dpi = win32::SystemDpi();
  LOGFONTW lf = win32::ToLogFont(choice, dpi);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = Owner(owner);
  cf.lpLogFont = &lf;
  cf.Flags = choice.flags;
  cf.rgbColors = win32::ToColorRef(choice.color);
  if (!ChooseFontW(&cf)) return false;
  win32::FromLogFont(lf, dpi, choice);
  choice.color = static_cast<Color>(cf.rgbColors);
  return true;
}

bool Win32Dialogs::ChooseColor(ColorChoice& choice, WindowId owner) {
  COLORREF custom[16];
  for (std::size_t i = 0; i < 16; ++i) custom[i] = win32::ToColorRef(choice.customColors[i]);
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = Owner(owner);
  cc.rgbResult = win32::ToColorRef(choice.color);
  cc.lpCustColors = custom;
  cc.Flags = choice.flags;
  const bool chosen = ChooseColorW(&cc) != FALSE;
  for (std::size_t i = 0; i < 16; ++i) choice.customColors[i] = static_cast<Color>(custom[i]);
  if (chosen) choice.color = static_cast<Color>(cc.rgbResult);
  return chosen;
}

std::optional<std::string> Win32Dialogs::BrowseForFolder(const std::string& title, WindowId owner) {
  // The folder browser of the newer style needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring text = Widen(title);
  BROWSEINFOW bi{};
  bi.hwndOwner = Owner(owner);
  bi.lpszTitle = text.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  std::optional<std::string> result;
  if (PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi)) {
    std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
    if (SHGetPathFromIDListW(pidl, path.data())) result = Narrow(path.data());
    CoTaskMemFree(pidl);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}

}  // namespace vm::ui
