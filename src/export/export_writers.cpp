#include "export/export_writers.h"

#include <vector>

#include "details/column_text.h"
#include "details/detail_text.h"
#include "details/size_text.h"
#include "platform/file_system.h"
#include "search/string_collection.h"

namespace tabulon {
namespace {

constexpr std::string_view kTextGap = "      ";
constexpr std::string_view kHtmlGap = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
constexpr std::string_view kNoMatchNote =
    "Directories with no files matching the specification are not listed or counted in the "
    "total.";
constexpr std::string_view kShadedFileRow = "<TR BGCOLOR=#CCCCCC>";
constexpr std::string_view kShadedAttribute = "BGCOLOR=\"#CCCCCC\"";

EntryValues ValuesOf(const FileEntry& entry) {
  EntryValues values;
  values.shortName = entry.ShortName;
  values.longName = entry.LongName;
  values.typeName = entry.TypeName;
  values.sizeField = entry.SizeField;
  values.dateText = entry.DateText;
  values.attrText = entry.AttrText;
  values.size = entry.Size;
  return values;
}

ShownColumns ShownOf(const ListingOptions& options) {
  ShownColumns shown;
  shown.shortName = options.chkShortName;
  shown.longName = options.chkLongName;
  shown.fileType = options.chkFileType;
  shown.fileSize = options.chkFileSize;
  shown.fileDate = options.chkFileDate;
  shown.fileAttr = options.chkFileAttr;
  return shown;
}

DetailOptions DetailOptionsOf(const ListingOptions& options) {
  DetailOptions detailOptions;
  detailOptions.chkVersion = options.chkVersion;
  detailOptions.chkMP3 = options.chkMP3;
  detailOptions.chkImage = options.chkImage;
  detailOptions.chkMSOffice = options.chkMSOffice;
  detailOptions.forPrint = false;
  return detailOptions;
}

bool AnyDetail(const ListingOptions& options) {
  return options.chkVersion || options.chkMP3 || options.chkImage || options.chkMSOffice;
}

std::string Digits(std::uint64_t value) {
  return std::to_string(value);
}

// "%.0n files; %.0n bytes", the singular for exactly one file.
std::string FilesAndBytes(const ListingTotals& totals, const Locale& locale) {
  return SizeText(totals.DirFileCount, locale) +
         (totals.DirFileCount == 1 ? " file; " : " files; ") +
         SizeText(totals.DirByteCount, locale) + " bytes";
}

std::string GrandTotalText(const ListingTotals& totals, bool withDirectories,
                           const Locale& locale) {
  std::string text = "Total: ";
  if (withDirectories) text += Digits(totals.DirectoryCount) + " directories;  ";
  return text + SizeText(totals.FileCount, locale) + " files;  " +
         SizeText(totals.ByteCount, locale) + " bytes";
}

// The plain text and comma-delimited formats share the heading block, the
// directory headings and the entry's details.
class PlainTextWriter : public ExportWriter {
 public:
  using ExportWriter::ExportWriter;

  void HeadingBlock() override { WriteHeadingLines({.gap = kTextGap}); }

  void DirectoryHeading(const std::string& folderText, bool /*deferred*/) override {
    if (!options_.chkDirOnly) {
      out_.WriteLine();
      out_.WriteLine(folderText);
      return;
    }
    if (!options_.chkTree) {
      out_.Write(utf8::PadRight(folderText, 60));
    } else if (IsRootPath(folderText)) {
      out_.Write(utf8::PadRight(folderText, 50));
    } else {
      out_.Write(utf8::PadRight(TStringCollection::RepeatChar(' ', 3 * job_.TreeDepth(folderText)) +
                                    std::string(LastComponent(folderText)),
                                50));
    }
  }

  void Entry(const FileEntry& entry, std::size_t, const std::string& folder) override {
    std::vector<ShownDetail> details;
    if (AnyDetail(options_)) {
      details = EntryDetails(entry.LongName, FullPath(folder, entry), DetailOptionsOf(options_),
                             details_, locale_);
    }
    // One text buffer for all entries; a plain entry is built in place.
    text_.clear();
    if (details.empty()) {
      AppendPlainTextColumns(text_, ValuesOf(entry), shown_, locale_);
      text_ += "\r\n";
    } else {
      for (const std::string& line :
           PlainTextEntryLines(ValuesOf(entry), shown_, details, locale_)) {
        text_ += line;
        text_ += "\r\n";
      }
    }
    out_.Write(text_);
  }

  void DirectoryTotals(const ListingTotals& totals) override {
    if (totals.DirFileCount > 0) out_.WriteLine();
    out_.WriteLine(FilesAndBytes(totals, locale_));
  }

  void DirectoryCounts(const ListingTotals& totals) override {
    out_.WriteLine(SizeText6(totals.DirFileCount, locale_) +
                   (totals.DirFileCount == 1 ? " file  " : " files ") +
                   SizeText12(totals.DirByteCount, locale_) + " bytes");
  }

