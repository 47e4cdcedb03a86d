#include "details/column_text.h"

#include "details/size_text.h"
#include "platform/file_system.h"

namespace tabulon {

namespace {

// Trims what the listing counts as blanks: control characters and spaces.
std::string_view Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

std::string BlanksToNbsp(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == ' ') {
      out += "&nbsp;";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

int LongNameWidth(const ShownColumns& shown) {
  int width = 120;
  if (shown.shortName) width -= 15;
  if (shown.fileSize) width -= 15;
  if (shown.fileType) width -= 26;
  if (shown.fileDate) width -= 19;
  if (shown.fileAttr) width -= 3;
  return width;
}

int LongNamePercent(const ShownColumns& shown) {
  int percent = 100;
  if (shown.shortName) percent -= 10;
  if (shown.fileSize) percent -= 10;
  if (shown.fileType) percent -= 20;
  if (shown.fileDate) percent -= 15;
  if (shown.fileAttr) percent -= 5;
  return percent;
}

std::string FolderText(std::string_view folder) {
  if (folder.size() > 1 && folder.back() == kPathDelim && !IsRootPath(folder)) {
    folder.remove_suffix(1);
  }
  return std::string(folder);
}

std::string FolderWithDelim(std::string_view folder) {
  std::string out(folder);
  if (out.empty() || out.back() != kPathDelim) out += kPathDelim;
  return out;
}

std::string PrintColumnText(Column column, const EntryValues& values, const Locale& locale) {
  switch (column) {
    case Column::kShortName:
      return std::string(values.shortName);
    case Column::kLongName:
      return std::string(values.longName);
    case Column::kFileType:
      return std::string(values.typeName);
    case Column::kSize:
      return SizeText(values.size, locale);
    case Column::kDateTime:
      return std::string(values.dateText);
    case Column::kAttributes:
      return std::string(values.attrText);
  }
  return {};
}

std::string PlainTextColumns(const EntryValues& values, const ShownColumns& shown,
                             const Locale& locale) {
  std::string line;
  AppendPlainTextColumns(line, values, shown, locale);
  return line;
}

void AppendPlainTextColumns(std::string& out, const EntryValues& values, const ShownColumns& shown,
                            const Locale& locale) {
  if (shown.shortName) utf8::AppendPadRight(out, values.shortName, 15);
  if (shown.longName) {
    const int width = LongNameWidth(shown);
    utf8::AppendFit(out, values.longName, width > 0 ? static_cast<std::size_t>(width) : 0);
  }
  if (shown.fileType) utf8::AppendFit(out, values.typeName, 25);
  if (shown.fileSize) AppendSizeTextRight(out, values.size, 15, locale);
  if (shown.fileDate) {
    out += "  ";
    utf8::AppendPadRight(out, values.dateText, 19);
  }
  if (shown.fileAttr) {
    out += "  ";
    out.append(values.attrText);
  }
}

void AppendPlainTextDetail(std::vector<std::string>& lines, const ShownDetail& detail) {
  if (detail.kind == DetailKind::kImage) {
    lines.push_back(detail.text);
    lines.emplace_back();
  } else {
    lines.push_back("  " + detail.text);
  }
}

std::vector<std::string> PlainTextEntryLines(const EntryValues& values, const ShownColumns& shown,
                                             const std::vector<ShownDetail>& details,
                                             const Locale& locale) {
  std::vector<std::string> lines{PlainTextColumns(values, shown, locale)};
  for (const ShownDetail& detail : details) AppendPlainTextDetail(lines, detail);
  return lines;
}

namespace {

// The pieces one after another as one quoted field.
void AppendCsvQuoted(std::string& out, std::string_view first, std::string_view second = {}) {
  out += '"';
  for (std::string_view piece : {first, second}) {
    for (char c : piece) {
      if (c == '"') out += '"';
      out += c;
    }
  }
  out += '"';
}

void AppendCsvBare(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") != std::string_view::npos) {
    AppendCsvQuoted(out, text);
  } else {
    out.append(text);
  }
}

}  // namespace

std::string CsvQuoted(std::string_view text) {
  std::string out;
  AppendCsvQuoted(out, text);
  return out;
}

std::string CsvBare(std::string_view text) {
  std::string out;
  AppendCsvBare(out, text);
  return out;
}

std::string CsvColumns(const EntryValues& values, const ShownColumns& shown,
                       std::string_view folder, CsvPathOption pathOption) {
  std::string row;
  AppendCsvColumns(row, values, shown, folder, pathOption);
  return row;
}

void AppendCsvColumns(std::string& out, const EntryValues& values, const ShownColumns& shown,
                      std::string_view folder, CsvPathOption pathOption) {
  if (pathOption == CsvPathOption::kSeparate) {
    AppendCsvQuoted(out, FolderText(folder));
    out += ',';
  }
  const std::string prefix =
      pathOption == CsvPathOption::kCombined ? FolderWithDelim(folder) : std::string();
  if (shown.shortName) {
    AppendCsvQuoted(out, prefix, values.shortName);
    out += ',';
  }
  if (shown.longName) {
    AppendCsvQuoted(out, prefix, values.longName);
    out += ',';
  }
  if (shown.fileType) {
    AppendCsvQuoted(out, values.typeName);
    out += ',';
  }
  if (shown.fileSize) {
    AppendCsvBare(out, Trim(values.sizeField));
    out += ',';
  }
  if (shown.fileDate) {
    AppendCsvQuoted(out, utf8::Copy(values.dateText, 1, 10));
    out += ',';
    AppendCsvQuoted(out, utf8::Copy(values.dateText, 13, 8));
    out += ',';
  }
  if (shown.fileAttr) {
    AppendCsvQuoted(out, Trim(values.attrText));
    out += ',';
  }
}

std::string CsvVersionFields(const VersionStrings& strings) {
  return CsvQuoted(strings.companyName) + "," + CsvQuoted(strings.fileDescription) + "," +
         CsvQuoted(strings.fileVersion);
}

std::string CsvMp3Fields(const Mp3Texts& texts) {
  return CsvQuoted(texts.artist) + "," + CsvQuoted(texts.title) + "," +
         CsvQuoted(texts.playingTime);
}

std::string CsvImageFields(const ImageDetailResult& image) {
  std::string fields = CsvQuoted(image.sizeField) + "," + CsvQuoted(image.resolutionField);
  if (image.hasExif) {
    fields += "," + CsvQuoted(image.dateField) + "," + CsvQuoted(image.exposureField);
  }
  return fields;
}

std::string CsvOfficeFields(const OfficeTexts& texts) {
  return CsvQuoted(texts.title) + "," + CsvQuoted(texts.subject) + "," + CsvQuoted(texts.author);
}

std::string CsvEntryRow(const EntryValues& values, const ShownColumns& shown,
                        std::string_view folder, CsvPathOption pathOption,
                        const std::vector<ShownDetail>& details) {
  std::string row;
  AppendCsvEntryRow(row, values, shown, folder, pathOption, details);
  return row;
}

void AppendCsvEntryRow(std::string& out, const EntryValues& values, const ShownColumns& shown,
                       std::string_view folder, CsvPathOption pathOption,
                       const std::vector<ShownDetail>& details) {
  AppendCsvColumns(out, values, shown, folder, pathOption);
  for (std::size_t i = 0; i < details.size(); ++i) {
    if (i > 0) out += ',';
    out += details[i].csvFields;
  }
}

std::string HtmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendHtmlText(out, text);
  return out;
}

void AppendHtmlText(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
        break;
    }
  }
}

