#include "demo_output.h"

#include <cstdio>

#include "visible_text.h"

namespace zvv {

namespace {

constexpr size_t kLabelColumn = 34;  // characters, not bytes: accents keep the column

}  // namespace

void say(const zv::String& label, const zv::String& value) {
  std::string line = "  " + visibleUtf8(label);
  const size_t width = displayWidth(line) - 2;
  if (width < kLabelColumn) line.append(kLabelColumn - width, ' ');
  line += " " + visibleUtf8(value);
  std::puts(line.c_str());
}

}  // namespace zvv
