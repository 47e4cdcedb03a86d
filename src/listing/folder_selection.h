// The small steps both jobs take before they start: the folder check, the
// root path, the sort field caption and the volume label.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/volumes.h"

namespace tabulon {

// The folder tree's selection as the check needs it.
struct FolderSelection {
  std::string path;  // the node's file-system path; empty for a node without one
  bool isTopNode = false;
  std::string caption;
};

// The error text to show when no job may start on this selection; nullopt
// when the selection is a folder.
std::optional<std::string> ValidateFolderSelection(const FolderSelection& selection);

// Sets `caption` from a grpSortField index; any other index leaves it as it is.
void SetSortFieldCaption(int grpSortFieldIndex, std::string& caption);

// The label of the volume that holds the root, at most 11 characters (whole
// UTF-8 sequences); only removable, network and optical volumes have one.
std::string QueryDiskLabel(const Volumes& volumes, const std::string& rootPath);

// The path with one "/" appended when it is not empty and does not end in one.
std::string EnsureTrailingBackslash(std::string_view path);

// The root path of a listing: "/" stays "/", any other folder ends in exactly
// one "/". An empty folder stays empty.
std::string FormRootPath(std::string_view folder);

// The root path followed by the include box's text, e.g. "/home/ann/Data/*.*".
std::string FormRootSpec(std::string_view rootPath, std::string_view filespec);

// The number of "/" in a path.
int CountSeparators(std::string_view path);

}  // namespace tabulon
