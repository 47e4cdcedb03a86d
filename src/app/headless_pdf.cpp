#include "app/headless_pdf.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "listing/collect_directory.h"
#include "platform/text_measurer.h"
#include "preview/pdf_writer.h"
#include "preview/preview_printer.h"
#include "preview/reference_device.h"
#include "print/print_job.h"

namespace tabulon {
namespace {

constexpr int kExitWriteFailed = 1;
constexpr int kExitInterrupted = 130;

// The end of the job: what the Print button would send to the printer goes
// into the file.
class PdfOutput : public PrintOutput {
 public:
  explicit PdfOutput(std::string fileName) : fileName_(std::move(fileName)) {}
  void Print(TPreviewPrinter& printer) override { WritePdf(printer, fileName_); }
  void Preview(TPreviewPrinter& printer) override { WritePdf(printer, fileName_); }

 private:
  std::string fileName_;
};

}  // namespace

int RunHeadlessPdf(const HeadlessJob& job, CliJobHost& host) {
  std::unique_ptr<TextMeasurer> measurer = MakeTextMeasurer();
  PdfReferenceDevice pdfDevice;
  ScreenReferenceDevice screen(PdfReferenceDevice::kResolution);
  TPreviewPrinter printer(*measurer, &pdfDevice, screen);
  printer.SetTitle("Tabulon - Preview");
  PdfOutput output(job.outputFile);
  PrintJobResult result;
  try {
    const Services& services = job.services;
    ListingSession session(*services.fileSystem, *services.timeZone, *services.locale,
                           *services.shell);
    TPrintJob printJob(job.options, services, host, printer, job.details, session);
    result = printJob.Run(job.folder, PrintButton::kPrint, output);
  } catch (const std::exception& error) {
    host.FinishProgress();
    std::fprintf(stderr, "tabulon: %s\n", error.what());
    return kExitWriteFailed;
  }
  host.FinishProgress();
  if (result.cancelled) {
    std::fprintf(stderr, "tabulon: interrupted; %s was not written\n", job.outputFile.c_str());
    return kExitInterrupted;
  }
  return 0;
}

}  // namespace tabulon
