// Numbers through a user pattern: digits rounded half away from zero at the last
// placeholder, integer digits right-aligned on the placeholders (the first one takes any
// extra), "0" forcing a digit from the first "0" on, groups of three, scientific notation.
#include <algorithm>
#include <string>
#include <vector>

#include "format_writers.h"

namespace zv::formatting {

namespace {

// How many integer digits the placeholders write at least: every placeholder from the
// first "0" on.
size_t minimumIntegerDigits(const Section& section) {
  size_t minimum = 0;
  bool zeroSeen = false;
  for (const Token& t : section.tokens) {
    if (t.kind == Token::Point) break;
    if (t.kind != Token::Digits) continue;
    zeroSeen = zeroSeen || t.flag;
    if (zeroSeen) minimum += static_cast<size_t>(t.count);
  }
  return minimum;
}

// How many fraction digits are written at least: up to the last "0" placeholder.
size_t minimumFractionDigits(const Section& section) {
  size_t position = 0, minimum = 0;
  bool afterPoint = false;
  for (const Token& t : section.tokens) {
    if (t.kind == Token::Point) afterPoint = true;
    if (t.kind != Token::Digits || !afterPoint) continue;
    position += static_cast<size_t>(t.count);
    if (t.flag) minimum = position;
  }
  return minimum;
}

// Writes the integer digits with the locale's group separator after every digit that
// leaves a multiple of three behind it.
class IntegerWriter {
 public:
  IntegerWriter(std::string digits, bool grouping, const String& separator)
      : digits_(std::move(digits)), grouping_(grouping), separator_(separator) {}

  void write(size_t count, String& out) {
    for (size_t i = 0; i < count && next_ < digits_.size(); ++i, ++next_) {
      out += static_cast<char16_t>(digits_[next_]);
      const size_t left = digits_.size() - next_ - 1;
      if (grouping_ && left > 0 && left % 3 == 0) out += separator_;
    }
  }
  size_t size() const { return digits_.size(); }
  size_t left() const { return digits_.size() - next_; }

 private:
  std::string digits_;
  bool grouping_;
  const String& separator_;
  size_t next_ = 0;
};

}  // namespace

String writeNumber(Decimal d, const Section& section, bool minus, const LocaleSettings& locale) {
  if (!d.isZero()) d.point += (section.percent ? 2 : 0) - 3 * section.scale;
  int32_t exponent = 0;
  if (section.scientific && !d.isZero()) {
    exponent = d.point - section.integerDigits;
    d.point = section.integerDigits;
  }
  d.roundToFraction(section.fractionDigits);
  if (section.scientific && !d.isZero() && d.point > section.integerDigits) {
    exponent += d.point - section.integerDigits;  // 9.99 rounded up to 10.0
    d.point = section.integerDigits;
  }

  std::string integer;
  for (int32_t k = 0; k < d.point; ++k)
    integer += d.digitAt(k);
  if (section.scientific && d.isZero()) {
    // Zero is the digit 0 moved onto the placeholders: "##0.0E+0" writes 000.0E-2.
    exponent = 1 - section.integerDigits;
    integer.assign(static_cast<size_t>(section.integerDigits), '0');
  }
  const size_t minimum = minimumIntegerDigits(section);
  if (integer.size() < minimum) integer.insert(0, minimum - integer.size(), '0');
  std::string fraction;
  const int64_t available = static_cast<int64_t>(d.digits.size()) - d.point;
  for (int64_t f = 0; f < std::min<int64_t>(available, section.fractionDigits); ++f)
    fraction += d.digitAt(d.point + f);
  fraction.resize(std::max(fraction.size(), minimumFractionDigits(section)), '0');

  // The integer digits each placeholder token writes: from the right, one per
  // placeholder; the first token takes whatever is left.
  std::vector<size_t> share;
  for (const Token& t : section.tokens) {
    if (t.kind == Token::Point) break;
    if (t.kind == Token::Digits) share.push_back(static_cast<size_t>(t.count));
  }
  size_t left = integer.size();
  for (size_t k = share.size(); k-- > 1;) {
    share[k] = std::min(share[k], left);
    left -= share[k];
  }
  if (!share.empty()) share[0] = left;

  IntegerWriter digits(integer, section.grouping, locale.thousand);
  String out;
  auto sign = [&] {
    if (!minus) return;
    out += u'-';
    minus = false;
  };
  bool afterPoint = false;
  size_t integerToken = 0, fractionAt = 0;
  for (const Token& t : section.tokens) {
    switch (t.kind) {
      case Token::Literal:
        out += t.text;
        break;
      case Token::Point:
        sign();
        // Without integer placeholders the integer digits still stand before the point.
        if (share.empty()) digits.write(digits.size(), out);
        out += locale.decimal;
        afterPoint = true;
        break;
      case Token::Digits:
        sign();
        if (!afterPoint) {
          digits.write(share[integerToken++], out);
        } else {
          const size_t n = std::min(static_cast<size_t>(t.count), fraction.size() - fractionAt);
          for (size_t k = 0; k < n; ++k)
            out += static_cast<char16_t>(fraction[fractionAt++]);
        }
        break;
      case Token::Exponent: {
        out += t.flag ? u'E' : u'e';
        if (exponent < 0)
          out += u'-';
        else if (t.plus)
          out += u'+';
        std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
        if (e.size() < static_cast<size_t>(t.count)) e.insert(0, t.count - e.size(), '0');
        out += String(e.begin(), e.end());
        break;
      }
      default:
        break;
    }
  }
  return out;
}

}  // namespace zv::formatting
