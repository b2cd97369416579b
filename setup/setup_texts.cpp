#include "setup/setup_texts.h"

namespace setup {

namespace {

constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;
constexpr std::uint16_t kRussian = 0x19;

constexpr Texts kRussianTexts{
    .next = L"Далее",
    .cancel = L"Отмена",
    .browse = L"Обзор",
    .folderField = L"Директория",
    .runAfter = L"Запустить установленную программу",
    .close = L"Закрыть",
    .installTitleBefore = L"Программа установки ",
    .installTitleAfter = L"",
    .uninstallTitle = L"Это программа удаления,продолжить?",
    .installed = L"Установка успешно завершена",
    .removed = L"Программа успешно удалена",
    .continueHint = L"Продолжить установку",
    .browseTitle = L"Выберите директорию для установки пограммы ",
    .confirmRemoval = L"Удалить программу?",
    .closeClockFirst = L"Программа сейчас запущена. Закройте её и нажмите «Далее» ещё раз.",
    .folderEmpty = L"Директория для установки не выбрана.",
    .folderTooLongBefore = L"Путь к директории слишком длинный:\n",
    .folderTooLongAfter = L"\nВыберите другую директорию.",
    .folderNotWritableBefore = L"Нет прав на запись в директорию\n",
    .folderNotWritableAfter =
        L"\n\nПрограмма хранит свои задачи рядом с собой и не смогла бы их сохранить. "
        L"Выберите директорию в своём профиле, например %LOCALAPPDATA%\\Programs.",
    .missingSourceBefore = L"Не найден файл установки:\n",
    .missingSourceAfter = L"\n\nУстановка прервана. Распакуйте все файлы пакета в одну папку и запустите "
                          L"программу установки снова.",
    .copyErrorBefore = L"Не удалось скопировать файл:\n",
    .copyErrorAfter = L"\n\nУстановка прервана.",
    .notRemovedBefore = L"Не удалось удалить файлы:\n",
    .notRemovedAfter = L"\nЗакройте программу, если она запущена, и удалите их вручную.",
    .shortcutsFailed = L"Не удалось создать ярлыки:\n",
    .noStartMenu = L"Не найдена папка меню «Пуск».",
};

constexpr Texts kEnglishTexts{
    .next = L"Next",
    .cancel = L"Cancel",
    .browse = L"Browse...",
    .folderField = L"Folder",
    .runAfter = L"Start the installed program",
    .close = L"Close",
    .installTitleBefore = L"",
    .installTitleAfter = L" Setup",
    .uninstallTitle = L"This is the uninstaller. Do you want to continue?",
    .installed = L"Installation completed successfully",
    .removed = L"The program has been removed",
    .continueHint = L"Click Next to continue",
    .browseTitle = L"Choose the folder to install the program in",
    .confirmRemoval = L"Remove the program?",
    .closeClockFirst = L"The program is running now. Close it and click Next again.",
    .folderEmpty = L"No installation folder has been chosen.",
    .folderTooLongBefore = L"The path of the folder is too long:\n",
    .folderTooLongAfter = L"\nChoose another folder.",
    .folderNotWritableBefore = L"You have no right to write to the folder\n",
    .folderNotWritableAfter =
        L"\n\nThe program keeps its tasks beside itself and could not save them there. "
        L"Choose a folder in your own profile, for example %LOCALAPPDATA%\\Programs.",
    .missingSourceBefore = L"A file of the installation is missing:\n",
    .missingSourceAfter = L"\n\nThe installation has been stopped. Unpack all files of the package into one "
                          L"folder and start the setup program again.",
    .copyErrorBefore = L"The file could not be copied:\n",
    .copyErrorAfter = L"\n\nThe installation has been stopped.",
    .notRemovedBefore = L"These files could not be removed:\n",
    .notRemovedAfter = L"\nClose the program if it is running, and delete them yourself.",
    .shortcutsFailed = L"The shortcuts could not be made:\n",
    .noStartMenu = L"The Start menu folder was not found.",
};

}  // namespace

Language LanguageFor(std::uint16_t uiLanguageId) {
  return (uiLanguageId & kPrimaryLanguageMask) == kRussian ? Language::Russian : Language::English;
}

const Texts& TextsFor(Language language) {
  return language == Language::Russian ? kRussianTexts : kEnglishTexts;
}

}  // namespace setup
