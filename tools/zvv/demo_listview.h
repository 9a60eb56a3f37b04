// `zvv demo`: a list-view model filled from collections, searched, counted and rearranged.
#pragma once

namespace zvv {

void listViewDemoPart();

}  // namespace zvv
