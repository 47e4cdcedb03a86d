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

std::string CsvQuoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string CsvBare(std::string_view text) {
  if (text.find_first_of(",\"\r\n") != std::string_view::npos) return CsvQuoted(text);
  return std::string(text);
}

std::string CsvColumns(const EntryValues& values, const ShownColumns& shown,
                       std::string_view folder, CsvPathOption pathOption) {
  std::string row;
  if (pathOption == CsvPathOption::kSeparate) row += CsvQuoted(FolderText(folder)) + ",";
  const std::string prefix =
      pathOption == CsvPathOption::kCombined ? FolderWithDelim(folder) : std::string();
  if (shown.shortName) row += CsvQuoted(std::string(prefix).append(values.shortName)) + ",";
  if (shown.longName) row += CsvQuoted(std::string(prefix).append(values.longName)) + ",";
  if (shown.fileType) row += CsvQuoted(values.typeName) + ",";
  if (shown.fileSize) row += CsvBare(Trim(values.sizeField)) + ",";
  if (shown.fileDate) {
    row += CsvQuoted(utf8::Copy(values.dateText, 1, 10)) + ",";
    row += CsvQuoted(utf8::Copy(values.dateText, 13, 8)) + ",";
  }
  if (shown.fileAttr) row += CsvQuoted(Trim(values.attrText)) + ",";
  return row;
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
  std::string row = CsvColumns(values, shown, folder, pathOption);
  for (std::size_t i = 0; i < details.size(); ++i) {
    if (i > 0) row += ',';
    row += details[i].csvFields;
  }
  return row;
}

std::string HtmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
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
  return out;
}

std::string HtmlLinkAddress(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  // Unreserved characters, sub-delimiters, ":", "@" and "/" stand as they are.
  static constexpr std::string_view kKept = "-._~!$&'()*+,;=:@/";
  std::string encoded;
  encoded.reserve(path.size());
  for (char c : path) {
    const auto b = static_cast<unsigned char>(c);
    const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    if (alnum || kKept.find(c) != std::string_view::npos) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[b >> 4];
      encoded += kHex[b & 15];
    }
  }
  return HtmlText(encoded);
}

std::string HtmlColumns(const EntryValues& values, const ShownColumns& shown,
                        std::string_view folder, const Locale& locale) {
  std::string cells;
  if (shown.shortName) cells += "<TD>" + HtmlText(utf8::PadRight(values.shortName, 15)) + "</TD>";
  if (shown.longName) {
    cells += "<TD WIDTH=\"" + std::to_string(LongNamePercent(shown)) + "%\"><A HREF=\"" +
             HtmlLinkAddress(FolderWithDelim(folder).append(values.longName)) + "\">" +
             HtmlText(values.longName) + "</A></TD>";
  }
  if (shown.fileType) {
    cells += "<TD WIDTH=\"20%\">" + BlanksToNbsp(HtmlText(values.typeName)) + "</TD>";
  }
  if (shown.fileSize) {
    cells += "<TD ALIGN=RIGHT WIDTH=\"8%\">" + SizeTextRight(values.size, 15, locale) + "</TD>";
  }
  if (shown.fileDate) {
    cells += "<TD WIDTH=\"16%\">&nbsp;" +
             utf8::PadRight(BlanksToNbsp(HtmlText(Trim(values.dateText))), 19) + "</TD>";
  }
  if (shown.fileAttr) cells += "<TD WIDTH=\"4%\">  " + HtmlText(values.attrText) + "</TD>";
  return cells;
}

std::string HtmlDetailRow(const ShownDetail& detail) {
  return "<TR><TD COLSPAN=6>&nbsp;&nbsp;&nbsp;&nbsp;" + HtmlText(detail.text) + "</TD></TR>";
}

}  // namespace tabulon
