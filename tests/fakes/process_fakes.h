#pragma once
// A process table in memory: processes come and go as a test says, and it records what it was
// asked to do.

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/process_table.h"
#include "ui/toolkit/bitmap.h"

namespace vm::fakes {

class FakeProcessTable : public ProcessTable {
 public:
  FakeProcessTable() { processes.push_back({0, 0, 1, 0, "[System Process]"}); }

  // Adds a process; its path is "C:\Apps\<name>" unless given (empty: the path cannot be read).
  ProcessEntry& Start(std::uint32_t id, const std::string& name, std::uint32_t threads = 1,
                      std::int32_t basePriority = 8, std::optional<std::string> path = std::nullopt) {
    processes.push_back({id, 1, threads, basePriority, name});
    paths[id] = path ? *path : "C:\\Apps\\" + name;
    return processes.back();
  }
  void Exit(std::uint32_t id) {
    processes.erase(std::remove_if(processes.begin(), processes.end(),
                                   [&](const ProcessEntry& e) { return e.processId == id; }),
                    processes.end());
  }
  bool Running(std::uint32_t id) const {
    return std::any_of(processes.begin(), processes.end(), [&](const ProcessEntry& e) { return e.processId == id; });
  }

  std::optional<std::vector<ProcessEntry>> Snapshot() override {
    ++snapshots;
    if (snapshotFails) return std::nullopt;
    return processes;
  }
  std::optional<std::string> ImagePath(std::uint32_t processId) override {
    ++pathQueries;
    auto it = paths.find(processId);
    if (it == paths.end() || it->second.empty()) return std::nullopt;
    return it->second;
  }
  std::optional<ui::Icon> FileIcon(const std::string& path, int size) override {
    iconQueries.push_back(path);
    if (iconless.count(path)) return std::nullopt;
    return ui::Icon(ui::Bitmap(size, size, 0xFF0000FFu));
  }
  ui::Icon ApplicationIcon(int size) override {
    ++applicationIcons;
    return ui::Icon(ui::Bitmap(size, size, 0xFF00FF00u));
  }
  ProcessCallResult SetPriorityClass(std::uint32_t processId, std::uint32_t priorityClass) override {
    priorityCalls.push_back({processId, priorityClass});
    if (!Running(processId) || unopenable.count(processId)) return ProcessCallResult::NotOpened;
    return priorityFails ? ProcessCallResult::Failed : ProcessCallResult::Done;
  }
  ProcessCallResult Terminate(std::uint32_t processId) override {
    terminated.push_back(processId);
    if (!Running(processId) || unopenable.count(processId)) return ProcessCallResult::NotOpened;
    if (terminateFails.count(processId)) return ProcessCallResult::Failed;
    Exit(processId);
    return ProcessCallResult::Done;
  }

  // Case folded for ASCII, Latin-1 and basic Cyrillic letters, as the system folds them.
  bool SameExeName(const std::string& a, const std::string& b) const override { return Folded(a) == Folded(b); }

  std::vector<ProcessEntry> processes;
  std::map<std::uint32_t, std::string> paths;
  std::set<std::string> iconless;
  std::set<std::uint32_t> unopenable;
  std::set<std::uint32_t> terminateFails;
  bool snapshotFails = false;
  bool priorityFails = false;
  int snapshots = 0;
  int pathQueries = 0;
  int applicationIcons = 0;
  std::vector<std::string> iconQueries;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> priorityCalls;
  std::vector<std::uint32_t> terminated;

 private:
  static std::u32string Folded(const std::string& utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
      const auto lead = static_cast<unsigned char>(utf8[i]);
      const std::size_t n = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
      char32_t c = n == 1 ? lead : lead & (0x7F >> n);
      for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k) c = (c << 6) | (utf8[i + k] & 0x3F);
      i += n;
      if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x430 && c <= 0x44F)) c -= 0x20;
      else if (c >= 0x450 && c <= 0x45F) c -= 0x50;
      out.push_back(c);
    }
    return out;
  }
};

}  // namespace vm::fakes