  void GrandTotals(const ListingTotals& totals) override {
    out_.WriteLine(GrandTotalText(totals, options_.chkInclSub, locale_));
    if (options_.chkInclSub && options_.txtFilespec != "*.*") out_.WriteLine(kNoMatchNote);
  }

 protected:
  const ShownColumns shown_ = ShownOf(options_);

 private:
  std::string text_;
};

class DelimitedWriter : public ExportWriter {
 public:
  using ExportWriter::ExportWriter;

  void HeadingBlock() override {
    WriteHeadingLines({.gap = kTextGap, .csvColumnsLine = options_.chkDirOnly});
  }

  void DirectoryHeading(const std::string& folderText, bool /*deferred*/) override {
    if (options_.chkDirOnly) {
      out_.Write(CsvBare(folderText) + ",");
    } else if (!flags_.CsvNoHeaders) {
      out_.WriteLine();
      out_.WriteLine(CsvBare(folderText));
    }
  }

  void Entry(const FileEntry& entry, std::size_t, const std::string& folder) override {
    std::vector<ShownDetail> details;
    if (AnyDetail(options_)) {
      details = EntryDetails(entry.LongName, FullPath(folder, entry), DetailOptionsOf(options_),
                             details_, locale_);
    }
    row_.clear();
    AppendCsvEntryRow(row_, ValuesOf(entry), shown_, folder, pathOption_, details);
    row_ += "\r\n";
    out_.Write(row_);
  }

  void DirectoryTotals(const ListingTotals& totals) override {
    if (flags_.CsvNoHeaders) return;
    if (totals.DirFileCount > 0) out_.WriteLine();
    out_.WriteLine(Digits(totals.DirFileCount) + "," + Digits(totals.DirByteCount));
  }

  void DirectoryCounts(const ListingTotals& totals) override {
    out_.WriteLine(Digits(totals.DirFileCount) + "," + Digits(totals.DirByteCount));
  }

  void GrandTotals(const ListingTotals& totals) override {
    if (options_.chkInclSub) out_.WriteLine("Total directories:," + Digits(totals.DirectoryCount));
    out_.WriteLine("Total files:," + Digits(totals.FileCount));
    out_.WriteLine("Total bytes:," + Digits(totals.ByteCount));
    if (options_.chkInclSub && options_.txtFilespec != "*.*") out_.WriteLine(kNoMatchNote);
  }

 private:
  const ShownColumns shown_ = ShownOf(options_);
  const CsvPathOption pathOption_ = flags_.CsvPathSeparate   ? CsvPathOption::kSeparate
                                    : flags_.CsvPathCombined ? CsvPathOption::kCombined
                                                             : CsvPathOption::kNone;
  std::string row_;  // reused from row to row
};

class HtmlWriter : public ExportWriter {
 public:
  using ExportWriter::ExportWriter;

  void DocumentStart() override {
    out_.WriteLine("<HTML>");
    if (options_.exportPanel.chkBorders) {
      out_.WriteLine("<HEAD>");
      out_.WriteLine("<STYLE TYPE='text/css'>");
      out_.WriteLine("  td {border: ridge 1px}");
      out_.WriteLine("  table {border: ridge 2px; border-collapse: collapse}");
      out_.WriteLine("</STYLE>");
      out_.WriteLine("</HEAD>");
    }
    out_.WriteLine("<BODY>");
  }

  void HeadingBlock() override {
    WriteHeadingLines({.gap = kHtmlGap,
                       .line1Start = "<B>",
                       .line1End = "<BR>",
                       .line2End = "<BR>",
                       .line3End = "<BR>",
                       .line4End = "<P>",
                       .line5End = "<P>",
                       .escapeHtml = true});
    out_.WriteLine("</B><P>" + flags_.TableStartTag);
    out_.WriteLine();
  }

  void DirectoryHeading(const std::string& folderText, bool deferred) override {
    if (!options_.chkDirOnly) {
      if (deferred) out_.WriteLine(flags_.TableStartTag);
      out_.WriteLine("<TR><TD COLSPAN=6><B>" + HtmlText(folderText) + "</B></TD></TR>");
      return;
    }
    if (options_.chkTree && IsRootPath(folderText)) {
      // The root row of a tree takes no part in the alternation.
      out_.Write("<TR><TD>" + HtmlText(folderText) + "</TD>");
      return;
    }
    std::string row = "<TR ";
    if (shadeCounter_ % 2 == 1) row += kShadedAttribute;
    if (options_.chkTree) {
      row += "><TD>" + TStringCollection::Replicate("&nbsp;", 3 * job_.TreeDepth(folderText)) +
             HtmlText(LastComponent(folderText)) + "</TD>";
    } else {
      row += "><TD WIDTH=\"80%\"><A HREF=\"" + HtmlLinkAddress(folderText) + "\">" +
             HtmlText(folderText) + "</A></TD>";
    }
    if (flags_.HtmlShade) ++shadeCounter_;
    out_.Write(row);
  }

