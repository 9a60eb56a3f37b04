// zvv zip ARCHIVE FILE..., zvv unzip ARCHIVE [DIR] and zvv unzip -l ARCHIVE: the archive
// classes from the command line, with a progress bar on the terminal.
#pragma once

namespace zvv {

// The arguments after the command word; the process's exit code.
int zipCommand(int argc, char** argv);
int unzipCommand(int argc, char** argv);

}  // namespace zvv
