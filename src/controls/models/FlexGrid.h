// A grid: Rows x Cols text cells (0-based), fixed rows and columns, column widths and
// alignments, row heights, the format string and, per band, the header captions and
// alignments of a hierarchical grid. Sizes are twips; nothing is drawn.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "api/FlexGrid.h"

namespace zv::models {

class FlexGrid final : public zv::FlexGrid {
 public:
  int32_t get_Rows() override { return rows_; }
  void let_Rows(int32_t newValue) override;
  int32_t get_Cols() override { return cols_; }
  void let_Cols(int32_t newValue) override;
  int32_t get_FixedRows() override { return fixedRows_; }
  void let_FixedRows(int32_t newValue) override;
  int32_t get_FixedCols() override { return fixedCols_; }
  void let_FixedCols(int32_t newValue) override;
  // Empties every cell; sizes and formats stay.
  void Clear() override;
  String get_TextMatrix(int32_t Row, int32_t Col) override { return cell(Row, Col); }
  void let_TextMatrix(int32_t Row, int32_t Col, const String& newValue) override {
    cell(Row, Col) = newValue;
  }
  int32_t get_ColWidth(int32_t Index) override { return colWidths_[column(Index)]; }
  void let_ColWidth(int32_t Index, int32_t newValue) override;
  int32_t get_RowHeight(int32_t Index) override { return rowHeights_[row(Index)]; }
  void let_RowHeight(int32_t Index, int32_t newValue) override;
  // 0 to 9; a new column has 9 (general).
  int16_t get_ColAlignment(int32_t Index) override { return colAlignments_[column(Index)]; }
  void let_ColAlignment(int32_t Index, int16_t newValue) override;
  String get_FormatString() override { return formatString_; }
  // Columns separated by "|", each with an optional alignment mark "<", "^" or ">" before
  // its sample: Cols becomes their number, row 0 holds the samples and each column is
  // made 120 twips wide per character of its sample (at least the default width).
  void let_FormatString(const String& newValue) override;
  int32_t get_ColHeader(int32_t BandNumber) override { return bandHeaders_[BandNumber]; }
  void let_ColHeader(int32_t BandNumber, int32_t newValue) override {
    bandHeaders_[BandNumber] = newValue;
  }
  String get_ColHeaderCaption(int32_t BandNumber, int32_t BandColIndex) override {
    return captions_[{BandNumber, BandColIndex}];
  }
  void let_ColHeaderCaption(int32_t BandNumber, int32_t BandColIndex,
                            const String& newValue) override {
    captions_[{BandNumber, BandColIndex}] = newValue;
  }
  int16_t get_ColAlignmentHeader(int32_t BandNumber, int32_t BandColIndex) override {
    return headerAlignments_[{BandNumber, BandColIndex}];
  }
  void let_ColAlignmentHeader(int32_t BandNumber, int32_t BandColIndex, int16_t newValue) override;

  static constexpr int32_t kDefaultColWidth = 960;
  static constexpr int32_t kDefaultRowHeight = 240;
  static constexpr int16_t kGeneralAlignment = 9;

 private:
  // Checked 0-based indexes (error 381 outside the grid).
  size_t row(int32_t r) const;
  size_t column(int32_t c) const;
  String& cell(int32_t r, int32_t c) {
    return cells_[row(r) * static_cast<size_t>(cols_) + column(c)];
  }
  void resize(int32_t rows, int32_t cols);

  int32_t rows_ = 2;
  int32_t cols_ = 2;
  int32_t fixedRows_ = 1;
  int32_t fixedCols_ = 1;
  std::vector<String> cells_ = std::vector<String>(4);
  std::vector<int32_t> colWidths_ = std::vector<int32_t>(2, kDefaultColWidth);
  std::vector<int32_t> rowHeights_ = std::vector<int32_t>(2, kDefaultRowHeight);
  std::vector<int16_t> colAlignments_ = std::vector<int16_t>(2, kGeneralAlignment);
  String formatString_;
  std::map<int32_t, int32_t> bandHeaders_;
  std::map<std::pair<int32_t, int32_t>, String> captions_;
  std::map<std::pair<int32_t, int32_t>, int16_t> headerAlignments_;
};

}  // namespace zv::models
