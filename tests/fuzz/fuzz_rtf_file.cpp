// libFuzzer target over RTFfileToHTMLfile reading arbitrary bytes as an RTF file, with and
// without the page's header and footer. Beyond no crash: both calls give the same result,
// the page with header and footer ends with the body of the other one and the footer, and
// no file stays open.
#include <cstdint>
#include <string>

#include "api/HTMlib.h"
#include "frame/file_numbers.h"
#include "fuzz_support.h"
#include "runtime/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const zv::fuzz::ScratchFolder scratch("rtf-file");
  static const auto html = zv::HTMlib::create();
  const std::string rtf = scratch.file("in.rtf"), body = scratch.file("body.htm"),
                    page = scratch.file("page.htm");
  zv::fuzz::writeFile(rtf, data, size);
  const bool bodyDone = html->RTFfileToHTMLfile(zv::fromUtf8(rtf), zv::fromUtf8(body), false);
  const bool pageDone = html->RTFfileToHTMLfile(zv::fromUtf8(rtf), zv::fromUtf8(page), true);
  zv::fuzz::check(bodyDone == pageDone && zv::openFileCount() == 0);
  zv::fuzz::check(!bodyDone || zv::fuzz::readFile(page).ends_with(zv::fuzz::readFile(body) +
                                                                  "</BODY>\r\n</HTML>\r\n"));
  return 0;
}
