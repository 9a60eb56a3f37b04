// FlexGridLib's typed interface; the cases are in the Python suite.
#include <gtest/gtest.h>

#include "api/FlexGridLib.h"
#include "frame/classes.h"
#include "runtime/convert.h"

using zv::ObjectRef;
using zv::Variant;

TEST(FlexGridLib, ResizeColumnsGrowsAColumnToItsWidestTextAndReleasesTheGrid) {
  ObjectRef grid = zv::createModel(u"FlexGrid");
  zv::put(grid, u"TextMatrix", Variant(u"MMMMMMMMMMMM"), {Variant(1), Variant(1)});
  auto lib = zv::FlexGridLib::create();
  lib->set_mainFlexGrid(grid);
  int32_t hdc = 0;
  lib->ResizeColumns(hdc);
  EXPECT_EQ(zv::toLong(zv::get(grid, u"ColWidth", {Variant(1)})), (96 + 10) * 15);
  EXPECT_EQ(lib->get_mainFlexGrid(), nullptr);
}
