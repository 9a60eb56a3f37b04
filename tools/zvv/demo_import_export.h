// The demo's import and export part: a generated CSV file into a list-view model, then out
// as an HTML page, an XML document and delimited text.
#pragma once

#include "runtime/text.h"

namespace zvv {

void importExportDemoPart(const zv::String& folder);

}  // namespace zvv
