#include "app/cli_options.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

#include "listing/date_patterns.h"
#include "platform/file_time.h"

namespace tabulon {
namespace {

// Options that take a value, and switches, that go into the settings list.
constexpr std::array kValueSettings = {
    "--include",       "--exclude", "--show",        "--date",     "--sort", "--levels",
    "--from",          "--to",      "--page-header", "--csv-path", "--font", "--font-size",
    "--print-columns",
};
constexpr std::array kSwitchSettings = {
    "--ascending",       "--descending", "--subdirs",       "--no-subdirs",    "--dirs-only",
    "--no-dirs-only",    "--tree",       "--no-tree",       "--exclude-empty", "--no-exclude-empty",
    "--hidden",          "--no-hidden",  "--csv-totals",    "--csv-no-totals", "--html-borders",
    "--no-html-borders", "--html-shade", "--no-html-shade", "--portrait",      "--landscape",
    "--shade",           "--no-shade",
};

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::array<const char*, N>& names) {
  for (const char* candidate : names) {
    if (name == candidate) return true;
  }
  return false;
}

std::optional<ExportFormat> FormatFromType(std::string_view type) {
  if (type == "txt") return ExportFormat::kText;
  if (type == "csv") return ExportFormat::kDelimited;
  if (type == "html" || type == "htm") return ExportFormat::kHtml;
  return std::nullopt;
}

bool ParseInt(std::string_view text, int& value) {
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

template <std::size_t N>
int IndexOf(std::string_view value, const std::array<const char*, N>& names) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value == names[i]) return static_cast<int>(i);
  }
  return -1;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// A date given as YYYY-MM-DD becomes the locale's short date, which the date
// box reads; any other text must read as a date in the locale's order.
std::optional<std::string> DateBoxText(const Locale& locale, const std::string& text) {
  int year = 0, month = 0, day = 0;
  if (text.size() == 10 && text[4] == '-' && text[7] == '-' &&
      ParseInt(std::string_view(text).substr(0, 4), year) &&
      ParseInt(std::string_view(text).substr(5, 2), month) &&
      ParseInt(std::string_view(text).substr(8, 2), day)) {
    CalendarTime calendar;
    calendar.year = year;
    calendar.month = month;
    calendar.day = day;
    FileTime unused = 0;
    if (!CalendarToFileTime(calendar, unused)) return std::nullopt;
    std::string boxText = locale.FormatShortDate(year, month, day);
    int y = 0, m = 0, d = 0;
    if (!ParseDateBox(locale, boxText, y, m, d) || y != year || m != month || d != day) {
      return std::nullopt;
    }
    return boxText;
  }
  if (!ParseDateBox(locale, text, year, month, day)) return std::nullopt;
  return text;
}

}  // namespace

std::optional<std::string> ParseArguments(const std::vector<std::string>& args,
                                          ParsedCommandLine& out) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      out.positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    auto takeValue = [&](std::string& value) -> std::optional<std::string> {
      if (inlineValue) {
        value = *inlineValue;
        return std::nullopt;
      }
      if (i + 1 >= args.size()) return "option " + name + " needs a value";
      value = args[++i];
      return std::nullopt;
    };
    auto noValue = [&]() -> std::optional<std::string> {
      if (inlineValue) return "option " + name + " takes no value";
      return std::nullopt;
    };

    std::optional<std::string> error;
    if (name == "--help" || name == "-h") {
      error = noValue();
      out.help = true;
    } else if (name == "--version") {
      error = noValue();
      out.version = true;
    } else if (name == "--defaults") {
      error = noValue();
      out.defaults = true;
    } else if (name == "--open") {
      error = noValue();
      out.open = true;
    } else if (name == "--export") {
      error = takeValue(out.exportFile);
      if (!error && out.exportFile.empty()) error = "option --export needs a file name";
    } else if (name == "--pdf") {
      error = takeValue(out.pdfFile);
      if (!error && out.pdfFile.empty()) error = "option --pdf needs a file name";
    } else if (name == "--type") {
      std::string value;
      error = takeValue(value);
      if (!error) {
        out.type = FormatFromType(value);
        if (!out.type) error = "--type must be txt, csv or html, not " + Quoted(value);
      }
    } else if (IsOneOf(name, kValueSettings)) {
      std::string value;
      error = takeValue(value);
      if (!error) out.settings.emplace_back(name, value);
    } else if (IsOneOf(name, kSwitchSettings)) {
      error = noValue();
      if (!error) out.settings.emplace_back(name, "");
    } else {
      error = "unknown option " + name;
    }
    if (error) return error;
  }
  if (!out.exportFile.empty() && !out.pdfFile.empty()) {
    return std::string("--export and --pdf cannot be given together");
  }
  return std::nullopt;
}

