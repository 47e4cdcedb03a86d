// An in-memory settings store. Values keep the kind they were written with,
// as registry values do: an integer does not read as text, nor text as an
// integer. A test can store a value of the wrong kind on purpose and make
// Flush fail.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/settings_store.h"

namespace tabulon::testing {

class MemorySettingsStore : public SettingsStore {
 public:
  using Value = std::variant<std::string, std::int64_t>;

  std::optional<std::string> ReadText(std::string_view name) const override {
    auto it = values_.find(std::string(name));
    if (it == values_.end()) return std::nullopt;
    if (const auto* text = std::get_if<std::string>(&it->second)) return *text;
    return std::nullopt;
  }
  std::optional<std::int64_t> ReadInteger(std::string_view name) const override {
    auto it = values_.find(std::string(name));
    if (it == values_.end()) return std::nullopt;
    if (const auto* number = std::get_if<std::int64_t>(&it->second)) return *number;
    return std::nullopt;
  }
  void WriteText(std::string_view name, std::string_view value) override {
    values_[std::string(name)] = std::string(value);
  }
  void WriteInteger(std::string_view name, std::int64_t value) override {
    values_[std::string(name)] = value;
  }
  bool Flush(std::string* error = nullptr) override {
    ++flushCount_;
    if (flushError_.empty()) return true;
    if (error) *error = flushError_;
    return false;
  }

  // Stores text under a name that the program reads as an integer, or the
  // other way round: the same call, named for what the test means.
  void StoreWrongKind(std::string_view name, Value value) {
    values_[std::string(name)] = std::move(value);
  }
  void Erase(std::string_view name) { values_.erase(std::string(name)); }
  bool Contains(std::string_view name) const { return values_.count(std::string(name)) != 0; }
  const std::map<std::string, Value>& Values() const { return values_; }

  // A non-empty reason makes every later Flush fail with it.
  void SetFlushError(std::string reason) { flushError_ = std::move(reason); }
  int FlushCount() const { return flushCount_; }

 private:
  std::map<std::string, Value> values_;
  std::string flushError_;
  int flushCount_ = 0;
};

}  // namespace tabulon::testing
