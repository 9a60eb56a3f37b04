// A list-view in report view: column headers, rows and their sub-items, check boxes, and
// the display settings the library copies from one list-view to another (kept, not drawn).
// Rows stay in the order they were added: the model does not sort.
#pragma once

#include "api/ListView.h"
#include "controls/models/list_view_parts.h"

namespace zv::models {

class ListView final : public zv::ListView {
 public:
  ListView() : headers_(std::make_shared<ColumnHeaders>()), rows_(std::make_shared<ListItems>()) {
    headers_->attachRows(rows_.get());
    rows_->attachHeaders(headers_.get());
  }
  ~ListView() override {
    headers_->attachRows(nullptr);
    rows_->attachHeaders(nullptr);
  }
  ListView(const ListView&) = delete;
  ListView& operator=(const ListView&) = delete;

  ObjectRef get_ColumnHeaders() override { return headers_; }
  ObjectRef get_ListItems() override { return rows_; }

  // Typed access for C++ callers.
  ColumnHeaders& headers() { return *headers_; }
  ListItems& rows() { return *rows_; }

 private:
  std::shared_ptr<ColumnHeaders> headers_;
  std::shared_ptr<ListItems> rows_;
};

}  // namespace zv::models
