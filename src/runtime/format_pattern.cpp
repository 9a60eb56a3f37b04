#include "format_pattern.h"

#include "errors.h"

namespace zv::formatting {

namespace {

class Tokenizer {
 public:
  explicit Tokenizer(StringView s) : s_(s) { pattern_.sections[0].emplace(); }

  Pattern run() {
    while (at_ < s_.size())
      next();
    return std::move(pattern_);
  }

 private:
  Section& section() { return *pattern_.sections[index_]; }

  // A placeholder may type the pattern only in its first section.
  bool couldBe(PatternKind kind) const {
    return (pattern_.kind == PatternKind::Unknown && index_ == 0) || pattern_.kind == kind;
  }

  bool is(size_t at, char16_t lower) const {
    return at < s_.size() && (s_[at] == lower || s_[at] == lower - 32);
  }

  // Takes the run of `c` (this case only) from the current position.
  int32_t takeRun(char16_t c) {
    int32_t n = 0;
    for (; at_ < s_.size() && s_[at_] == c; ++at_)
      ++n;
    return n;
  }

  // The run of `lower` (either case) from the current position, at most `most` long.
  int32_t runOf(char16_t lower, int32_t most) const {
    int32_t n = 0;
    while (n < most && is(at_ + static_cast<size_t>(n), lower))
      ++n;
    return n;
  }

  bool startsWith(StringView what, bool anyCase) const {
    if (s_.size() - at_ < what.size()) return false;
    const StringView here = s_.substr(at_, what.size());
    return anyCase ? equalsNoCase(here, what) : here == what;
  }

  void literal(StringView text) {
    auto& tokens = section().tokens;
    if (!tokens.empty() && tokens.back().kind == Token::Literal)
      tokens.back().text += text;
    else
      tokens.push_back({Token::Literal, 0, false, false, String(text)});
  }

  void add(Token::Kind kind, int32_t count = 0, bool flag = false,
           PatternKind type = PatternKind::Date) {
    pattern_.kind = type;
    section().tokens.push_back({kind, count, flag, false, {}});
  }

  void newSections() {
    size_t n = 0;
    while (at_ < s_.size() && s_[at_] == u';') {
      ++n;
      ++at_;
    }
    index_ += n;
    if (index_ > 3) raise(err::kInvalidCall);
    if (at_ == s_.size()) return;
    pattern_.sections[index_].emplace();
    pointSeen_ = hoursSeen_ = minutesWritten_ = false;
    lastHour_ = -1;
  }

  void number(char16_t c) {
    Section& sec = section();
    if (c == u'0' || c == u'#') {
      const int32_t n = takeRun(c);
      add(Token::Digits, n, c == u'0', PatternKind::Number);
      (pointSeen_ ? sec.fractionDigits : sec.integerDigits) += n;
      return;
    }
    // The decimal point.
    ++at_;
    pointSeen_ = true;
    add(Token::Point, 0, false, PatternKind::Number);
  }

  void exponent() {
    const bool upper = s_[at_] == u'E';
    const bool plus = s_[at_ + 1] == u'+';
    at_ += 2;
    int32_t zeros = 0;
    while (at_ < s_.size() && s_[at_] == u'0') {
      ++zeros;
      ++at_;
    }
    section().scientific = true;
    add(Token::Exponent, zeros, upper, PatternKind::Number);
    section().tokens.back().plus = plus;
  }

  // Commas right after the integer digits divide by a thousand each ("#,##0," and "0,.0");
  // any other comma turns on grouping.
  void comma() {
    size_t end = at_;
    while (end < s_.size() && s_[end] == u',')
      ++end;
    Section& sec = section();
    const bool afterDigits =
        !pointSeen_ && !sec.tokens.empty() && sec.tokens.back().kind == Token::Digits;
    const bool digitNext = end < s_.size() && (s_[end] == u'0' || s_[end] == u'#');
    if (afterDigits && !digitNext)
      sec.scale += static_cast<int32_t>(end - at_);
    else
      sec.grouping = true;
    at_ = end;
  }

  bool ampm() {
    int32_t style = -1;
    size_t length = 0;
    if (startsWith(u"AMPM", true)) {
      style = 0;
      length = 4;
    } else if (startsWith(u"AM/PM", false)) {
      style = 1;
      length = 5;
    } else if (startsWith(u"am/pm", false)) {
      style = 2;
      length = 5;
    } else if ((s_[at_] == u'A' || s_[at_] == u'a') && at_ + 2 < s_.size() + 0 &&
               s_[at_ + 1] == u'/' && is(at_ + 2, u'p')) {
      style = s_[at_] == u'A' ? 3 : 4;
      length = 3;
    }
    if (style < 0) return false;
    at_ += length;
    add(Token::AmPm, style);
    // The hour written last before it is on a 12-hour clock.
    if (lastHour_ >= 0) section().tokens[static_cast<size_t>(lastHour_)].flag = true;
    return true;
  }

