// `zvv demo`, tree XML part: a small tree saved as an XML file in the demo folder, the
// file's lines, and the tree loaded back from it.
#pragma once

#include "runtime/text.h"

namespace zvv {

void treeXmlDemoPart(const zv::String& folder);

}  // namespace zvv
