// The criteria of a file search: which folders and masks, and the tests every
// found entry must pass (attributes, size, time stamps, content).
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_time.h"

namespace tabulon {

// A 256-byte translation table of the content search.
using ByteTable = std::array<unsigned char, 256>;

// A set of byte values.
struct ByteSet {
  std::array<std::uint64_t, 4> words{};
  constexpr bool Contains(unsigned char b) const { return (words[b >> 6] >> (b & 63)) & 1u; }
  constexpr void Add(unsigned char b) { words[b >> 6] |= std::uint64_t{1} << (b & 63); }
};

namespace detail {
constexpr ByteTable MakeIdentityTable() {
  ByteTable t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  return t;
}
// Names are UTF-8: only ASCII letters fold, every byte of a multi-byte
// sequence stays as it is.
constexpr ByteTable MakeLowerCaseTable() {
  ByteTable t = MakeIdentityTable();
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c - 'A' + 'a');
  return t;
}
// Bytes 0x80 and above belong to UTF-8 letters, so they are word characters.
constexpr ByteSet MakeDelimiterSet() {
  ByteSet s;
  for (int c = 0; c < 0x80; ++c) {
    bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!alnum) s.Add(static_cast<unsigned char>(c));
  }
  return s;
}
}  // namespace detail

inline constexpr ByteTable IdentityTable = detail::MakeIdentityTable();
inline constexpr ByteTable LowerCaseTable = detail::MakeLowerCaseTable();
inline constexpr ByteSet DelimiterSet = detail::MakeDelimiterSet();

// Raised when an object is assigned from one of an unrelated class.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Base of everything that can be assigned from another object of its class.
class TPersistent {
 public:
  virtual ~TPersistent() = default;
  virtual const char* ClassName() const = 0;
  // Copies all properties of a source of the same class; any other source
  // raises EConvertError ("Cannot assign a X to a Y").
  virtual void Assign(const TPersistent& source);

 protected:
  TPersistent() = default;
  TPersistent(const TPersistent&) = default;
  TPersistent& operator=(const TPersistent&) = default;
  [[noreturn]] void AssignError(const TPersistent& source) const;
};

class TFileCriteria : public TPersistent {
 public:
  const char* ClassName() const override { return "TFileCriteria"; }
  void Assign(const TPersistent& source) override;

  // File masks separated by ";", searched in every folder of Location.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string value) { fileName_ = std::move(value); }
  // Folders separated by ";", each with an optional "<" or ">" prefix.
  const std::string& Location() const { return location_; }
  void SetLocation(std::string value) { location_ = std::move(value); }
  // Items of folder path + one file mask, each with an optional prefix.
  const std::vector<std::string>& Included() const { return included_; }
  void SetIncluded(std::vector<std::string> value) { included_ = std::move(value); }
  // Exclusion masks.
  const std::vector<std::string>& Excluded() const { return excluded_; }
  void SetExcluded(std::vector<std::string> value) { excluded_ = std::move(value); }
  bool Subfolders() const { return subfolders_; }
  void SetSubfolders(bool value) { subfolders_ = value; }
  // The shallowest depth whose files are reported (1 = the named folder).
  std::uint16_t MinLevel() const { return minLevel_; }
  void SetMinLevel(std::uint16_t value) { minLevel_ = value; }
  // The deepest depth searched; 0 = no limit.
  std::uint16_t MaxLevel() const { return maxLevel_; }
  void SetMaxLevel(std::uint16_t value) { maxLevel_ = value; }

 private:
  std::string fileName_;
  std::string location_;
  std::vector<std::string> included_;
  std::vector<std::string> excluded_;
  bool subfolders_ = true;
  std::uint16_t minLevel_ = 0;
  std::uint16_t maxLevel_ = 0;
};

enum TFileAttributes { ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory };

// A set of TFileAttributes.
class TFileAttributeSet {
 public:
  constexpr TFileAttributeSet() = default;
  constexpr TFileAttributeSet(std::initializer_list<TFileAttributes> items) {
    for (TFileAttributes a : items) Include(a);
  }
  constexpr bool Contains(TFileAttributes a) const { return (bits_ >> a) & 1u; }
  constexpr void Include(TFileAttributes a) { bits_ |= static_cast<std::uint8_t>(1u << a); }
  constexpr void Exclude(TFileAttributes a) { bits_ &= static_cast<std::uint8_t>(~(1u << a)); }
  constexpr bool Empty() const { return bits_ == 0; }
  friend constexpr bool operator==(TFileAttributeSet, TFileAttributeSet) = default;

 private:
  std::uint8_t bits_ = 0;
};

// The attribute bits that take part in the attribute test.
constexpr std::uint32_t kAttributeTestMask = 55;

// The platform attribute bit of one element.
std::uint32_t AttributeBit(TFileAttributes a);
TFileAttributeSet AttributeSetFromMask(std::uint32_t mask);
std::uint32_t AttributeMaskFromSet(TFileAttributeSet set);

class TAttributeCriteria : public TPersistent {
 public:
  const char* ClassName() const override { return "TAttributeCriteria"; }
  void Assign(const TPersistent& source) override;

  TFileAttributeSet Attributes() const { return AttributeSetFromMask(mask_); }
  void SetAttributes(TFileAttributeSet value) { mask_ = AttributeMaskFromSet(value); }
  // The set as the platform's attribute bit mask.
  std::uint32_t AttributeMask() const { return mask_; }
  bool ExactMatch() const { return exactMatch_; }
  void SetExactMatch(bool value) { exactMatch_ = value; }

