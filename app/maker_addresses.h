#pragma once
// The maker's web page and mail address as this build was configured (empty when not set): the
// about window's links and the alarm window's page hint name the same ones.

#include <string>

namespace vm {

struct MakerAddresses {
  std::string webPage;
  std::string mail;
};

MakerAddresses BuiltMakerAddresses();

}  // namespace vm