std::string HtmlLinkAddress(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  AppendHtmlLinkAddress(out, path);
  return out;
}

void AppendHtmlLinkAddress(std::string& out, std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  // Unreserved characters, sub-delimiters, ":", "@" and "/" stand as they
  // are; of them only "&" needs escaping in the attribute.
  static constexpr std::string_view kKept = "-._~!$&'()*+,;=:@/";
  for (char c : path) {
    const auto b = static_cast<unsigned char>(c);
    const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    if (alnum || kKept.find(c) != std::string_view::npos) {
      if (c == '&') {
        out += "&amp;";
      } else {
        out += c;
      }
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
}

std::string HtmlColumns(const EntryValues& values, const ShownColumns& shown,
                        std::string_view folder, const Locale& locale) {
  std::string cells;
  AppendHtmlColumns(cells, values, shown, folder, locale);
  return cells;
}

void AppendHtmlColumns(std::string& out, const EntryValues& values, const ShownColumns& shown,
                       std::string_view folder, const Locale& locale) {
  if (shown.shortName) {
    // Padded as plain text first; the blanks need no escaping.
    out += "<TD>";
    AppendHtmlText(out, values.shortName);
    const std::size_t count = utf8::Count(values.shortName);
    if (count < 15) out.append(15 - count, ' ');
    out += "</TD>";
  }
  if (shown.longName) {
    out += "<TD WIDTH=\"";
    out += std::to_string(LongNamePercent(shown));
    out += "%\"><A HREF=\"";
    AppendHtmlLinkAddress(out, folder);
    if (folder.empty() || folder.back() != kPathDelim) out += kPathDelim;
    AppendHtmlLinkAddress(out, values.longName);
    out += "\">";
    AppendHtmlText(out, values.longName);
    out += "</A></TD>";
  }
  if (shown.fileType) {
    out += "<TD WIDTH=\"20%\">";
    out += BlanksToNbsp(HtmlText(values.typeName));
    out += "</TD>";
  }
  if (shown.fileSize) {
    out += "<TD ALIGN=RIGHT WIDTH=\"8%\">";
    AppendSizeTextRight(out, values.size, 15, locale);
    out += "</TD>";
  }
  if (shown.fileDate) {
    out += "<TD WIDTH=\"16%\">&nbsp;";
    utf8::AppendPadRight(out, BlanksToNbsp(HtmlText(Trim(values.dateText))), 19);
    out += "</TD>";
  }
  if (shown.fileAttr) {
    out += "<TD WIDTH=\"4%\">  ";
    AppendHtmlText(out, values.attrText);
    out += "</TD>";
  }
}

std::string HtmlDetailRow(const ShownDetail& detail) {
  return "<TR><TD COLSPAN=6>&nbsp;&nbsp;&nbsp;&nbsp;" + HtmlText(detail.text) + "</TD></TR>";
}

}  // namespace tabulon