  void Entry(const FileEntry& entry, std::size_t index, const std::string& folder) override {
    row_.assign(flags_.HtmlShade && index % 2 == 1 ? kShadedFileRow : "<TR>");
    AppendHtmlColumns(row_, ValuesOf(entry), shown_, folder, locale_);
    if (AnyDetail(options_)) {
      for (const ShownDetail& detail : EntryDetails(entry.LongName, FullPath(folder, entry),
                                                    DetailOptionsOf(options_), details_, locale_)) {
        row_ += HtmlDetailRow(detail);
      }
    }
    row_ += "</TR>\r\n\r\n";
    out_.Write(row_);
  }

  void DirectoryTotals(const ListingTotals& totals) override {
    out_.WriteLine("<TR><TD COLSPAN=6><B> " + FilesAndBytes(totals, locale_) + "</B></TD></TR>");
    out_.WriteLine("<TR><TD COLSPAN=6>&nbsp;</TD></TR>");
  }

  void DirectoryCounts(const ListingTotals& totals) override {
    out_.WriteLine("<TD ALIGN=RIGHT>" + SizeText6(totals.DirFileCount, locale_) +
                   (totals.DirFileCount == 1 ? "&nbsp;file" : "&nbsp;files") +
                   "</TD><TD ALIGN=RIGHT>" + SizeText12(totals.DirByteCount, locale_) +
                   "&nbsp;bytes</TD></TR>");
  }

  void GrandTotals(const ListingTotals& totals) override {
    std::string line = "</TABLE><P><B> " + GrandTotalText(totals, options_.chkInclSub, locale_);
    if (options_.chkInclSub) line += "<BR>";
    out_.WriteLine(line);
    if (options_.chkInclSub && options_.txtFilespec != "*.*") out_.WriteLine(kNoMatchNote);
  }

  void DocumentEnd() override { out_.WriteLine("</B></BODY></HTML>"); }

 private:
  const ShownColumns shown_ = ShownOf(options_);
  std::string row_;  // reused from row to row
};

}  // namespace

std::string_view LastComponent(std::string_view folderText) {
  std::size_t slash = folderText.rfind(kPathDelim);
  return slash == std::string_view::npos ? folderText : folderText.substr(slash + 1);
}

ExportWriter::ExportWriter(LineWriter& out, const ListingJob& job, const ExportFlags& flags,
                           const DetailSources& details, int& shadeCounter)
    : out_(out),
      job_(job),
      options_(job.Options()),
      locale_(*job.HostServices().locale),
      flags_(flags),
      details_(details),
      shadeCounter_(shadeCounter) {}

std::string ExportWriter::FullPath(const std::string& folder, const FileEntry& entry) const {
  return FolderWithDelim(folder) + entry.LongName;
}

void ExportWriter::WriteHeadingLines(const HeadingForm& form) {
  auto text = [&](const std::string& value) { return form.escapeHtml ? HtmlText(value) : value; };
  std::string line1 = "Directory of: " + job_.RootSpec();
  if (!options_.txtExclude.empty()) line1 += " (Excluding " + options_.txtExclude + ")";
  out_.WriteLine(std::string(form.line1Start) + text(line1) + std::string(form.line1End));
  if (std::optional<std::string> range = job_.DateRangeText()) {
    out_.WriteLine(text(*range) + std::string(form.line2End));
  }
  std::string line3 = job_.JobTimeText();
  line3 += form.gap;
  std::string line4;
  if (options_.chkDirOnly) {
    line3 += "Directories only";
    line4 = job_.DirectoriesOnlyOptionsText(form.gap);
  } else {
    line3 += "Sorted by " + job_.SortFieldCaption();
    line4 = job_.FilesOptionsText(form.gap);
  }
  out_.WriteLine(line3 + std::string(form.line3End));
  // The disk label, at the end of line 4, is the only text there that is not
  // our own.
  const std::string labelPart = "Disk Label: " + job_.DiskLabel();
  if (form.escapeHtml && line4.ends_with(labelPart)) {
    line4.resize(line4.size() - job_.DiskLabel().size());
    line4 += HtmlText(job_.DiskLabel());
  }
  out_.WriteLine(line4 + std::string(form.line4End));
  if (form.csvColumnsLine) {
    out_.WriteLine();
    out_.WriteLine("Directory,Files,Bytes");
  }
  if (std::optional<std::string> header = job_.PageHeaderText()) {
    out_.WriteLine(text(*header) + std::string(form.line5End));
  }
  if (!form.escapeHtml) out_.WriteLine();
}

std::unique_ptr<ExportWriter> MakeExportWriter(ExportFormat format, LineWriter& out,
                                               const ListingJob& job, const ExportFlags& flags,
                                               const DetailSources& details, int& shadeCounter) {
  switch (format) {
    case ExportFormat::kText:
      return std::make_unique<PlainTextWriter>(out, job, flags, details, shadeCounter);
    case ExportFormat::kDelimited:
      return std::make_unique<DelimitedWriter>(out, job, flags, details, shadeCounter);
    case ExportFormat::kHtml:
      break;
  }
  return std::make_unique<HtmlWriter>(out, job, flags, details, shadeCounter);
}

}  // namespace tabulon
