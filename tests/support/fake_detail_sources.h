// Detail sources that answer from tables the test fills, by full path, and
// record which paths they were asked about.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "details/detail_sources.h"

namespace tabulon::testing {

template <typename Source, typename Value>
class FakeSourceTable {
 public:
  void Set(const std::string& path, Value value) { values_[path] = std::move(value); }
  const std::vector<std::string>& AskedPaths() const { return asked_; }

 protected:
  // A path the test did not set gives the reader's empty answer.
  Value Lookup(const std::string& path) const {
    asked_.push_back(path);
    auto it = values_.find(path);
    return it == values_.end() ? Value{} : it->second;
  }

 private:
  std::map<std::string, Value> values_;
  mutable std::vector<std::string> asked_;
};

class FakeVersionSource : public VersionSource,
                          public FakeSourceTable<VersionSource, VersionStrings> {
 public:
  VersionStrings ReadVersion(const std::string& path) const override { return Lookup(path); }
};

class FakeImageSource : public ImageSource, public FakeSourceTable<ImageSource, ImageParams> {
 public:
  ImageParams ReadImage(const std::string& path) const override { return Lookup(path); }
};

class FakeMp3Source : public Mp3Source, public FakeSourceTable<Mp3Source, Mp3Texts> {
 public:
  // A file without a tag still has its playing time.
  Mp3Texts ReadMp3(const std::string& path) const override { return Lookup(path); }
};

class FakeOfficeSource : public OfficeSource, public FakeSourceTable<OfficeSource, OfficeTexts> {
 public:
  OfficeTexts ReadOffice(const std::string& path) const override { return Lookup(path); }
};

// All four fakes, and the DetailSources that point at them.
struct FakeDetailSources {
  FakeVersionSource version;
  FakeMp3Source mp3;
  FakeImageSource image;
  FakeOfficeSource office;

  DetailSources Sources() const { return DetailSources{&version, &mp3, &image, &office}; }
};

}  // namespace tabulon::testing
