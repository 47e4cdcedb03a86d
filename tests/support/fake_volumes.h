// Volumes set by the test. A folder belongs to the volume with the longest
// mount point that contains it; with none, it is on a fixed disk mounted at
// "/" without a label.
#pragma once

#include <string>
#include <vector>

#include "platform/volumes.h"

namespace tabulon::testing {

class FakeVolumes : public Volumes {
 public:
  void Add(const std::string& mountPoint, DriveType type, const std::string& label = {}) {
    volumes_.push_back(VolumeInfo{type, label, mountPoint});
  }

  VolumeInfo Query(const std::string& folder) const override {
    VolumeInfo best{DriveType::Fixed, {}, "/"};
    std::size_t bestLength = 0;
    for (const VolumeInfo& volume : volumes_) {
      const std::string& mount = volume.mountPoint;
      if (!Contains(mount, folder)) continue;
      if (mount.size() >= bestLength) {
        best = volume;
        bestLength = mount.size();
      }
    }
    return best;
  }

 private:
  static bool Contains(const std::string& mount, const std::string& folder) {
    if (mount.empty()) return false;
    if (folder.compare(0, mount.size(), mount) != 0) return false;
    return folder.size() == mount.size() || mount.back() == '/' || folder[mount.size()] == '/';
  }

  std::vector<VolumeInfo> volumes_;
};

}  // namespace tabulon::testing