std::optional<std::string> ApplySettings(const ParsedCommandLine& parsed, const Locale& locale,
                                         ListingOptions& options) {
  static constexpr std::array kShowNames = {"short", "long",    "type", "size",  "date",
                                            "attr",  "version", "mp3",  "image", "office"};
  static constexpr std::array kDateNames = {"modified", "created", "accessed"};
  static constexpr std::array kSortNames = {"short", "long", "extension", "type",
                                            "size",  "date", "attributes"};
  static constexpr std::array kCsvPathNames = {"none", "separate", "combined"};

  bool landscapeGiven = false;
  for (const auto& [name, value] : parsed.settings) {
    auto bad = [&](const char* expected) { return name + " " + Quoted(value) + ": " + expected; };
    if (name == "--include") {
      options.txtFilespec = value;
    } else if (name == "--exclude") {
      options.txtExclude = value;
    } else if (name == "--show") {
      bool* boxes[] = {&options.chkShortName, &options.chkLongName, &options.chkFileType,
                       &options.chkFileSize,  &options.chkFileDate, &options.chkFileAttr,
                       &options.chkVersion,   &options.chkMP3,      &options.chkImage,
                       &options.chkMSOffice};
      bool shown[std::size(boxes)] = {};
      std::string_view rest = value;
      while (!rest.empty()) {
        std::size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (item.empty()) continue;
        int index = IndexOf(item, kShowNames);
        if (index < 0) {
          return name + ": unknown column or detail " + Quoted(item) +
                 " (short, long, type, size, date, attr, version, mp3, image, office)";
        }
        shown[index] = true;
      }
      for (std::size_t k = 0; k < std::size(boxes); ++k) *boxes[k] = shown[k];
    } else if (name == "--date") {
      int index = IndexOf(value, kDateNames);
      if (index < 0) return bad("must be modified, created or accessed");
      options.grpDate = index;
    } else if (name == "--sort") {
      int index = IndexOf(value, kSortNames);
      if (index < 0) {
        return bad("must be short, long, extension, type, size, date or attributes");
      }
      options.grpSortField = index;
    } else if (name == "--ascending" || name == "--descending") {
      options.grpSortOrder = name == "--ascending" ? 0 : 1;
    } else if (name == "--levels") {
      int levels = 0;
      if (!ParseInt(value, levels) || levels < 0 || levels > kLevelsItemCount - 1) {
        return bad("must be a number from 0 (all levels) to 10");
      }
      options.cboLevels = levels;
    } else if (name == "--from" || name == "--to") {
      std::optional<std::string> boxText = DateBoxText(locale, value);
      if (!boxText) return bad("is not a date (YYYY-MM-DD or the locale's short date)");
      (name == "--from" ? options.txtFromDate : options.txtToDate) = *boxText;
      options.chkDateRange = true;
    } else if (name == "--page-header") {
      options.chkPageHeader = true;
      options.txtPageHeader = value;
    } else if (name == "--csv-path") {
      int index = IndexOf(value, kCsvPathNames);
      if (index < 0) return bad("must be none, separate or combined");
      options.exportPanel.chkFullPath = index != 0;
      if (index != 0) options.exportPanel.grpFullPath = index - 1;
    } else if (name == "--font") {
      if (value.empty()) return bad("needs a font name");
      options.cboFont = value;
    } else if (name == "--font-size") {
      int size = 0;
      if (!ParseInt(value, size) || size < 8 || size > 12) return bad("must be 8, 9, 10, 11 or 12");
      options.cboFontSize = size - 8;
    } else if (name == "--print-columns") {
      if (value == "1") {
        options.grpColumns = 0;
      } else if (value == "2") {
        options.grpColumns = 1;
      } else if (value == "4") {
        options.grpColumns = 2;
      } else {
        return bad("must be 1, 2 or 4");
      }
    } else if (name == "--portrait" || name == "--landscape") {
      options.grpOrientation = name == "--landscape" ? 1 : 0;
      landscapeGiven = name == "--landscape";
    } else {
      const bool on = name.rfind("--no-", 0) != 0 && name != "--csv-no-totals";
      if (name == "--subdirs" || name == "--no-subdirs") {
        options.chkInclSub = on;
      } else if (name == "--dirs-only" || name == "--no-dirs-only") {
        options.chkDirOnly = on;
      } else if (name == "--tree" || name == "--no-tree") {
        options.chkTree = on;
      } else if (name == "--exclude-empty" || name == "--no-exclude-empty") {
        options.chkExcludeEmpty = on;
      } else if (name == "--hidden" || name == "--no-hidden") {
        options.chkHidden = on;
      } else if (name == "--csv-totals" || name == "--csv-no-totals") {
        options.exportPanel.chkNoTotals = !on;
      } else if (name == "--html-borders" || name == "--no-html-borders") {
        options.exportPanel.chkBorders = on;
      } else if (name == "--html-shade" || name == "--no-html-shade") {
        options.exportPanel.chkShade = on;
      } else if (name == "--shade" || name == "--no-shade") {
        options.chkShade = on;
      } else {
        return "unknown option " + name;
      }
    }
  }
  // Two or four columns print in portrait only, as the window allows.
  if (options.grpColumns != 0 && options.grpOrientation == 1) {
    if (landscapeGiven) return std::string("--landscape prints one column only");
    options.grpOrientation = 0;
  }
  // A tree-style listing is a directories-only listing.
  if (!options.chkDirOnly) options.chkTree = false;
  options.exportPanel.chkOpenFile = parsed.open;
  return std::nullopt;
}

