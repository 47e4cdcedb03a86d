#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QMimeType>
#include <QUrl>
#include <thread>

#include "platform/locale.h"

extern char** environ;

namespace tabulon {
namespace {

constexpr qsizetype kMaxTypeNameCharacters = 80;

bool HasUrlScheme(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = text[i];
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                    (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
    if (!ok) return false;
  }
  return true;
}

// Starts xdg-open with the bytes as they stand and reaps it in the
// background. Used where Qt cannot help: no GUI application object, or a
// name that is not UTF-8.
bool SpawnXdgOpen(const std::string& target) {
  char program[] = "xdg-open";
  std::string argument = target;
  char* argv[] = {program, argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return false;
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

class DesktopShell : public Shell {
 public:
  std::string TypeName(const std::string& path) const override {
    // By name only: the file is never opened.
    const QMimeType type = database_.mimeTypeForFile(
        QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())),
        QMimeDatabase::MatchExtension);
    // The default type (application/octet-stream) means the name told nothing.
    if (!type.isValid() || type.isDefault()) return {};
    QString comment = type.comment();
    if (comment.size() > kMaxTypeNameCharacters) {
      qsizetype cut = kMaxTypeNameCharacters;
      if (comment[cut - 1].isHighSurrogate()) --cut;  // never half a character
      comment.truncate(cut);
    }
    return comment.toUtf8().toStdString();
  }

  bool Open(const std::string& pathOrUrl) override {
    if (pathOrUrl.empty()) return false;
    const bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (!gui || !IsValidUtf8(pathOrUrl)) return SpawnXdgOpen(pathOrUrl);
    const QString text =
        QString::fromUtf8(pathOrUrl.data(), static_cast<qsizetype>(pathOrUrl.size()));
    const QUrl url =
        pathOrUrl[0] != '/' && HasUrlScheme(pathOrUrl) ? QUrl(text) : QUrl::fromLocalFile(text);
    return QDesktopServices::openUrl(url);
  }

 private:
  QMimeDatabase database_;
};

}  // namespace

std::unique_ptr<Shell> MakeDesktopShell() {
  return std::make_unique<DesktopShell>();
}

}  // namespace tabulon
