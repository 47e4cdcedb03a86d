#include "details/detail_text.h"

#include <cmath>
#include <cstdio>

#include "details/column_text.h"
#include "platform/file_time.h"
#include "platform/locale.h"

namespace tabulon {
namespace {

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// Ordinal "greater than one blank": an empty text or a single blank fails.
bool AboveBlank(const std::string& text) {
  return text.compare(" ") > 0;
}

// Replaces the first occurrence of `find` (ASCII letters in any case).
void ReplaceFirstIgnoringCase(std::string& text, std::string_view find, std::string_view by) {
  const std::string upperText = UpperAscii(text);
  const std::size_t at = upperText.find(UpperAscii(find));
  if (at != std::string::npos) text.replace(at, find.size(), by);
}

// A piece of the EXIF date: leading blanks, then decimal digits only.
bool ReadNumber(std::string_view piece, int& value) {
  std::size_t i = 0;
  while (i < piece.size() && piece[i] == ' ') ++i;
  if (i == piece.size()) return false;
  long long n = 0;
  for (; i < piece.size(); ++i) {
    if (piece[i] < '0' || piece[i] > '9') return false;
    n = n * 10 + (piece[i] - '0');
    if (n > 100000) return false;
  }
  value = static_cast<int>(n);
  return true;
}

}  // namespace

std::string_view NameExtension(std::string_view longName) {
  const std::size_t dot = longName.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : longName.substr(dot);
}

bool QualifiesForDetail(std::string_view longName, std::string_view extensionList) {
  const std::string_view extension = NameExtension(longName);
  if (extension.size() < 2) return false;
  return extensionList.find(UpperAscii(extension)) != std::string_view::npos;
}

bool QualifiesForMp3(std::string_view longName) {
  return UpperAscii(NameExtension(longName)) == Mp3Extension;
}

VersionDetailResult VersionDetail(const std::string& fullPath, const VersionSource& source) {
  VersionDetailResult result;
  result.strings = source.ReadVersion(fullPath);
  result.shown = AboveBlank(result.strings.fileDescription);
  result.text = result.strings.companyName + " - " + result.strings.fileDescription + " - " +
                result.strings.fileVersion;
  return result;
}

std::string Mp3DetailText(const Mp3Texts& texts) {
  return texts.artist + " - " + texts.title + " - " + texts.playingTime;
}

std::string FloatText(double value, const Locale& locale) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text = buffer;
  std::string exponent;
  const std::size_t e = text.find('e');
  if (e != std::string::npos) {
    std::string digits = text.substr(e + 1);
    const bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.erase(0, 1);
    while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
    exponent = std::string("E") + (negative ? "-" : "") + digits;
    text.erase(e);
  }
  const std::size_t point = text.find('.');
  if (point != std::string::npos) text.replace(point, 1, locale.DecimalPoint());
  return text + exponent;
}

bool ExifDateText(std::string_view exifDateTime, const Locale& locale, std::string& out) {
  CalendarTime moment;
  int* fields[] = {&moment.year, &moment.month,  &moment.day,
                   &moment.hour, &moment.minute, &moment.second};
  const std::size_t starts[] = {1, 6, 9, 12, 15, 18};
  const std::size_t lengths[] = {4, 2, 2, 2, 2, 2};
  for (int i = 0; i < 6; ++i) {
    if (!ReadNumber(utf8::Copy(exifDateTime, starts[i], lengths[i]), *fields[i])) return false;
  }
  DateTimeValue value = 0;
  if (!EncodeDateTime(moment, value)) return false;
  std::string text = locale.FormatShortDate(moment.year, moment.month, moment.day);
  if (moment.hour != 0 || moment.minute != 0 || moment.second != 0) {
    text += " " + locale.FormatLongTime(moment.hour, moment.minute, moment.second);
  }
  ReplaceFirstIgnoringCase(text, " AM", "am");
  ReplaceFirstIgnoringCase(text, " PM", "pm");
  out = std::move(text);
  return true;
}

