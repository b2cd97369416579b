#include "ui/windows.h"

#include "app/main_form.h"
#include "ui/task_list/mem_form.h"

namespace vm {

WindowKinds AllWindowKinds() {
  WindowKinds kinds{};
  kinds[kTaskListWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> { return std::make_unique<TMemForm>(owner); };
  return kinds;
}

}  // namespace vm
