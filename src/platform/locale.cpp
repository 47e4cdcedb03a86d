#include "platform/locale.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tabulon {
namespace {

std::string ToStd(const QString& text) {
  return text.toUtf8().toStdString();
}
QString FromStd(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Removes the time-zone fields ("t", "tt", ...) of a Qt time pattern and the
// blanks that set them apart; quoted text is kept.
QString WithoutTimeZone(const QString& pattern) {
  QString out;
  bool quoted = false;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c == u'\'') quoted = !quoted;
    if (quoted || c != u't') {
      out += c;
      continue;
    }
    while (i + 1 < pattern.size() && pattern[i + 1] == u't') ++i;
    if (!out.isEmpty() && out.back().isSpace()) {
      while (!out.isEmpty() && out.back().isSpace()) out.chop(1);
    } else {
      while (i + 1 < pattern.size() && pattern[i + 1].isSpace()) ++i;
    }
  }
  return out.trimmed();
}

// True when the pattern has an AM/PM field ("AP", "ap", "A", "a") outside quotes.
bool HasAmPmField(const QString& pattern) {
  bool quoted = false;
  for (QChar c : pattern) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && (c == u'a' || c == u'A')) return true;
  }
  return false;
}

// The first character that is neither a letter nor a blank nor a quote.
QString FirstSeparator(const QString& pattern) {
  for (QChar c : pattern) {
    if (c.isLetter() || c.isSpace() || c == u'\'') continue;
    return QString(c);
  }
  return {};
}

