#include <cstdio>

#include "api/FileLib.h"    // typed interface of each class
#include "frame/classes.h"  // CreateObject by ProgID
#include "runtime/convert.h"

int main() {
  auto files = zv::FileLib::create();                        // typed
  std::puts(zv::toUtf8(files->CheckPath(u"/tmp")).c_str());  // /tmp/
  zv::ObjectRef late = zv::createObject(u"ZivoviViruvov.FileLib");
  zv::Variant found = zv::call(late, u"isDirectoryExist", {zv::Variant(u"/")});
  std::puts(zv::toUtf8(zv::toString(found)).c_str());  // True
}