ImageDetailResult ImageDetailFromParams(const ImageParams& params, const Locale& locale) {
  ImageDetailResult result;
  result.params = params;
  const int dpi = params.dpi == 1 ? 300 : params.dpi;
  result.sizeField = std::to_string(params.width) + "x" + std::to_string(params.height);
  result.resolutionField = std::to_string(dpi) + " DPI";
  result.text = "Size: " + result.sizeField + "; DPI: " + std::to_string(dpi);
  if (!params.hasExif) return result;

  result.hasExif = true;
  const std::string fNumber = FloatText(params.fNumber, locale);
  result.exposureField = "F" + fNumber;
  std::string exposure;
  if (params.exposureTime != 0) {
    exposure = FloatText(1.0 / params.exposureTime, locale);
    result.exposureField += "  1/" + exposure;
  }
  if (ExifDateText(params.exifDateTime, locale, result.dateField)) {
    result.text += "; Date: " + result.dateField;
    if (params.exposureTime != 0) result.text += "; Exposure: F" + fNumber + "  1/" + exposure;
  }
  return result;
}

ImageDetailResult ImageDetail(const std::string& fullPath, const ImageSource& source,
                              const Locale& locale) {
  return ImageDetailFromParams(source.ReadImage(fullPath), locale);
}

OfficeDetailResult OfficeDetailFromTexts(const OfficeTexts& texts) {
  OfficeDetailResult result;
  result.texts = texts;
  if (AboveBlank(texts.title)) result.text += texts.title + " - ";
  if (AboveBlank(texts.subject)) result.text += texts.subject + " - ";
  if (AboveBlank(texts.author)) result.text += texts.author;
  if (result.text.size() >= 2 && result.text.compare(result.text.size() - 2, 2, "- ") == 0) {
    result.text.erase(result.text.size() - 2);
  }
  result.shown = utf8::Count(result.text) > 1;
  return result;
}

OfficeDetailResult OfficeDetail(const std::string& fullPath, const OfficeSource& source) {
  return OfficeDetailFromTexts(source.ReadOffice(fullPath));
}

std::vector<ShownDetail> EntryDetails(std::string_view longName, const std::string& fullPath,
                                      const DetailOptions& options, const DetailSources& sources,
                                      const Locale& locale) {
  std::vector<ShownDetail> details;
  const std::string_view versionList =
      options.forPrint ? VersionExtensionsPrint : VersionExtensionsExport;
  if (options.chkVersion && sources.version != nullptr &&
      QualifiesForDetail(longName, versionList)) {
    VersionDetailResult version = VersionDetail(fullPath, *sources.version);
    if (version.shown) {
      details.push_back(
          {DetailKind::kVersion, std::move(version.text), CsvVersionFields(version.strings)});
    }
  }
  if (options.chkMP3 && sources.mp3 != nullptr && QualifiesForMp3(longName)) {
    const Mp3Texts texts = sources.mp3->ReadMp3(fullPath);
    details.push_back({DetailKind::kMp3, Mp3DetailText(texts), CsvMp3Fields(texts)});
  }
  if (options.chkImage && sources.image != nullptr &&
      QualifiesForDetail(longName, ImageExtensions)) {
    ImageDetailResult image = ImageDetail(fullPath, *sources.image, locale);
    std::string fields = CsvImageFields(image);
    details.push_back({DetailKind::kImage, std::move(image.text), std::move(fields)});
  }
  if (options.chkMSOffice && sources.office != nullptr &&
      QualifiesForDetail(longName, OfficeExtensions)) {
    OfficeDetailResult office = OfficeDetail(fullPath, *sources.office);
    if (office.shown) {
      details.push_back(
          {DetailKind::kOffice, std::move(office.text), CsvOfficeFields(office.texts)});
    }
  }
  return details;
}

}  // namespace tabulon
