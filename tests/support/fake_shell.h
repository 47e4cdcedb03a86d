// A shell that knows type names by extension and records what it was asked
// to open instead of launching anything.
#pragma once

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace tabulon::testing {

class FakeShell : public Shell {
 public:
  // The extension without its dot, in any case: SetTypeName("txt", "Text Document").
  void SetTypeName(const std::string& extension, const std::string& typeName) {
    typeNames_[Lower(extension)] = typeName;
  }
  void SetOpenResult(bool result) { openResult_ = result; }
  const std::vector<std::string>& OpenedPaths() const { return opened_; }

  std::string TypeName(const std::string& path) const override {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return {};
    auto it = typeNames_.find(Lower(name.substr(dot + 1)));
    return it == typeNames_.end() ? std::string() : it->second;
  }
  bool Open(const std::string& pathOrUrl) override {
    opened_.push_back(pathOrUrl);
    return openResult_;
  }

 private:
  static std::string Lower(std::string text) {
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
  }

  std::map<std::string, std::string> typeNames_;
  std::vector<std::string> opened_;
  bool openResult_ = true;
};

}  // namespace tabulon::testing
