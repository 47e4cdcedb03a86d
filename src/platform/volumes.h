// Volumes: what kind of drive holds a folder, and its label.
#pragma once

#include <memory>
#include <string>

namespace tabulon {

enum class DriveType { Unknown, Fixed, Removable, Network, Optical };

struct VolumeInfo {
  DriveType type = DriveType::Unknown;
  std::string label;      // as the volume gives it, possibly empty
  std::string mountPoint;
};

class Volumes {
 public:
  virtual ~Volumes() = default;
  // The volume that holds the folder.
  virtual VolumeInfo Query(const std::string& folder) const = 0;
};

// QStorageInfo, with sysfs for removable devices.
std::unique_ptr<Volumes> MakeSystemVolumes();

}  // namespace tabulon