  bool date(char16_t c) {
    const char16_t l = lowerChar(c);
    if (c == u'/') {
      ++at_;
      add(Token::DateSeparator);
    } else if (c == u':') {
      ++at_;
      add(Token::TimeSeparator);
    } else if (l == u'c') {
      ++at_;
      add(Token::GeneralDate);
    } else if (l == u'd') {
      const int32_t n = runOf(u'd', 7);
      at_ += static_cast<size_t>(n);
      add(Token::Day, n);
      hoursSeen_ = false;  // a day resets "m" to months
    } else if (l == u'h') {
      const int32_t n = runOf(u'h', 2);
      at_ += static_cast<size_t>(n);
      lastHour_ = static_cast<int32_t>(section().tokens.size());
      add(Token::Hour, n);
      hoursSeen_ = true;
    } else if (l == u'm') {
      const int32_t n = runOf(u'm', 5);
      at_ += static_cast<size_t>(n);
      // After an hour, the first "m" or "mm" is the minute.
      if (n <= 2 && hoursSeen_ && !minutesWritten_) {
        minutesWritten_ = true;
        add(Token::Minute, n);
      } else {
        add(Token::Month, n);
      }
    } else if (l == u'n' || l == u's') {
      const int32_t n = runOf(l, 2);
      at_ += static_cast<size_t>(n);
      add(l == u'n' ? Token::Minute : Token::Second, n);
    } else if (l == u'q') {
      ++at_;
      add(Token::Quarter);
    } else if (l == u'w') {
      const int32_t n = runOf(u'w', 2);
      at_ += static_cast<size_t>(n);
      add(n == 1 ? Token::WeekDay : Token::WeekOfYear);
    } else if (l == u'y') {
      int32_t n = runOf(u'y', 5);
      if (n == 3) n = 2;  // "yyy" is "yy" then "y"
      at_ += static_cast<size_t>(n);
      add(Token::Year, n);
    } else if (l == u't' && startsWith(u"ttttt", true)) {
      at_ += 5;
      add(Token::LongTime);
    } else {
      return false;
    }
    return true;
  }

  bool text(char16_t c) {
    Section& sec = section();
    if (c == u'@' || c == u'&') {
      const int32_t n = takeRun(c);
      sec.characters += n;
      add(Token::Characters, n, c == u'@', PatternKind::Text);
      return true;
    }
    if (c != u'<' && c != u'>' && c != u'!') return false;
    ++at_;
    pattern_.kind = PatternKind::Text;
    (c == u'<' ? sec.lower : c == u'>' ? sec.upper : sec.leftToRight) = true;
    return true;
  }

  void next() {
    const char16_t c = s_[at_];
    if (c == u';') return newSections();
    if (c == u'\\') {
      if (at_ + 1 < s_.size()) literal(s_.substr(at_ + 1, 1));
      at_ += 2;
      return;
    }
    if (c == u'"') {
      size_t end = s_.find(u'"', at_ + 1);
      if (end == StringView::npos) end = s_.size();
      literal(s_.substr(at_ + 1, end - at_ - 1));
      at_ = end + 1;
      return;
    }
    if ((c == u'0' || c == u'#' || (c == u'.' && !pointSeen_)) && couldBe(PatternKind::Number))
      return number(c);
    if (pattern_.kind == PatternKind::Number) {
      if ((c == u'E' || c == u'e') && at_ + 1 < s_.size() &&
          (s_[at_ + 1] == u'+' || s_[at_ + 1] == u'-'))
        return exponent();
      if (c == u',') return comma();
      if (c == u'%') section().percent = true;
    }
    if (couldBe(PatternKind::Date) && ((lowerChar(c) == u'a' && ampm()) || date(c))) return;
    if (couldBe(PatternKind::Text) && text(c)) return;
    literal(s_.substr(at_++, 1));
  }

  StringView s_;
  size_t at_ = 0;
  Pattern pattern_;
  size_t index_ = 0;
  bool pointSeen_ = false;
  bool hoursSeen_ = false;
  bool minutesWritten_ = false;
  int32_t lastHour_ = -1;
};

}  // namespace

Pattern parsePattern(StringView pattern) {
  return Tokenizer(pattern).run();
}

}  // namespace zv::formatting
