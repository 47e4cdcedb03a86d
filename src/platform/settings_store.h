// The per-user store of named option values.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // A value that is missing, or does not read as the asked kind, gives
  // nullopt.
  virtual std::optional<std::string> ReadText(std::string_view name) const = 0;
  virtual std::optional<std::int64_t> ReadInteger(std::string_view name) const = 0;
  virtual void WriteText(std::string_view name, std::string_view value) = 0;
  virtual void WriteInteger(std::string_view name, std::int64_t value) = 0;
  // Writes pending values out; false with a reason when that failed.
  virtual bool Flush(std::string* error = nullptr) = 0;
};

// QSettings("Veltro", "Tabulon") in INI format:
// $XDG_CONFIG_HOME/Veltro/Tabulon.conf, or ~/.config/Veltro/Tabulon.conf when
// XDG_CONFIG_HOME is unset. The environment is read at each call.
std::unique_ptr<SettingsStore> MakeSettingsStore();
// The same store over a file of the caller's choice.
std::unique_ptr<SettingsStore> MakeSettingsStoreAt(const std::string& iniFile);
// The file MakeSettingsStore uses.
std::string DefaultSettingsFile();

}  // namespace tabulon
