// `zvv demo`: a short tour of the library that writes real files into a folder.
#pragma once

namespace zvv {

int runDemo(const char* directory);

}  // namespace zvv
