#include "app/cli_job_host.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tabulon {
namespace {

// The one piece of state a signal handler may touch.
volatile sig_atomic_t interrupted = 0;
struct sigaction previousAction;

void OnInterrupt(int) {
  interrupted = 1;
}

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

bool IsFrequent(const std::string& text) {
  return text.rfind(" Processing directory ", 0) == 0 ||
         text.rfind(" Retrieving directory names: ", 0) == 0;
}

// The text cut to the terminal's width, never inside a UTF-8 sequence.
std::string FitToWidth(const std::string& text, int fd) {
  winsize size{};
  std::size_t width = 80;
  if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 1) width = size.ws_col;
  std::size_t codePoints = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (++codePoints == width) return text.substr(0, i);
  }
  return text;
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
  return stream != nullptr && isatty(fileno(stream)) == 1;
}

CliJobHost::CliJobHost(std::FILE* progress) : progress_(progress) {
  interrupted = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // A second Ctrl+C ends the program at once.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, &previousAction);
}

CliJobHost::~CliJobHost() {
  FinishProgress();
  sigaction(SIGINT, &previousAction, nullptr);
}

bool CliJobHost::CancelRequested() const {
  return cancelRequested_ || interrupted != 0;
}

bool CliJobHost::Interrupted() const {
  return interrupted != 0;
}

void CliJobHost::SetStatus(int panel, const std::string& text) {
  if (progress_ == nullptr || panel != 0) return;
  auto now = std::chrono::steady_clock::now();
  if (IsFrequent(text) && lineOpen_ && now - lastShown_ < kProgressInterval) return;
  lastShown_ = now;
  std::string line = "\r\033[K" + FitToWidth(text, fileno(progress_));
  std::fputs(line.c_str(), progress_);
  std::fflush(progress_);
  lineOpen_ = !text.empty();
}

void CliJobHost::FinishProgress() {
  if (progress_ != nullptr && lineOpen_) {
    std::fputs("\n", progress_);
    std::fflush(progress_);
  }
  lineOpen_ = false;
}

}  // namespace tabulon
