// zvv reg import FILE.reg and zvv reg export KEY FILE.reg: the registry as REGEDIT5 text,
// the files regedit reads and writes ("Windows Registry Editor Version 5.00", UTF-16LE
// with CR LF line ends; REGEDIT4 and UTF-8 files are read too).
#pragma once

namespace zvv {

// argv: "import" FILE, or "export" KEY FILE. Returns the process's exit code.
int regCommand(int argc, char** argv);

}  // namespace zvv
