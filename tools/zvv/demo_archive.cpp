#include "demo_archive.h"

#include <cstdio>

#include "api/UnZipLib.h"
#include "api/ZipLib.h"
#include "archive/archive_events.h"
#include "runtime/convert.h"

namespace zvv {

namespace {

using zv::String;

class Messages : public zv::UnZipLibEvents {
 public:
  void Progress(int32_t, const String& sMsg) override {
    std::printf("  %s\n", zv::toUtf8(sMsg).c_str());
  }
};

// Connects `listener` to `object` for the life of the scope.
class Connection {
 public:
  Connection(const zv::ObjectRef& object, zv::EventSink& listener) : object_(object) {
    zv::connectEvents(object_.get(), &listener);
  }
  ~Connection() { zv::connectEvents(object_.get(), nullptr); }

 private:
  zv::ObjectRef object_;
};

}  // namespace

void archiveDemoPart(const String& folder) {
  std::puts("Zip archive of this folder (ZipLib, UnZipLib)");
  Messages messages;
  auto zip = zv::ZipLib::create();
  {
    Connection events(zip, messages);
    zip->let_BasePath(folder);
    zip->let_ZipFile(u"zvv-demo.zip");
    zip->let_RecurseSubDirs(true);
    zip->let_StoreFolderNames(true);
    zip->AddFileSpec(u"*");
    zip->Zip();
  }
  auto unzip = zv::UnZipLib::create();
  unzip->let_ZipFile(folder + u"/zvv-demo.zip");
  unzip->Directory();
  std::printf("  %d entries listed:\n", unzip->get_FileCount());
  for (int32_t i = 1; i <= unzip->get_FileCount(); ++i)
    std::printf("    %-24s %8d bytes, packed to %3d%%, %s, CRC %08X\n",
                zv::toUtf8(unzip->get_Filename(i)).c_str(), unzip->get_FileSize(i),
                unzip->get_FileCompressionRatio(i),
                zv::toUtf8(unzip->get_FileCompressionMethod(i)).c_str(),
                static_cast<uint32_t>(unzip->get_FileCRC(i)));
  Connection events(unzip, messages);
  unzip->let_UnzipFolder(folder + u"-unzipped");
  unzip->let_UseFolderNames(true);
  unzip->let_OverwriteExisting(true);
  std::printf("  Unzip returned %s\n", zv::toUtf8(zv::booleanToString(unzip->Unzip())).c_str());
}

}  // namespace zvv
