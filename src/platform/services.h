// The host services a job is given. Owned elsewhere; a job only borrows them.
#pragma once

namespace tabulon {

class FileSystem;
class TimeZone;
class Locale;
class Clock;
class SettingsStore;
class Shell;
class Volumes;

struct Services {
  FileSystem* fileSystem = nullptr;
  const TimeZone* timeZone = nullptr;
  const Locale* locale = nullptr;
  const Clock* clock = nullptr;
  SettingsStore* settings = nullptr;
  Shell* shell = nullptr;
  const Volumes* volumes = nullptr;
};

}  // namespace tabulon
