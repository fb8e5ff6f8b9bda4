#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace zqcli {

Progress::Progress(std::string label, uint64_t total, bool quiet)
    : label_(std::move(label)), total_(total), enabled_(!quiet && isatty(STDERR_FILENO)) {}

Progress::~Progress() {
  finish();
}

void Progress::update(uint64_t done) {
  done_ = done;
  if (!enabled_) return;
  // A redraw at most ten times a second, and always the first.
  const auto now = std::chrono::steady_clock::now();
  if (lastDraw_.time_since_epoch().count() && now - lastDraw_ < std::chrono::milliseconds(100))
    return;
  lastDraw_ = now;
  draw();
}

void Progress::draw() {
  constexpr int kWidth = 30;
  if (total_) {
    const uint64_t done = done_ > total_ ? total_ : done_;
    const int filled = static_cast<int>(done * kWidth / total_);
    fprintf(stderr, "\r%s [%.*s%*s] %3d%% %llu/%llu", label_.c_str(), filled,
            "##############################", kWidth - filled, "",
            static_cast<int>(done * 100 / total_), static_cast<unsigned long long>(done),
            static_cast<unsigned long long>(total_));
  } else {
    fprintf(stderr, "\r%s %llu", label_.c_str(), static_cast<unsigned long long>(done_));
  }
  fflush(stderr);
}

void Progress::finish() {
  if (!enabled_ || finished_) return;
  finished_ = true;
  draw();
  fputs("\n", stderr);
}

}  // namespace zqcli
