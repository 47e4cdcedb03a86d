#include "platform/volumes.h"

#include <limits.h>
#include <stdlib.h>

#include <QStorageInfo>
#include <fstream>
#include <set>
#include <string_view>

namespace tabulon {
namespace {

bool IsNetworkType(const std::string& type) {
  static const std::set<std::string, std::less<>> kTypes = {"nfs",
                                                            "nfs4",
                                                            "cifs",
                                                            "smb3",
                                                            "smbfs",
                                                            "smb",
                                                            "sshfs",
                                                            "fuse.sshfs",
                                                            "9p",
                                                            "afs",
                                                            "ceph",
                                                            "glusterfs",
                                                            "fuse.glusterfs",
                                                            "davfs",
                                                            "fuse.davfs2",
                                                            "fuse.rclone",
                                                            "fuse.s3fs",
                                                            "fuse.gcsfuse",
                                                            "fuse.curlftpfs",
                                                            "fuse.smbnetfs",
                                                            "ncpfs",
                                                            "coda",
                                                            "lustre",
                                                            "fuse.cephfs",
                                                            "gvfsd-fuse",
                                                            "fuse.gvfsd-fuse"};
  return kTypes.count(type) != 0;
}

bool IsOpticalType(const std::string& type) {
  return type == "iso9660" || type == "udf";
}

// sysfs says whether the disk that holds a block device is removable; a
// partition asks its parent disk.
bool IsRemovableDevice(const std::string& device) {
  if (device.rfind("/dev/", 0) != 0) return false;
  char resolved[PATH_MAX];
  if (!realpath(device.c_str(), resolved)) return false;
  const std::string_view path(resolved);
  const std::string name(path.substr(path.rfind('/') + 1));
  char sysPath[PATH_MAX];
  if (!realpath(("/sys/class/block/" + name).c_str(), sysPath)) return false;
  std::string block = sysPath;
  if (std::ifstream(block + "/partition").good()) block = block.substr(0, block.rfind('/'));
  std::ifstream removable(block + "/removable");
  char flag = '0';
  return removable >> flag && flag == '1';
}

class SystemVolumes : public Volumes {
 public:
  VolumeInfo Query(const std::string& folder) const override {
    VolumeInfo info;
    const QStorageInfo storage(
        QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size())));
    if (!storage.isValid()) return info;
    info.mountPoint = storage.rootPath().toUtf8().toStdString();
    const std::string type = storage.fileSystemType().toStdString();
    if (IsOpticalType(type)) {
      info.type = DriveType::Optical;
    } else if (IsNetworkType(type)) {
      info.type = DriveType::Network;
    } else if (IsRemovableDevice(storage.device().toStdString())) {
      info.type = DriveType::Removable;
    } else {
      info.type = DriveType::Fixed;
      return info;  // fixed disks show no label
    }
    info.label = storage.name().toUtf8().toStdString();
    return info;
  }
};

}  // namespace

std::unique_ptr<Volumes> MakeSystemVolumes() {
  return std::make_unique<SystemVolumes>();
}

}  // namespace tabulon
