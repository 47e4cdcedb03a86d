#include "platform/settings_store.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QSettings>
#include <QStringList>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/locale.h"

namespace tabulon {
namespace {

QString Key(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// Why a file cannot be written, in the system's words where it has them.
std::string WriteFailureReason(const std::string& file) {
  std::string folder = file.substr(0, file.rfind('/'));
  if (folder.empty()) folder = "/";
  struct stat st {};
  if (stat(folder.c_str(), &st) != 0) return std::strerror(errno);
  if (!S_ISDIR(st.st_mode)) return std::strerror(ENOTDIR);
  if (access(folder.c_str(), W_OK) != 0) return std::strerror(errno);
  if (access(file.c_str(), F_OK) == 0 && access(file.c_str(), W_OK) != 0) {
    return std::strerror(errno);
  }
  return "the file could not be written";
}

class QtSettingsStore : public SettingsStore {
 public:
  explicit QtSettingsStore(const std::string& file)
      : file_(file), settings_(QString::fromUtf8(file.c_str()), QSettings::IniFormat) {}

  std::optional<std::string> ReadText(std::string_view name) const override {
    const QVariant value = settings_.value(Key(name));
    switch (value.typeId()) {
      case QMetaType::QString:
        return value.toString().toUtf8().toStdString();
      case QMetaType::QByteArray:
        return value.toByteArray().toStdString();
      // An unquoted text with commas reads back as a list; it was one text.
      case QMetaType::QStringList:
        return value.toStringList().join(u',').toUtf8().toStdString();
      default:
        return std::nullopt;
    }
  }

  std::optional<std::int64_t> ReadInteger(std::string_view name) const override {
    const QVariant value = settings_.value(Key(name));
    switch (value.typeId()) {
      case QMetaType::Int:
      case QMetaType::LongLong:
      case QMetaType::UInt:
      case QMetaType::ULongLong: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok) return number;
        return std::nullopt;
      }
      case QMetaType::QString: {
        bool ok = false;
        const qlonglong number = value.toString().trimmed().toLongLong(&ok, 10);
        if (ok) return number;
        return std::nullopt;
      }
      default:
        return std::nullopt;
    }
  }

  void WriteText(std::string_view name, std::string_view value) override {
    // Bytes that are not UTF-8 are kept as bytes rather than replaced.
    if (IsValidUtf8(value)) {
      settings_.setValue(Key(name),
                         QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    } else {
      settings_.setValue(Key(name), QByteArray(value.data(), static_cast<qsizetype>(value.size())));
    }
  }

  void WriteInteger(std::string_view name, std::int64_t value) override {
    settings_.setValue(Key(name), static_cast<qlonglong>(value));
  }

  bool Flush(std::string* error) override {
    settings_.sync();
    if (settings_.status() == QSettings::NoError) return true;
    if (error) {
      const std::string reason = settings_.status() == QSettings::FormatError
                                     ? std::string("the file is not in the expected format")
                                     : WriteFailureReason(file_);
      *error = "Cannot write the settings file " + file_ + ": " + reason;
    }
    return false;
  }

 private:
  std::string file_;
  mutable QSettings settings_;
};

}  // namespace

std::string DefaultSettingsFile() {
  std::string base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      const passwd* user = getpwuid(getuid());
      home = user && user->pw_dir ? user->pw_dir : "";
    }
    base = std::string(home) + "/.config";
  }
  return base + "/Veltro/Tabulon.conf";
}

std::unique_ptr<SettingsStore> MakeSettingsStore() {
  return MakeSettingsStoreAt(DefaultSettingsFile());
}

std::unique_ptr<SettingsStore> MakeSettingsStoreAt(const std::string& iniFile) {
  return std::make_unique<QtSettingsStore>(iniFile);
}

}  // namespace tabulon
