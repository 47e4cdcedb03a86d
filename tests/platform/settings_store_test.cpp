#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "support/memory_settings_store.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::TempTree;

// Points XDG_CONFIG_HOME at a temporary folder for the test's length.
class ConfigHome {
 public:
  explicit ConfigHome(const std::string& path) {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
    setenv("XDG_CONFIG_HOME", path.c_str(), 1);
  }
  ~ConfigHome() {
    if (old_) {
      setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }

 private:
  std::optional<std::string> old_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SettingsStoreTest, ValuesSurviveAWriteAndAReadThroughTheFile) {
  TempTree tree;
  ConfigHome home(tree.Root());
  const std::string file = tree.Path("Veltro/Tabulon.conf");
  EXPECT_EQ(DefaultSettingsFile(), file);

  const std::pair<const char*, std::string> texts[] = {
      {"IncludeFiles", "*.txt; *.doc"},
      {"ExcludeFiles", ""},
      {"FromDate", "  /  /    "},
      {"Commas", "a,b, c"},
      {"Quotes", "say \"hi\" ; # not a comment"},
      {"At", "@Variant(x)"},
      {"Umlaut", "\u00c4rger \u20ac"},
      {"Bytes", "caf\xe9 \xff"},  // not UTF-8: kept byte for byte
      {"Lines", "one\ntwo"},
  };
  const std::pair<const char*, std::int64_t> numbers[] = {
      {"FontSize", 2}, {"Hidden", 1}, {"Zero", 0}, {"Negative", -3}, {"Large", 4'294'967'295}};
  {
    auto store = MakeSettingsStore();
    for (const auto& [name, value] : texts) store->WriteText(name, value);
    for (const auto& [name, value] : numbers) store->WriteInteger(name, value);
    std::string error;
    ASSERT_TRUE(store->Flush(&error)) << error;
  }
  EXPECT_NE(ReadFile(file).find("FontSize=2\n"), std::string::npos) << ReadFile(file);

  auto store = MakeSettingsStore();
  for (const auto& [name, value] : texts) EXPECT_EQ(store->ReadText(name), value) << name;
  for (const auto& [name, value] : numbers) EXPECT_EQ(store->ReadInteger(name), value) << name;

  // Missing values, and values that do not read as the asked kind, are absent.
  EXPECT_EQ(store->ReadText("Missing"), std::nullopt);
  EXPECT_EQ(store->ReadInteger("Missing"), std::nullopt);
  EXPECT_EQ(store->ReadInteger("IncludeFiles"), std::nullopt);
  EXPECT_EQ(store->ReadInteger("ExcludeFiles"), std::nullopt);
  EXPECT_EQ(store->ReadInteger("Bytes"), std::nullopt);
}

TEST(SettingsStoreTest, HandEditedValues) {
  TempTree tree;
  ConfigHome home(tree.Root());
  tree.AddFile("Veltro/Tabulon.conf",
               "[General]\nFontSize=seven\nLevels= 3 \nSortField=2.5\nIncludeFiles=*.txt,*.doc\n"
               "Size=@Size(1 2)\nHidden=true\n");
  auto store = MakeSettingsStore();
  EXPECT_EQ(store->ReadInteger("FontSize"), std::nullopt);
  EXPECT_EQ(store->ReadInteger("Levels"), 3);
  EXPECT_EQ(store->ReadInteger("SortField"), std::nullopt);
  EXPECT_EQ(store->ReadInteger("Hidden"), std::nullopt);
  EXPECT_EQ(store->ReadText("IncludeFiles"), "*.txt,*.doc");
  EXPECT_EQ(store->ReadText("Size"), std::nullopt);
  EXPECT_EQ(store->ReadInteger("Size"), std::nullopt);
}

TEST(SettingsStoreTest, FallsBackToDotConfigAndReportsAWriteFailure) {
  TempTree tree;
  {
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> savedXdg =
        oldXdg ? std::optional<std::string>(oldXdg) : std::nullopt;
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", tree.Root().c_str(), 1);
    EXPECT_EQ(DefaultSettingsFile(), tree.Path(".config/Veltro/Tabulon.conf"));
    setenv("HOME", savedHome.c_str(), 1);
    if (savedXdg) setenv("XDG_CONFIG_HOME", savedXdg->c_str(), 1);
  }

  // A file where the folder should be stops even root from writing.
  tree.AddFile("blocked", "x");
  ConfigHome home(tree.Path("blocked"));
  auto store = MakeSettingsStore();
  store->WriteInteger("FontSize", 2);
  std::string error;
  EXPECT_FALSE(store->Flush(&error));
  EXPECT_NE(error.find(tree.Path("blocked/Veltro/Tabulon.conf")), std::string::npos) << error;
  EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;
}

TEST(MemorySettingsStoreTest, KeepsKindsApart) {
  testing::MemorySettingsStore store;
  store.WriteInteger("FontSize", 7);
  store.StoreWrongKind("Hidden", std::string("yes"));
  store.StoreWrongKind("IncludeFiles", std::int64_t{1});
  EXPECT_EQ(store.ReadInteger("FontSize"), 7);
  EXPECT_EQ(store.ReadText("FontSize"), std::nullopt);
  EXPECT_EQ(store.ReadInteger("Hidden"), std::nullopt);
  EXPECT_EQ(store.ReadText("IncludeFiles"), std::nullopt);
  EXPECT_TRUE(store.Flush());
  store.SetFlushError("disk full");
  std::string error;
  EXPECT_FALSE(store.Flush(&error));
  EXPECT_EQ(error, "disk full");
  EXPECT_EQ(store.FlushCount(), 2);
}

}  // namespace
}  // namespace tabulon
