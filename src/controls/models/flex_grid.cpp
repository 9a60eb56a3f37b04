#include "controls/models/FlexGrid.h"

#include "controls/models/control_errors.h"

namespace zv::models {

size_t FlexGrid::row(int32_t r) const {
  if (r < 0 || r >= rows_) raiseGridIndexError();
  return static_cast<size_t>(r);
}

size_t FlexGrid::column(int32_t c) const {
  if (c < 0 || c >= cols_) raiseGridIndexError();
  return static_cast<size_t>(c);
}

void FlexGrid::resize(int32_t rows, int32_t cols) {
  std::vector<String> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols));
  for (int32_t r = 0; r < std::min(rows, rows_); ++r)
    for (int32_t c = 0; c < std::min(cols, cols_); ++c)
      cells[static_cast<size_t>(r) * cols + c] =
          std::move(cells_[static_cast<size_t>(r) * cols_ + c]);
  cells_ = std::move(cells);
  rowHeights_.resize(static_cast<size_t>(rows), kDefaultRowHeight);
  colWidths_.resize(static_cast<size_t>(cols), kDefaultColWidth);
  colAlignments_.resize(static_cast<size_t>(cols), kGeneralAlignment);
  rows_ = rows;
  cols_ = cols;
}

void FlexGrid::let_Rows(int32_t newValue) {
  if (newValue < fixedRows_) raiseControlError(kInvalidPropertyValue);
  resize(newValue, cols_);
}

void FlexGrid::let_Cols(int32_t newValue) {
  if (newValue < fixedCols_) raiseControlError(kInvalidPropertyValue);
  resize(rows_, newValue);
}

void FlexGrid::let_FixedRows(int32_t newValue) {
  if (newValue < 0 || newValue > rows_) raiseControlError(kInvalidPropertyValue);
  fixedRows_ = newValue;
}

void FlexGrid::let_FixedCols(int32_t newValue) {
  if (newValue < 0 || newValue > cols_) raiseControlError(kInvalidPropertyValue);
  fixedCols_ = newValue;
}

void FlexGrid::Clear() {
  for (String& text : cells_)
    text.clear();
}

void FlexGrid::let_ColWidth(int32_t Index, int32_t newValue) {
  if (newValue < -1) raiseControlError(kInvalidPropertyValue);
  colWidths_[column(Index)] = newValue < 0 ? kDefaultColWidth : newValue;
}

void FlexGrid::let_RowHeight(int32_t Index, int32_t newValue) {
  if (newValue < -1) raiseControlError(kInvalidPropertyValue);
  rowHeights_[row(Index)] = newValue < 0 ? kDefaultRowHeight : newValue;
}

void FlexGrid::let_ColAlignment(int32_t Index, int16_t newValue) {
  if (newValue < 0 || newValue > kGeneralAlignment) raiseControlError(kInvalidPropertyValue);
  colAlignments_[column(Index)] = newValue;
}

void FlexGrid::let_ColAlignmentHeader(int32_t BandNumber, int32_t BandColIndex, int16_t newValue) {
  if (newValue < 0 || newValue > kGeneralAlignment) raiseControlError(kInvalidPropertyValue);
  headerAlignments_[{BandNumber, BandColIndex}] = newValue;
}

void FlexGrid::let_FormatString(const String& newValue) {
  std::vector<String> samples;
  const String columns = newValue.substr(0, newValue.find(u';'));
  for (size_t from = 0;;) {
    const size_t bar = columns.find(u'|', from);
    samples.push_back(columns.substr(from, bar == String::npos ? String::npos : bar - from));
    if (bar == String::npos) break;
    from = bar + 1;
  }
  resize(rows_, std::max(fixedCols_, static_cast<int32_t>(samples.size())));
  for (size_t c = 0; c < samples.size(); ++c) {
    String sample = samples[c];
    if (!sample.empty() && (sample[0] == u'<' || sample[0] == u'^' || sample[0] == u'>')) {
      colAlignments_[c] = sample[0] == u'<' ? 1 : sample[0] == u'^' ? 4 : 7;
      sample.erase(0, 1);
    }
    colWidths_[c] = std::max(kDefaultColWidth, static_cast<int32_t>(sample.size()) * 120);
    if (rows_ > 0) cells_[c] = sample;
  }
  formatString_ = newValue;
}

}  // namespace zv::models
