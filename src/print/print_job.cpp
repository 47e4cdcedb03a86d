#include "print/print_job.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "details/detail_text.h"
#include "details/size_text.h"
#include "listing/collect_directory.h"
#include "listing/file_entry.h"
#include "listing/folder_selection.h"
#include "preview/page_canvas.h"
#include "preview/preview_printer.h"
#include "print/text_fit.h"

namespace tabulon {
namespace {

constexpr std::string_view kFiveBlanks = "     ";
constexpr PageColor kShadeColor = PageRgb(204, 204, 204);

// The job's snapshot with the mask boxes trimmed, as the search set-up
// leaves them in the window.
ListingOptions TrimmedOptions(ListingOptions options) {
  options.txtFilespec = TrimBlanks(options.txtFilespec);
  options.txtExclude = TrimBlanks(options.txtExclude);
  return options;
}

int FontPoints(const ListingOptions& options) {
  return std::atoi(FontSizeItem(options.cboFontSize));
}

std::string_view LastComponent(std::string_view text) {
  std::size_t slash = text.rfind(kPathDelim);
  return slash == std::string_view::npos ? text : text.substr(slash + 1);
}

}  // namespace

TPrintJob::TPrintJob(const ListingOptions& options, const Services& services, JobHost& host,
                     TPreviewPrinter& printer, const DetailSources& details,
                     ListingSession& session)
    : services_(services),
      host_(host),
      printer_(printer),
      details_(details),
      session_(session),
      listing_(TrimmedOptions(options), services, host) {}

TPrintJob::~TPrintJob() = default;

TPageMetaFileCanvas& TPrintJob::Canvas() {
  return printer_.Canvas();
}

void TPrintJob::DrawText(int x, int y, std::string_view text) {
  if (text.empty()) return;
  Canvas().TextOut(x, y, text);
}

void TPrintJob::SetBold(bool bold) {
  Canvas().SetFontBold(bold);
}

int TPrintJob::TextWidth(std::string_view text) {
  return Canvas().TextWidth(text);
}

WidthOf TPrintJob::CanvasWidths() {
  return [this](std::string_view text) { return TextWidth(text); };
}

const ListingTotals& TPrintJob::Totals() const {
  return session_.Totals;
}

void TPrintJob::WriteDirectoryHeading(const std::string& folderText) {
  PrintDirectoryHeading(folderText, !HeadingIsImmediate(Options()));
}

void TPrintJob::StartDocument(const std::string& folder) {
  state_.ShadeCounter = 0;
  listing_.SetSortFieldCaption();
  listing_.FormRoot(folder);
  host_.SetCancelRequested(false);

  printer_.SetOrientation(Options().grpOrientation == 1 ? PrinterOrientation::kLandscape
                                                        : PrinterOrientation::kPortrait);
  printer_.BeginDoc();
  const PageGeometry geometry{printer_.PixelsPerInchX(), printer_.PixelsPerInchY(),
                              printer_.PageHeight(), printer_.PageOffsetY()};
  state_.PageNumber = 0;
  listing_.ResetTotals(session_.Totals);

  TPageMetaFileCanvas& canvas = Canvas();
  canvas.SetFontName(Options().cboFont);
  canvas.SetFontSize(FontPoints(Options()));
  canvas.SetFontBold(false);
  canvas.SetFontItalic(false);

  metrics_ = ComputePageMetrics(geometry, canvas, Options());
  listing_.ComputeDateRange();
  // With a wide font and every other column shown the long name column can
  // have no room at all, and no name would show a single character; it then
  // gets the room of a short name, and the later columns move right.
  longNameWidth_ = metrics_.LongNameColumnWidth > 0 ? metrics_.LongNameColumnWidth
                                                    : metrics_.ShortNameColumnWidth;
  listing_.AdjustSortField();
  columns_ = EffectiveColumnCount(Options());

  // The search is set up once the sort field is final, since the entries
  // carry their sort keys from the first match on.
  CollectorJob collectorJob;
  collectorJob.options = Options();
  collectorJob.dateTimeFormat = listing_.Formats().DateTimeFormat;
  collectorJob.separators = LocaleSeparators(*services_.locale);
  collectorJob.sectionWriter = this;
  collectorJob.fitTypeName = [this](const std::string& typeName) { return FitTypeName(typeName); };
  session_.ConfigureSearch(std::move(collectorJob));
  listing_.ShowProcessingRoot();
}

PrintJobResult TPrintJob::Run(const std::string& folder, PrintButton button, PrintOutput& output) {
  try {
    return RunSteps(folder, button, output);
  } catch (...) {
    // " Cancel" must not stay behind a job that failed (a PDF that could not
    // be written, a printer that gave up).
    host_.SetStatus(1, "");
    throw;
  }
}

PrintJobResult TPrintJob::RunSteps(const std::string& folder, PrintButton button,
                                   PrintOutput& output) {
  StartDocument(folder);
  PrintHeadingBlock();
  listing_.RunDirectoryLoop([this](const std::string& directory) { PrintDirectory(directory); });

  PrintJobResult result;
  result.grpSortField = Options().grpSortField;
  result.txtFilespec = Options().txtFilespec;
  result.txtExclude = Options().txtExclude;
  if (host_.CancelRequested()) {
    EndOnCancel(button);
    result.cancelled = true;
  } else {
    PrintClosingLines();
    if (printer_.Printing()) printer_.EndDoc();
    if (button == PrintButton::kPrint) {
      output.Print(printer_);
    } else {
      output.Preview(printer_);
    }
    host_.SetStatus(0, "");
  }
  host_.SetStatus(1, "");
  return result;
}

void TPrintJob::EndOnCancel(PrintButton button) {
  // The Cancel panel ends the document at once; a host without one (the
  // command line) leaves that to the job.
  if (printer_.Printing()) printer_.EndDoc();
  host_.SetStatus(0, button == PrintButton::kPrint ? " Printing canceled" : " Preview canceled");
}

void TPrintJob::PrintClosingLines() {
  const ListingOptions& o = Options();
  const Locale& locale = *services_.locale;
  state_.CurrentY += metrics_.LineHeight;
  state_.CurrentX = metrics_.TextLeft;
  SetBold(true);
  if (o.chkInclSub) {
    DrawText(state_.CurrentX, state_.CurrentY,
             "Total: " + std::to_string(session_.Totals.DirectoryCount) + " directories;  " +
                 SizeText(session_.Totals.FileCount, locale) + " files;  " +
                 SizeText(session_.Totals.ByteCount, locale) + " bytes");
    if (o.txtFilespec != "*.*") {
      state_.CurrentY += metrics_.LineHeight;
      DrawText(metrics_.TextLeft, state_.CurrentY,
               "Directories with no files matching the specification are not listed or "
               "counted in the total.");
    }
  } else {
    DrawText(state_.CurrentX, state_.CurrentY,
             "Total: " + SizeText(session_.Totals.FileCount, locale) + " files;  " +
                 SizeText(session_.Totals.ByteCount, locale) + " bytes");
  }
  SetBold(false);
}

void TPrintJob::PrintHeadingBlock() {
  const ListingOptions& o = Options();
  const PageMetrics& m = metrics_;
  state_.PageNumber += 1;
  state_.CurrentX = m.TextLeft;
  state_.CurrentY = m.TextTop;
  SetBold(true);
  const WidthOf widthOf = CanvasWidths();

  const std::string folderLine = "Directory of " + listing_.RootSpec();
  TwoLines folder = SplitToWidth(folderLine, m.TextAreaWidth, widthOf, false);
  DrawText(state_.CurrentX, state_.CurrentY, folder.first);
  if (folder.wrapped) {
    state_.CurrentY += m.LineHeight;
    DrawText(m.TextLeft, state_.CurrentY, folder.second);
  }
  if (!o.txtExclude.empty()) {
    state_.CurrentY += m.LineHeight;
    DrawText(m.TextLeft, state_.CurrentY, "(Excluding " + o.txtExclude + ")");
  }
  state_.CurrentY += m.LineHeight;
  if (std::optional<std::string> range = listing_.DateRangeText()) {
    DrawText(m.TextLeft, state_.CurrentY, *range);
    state_.CurrentY += m.LineHeight;
  }
  std::string pageLine = "Page " + std::to_string(state_.PageNumber);
  pageLine += kFiveBlanks;
  pageLine += listing_.JobTimeText();
  if (o.chkDirOnly) {
    pageLine += "     Directories only";
  } else {
    pageLine += "     Sorted by " + listing_.SortFieldCaption();
  }
  DrawText(m.TextLeft, state_.CurrentY, pageLine);
  state_.CurrentY += m.LineHeight;
  DrawText(m.TextLeft, state_.CurrentY, listing_.FilesOptionsText(kFiveBlanks));
  if (std::optional<std::string> header = listing_.PageHeaderText()) {
    state_.CurrentY += m.LineHeight;
    DrawText(m.TextLeft, state_.CurrentY, *header);
  }
  state_.CurrentY += 2 * m.LineHeight;
  SetBold(false);
  state_.CurrentX = m.TextLeft;
}

void TPrintJob::BreakPage() {
  printer_.NewPage();
  PrintHeadingBlock();
}

void TPrintJob::ShadeBand(int y, int lineCount) {
  TPageMetaFileCanvas& canvas = Canvas();
  canvas.SetBrushStyle(BrushStyle::kSolid);
  canvas.SetBrushColor(kShadeColor);
  canvas.FillRect(metrics_.ShadeLeft, y, metrics_.ShadeRight, y + lineCount * metrics_.LineHeight);
  // Texts are drawn without a background, so they show on the band.
  canvas.SetBrushStyle(BrushStyle::kClear);
}

void TPrintJob::PrintDirectoryHeading(std::string_view text, bool deferred) {
  const ListingOptions& o = Options();
  const PageMetrics& m = metrics_;
  // The Cancel panel may have ended the document while the search ran.
  if (!printer_.Printing()) return;
  state_.CurrentX = m.TextLeft;
  const WidthOf widthOf = CanvasWidths();
  if (!o.chkDirOnly) {
    SetBold(true);
    TwoLines lines = SplitToWidth(text, m.TextAreaWidth, widthOf, false);
    DrawText(state_.CurrentX, state_.CurrentY, lines.first);
    if (lines.wrapped) {
      state_.CurrentY += m.LineHeight;
      DrawText(m.TextLeft, state_.CurrentY, lines.second);
    }
    return;  // bold until the entries begin
  }
  SetBold(false);
  if (o.chkTree) {
    if (IsRootPath(text) && !deferred) {
      DrawText(state_.CurrentX, state_.CurrentY, text);
      return;
    }
    std::string line;
    if (IsRootPath(text)) {
      line = std::string(text);
    } else {
      line.assign(std::size_t(std::max(0, 4 * listing_.TreeDepth(text))), ' ');
      line += LastComponent(text);
    }
    if (o.chkShade && state_.ShadeCounter % 2 == 1) ShadeBand(state_.CurrentY, 1);
    DrawText(state_.CurrentX, state_.CurrentY, line);
    if (o.chkShade) state_.ShadeCounter += 1;
    return;
  }
  TwoLines lines = SplitToWidth(text, m.DirNameWidth, widthOf, true);
  if (o.chkShade && state_.ShadeCounter % 2 == 1) {
    ShadeBand(state_.CurrentY, lines.wrapped ? 2 : 1);
  }
  DrawText(state_.CurrentX, state_.CurrentY, lines.first);
  if (lines.wrapped) {
    state_.CurrentY += m.LineHeight;
    DrawText(m.TextLeft, state_.CurrentY, lines.second);
  }
  if (o.chkShade) state_.ShadeCounter += 1;
}

}  // namespace tabulon

