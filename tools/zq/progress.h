// A progress bar on stderr for long work, drawn only when stderr is a
// terminal (and not with --quiet): pipes and log files stay clean.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace zqcli {

class Progress {
 public:
  // total 0: unknown, the bar shows a count only.
  Progress(std::string label, uint64_t total, bool quiet);
  ~Progress();
  void setTotal(uint64_t total) { total_ = total; }
  void update(uint64_t done);
  // Draws the final state and ends the line.
  void finish();
  bool shown() const { return enabled_; }

 private:
  void draw();
  std::string label_;
  uint64_t total_;
  uint64_t done_ = 0;
  bool enabled_;
  bool finished_ = false;
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace zqcli
