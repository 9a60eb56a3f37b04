// A one-line progress bar on the terminal: "[########............]  40%  4/10  name".
#pragma once

#include <cstdint>
#include <string>

namespace zvv {

class ProgressBar {
 public:
  // Drawn on stderr, and only when stderr is a terminal.
  explicit ProgressBar(int64_t total);
  ~ProgressBar();

  bool shown() const { return shown_; }
  // One more item done, named `label`.
  void step(const std::string& label);
  // `done` of `total` done (a bar whose end moves), drawn when the percentage changes.
  void moveTo(int64_t done, int64_t total, const std::string& label);
  // Clears the line for a message.
  void clear();

 private:
  void draw(const std::string& label);

  int64_t total_;
  int64_t done_ = 0;
  bool shown_;
  bool drawn_ = false;
};

}  // namespace zvv
