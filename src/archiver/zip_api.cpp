// ZipLib.dll's entry points (the Info-ZIP Zip DLL interface). Callbacks and options are
// kept per thread, from ZpInit and ZpSetOptions to the ZpArchive calls that use them.
#include <new>
#include <string>
#include <vector>

#include "archiver/interface.h"
#include "archiver/os/os.h"
#include "archiver/zip_job.h"

namespace {

struct ZipState {
  ZIPUSERFUNCTIONS callbacks{};
  zv::archiver::ZipSettings settings;
};

ZipState& state() {
  thread_local ZipState s;
  return s;
}

}  // namespace

extern "C" {

int ZV_ARCHIVER_CALL ZpInit(ZIPUSERFUNCTIONS* functions) {
  if (!functions) return 0;
  state().callbacks = *functions;
  return 1;
}

ZvBool ZV_ARCHIVER_CALL ZpSetOptions(ZPOPT* options) {
  if (!options) return 0;
  state().settings = zv::archiver::zipSettingsOf(*options);
  options->fEncryption = 1;
  return 1;
}

int ZV_ARCHIVER_CALL ZpArchive(ZCL files) {
  try {
    std::vector<std::string> specs;
    for (int i = 0; i < files.argc && files.FNV && files.FNV[i]; ++i)
      specs.push_back(zv::archiver::os::fromAnsi(files.FNV[i]));
    const std::string archive =
        files.lpszZipFN ? zv::archiver::os::fromAnsi(files.lpszZipFN) : std::string();
    return zv::archiver::runZip(state().settings, state().callbacks, archive, specs);
  } catch (const std::bad_alloc&) {
    return 4;  // out of memory
  } catch (...) {
    return 5;  // internal logic error
  }
}

}  // extern "C"
