#pragma once
// Shared by the fuzz targets: a log that formats every line and keeps none, and a check that
// stops the run with a message libFuzzer shows beside the input.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/log.h"

namespace vm::fuzz {

class DiscardingLog : public LogSink {
 public:
  void WriteLine(const std::string&, const std::string& message) override { lines += message.size() != 0; }
  std::size_t lines = 0;
};

// Installs the discarding log once per process, so that every WriteLog formats its line.
inline void InstallLog() {
  static DiscardingLog log;
  static bool installed = (SetLogSink(&log), true);
  (void)installed;
}

inline void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "check failed: %s\n", what);
  std::abort();
}

}  // namespace vm::fuzz
