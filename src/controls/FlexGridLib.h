// FlexGridLib: prepares the caller's grid from a list-view (size and band header), empties
// it, and fits its column widths and row heights to the cell texts.
#pragma once

#include "api/FlexGridLib.h"

namespace zv::impl {

class FlexGridLib final : public zv::FlexGridLib {
 public:
  ObjectRef get_mainFlexGrid() override { return grid_; }
  void set_mainFlexGrid(const ObjectRef& newValue) override { grid_ = newValue; }
  ObjectRef get_tmpListView() override { return listView_; }
  void set_tmpListView(const ObjectRef& newValue) override { listView_ = newValue; }

  void EmptyFlexGlid() override;
  bool ListViewToFlexGrid(ObjectRef& tmpListViewView, ObjectRef& theFlexGrid) override;
  bool HeaderListViewToFlexGrid() override;
  void ResizeColumns(int32_t& hdc) override;
  void AutoSize(bool PourColonne, bool PourLigne) override;

 private:
  // The grid's size, read once per operation.
  int32_t rows() const;
  int32_t cols() const;
  String cellText(int32_t row, int32_t col) const;

  ObjectRef grid_;
  ObjectRef listView_;
};

}  // namespace zv::impl