ExportFormat ChooseExportFormat(const ParsedCommandLine& parsed) {
  if (parsed.type) return *parsed.type;
  return ExportFormatFromFileName(parsed.exportFile);
}

const char* UsageText() {
  return R"(Usage: tabulon --export FILE [OPTIONS] FOLDER
       tabulon --pdf FILE [OPTIONS] FOLDER
       tabulon --help | --version

Tabulon lists the contents of a folder tree on paper or in a file. From the
command line it writes the listing of FOLDER into FILE and exits.

Jobs:
  --export FILE        write the listing as plain text, comma-delimited text
                       or HTML; --type chooses, else FILE's extension does
                       (.csv comma-delimited, .htm and .html HTML, anything
                       else plain text)
  --type txt|csv|html  the export format, whatever FILE is called
  --pdf FILE           print the listing into a PDF file
  --open               open FILE with its program when it is written (a
                       cancelled export too, as far as it was written)

Options override the saved options of the same meaning; the command line never
saves options.
  --defaults           start from the first-run options, not the saved ones
  --include MASKS      files to list, e.g. "*.txt;*.doc" (default *.*)
  --exclude MASKS      files to leave out, e.g. "*.bak;*.tmp"
  --show LIST          the columns and details to show, comma-separated from
                       short, long, type, size, date, attr, version, mp3,
                       image, office (replaces all ten)
  --date modified|created|accessed   the time stamp shown and tested
  --sort short|long|extension|type|size|date|attributes
  --ascending, --descending          the sort order
  --levels N           subdirectory levels to list, 0 for all
  --from DATE, --to DATE
                       list only files dated in this range (both days
                       included); DATE in the order of your locale's short
                       date, or YYYY-MM-DD
  --page-header TEXT   a line of your own under the heading
  --subdirs, --no-subdirs            include subdirectories
  --dirs-only, --no-dirs-only        list directories only, with counts
  --tree, --no-tree                  indented tree style (directories only)
  --exclude-empty, --no-exclude-empty
                       leave out directories without matching files
  --hidden, --no-hidden              include hidden and system files

Export options:
  --csv-path none|separate|combined  the folder of each file in a
                       comma-delimited file: not at all, in a field of its
                       own, or in front of the file name
  --csv-totals, --csv-no-totals      comma-delimited headings and totals
  --html-borders, --no-html-borders  HTML table borders
  --html-shade, --no-html-shade      HTML grey rows, alternately

PDF options:
  --font NAME          the body font
  --font-size N        8, 9, 10, 11 or 12 points
  --print-columns 1|2|4              columns per page (2 and 4 in portrait)
  --portrait, --landscape            page orientation
  --shade, --no-shade                grey bands behind alternate lines

Exit status: 0 when the file is complete; 1 when it could not be written (the
message names the file and the reason); 2 for a bad command line or a FOLDER
that is not a folder; 130 when interrupted: Ctrl+C cancels the job and the file
keeps what was written so far.

Environment: progress goes to standard error while it is a terminal.
SOURCE_DATE_EPOCH (seconds since 1970) fixes the listing's date and time;
LC_ALL, LC_TIME and LANG choose the locale, TZ the time zone, and
XDG_CONFIG_HOME where the saved options live (Veltro/Tabulon.conf).
)";
}

}  // namespace tabulon