// Folds ASCII letters only: for text that is not valid UTF-8.
std::string FoldAscii(std::string_view text, bool upper) {
  std::string out(text);
  for (char& c : out) {
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

int Sign(int value) {
  return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// One ICU collator. Text is turned into UTF-16 the same way for comparing and
// for keys, ill-formed bytes becoming U+FFFD, so both always agree.
class Collator {
 public:
  Collator(const std::string& localeName, UCollationStrength strength) {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(localeName.c_str(), &status);
    if (U_FAILURE(status)) {
      status = U_ZERO_ERROR;
      collator_ = ucol_open("", &status);
    }
    if (U_FAILURE(status)) {
      collator_ = nullptr;
      return;
    }
    ucol_setStrength(collator_, strength);
  }
  ~Collator() {
    if (collator_) ucol_close(collator_);
  }
  Collator(const Collator&) = delete;
  Collator& operator=(const Collator&) = delete;

  bool Valid() const { return collator_ != nullptr; }

  int Compare(std::string_view a, std::string_view b) const {
    // Well-formed text is collated as it stands, which is what the UTF-16
    // form would give, without converting it.
    if (IsValidUtf8(a) && IsValidUtf8(b)) {
      UErrorCode status = U_ZERO_ERROR;
      const UCollationResult result =
          ucol_strcollUTF8(collator_, a.data(), static_cast<int32_t>(a.size()), b.data(),
                           static_cast<int32_t>(b.size()), &status);
      if (U_SUCCESS(status)) return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
    }
    const std::u16string wa = ToUtf16(a);
    const std::u16string wb = ToUtf16(b);
    const UCollationResult result =
        ucol_strcoll(collator_, Chars(wa), static_cast<int32_t>(wa.size()), Chars(wb),
                     static_cast<int32_t>(wb.size()));
    return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
  }

  // The key without ICU's terminating zero byte.
  std::string Key(std::string_view text) const {
    std::string key;
    AssignKey(text, key);
    return key;
  }

  // Names of ordinary length are converted and keyed in buffers on the stack.
  void AssignKey(std::string_view text, std::string& key) const {
    UChar shortText[256];
    std::u16string longText;
    const UChar* chars = shortText;
    int32_t length = 0;
    if (text.size() < std::size(shortText)) {
      UErrorCode status = U_ZERO_ERROR;
      u_strFromUTF8WithSub(shortText, static_cast<int32_t>(std::size(shortText)), &length,
                           text.data(), static_cast<int32_t>(text.size()), 0xFFFD, nullptr,
                           &status);
      if (U_FAILURE(status)) length = 0;
    } else {
      longText = ToUtf16(text);
      chars = Chars(longText);
      length = static_cast<int32_t>(longText.size());
    }
    std::uint8_t shortKey[1024];
    std::vector<std::uint8_t> longKey;
    std::uint8_t* buffer = shortKey;
    int32_t size = ucol_getSortKey(collator_, chars, length, shortKey,
                                   static_cast<int32_t>(std::size(shortKey)));
    if (size > static_cast<int32_t>(std::size(shortKey))) {
      longKey.resize(static_cast<std::size_t>(size));
      buffer = longKey.data();
      size = ucol_getSortKey(collator_, chars, length, buffer, size);
    }
    if (size <= 0) {
      key.clear();
      return;
    }
    key.assign(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(size - 1));
  }

 private:
  static const UChar* Chars(const std::u16string& text) {
    return reinterpret_cast<const UChar*>(text.data());
  }
  static std::u16string ToUtf16(std::string_view text) {
    std::u16string out(text.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                         &length, text.data(), static_cast<int32_t>(text.size()), 0xFFFD, nullptr,
                         &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<std::size_t>(length));
    return out;
  }

  UCollator* collator_ = nullptr;
};

class SystemLocale : public Locale {
 public:
  explicit SystemLocale(const QLocale& locale)
      : locale_(locale),
        shortDate_(ToStd(locale_.dateFormat(QLocale::ShortFormat))),
        longTime_(WithoutTimeZone(locale_.timeFormat(QLocale::LongFormat))),
        insensitive_(ToStd(locale_.name()), UCOL_SECONDARY),
        sensitive_(ToStd(locale_.name()), UCOL_TERTIARY) {
    const QString dateSep = FirstSeparator(locale_.dateFormat(QLocale::ShortFormat));
    dateSeparator_ = dateSep == u"/" || dateSep == u"." || dateSep == u"-" ? ToStd(dateSep) : "/";
    const QString timeSep = FirstSeparator(longTime_);
    timeSeparator_ = timeSep.isEmpty() ? ":" : ToStd(timeSep);
    thousandsSeparator_ = ToStd(locale_.groupSeparator());
  }

  std::string ShortDateFormat() const override { return shortDate_; }
  std::string LongTimeFormat() const override { return ToStd(longTime_); }
  bool Uses12HourClock() const override { return HasAmPmField(longTime_); }
  std::string DateSeparator() const override { return dateSeparator_; }
  std::string TimeSeparator() const override { return timeSeparator_; }
  std::string ThousandsSeparator() const override { return thousandsSeparator_; }
  std::string DecimalPoint() const override { return ToStd(locale_.decimalPoint()); }

  std::string FormatShortDate(int year, int month, int day) const override {
    const QDate date(year, month, day);
    if (!date.isValid()) return {};
    return ToStd(locale_.toString(date, FromStd(shortDate_)));
  }
  std::string FormatLongTime(int hour, int minute, int second) const override {
    const QTime time(hour, minute, second);
    if (!time.isValid()) return {};
    return ToStd(locale_.toString(time, longTime_));
  }
  bool ParseShortDate(std::string_view text, int& year, int& month, int& day) const override {
    return ParseDateInFieldOrder(text, shortDate_, year, month, day);
  }

  std::string ToUpper(std::string_view text) const override {
    if (!IsValidUtf8(text)) return FoldAscii(text, true);
    return ToStd(locale_.toUpper(FromStd(text)));
  }
  std::string ToLower(std::string_view text) const override {
    if (!IsValidUtf8(text)) return FoldAscii(text, false);
    return ToStd(locale_.toLower(FromStd(text)));
  }

  int CompareCaseInsensitive(std::string_view a, std::string_view b) const override {
    if (!insensitive_.Valid()) return Sign(FoldAscii(a, false).compare(FoldAscii(b, false)));
    return insensitive_.Compare(a, b);
  }
  // Texts the collation holds equal (ill-formed bytes, ignorable characters)
  // are ordered by their bytes, so distinct names never compare equal and a
  // sort by this comparison is the same on every run.
  int CompareCaseSensitive(std::string_view a, std::string_view b) const override {
    const int result = sensitive_.Valid() ? sensitive_.Compare(a, b) : 0;
    return result != 0 ? result : Sign(a.compare(b));
  }
  std::string SortKeyCaseInsensitive(std::string_view text) const override {
    if (!insensitive_.Valid()) return FoldAscii(text, false);
    return insensitive_.Key(text);
  }
  void AssignSortKeyCaseInsensitive(std::string_view text, std::string& key) const override {
    if (!insensitive_.Valid()) {
      key = FoldAscii(text, false);
      return;
    }
    insensitive_.AssignKey(text, key);
  }
  // ICU keys hold no zero byte, so key + '\0' + bytes orders by the key first
  // and by the bytes after it, as the comparison does.
  std::string SortKeyCaseSensitive(std::string_view text) const override {
    std::string key = sensitive_.Valid() ? sensitive_.Key(text) : std::string();
    key += '\0';
    key.append(text);
    return key;
  }

 private:
  QLocale locale_;
  std::string shortDate_;
  QString longTime_;
  std::string dateSeparator_;
  std::string timeSeparator_;
  std::string thousandsSeparator_;  // asked for every size shown
  Collator insensitive_;
  Collator sensitive_;
};

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

char ShortDateFirstLetter(const Locale& locale) {
  const std::string format = locale.ShortDateFormat();
  if (format.empty()) return 0;
  const char c = format.front();
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    // Eight ASCII bytes at a time, the usual case for names.
    if (n - i >= 8) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + i, sizeof word);
      if ((word & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned min = 0;
    unsigned cp = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2, min = 0x80, cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3, min = 0x800, cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4, min = 0x10000, cp = b & 0x07;
    } else {
      return false;
    }
    if (n - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

bool ParseDateInFieldOrder(std::string_view text, std::string_view qtDatePattern, int& year,
                           int& month, int& day) {
  // The order of the fields: the first letters d, M and y as they appear.
  std::string order;
  bool quoted = false;
  for (char c : qtDatePattern) {
    if (c == '\'') quoted = !quoted;
    if (quoted) continue;
    const char field = c == 'd' ? 'd' : (c == 'M' ? 'M' : (c == 'y' ? 'y' : 0));
    if (field && order.find(field) == std::string::npos) order += field;
  }
  if (order.size() != 3) order = "Mdy";

  int numbers[3] = {0, 0, 0};
  std::size_t digits[3] = {0, 0, 0};
  int count = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    if (count == 3) return false;
    long value = 0;
    std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      if (i - start >= 6) return false;
      value = value * 10 + (text[i] - '0');
      ++i;
    }
    numbers[count] = static_cast<int>(value);
    digits[count] = i - start;
    ++count;
  }
  if (count != 3) return false;
  // Anything between the numbers must be separators, not letters.
  for (char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return false;
  }

  int y = 0, m = 0, d = 0;
  for (int k = 0; k < 3; ++k) {
    if (order[k] == 'y') {
      y = numbers[k];
      if (digits[k] <= 2) y += y < 50 ? 2000 : 1900;
    } else if (order[k] == 'M') {
      m = numbers[k];
    } else {
      d = numbers[k];
    }
  }
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  if (d > (m == 2 && IsLeap(y) ? 29 : kDays[m - 1])) return false;
  year = y;
  month = m;
  day = d;
  return true;
}

std::unique_ptr<Locale> MakeSystemLocale() {
  return std::make_unique<SystemLocale>(QLocale::system());
}

std::unique_ptr<Locale> MakeLocale(const std::string& name) {
  return std::make_unique<SystemLocale>(QLocale(QString::fromStdString(name)));
}

}  // namespace tabulon
