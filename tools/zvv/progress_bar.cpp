#include "progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace zvv {

namespace {

constexpr int kWidth = 30;
constexpr size_t kLabelWidth = 40;

}  // namespace

ProgressBar::ProgressBar(int64_t total) : total_(std::max<int64_t>(total, 1)), shown_(isatty(2)) {}

ProgressBar::~ProgressBar() {
  if (drawn_) std::fputc('\n', stderr);
}

void ProgressBar::step(const std::string& label) {
  done_ = std::min(done_ + 1, total_);
  if (shown_) draw(label);
}

void ProgressBar::moveTo(int64_t done, int64_t total, const std::string& label) {
  total = std::max<int64_t>(total, 1);
  done = std::clamp<int64_t>(done, 0, total);
  const bool changed = done * 100 / total != done_ * 100 / total_;
  done_ = done;
  total_ = total;
  if (shown_ && (changed || !drawn_)) draw(label);
}

void ProgressBar::clear() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r\033[K");
  drawn_ = false;
}

void ProgressBar::draw(const std::string& label) {
  const int filled = static_cast<int>(done_ * kWidth / total_);
  std::string name =
      label.size() > kLabelWidth ? "..." + label.substr(label.size() - kLabelWidth + 3) : label;
  std::fprintf(stderr, "\r\033[K[%s%s] %3d%%  %lld/%lld  %s", std::string(filled, '#').c_str(),
               std::string(kWidth - filled, '.').c_str(), static_cast<int>(done_ * 100 / total_),
               static_cast<long long>(done_), static_cast<long long>(total_), name.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

}  // namespace zvv
