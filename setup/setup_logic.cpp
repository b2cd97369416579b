#include "setup/setup_logic.h"

namespace setup {

namespace {

constexpr std::size_t kMaxPath = 260;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring WithoutTrailingSeparators(std::wstring_view path) {
  std::wstring result(path);
  // Keep the separator of a drive root ("C:\") and of a lone "\".
  while (result.size() > 1 && IsSeparator(result.back()) &&
         !(result.size() == 3 && result[1] == L':'))
    result.pop_back();
  return result;
}

wchar_t LowerChar(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
  if (c >= 0x0410 && c <= 0x042F) return static_cast<wchar_t>(c + 32);  // Cyrillic А..Я
  if (c >= 0x0400 && c <= 0x040F) return static_cast<wchar_t>(c + 80);  // Ѐ..Џ
  return c;
}

}  // namespace

bool EndsInLnk(std::wstring_view title) {
  return title.size() >= 3 && title.substr(title.size() - 3) == L"lnk";
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring result(text);
  for (auto& c : result) c = LowerChar(c);
  return result;
}

Mode ModeFromFileName(std::wstring_view fileName) {
  return LowerCase(fileName).find(L"unins") != std::wstring::npos ? Mode::Uninstall : Mode::Install;
}

std::wstring BaseName(std::wstring_view fileName) {
  std::wstring lower = LowerCase(fileName);
  if (lower.size() <= 4) return {};
  lower.resize(lower.size() - 4);
  return lower;
}

std::wstring FolderOf(std::wstring_view path) {
  auto cut = path.find_last_of(L"\\/");
  if (cut == std::wstring_view::npos) return {};
  return std::wstring(path.substr(0, cut + 1));
}

std::wstring FileNameOf(std::wstring_view path) {
  auto cut = path.find_last_of(L"\\/");
  return std::wstring(cut == std::wstring_view::npos ? path : path.substr(cut + 1));
}

std::optional<Identity> Identify(SystemCalls& system) {
  std::wstring started = system.StartupTitle();
  // Programs started by some launchers carry no title; the executable's own path serves then.
  if (started.empty()) started = system.ModuleFileName();
  if (started.empty()) return std::nullopt;

  if (EndsInLnk(started)) {
    auto target = system.ResolveShortcut(started);
    if (!target || target->empty()) return std::nullopt;
    started = *target;
  }

  auto full = system.FullPath(started);
  if (!full || full->empty() || full->size() > kMaxPath) return std::nullopt;

  Identity id;
  id.programPath = *full;
  id.sourceFolder = FolderOf(*full);
  id.fileName = FileNameOf(*full);
  if (id.sourceFolder.empty() || id.fileName.empty()) return std::nullopt;
  id.mode = ModeFromFileName(id.fileName);
  id.baseName = BaseName(id.fileName);
  if (id.baseName.empty()) return std::nullopt;
  id.infPath = id.sourceFolder + id.baseName + L".inf";
  return id;
}

Action NextAction(State state, Mode mode) {
  switch (state) {
    case State::Start: return mode == Mode::Install ? Action::ChooseFolder : Action::Perform;
    case State::FolderChosen: return Action::Perform;
    case State::Done: return Action::Finish;
  }
  return Action::None;
}

Action CancelAction(State state) {
  return state == State::Done ? Action::Finish : Action::Close;
}

std::wstring InstalledProgram(std::wstring_view targetFolder, std::wstring_view productName) {
  std::wstring result = WithoutTrailingSeparators(targetFolder);
  if (result.empty() || !IsSeparator(result.back())) result += L'\\';
  result += productName;
  result += L".exe";
  return result;
}

std::wstring TargetFolderFor(std::wstring_view chosen, std::wstring_view productName) {
  std::wstring folder = WithoutTrailingSeparators(chosen);
  if (folder.empty() || productName.empty()) return folder;
  if (LowerCase(FileNameOf(folder)) == LowerCase(productName)) return folder;
  if (!IsSeparator(folder.back())) folder += L'\\';
  folder += productName;
  return folder;
}

std::wstring DefaultProgramsFolder(std::wstring_view localAppData) {
  std::wstring folder = WithoutTrailingSeparators(localAppData);
  if (folder.empty()) return {};
  if (!IsSeparator(folder.back())) folder += L'\\';
  return folder + L"Programs";
}

FolderVerdict JudgeTargetFolder(std::wstring_view target, bool writable) {
  if (target.empty()) return FolderVerdict::Empty;
  // The longest file name that goes there ("uninstall.inf", "vemtaro-help.htm") must still fit.
  if (target.size() + 1 + 20 > kMaxPath) return FolderVerdict::TooLong;
  if (!writable) return FolderVerdict::NotWritable;
  return FolderVerdict::Ok;
}

std::wstring FolderVerdictMessage(const Texts& texts, FolderVerdict verdict, std::wstring_view target) {
  const std::wstring folder(target);
  switch (verdict) {
    case FolderVerdict::Ok: return {};
    case FolderVerdict::Empty: return std::wstring(texts.folderEmpty);
    case FolderVerdict::TooLong:
      return std::wstring(texts.folderTooLongBefore) + folder + std::wstring(texts.folderTooLongAfter);
    case FolderVerdict::NotWritable:
      return std::wstring(texts.folderNotWritableBefore) + folder + std::wstring(texts.folderNotWritableAfter);
  }
  return {};
}

std::wstring ShortcutFolder(std::wstring_view programsFolder, std::wstring_view productName) {
  std::wstring folder = WithoutTrailingSeparators(programsFolder);
  if (folder.empty() || !IsSeparator(folder.back())) folder += L'\\';
  return folder + std::wstring(productName);
}

std::wstring ShortcutPath(std::wstring_view programsFolder, std::wstring_view productName,
                          std::wstring_view linkName) {
  return ShortcutFolder(programsFolder, productName) + L"\\" + std::wstring(linkName) + L".lnk";
}

bool IsPlainFileName(std::wstring_view name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  for (wchar_t c : name)
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  return name.back() != L' ' && name.back() != L'.';
}

std::wstring MissingSourceMessage(const Texts& texts, std::wstring_view file) {
  return std::wstring(texts.missingSourceBefore) + std::wstring(file) + std::wstring(texts.missingSourceAfter);
}

std::wstring CopyErrorMessage(const Texts& texts, std::wstring_view file, std::wstring_view reason) {
  return std::wstring(texts.copyErrorBefore) + std::wstring(file) + L"\n" + std::wstring(reason) +
         std::wstring(texts.copyErrorAfter);
}

std::wstring NotRemovedMessage(const Texts& texts, std::wstring_view files) {
  return std::wstring(texts.notRemovedBefore) + std::wstring(files) + std::wstring(texts.notRemovedAfter);
}

std::wstring MainText(const Texts& texts, State state, Mode mode, std::wstring_view productName) {
  if (state == State::Done) return std::wstring(mode == Mode::Install ? texts.installed : texts.removed);
  if (mode == Mode::Install)
    return std::wstring(texts.installTitleBefore) + std::wstring(productName) + std::wstring(texts.installTitleAfter);
  return std::wstring(texts.uninstallTitle);
}

}  // namespace setup
