#pragma once

#include "api/HTMlib.h"
#include "runtime/text.h"

namespace zv::text_oracle {

bool RTFfileToHTMLfile(zv::HTMlib& lib, const String& RTFfile, const String& HTMLfile,
                       bool HeaderFooter);

}  // namespace zv::text_oracle
