#include "search/search_criteria.h"

#include <string>

#include "search/content_search.h"
#include "search/name_match.h"

namespace tabulon {

void TPersistent::Assign(const TPersistent& source) {
  AssignError(source);
}

void TPersistent::AssignError(const TPersistent& source) const {
  throw EConvertError(std::string("Cannot assign a ") + source.ClassName() + " to a " +
                      ClassName());
}

void TFileCriteria::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TFileCriteria*>(&source);
  if (!s) return TPersistent::Assign(source);
  if (s == this) return;
  fileName_ = s->fileName_;
  location_ = s->location_;
  included_ = s->included_;
  excluded_ = s->excluded_;
  subfolders_ = s->subfolders_;
  minLevel_ = s->minLevel_;
  maxLevel_ = s->maxLevel_;
}

namespace {
constexpr std::uint32_t kElementBits[] = {0x20, 0x01, 0x02, 0x04, 0x10};
constexpr TFileAttributes kElements[] = {ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory};
}  // namespace

std::uint32_t AttributeBit(TFileAttributes a) {
  return kElementBits[a];
}

TFileAttributeSet AttributeSetFromMask(std::uint32_t mask) {
  TFileAttributeSet set;
  for (TFileAttributes a : kElements)
    if (mask & AttributeBit(a)) set.Include(a);
  return set;
}

std::uint32_t AttributeMaskFromSet(TFileAttributeSet set) {
  std::uint32_t mask = 0;
  for (TFileAttributes a : kElements)
    if (set.Contains(a)) mask |= AttributeBit(a);
  return mask;
}

void TAttributeCriteria::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TAttributeCriteria*>(&source);
  if (!s) return TPersistent::Assign(source);
  mask_ = s->mask_;
  exactMatch_ = s->exactMatch_;
}

bool TAttributeCriteria::Matches(std::uint32_t attributes) const {
  std::uint32_t bits = attributes & kAttributeTestMask;
  if (exactMatch_) return bits == mask_;
  return (bits & ~mask_) == 0;
}

void TDateTimeCriteria::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TDateTimeCriteria*>(&source);
  if (!s) return TPersistent::Assign(source);
  createdBefore_ = s->createdBefore_;
  createdAfter_ = s->createdAfter_;
  modifiedBefore_ = s->modifiedBefore_;
  modifiedAfter_ = s->modifiedAfter_;
  accessedBefore_ = s->accessedBefore_;
  accessedAfter_ = s->accessedAfter_;
}

bool TDateTimeCriteria::Matches(FileTime created, FileTime modified, FileTime accessed,
                                const TimeZone& timeZone) const {
  struct Pair {
    FileTime time;
    DateTimeValue before, after;
  };
  const Pair pairs[] = {{created, createdBefore_, createdAfter_},
                        {modified, modifiedBefore_, modifiedAfter_},
                        {accessed, accessedBefore_, accessedAfter_}};
  for (const Pair& p : pairs) {
    if (p.before == 0 && p.after == 0) continue;
    if (!InDateRange(LocalDateTime(p.time, timeZone), p.before, p.after)) return false;
  }
  return true;
}

void TSizeCriteria::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TSizeCriteria*>(&source);
  if (!s) return TPersistent::Assign(source);
  min_ = s->min_;
  max_ = s->max_;
}

bool TSizeCriteria::Matches(std::uint64_t size) const {
  if (min_ != 0 && size < min_) return false;
  if (max_ != 0 && size > max_) return false;
  return true;
}

TContentCriteria::TContentCriteria(const TContentCriteria& other) : TPersistent(other) {
  phrase_ = other.phrase_;
  ignoreCase_ = other.ignoreCase_;
  wholeWord_ = other.wholeWord_;
  Update();
}

TContentCriteria& TContentCriteria::operator=(const TContentCriteria& other) {
  if (this != &other) {
    phrase_ = other.phrase_;
    ignoreCase_ = other.ignoreCase_;
    wholeWord_ = other.wholeWord_;
    Update();
  }
  return *this;
}

void TContentCriteria::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TContentCriteria*>(&source);
  if (!s) return TPersistent::Assign(source);
  *this = *s;
}

void TContentCriteria::SetPhrase(std::string value) {
  phrase_ = std::move(value);
  Update();
}

void TContentCriteria::SetIgnoreCase(bool value) {
  ignoreCase_ = value;
  Update();
}

void TContentCriteria::Update() {
  caseTable_ = ignoreCase_ ? &LowerCaseTable : &IdentityTable;
  searchPhrase_ = phrase_;
  for (char& c : searchPhrase_) c = static_cast<char>((*caseTable_)[static_cast<unsigned char>(c)]);
}

bool TContentCriteria::Matches(const std::string& path) const {
  if (PhraseLength() < 1) return true;
  try {
    return ContentContains(path, searchPhrase_, PhraseLength(), wholeWord_, *caseTable_);
  } catch (...) {
    return false;
  }
}

void TSearchCriteria::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TSearchCriteria*>(&source);
  if (!s) return TPersistent::Assign(source);
  files_.Assign(s->files_);
  attribute_.Assign(s->attribute_);
  timeStamp_.Assign(s->timeStamp_);
  size_.Assign(s->size_);
  content_.Assign(s->content_);
}

}  // namespace tabulon
