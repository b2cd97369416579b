#pragma once
// A file system in memory whose every change is a numbered step, so that a test can make the
// step it chooses fail or "crash" the program.
//
// ReplaceFile is taken apart into the steps Win32FileSystem::ReplaceFile takes: create the
// temporary file beside the target, write it (in pieces), flush it, close it, move it over the
// target, and delete it again when any of these failed. A crash leaves the files exactly as they
// were before the step at which it happened, as a program killed there would.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/services.h"

namespace vm::fakes {

// Thrown at the crashing step; nothing in the program may catch it.
struct SimulatedCrash {
  int step;
};

class FaultyFileSystem : public FileSystem {
 public:
  enum class Fault { None, Fail, Crash };
  using Files = std::map<std::string, std::vector<std::uint8_t>>;

  // The step (counted from 0 since Arm) that fails or crashes; the others all succeed.
  void Arm(int step, Fault fault) {
    steps_ = 0;
    faultStep_ = step;
    fault_ = fault;
    hit_ = false;
    log_.clear();
  }
  void Disarm() { Arm(-1, Fault::None); }
  int Steps() const { return steps_; }    // steps taken since Arm
  bool Hit() const { return hit_; }       // whether the armed step was reached
  const std::vector<std::string>& StepLog() const { return log_; }  // "write tasks.sft.tmp" ...

  const Files& Snapshot() const { return files_; }
  void Restore(const Files& files) { files_ = files; }
  void Put(const std::string& path, std::vector<std::uint8_t> bytes) { files_[Lower(path)] = std::move(bytes); }
  std::optional<std::vector<std::uint8_t>> Bytes(const std::string& path) const {
    auto it = files_.find(Lower(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }
  std::vector<std::string> PathsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (auto& [p, b] : files_)
      if (p.rfind(Lower(prefix), 0) == 0) out.push_back(p);
    return out;
  }
  // Writes go out in pieces of this size, so that a crash can fall between two of them.
  void SetWritePiece(std::size_t bytes) { piece_ = bytes; }

  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) override {
    return Bytes(path);
  }
  bool FileExists(const std::string& path) override { return files_.count(Lower(path)) != 0; }

  bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
    const std::string temp = path + ".tmp-1";
    if (!Step("create " + temp, [&] { files_[Lower(temp)].clear(); })) return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size(); done += piece_) {
      std::size_t n = std::min(piece_, bytes.size() - done);
      ok = Step("write " + temp, [&] {
        auto& file = files_[Lower(temp)];
        file.insert(file.end(), bytes.begin() + done, bytes.begin() + done + n);
      });
    }
    ok = ok && Step("flush " + temp, [] {});
    ok = Step("close " + temp, [] {}) && ok;
    ok = ok && Step("move " + temp + " over " + path, [&] {
      files_[Lower(path)] = std::move(files_[Lower(temp)]);
      files_.erase(Lower(temp));
    });
    if (!ok) Step("delete " + temp, [&] { files_.erase(Lower(temp)); });
    return ok;
  }
  bool MoveFile(const std::string& from, const std::string& to) override {
    if (!files_.count(Lower(from)) || files_.count(Lower(to))) return false;
    return Step("move " + from + " to " + to, [&] {
      files_[Lower(to)] = std::move(files_[Lower(from)]);
      files_.erase(Lower(from));
    });
  }
  bool DeleteFile(const std::string& path) override {
    if (!files_.count(Lower(path))) return false;
    return Step("delete " + path, [&] { files_.erase(Lower(path)); });
  }
  std::unique_ptr<WritableFile> CreateForWriting(const std::string& path) override {
    if (!Step("create " + path, [&] { files_[Lower(path)].clear(); })) return nullptr;
    return std::make_unique<File>(*this, path);
  }

 private:
  struct File : WritableFile {
    File(FaultyFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(const void* data, std::size_t size) override {
      auto p = static_cast<const std::uint8_t*>(data);
      return fs_.Step("write " + path_, [&] {
        auto& file = fs_.files_[Lower(path_)];
        file.insert(file.end(), p, p + size);
      });
    }
    FaultyFileSystem& fs_;
    std::string path_;
  };

  static std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }

  // Takes one step: does it, fails it (false, nothing changed) or crashes before it.
  template <typename Change>
  bool Step(const std::string& what, Change change) {
    int step = steps_++;
    log_.push_back(what);
    if (step == faultStep_) {
      hit_ = true;
      if (fault_ == Fault::Crash) throw SimulatedCrash{step};
      if (fault_ == Fault::Fail) return false;
    }
    change();
    return true;
  }

  Files files_;
  std::size_t piece_ = 512;
  int steps_ = 0;
  int faultStep_ = -1;
  Fault fault_ = Fault::None;
  bool hit_ = false;
  std::vector<std::string> log_;
};

}  // namespace vm::fakes
