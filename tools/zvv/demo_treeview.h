// `zvv demo`, tree-view part: a folder-like tree built through TrViewLib, with taken labels
// and keys, then a few searches and counts.
#pragma once

namespace zvv {

void treeviewDemoPart();

}  // namespace zvv
