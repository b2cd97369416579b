#include "ui/windows.h"

#include <memory>

#include "app/main_form.h"
#include "ui/alarm/alarm_form.h"
#include "ui/options/about_form.h"
#include "ui/options/options_form.h"
#include "ui/process/process_form.h"
#include "ui/task_editor/task_editor.h"
#include "ui/task_list/mem_form.h"

namespace vm {

WindowKinds AllWindowKinds() {
  WindowKinds kinds{};
  kinds[kProcessWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<TProcF>(owner);
  };
  kinds[kOptionsWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<TOptF>(owner.App(), owner);
  };
  kinds[kTaskListWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<TMemForm>(owner);
  };
  kinds[kTaskEditorWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<TForm2>(owner.App(), owner);
  };
  kinds[kAlarmWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<TAlForm>(owner.App(), owner);
  };
  kinds[kAboutWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<TForm5>(owner.App(), owner);
  };
  return kinds;
}

}  // namespace vm
