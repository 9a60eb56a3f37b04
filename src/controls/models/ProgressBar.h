// A progress bar: Value within Min..Max, Min below Max (error 380 otherwise, as the
// control refuses them); Refresh only counts.
#pragma once

#include "api/ProgressBar.h"
#include "controls/models/control_errors.h"

namespace zv::models {

class ProgressBar final : public zv::ProgressBar {
 public:
  float get_Min() override { return min_; }
  void let_Min(float newValue) override {
    if (newValue >= max_) raiseControlError(kInvalidPropertyValue);
    min_ = newValue;
    if (value_ < min_) value_ = min_;
  }
  float get_Max() override { return max_; }
  void let_Max(float newValue) override {
    if (newValue <= min_) raiseControlError(kInvalidPropertyValue);
    max_ = newValue;
    if (value_ > max_) value_ = max_;
  }
  float get_Value() override { return value_; }
  void let_Value(float newValue) override {
    if (newValue < min_ || newValue > max_) raiseControlError(kInvalidPropertyValue);
    value_ = newValue;
  }
  int32_t get_RefreshCount() override { return refreshes_; }
  void Refresh() override { ++refreshes_; }

 private:
  float min_ = 0;
  float max_ = 100;
  float value_ = 0;
  int32_t refreshes_ = 0;
};

}  // namespace zv::models
