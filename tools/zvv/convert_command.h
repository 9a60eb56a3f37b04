// zvv convert: files converted through the library's import and export members.
#pragma once

namespace zvv {

// zvv convert [--to html|xml|csv|txt] [--separator SEP] [--no-header] [--quotes] IN OUT
// Other sub-modes are told apart by their first argument at the top of convertCommand.
int convertCommand(int argc, char** argv);

}  // namespace zvv
