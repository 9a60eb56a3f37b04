// `zvv demo`, locale part: the user's locale summary, a date comparison and an amount
// written with the locale's decimal separator.
#pragma once

namespace zvv {

void localeDemoPart();

}  // namespace zvv
