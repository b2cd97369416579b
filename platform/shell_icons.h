#pragma once
// Icons of the system's shell library and the stock icons, for the menus and the task marks.

#include <optional>
#include <string>

#include "draw/image_list.h"

namespace vm {

enum class StockIcon { Information, Warning, WindowsLogo, Application };

class ShellIcons {
 public:
  virtual ~ShellIcons() = default;
  // Loads the library as a data file; false when it cannot be loaded.
  virtual bool Open(const std::string& libraryPath) = 0;
  // The icon with resource number `resource` of the open library at `size` × `size` pixels;
  // nothing when the library has no such icon.
  virtual std::optional<ui::Icon> Load(int resource, int size) = 0;
  // Frees the library.
  virtual void Close() = 0;
  virtual ui::Icon Stock(StockIcon which, int size) = 0;
};

}  // namespace vm
