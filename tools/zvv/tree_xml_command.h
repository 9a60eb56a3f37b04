// `zvv tree-xml FILE.xml`: loads a tree XML file into a tree-view model and prints how many
// nodes it made, or why the file did not load.
#pragma once

namespace zvv {

int treeXmlCommand(const char* file);

}  // namespace zvv