  // The attribute test on a found entry's attribute bits.
  bool Matches(std::uint32_t attributes) const;
  // The tested bits an entry must not have to pass, in either mode.
  std::uint32_t NeverMatchedBits() const { return kAttributeTestMask & ~mask_; }

 private:
  std::uint32_t mask_ = 0x20 | 0x01 | 0x02 | 0x04;  // archive, read-only, hidden, system
  bool exactMatch_ = false;
};

// Date-time values (days since 30 December 1899); 0 sets no bound. A value
// with no fraction is a whole date, one below 1 a time of day on any date.
class TDateTimeCriteria : public TPersistent {
 public:
  const char* ClassName() const override { return "TDateTimeCriteria"; }
  void Assign(const TPersistent& source) override;

  DateTimeValue CreatedBefore() const { return createdBefore_; }
  void SetCreatedBefore(DateTimeValue v) { createdBefore_ = v; }
  DateTimeValue CreatedAfter() const { return createdAfter_; }
  void SetCreatedAfter(DateTimeValue v) { createdAfter_ = v; }
  DateTimeValue ModifiedBefore() const { return modifiedBefore_; }
  void SetModifiedBefore(DateTimeValue v) { modifiedBefore_ = v; }
  DateTimeValue ModifiedAfter() const { return modifiedAfter_; }
  void SetModifiedAfter(DateTimeValue v) { modifiedAfter_ = v; }
  DateTimeValue AccessedBefore() const { return accessedBefore_; }
  void SetAccessedBefore(DateTimeValue v) { accessedBefore_ = v; }
  DateTimeValue AccessedAfter() const { return accessedAfter_; }
  void SetAccessedAfter(DateTimeValue v) { accessedAfter_ = v; }

  // The time stamp test on a found entry's UTC time stamps.
  bool Matches(FileTime created, FileTime modified, FileTime accessed,
               const TimeZone& timeZone) const;

 private:
  DateTimeValue createdBefore_ = 0;
  DateTimeValue createdAfter_ = 0;
  DateTimeValue modifiedBefore_ = 0;
  DateTimeValue modifiedAfter_ = 0;
  DateTimeValue accessedBefore_ = 0;
  DateTimeValue accessedAfter_ = 0;
};

// Byte counts; 0 sets no bound. Both bounds are inclusive.
class TSizeCriteria : public TPersistent {
 public:
  const char* ClassName() const override { return "TSizeCriteria"; }
  void Assign(const TPersistent& source) override;

  std::uint32_t Min() const { return min_; }
  void SetMin(std::uint32_t value) { min_ = value; }
  std::uint32_t Max() const { return max_; }
  void SetMax(std::uint32_t value) { max_ = value; }

  // Takes the whole size: a 32-bit size would misjudge files beyond 4 GiB.
  bool Matches(std::uint64_t size) const;

 private:
  std::uint32_t min_ = 0;
  std::uint32_t max_ = 0;
};

class TContentCriteria : public TPersistent {
 public:
  TContentCriteria() = default;
  TContentCriteria(const TContentCriteria& other);
  TContentCriteria& operator=(const TContentCriteria& other);

  const char* ClassName() const override { return "TContentCriteria"; }
  void Assign(const TPersistent& source) override;

  // Empty: no content test.
  const std::string& Phrase() const { return phrase_; }
  void SetPhrase(std::string value);
  bool IgnoreCase() const { return ignoreCase_; }
  void SetIgnoreCase(bool value);
  bool WholeWord() const { return wholeWord_; }
  void SetWholeWord(bool value) { wholeWord_ = value; }

  // Derived from Phrase and IgnoreCase.
  std::size_t PhraseLength() const { return phrase_.size(); }
  const std::string& SearchPhrase() const { return searchPhrase_; }
  const ByteTable& CaseTable() const { return *caseTable_; }

  // The content test on a file's full path; never fails outward.
  bool Matches(const std::string& path) const;

 private:
  void Update();
  std::string phrase_;
  bool ignoreCase_ = true;
  bool wholeWord_ = false;
  std::string searchPhrase_;
  const ByteTable* caseTable_ = &LowerCaseTable;
};

// The criteria of TFindFile. Owns its five parts and never replaces them;
// the setters copy the values of the given object.
class TSearchCriteria : public TPersistent {
 public:
  const char* ClassName() const override { return "TSearchCriteria"; }
  void Assign(const TPersistent& source) override;

  TFileCriteria& Files() { return files_; }
  const TFileCriteria& Files() const { return files_; }
  void SetFiles(const TFileCriteria& value) { files_.Assign(value); }
  TAttributeCriteria& Attribute() { return attribute_; }
  const TAttributeCriteria& Attribute() const { return attribute_; }
  void SetAttribute(const TAttributeCriteria& value) { attribute_.Assign(value); }
  TDateTimeCriteria& TimeStamp() { return timeStamp_; }
  const TDateTimeCriteria& TimeStamp() const { return timeStamp_; }
  void SetTimeStamp(const TDateTimeCriteria& value) { timeStamp_.Assign(value); }
  TSizeCriteria& Size() { return size_; }
  const TSizeCriteria& Size() const { return size_; }
  void SetSize(const TSizeCriteria& value) { size_.Assign(value); }
  TContentCriteria& Content() { return content_; }
  const TContentCriteria& Content() const { return content_; }
  void SetContent(const TContentCriteria& value) { content_.Assign(value); }

 private:
  TFileCriteria files_;
  TAttributeCriteria attribute_;
  TDateTimeCriteria timeStamp_;
  TSizeCriteria size_;
  TContentCriteria content_;
};

}  // namespace tabulon
