#include "support/fake_file_system.h"

#include <utility>

namespace tabulon::testing {

struct FakeFileSystem::Node {
  std::string name;
  Entry entry;
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;  // in the order added

  Node* Child(const std::string& childName) {
    for (auto& child : children) {
      if (child->name == childName) return child.get();
    }
    return nullptr;
  }
};

namespace {

std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

class FakeSearch : public DirectorySearch {
 public:
  explicit FakeSearch(std::vector<SearchRec> records) : records_(std::move(records)) {}
  bool Next(SearchRec& rec) override {
    if (next_ >= records_.size()) return false;
    rec = records_[next_++];
    return true;
  }

 private:
  std::vector<SearchRec> records_;
  std::size_t next_ = 0;
};

}  // namespace

FakeFileSystem::FakeFileSystem(const TimeZone& timeZone)
    : timeZone_(timeZone), root_(std::make_unique<Node>()) {
  root_->entry.isDirectory = true;
  root_->entry.attributes = kAttrDirectory;
}

FakeFileSystem::~FakeFileSystem() = default;

FakeFileSystem::Node* FakeFileSystem::NodeFor(const std::string& path, bool create) {
  Node* node = root_.get();
  for (const std::string& part : Components(path)) {
    if (part == ".") continue;
    if (part == "..") {
      if (node->parent) node = node->parent;
      continue;
    }
    Node* child = node->Child(part);
    if (!child) {
      if (!create) return nullptr;
      auto made = std::make_unique<Node>();
      made->name = part;
      made->parent = node;
      made->entry.isDirectory = true;
      made->entry.attributes = kAttrDirectory;
      child = made.get();
      node->children.push_back(std::move(made));
    }
    node = child;
  }
  return node;
}

FakeFileSystem::Entry& FakeFileSystem::AddFile(const std::string& path, std::uint64_t size,
                                               std::uint32_t attributes) {
  Node* node = NodeFor(path, true);
  node->entry.isDirectory = false;
  node->entry.attributes = attributes & ~std::uint32_t{kAttrDirectory};
  node->entry.size = size;
  return node->entry;
}

FakeFileSystem::Entry& FakeFileSystem::AddFolder(const std::string& path,
                                                 std::uint32_t attributes) {
  Node* node = NodeFor(path, true);
  node->entry.isDirectory = true;
  node->entry.attributes = attributes | kAttrDirectory;
  return node->entry;
}

FakeFileSystem::Entry* FakeFileSystem::Find(const std::string& path) {
  Node* node = NodeFor(path, false);
  return node ? &node->entry : nullptr;
}

std::unique_ptr<DirectorySearch> FakeFileSystem::FindFirst(const std::string& spec,
                                                           std::uint32_t attrFilter) {
  const auto slash = spec.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : (slash == 0 ? "/" : spec.substr(0, slash));
  const std::string mask = slash == std::string::npos ? spec : spec.substr(slash + 1);
  searched_.push_back(folder);

  std::vector<SearchRec> records;
  Node* dir = NodeFor(folder, false);
  if (!dir || !dir->entry.isDirectory || !dir->entry.readable) {
    return std::make_unique<FakeSearch>(std::move(records));
  }

  const std::uint32_t filtered = kAttrHidden | kAttrSystem | kAttrDirectory | kAttrVolumeId;
  auto add = [&](const std::string& name, const Entry& entry) {
    std::uint32_t attr = entry.attributes;
    if (entry.isDirectory) attr |= kAttrDirectory;
    if ((attr & filtered & ~attrFilter) != 0) return;
    if (!MatchFindMask(name, mask) &&
        (entry.alternateName.empty() || !MatchFindMask(entry.alternateName, mask))) {
      return;
    }
    SearchRec rec;
    rec.attr = attr;
    rec.name = name;
    rec.size = static_cast<std::uint32_t>(entry.size);
    FileTime local = 0;
    DosDateTime dos = 0;
    if (timeZone_.UtcToLocal(entry.lastWriteTime, local) && FileTimeToDosDateTime(local, dos)) {
      rec.time = dos;
    }
    FindData& data = rec.findData;
    data.attributes = attr;
    data.creationTime = entry.creationTime;
    data.lastAccessTime = entry.lastAccessTime;
    data.lastWriteTime = entry.lastWriteTime;
    data.sizeHigh = static_cast<std::uint32_t>(entry.size >> 32);
    data.sizeLow = static_cast<std::uint32_t>(entry.size);
    data.fileName = name;
    data.alternateName = entry.alternateName;
    records.push_back(std::move(rec));
  };

  // "." and ".." stand for folders, never for hidden entries.
  auto dotEntry = [](const Entry& of) {
    Entry dot = of;
    dot.attributes = kAttrDirectory | (of.attributes & kAttrReadOnly);
    dot.size = 0;
    dot.alternateName.clear();
    return dot;
  };
  add(".", dotEntry(dir->entry));
  add("..", dotEntry(dir->parent ? dir->parent->entry : dir->entry));
  for (const auto& child : dir->children) add(child->name, child->entry);
  return std::make_unique<FakeSearch>(std::move(records));
}

std::vector<SubdirectoryEntry> FakeFileSystem::ListSubdirectories(const std::string& folder) {
  searched_.push_back(folder);
  std::vector<SubdirectoryEntry> result;
  Node* dir = NodeFor(folder, false);
  if (!dir || !dir->entry.isDirectory || !dir->entry.readable) return result;
  for (const auto& child : dir->children) {
    if (!child->entry.isDirectory) continue;
    result.push_back(SubdirectoryEntry{
        child->name, kAttrDirectory | (child->entry.attributes & (kAttrHidden | kAttrSystem))});
  }
  return result;
}

bool FakeFileSystem::IsDirectory(const std::string& path) {
  Node* node = NodeFor(path, false);
  return node && node->entry.isDirectory;
}

bool FakeFileSystem::Exists(const std::string& path) {
  return NodeFor(path, false) != nullptr;
}

}  // namespace tabulon::testing
