// The C++ runtime's failures in the Windows programs raise vm::LibraryFault with the runtime's
// message (app/win/library_faults.cpp, linked into this test program as into the clock).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win/library_faults.h"

namespace vm {
namespace {

template <class Action>
std::string FaultMessage(Action action) {
  try {
    action();
  } catch (const LibraryFault& fault) {
    return fault.what();
  } catch (const std::exception& other) {
    return std::string("another exception: ") + other.what();
  }
  return "no exception";
}

TEST(LibraryFaultsTest, TheRuntimesFailuresRaiseALibraryFaultWithItsMessage) {
  std::vector<int> numbers(2);
  EXPECT_EQ(FaultMessage([&] { (void)numbers.at(2); }).rfind("vector::", 0), 0u);
  EXPECT_EQ(FaultMessage([] { (void)std::stoi("twelve"); }), "stoi");
  EXPECT_EQ(FaultMessage([] { (void)std::stoi("99999999999999999999"); }), "stoi");
  std::string text;
  EXPECT_EQ(FaultMessage([&] { text.reserve(text.max_size() + 1); }).rfind("basic_string::", 0), 0u);
  EXPECT_EQ(FaultMessage([] { std::vector<long long>(std::vector<long long>().max_size() + 1); }),
            "cannot create std::vector larger than max_size()");
}

}  // namespace
}  // namespace vm