namespace tabulon {

void TPrintJob::PrintDirectory(const std::string& path) {
  const ListingOptions& o = Options();
  const PageMetrics& m = metrics_;
  columns_ = EffectiveColumnCount(o);
  const bool immediate = HeadingIsImmediate(o);
  session_.CollectDirectory(path);
  const std::vector<FileEntry>& entries = session_.lstFiles;

  if (!o.chkDirOnly) {
    SetBold(false);
    const std::size_t count = std::min<std::uint64_t>(session_.Totals.DirFileCount, entries.size());
    for (std::size_t i = 0; i < count; ++i) {
      host_.ProcessEvents();
      if (host_.CancelRequested()) break;
      if (columns_ == 1 || (i + 1) % std::size_t(columns_) == 1) state_.CurrentY += m.LineHeight;
      if (state_.CurrentY >= m.BottomLimit) BreakPage();
      int k = 1;
      if (columns_ == 2) k = (i + 1) % 2 == 0 ? 2 : 1;
      if (columns_ == 4) k = (i + 1) % 4 == 0 ? 4 : int((i + 1) % 4);
      state_.CurrentX = ColumnStartX(m, columns_, k);
      if (o.chkShade && columns_ == 1 && i % 2 == 1) ShadeBand(state_.CurrentY, 1);
      DrawEntry(entries[i]);
      DrawDetails(path, entries[i]);
    }
  }

  host_.ProcessEvents();
  if (host_.CancelRequested()) return;

  const bool skip = session_.Totals.DirFileCount == 0 && !immediate;
  if (!skip) {
    const Locale& locale = *services_.locale;
    if (o.chkDirOnly) {
      DrawText(m.DirFilesX, state_.CurrentY,
               SizeText(session_.Totals.DirFileCount, locale) +
                   (session_.Totals.DirFileCount == 1 ? " file" : " files"));
      DrawText(m.DirBytesX, state_.CurrentY,
               SizeText(session_.Totals.DirByteCount, locale) + " bytes");
      state_.CurrentY += m.LineHeight;
    } else {
      state_.CurrentY += m.LineHeight;
      state_.CurrentX = m.TextLeft;
      SetBold(true);
      DrawText(state_.CurrentX, state_.CurrentY,
               SizeText(session_.Totals.DirFileCount, locale) +
                   (session_.Totals.DirFileCount == 1 ? " file;  " : " files;  ") +
                   SizeText(session_.Totals.DirByteCount, locale) + " bytes");
      state_.CurrentY += 2 * m.LineHeight;
    }
    session_.Totals.DirectoryCount += 1;
  }
  if (state_.CurrentY >= m.BottomLimit) BreakPage();
  SetBold(false);
  session_.Totals.EndDirectory();
}

void TPrintJob::DrawEntry(const FileEntry& entry) {
  const ListingOptions& o = Options();
  const PageMetrics& m = metrics_;
  const Locale& locale = *services_.locale;
  int& x = state_.CurrentX;
  if (o.chkShortName) {
    DrawText(x, state_.CurrentY, entry.ShortName);
    x += m.ShortNameColumnWidth + m.ColumnGap;
  }
  if (o.chkLongName) {
    const WidthOf widthOf = CanvasWidths();
    TwoLines lines = SplitToWidth(entry.LongName, longNameWidth_, widthOf, true);
    DrawText(x, state_.CurrentY, lines.first);
    if (lines.wrapped) {
      state_.CurrentY += m.LineHeight;
      DrawText(x, state_.CurrentY, lines.second);
    }
    x += longNameWidth_ + m.ColumnGap;
  }
  if (o.chkFileType) {
    DrawText(x, state_.CurrentY, entry.TypeName);
    x += m.TypeColumnWidth + m.ColumnGap;
  }
  if (o.chkFileSize) {
    const std::string size = SizeText(entry.Size, locale);
    DrawText(x + m.SizeColumnWidth - TextWidth(size), state_.CurrentY, size);
    x += m.SizeColumnWidth + m.ColumnGap;
  }
  if (o.chkFileDate) {
    DrawText(x, state_.CurrentY, entry.DateText);
    x += m.DateColumnWidth + m.ColumnGap;
  }
  if (o.chkFileAttr) DrawText(x, state_.CurrentY, entry.AttrText);
}

void TPrintJob::DrawDetails(const std::string& folder, const FileEntry& entry) {
  const ListingOptions& o = Options();
  if (!(o.chkVersion || o.chkMP3 || o.chkImage || o.chkMSOffice)) return;
  DetailOptions detailOptions;
  detailOptions.chkVersion = o.chkVersion;
  detailOptions.chkMP3 = o.chkMP3;
  detailOptions.chkImage = o.chkImage;
  detailOptions.chkMSOffice = o.chkMSOffice;
  detailOptions.forPrint = true;
  const std::vector<ShownDetail> details =
      EntryDetails(entry.LongName, EnsureTrailingBackslash(folder) + entry.LongName, detailOptions,
                   details_, *services_.locale);
  for (const ShownDetail& detail : details) {
    state_.CurrentY += metrics_.LineHeight;
    if (state_.CurrentY >= metrics_.BottomLimit) BreakPage();
    DrawText(metrics_.DetailX, state_.CurrentY, detail.text);
  }
}

std::string TPrintJob::FitTypeName(const std::string& typeName) {
  // Measured in the body font the column is drawn in, whatever the heading
  // left set.
  TPageMetaFileCanvas& canvas = Canvas();
  const bool bold = canvas.FontBold();
  canvas.SetFontBold(false);
  std::string fitted(FitToWidth(typeName, metrics_.TypeColumnWidth, CanvasWidths()));
  canvas.SetFontBold(bold);
  return fitted;
}

}  // namespace tabulon
