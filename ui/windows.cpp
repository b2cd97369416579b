#include "ui/windows.h"

#include "ui/process/process_form.h"

namespace vm {

WindowKinds AllWindowKinds() {
  WindowKinds kinds{};
  kinds[0] = [](TForm1& owner) -> std::unique_ptr<ui::Form> { return std::make_unique<TProcF>(owner); };
  return kinds;
}

}  // namespace vm
