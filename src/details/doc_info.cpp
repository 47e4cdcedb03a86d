// The Office side of TFileInfo: the summary information of a compound file.
#include "details/doc_info.h"

#include "details/compound_file.h"
#include "details/mp3_info.h"
#include "platform/regular_file.h"

namespace tabulon {

namespace {

constexpr std::uint32_t kTypeInt32 = 3;
constexpr std::uint32_t kTypeText = 30;
constexpr std::uint32_t kTypeFileTime = 64;
constexpr std::uint64_t kTicksPerMinute = 60ull * 10'000'000ull;

std::string TextOf(const std::string& value) {
  return value.substr(0, value.find('\0'));
}

// A UTC file time as a local date-time value with DOS resolution; 0 when a
// conversion fails.
DateTimeValue DateTimeOf(FileTime utc, const TimeZone* timeZone) {
  FileTime local = utc;
  if (timeZone && !timeZone->UtcToLocal(utc, local)) return 0;
  DosDateTime dos = 0;
  if (!FileTimeToDosDateTime(local, dos)) return 0;
  DateTimeValue value = 0;
  if (!DosDateTimeToDateTime(dos, value)) return 0;
  return value;
}

void Store(std::uint32_t id, std::string value, const TimeZone* timeZone, TDocInfo& info) {
  // Bytes a value of another type does not have count as 0.
  std::string padded = value;
  if (padded.size() < 8) padded.resize(8, '\0');
  const auto* bytes = reinterpret_cast<const unsigned char*>(padded.data());
  switch (id) {
    case 2:
      info.Title = TextOf(value);
      break;
    case 3:
      info.Subject = TextOf(value);
      break;
    case 4:
      info.Author = TextOf(value);
      break;
    case 5:
      info.Keywords = TextOf(value);
      break;
    case 6:
      info.Comments = TextOf(value);
      break;
    case 7:
      info.Template = TextOf(value);
      break;
    case 8:
      info.LastAuthor = TextOf(value);
      break;
    case 9:
      info.RevNumber = TextOf(value);
      break;
    case 10:
      // The editing time is a span, not a moment: its minute is taken as it
      // stands, free of any time-zone offset.
      info.EditMinutes = static_cast<std::int32_t>((Le64(bytes) / kTicksPerMinute) % 60);
      break;
    case 11:
      info.LastPrinted = DateTimeOf(Le64(bytes), timeZone);
      break;
    case 12:
      info.Created = DateTimeOf(Le64(bytes), timeZone);
      break;
    case 13:
      info.LastSaved = DateTimeOf(Le64(bytes), timeZone);
      break;
    case 14:
      info.PageCount = static_cast<std::int32_t>(Le32(bytes));
      break;
    case 15:
      info.WordCount = static_cast<std::int32_t>(Le32(bytes));
      break;
    case 16:
      info.CharCount = static_cast<std::int32_t>(Le32(bytes));
      break;
    default:
      break;  // code page, thumbnails and the rest are not shown
  }
}

}  // namespace

bool ReadSummaryProperties(const ByteSource& stream, const TimeZone* timeZone, TDocInfo& info) {
  unsigned char head[48];  // the 28-byte header and the first section entry
  if (!stream.ReadExact(0, head, sizeof head)) return false;
  const std::uint64_t sectionOffset = Le32(head + 44);
  unsigned char section[8];
  if (!stream.ReadExact(sectionOffset, section, sizeof section)) return false;
  const std::uint64_t count = Le32(section + 4);
  const std::uint64_t indexOffset = sectionOffset + 8;
  // The index must be there in full; this also bounds the loop below.
  if (indexOffset > stream.Size() || count > (stream.Size() - indexOffset) / 8) return false;
  std::string index(static_cast<std::size_t>(count * 8), '\0');
  if (!stream.ReadExact(indexOffset, index.data(), index.size())) return false;

  for (std::uint64_t i = 0; i < count; ++i) {
    const auto* entry = reinterpret_cast<const unsigned char*>(index.data()) + 8 * i;
    const std::uint32_t id = Le32(entry);
    std::uint64_t at = sectionOffset + Le32(entry + 4);
    unsigned char word[4];
    if (!stream.ReadExact(at, word, 4)) return false;
    at += 4;
    const std::uint32_t type = Le32(word);
    std::string value;
    if (type == kTypeInt32) {
      value.resize(4);
    } else if (type == kTypeFileTime) {
      value.resize(8);
    } else if (type == kTypeText) {
      if (!stream.ReadExact(at, word, 4)) return false;
      at += 4;
      const std::uint32_t length = Le32(word);
      // ReadExact refuses a length beyond the stream before anything is
      // allocated for it.
      if (length > stream.Size() - std::min(at, stream.Size())) return false;
      value.resize(length);
    } else {
      continue;
    }
    if (!stream.ReadExact(at, value.data(), value.size())) return false;
    Store(id, std::move(value), timeZone, info);
  }
  return true;
}

void ReadDocInfoFrom(const ByteSource& source, const TimeZone* timeZone, TDocInfo& info) {
  info.Status = -1;
  CompoundFile storage;
  std::string stream;
  if (!storage.Open(source) || !storage.ReadRootStream(kSummaryStreamName, stream)) {
    info.Status = 1;
    return;
  }
  MemorySource bytes(stream);
  if (!ReadSummaryProperties(bytes, timeZone, info)) info.Status = 1;
}

TDocInfo TFileInfo::ReadDocInfo() {
  docInfo_ = TDocInfo{};
  docInfo_.Status = -1;
  if (!PathExists(fileName_)) {
    docInfo_.Status = 0;
    return docInfo_;
  }
  RegularFile file;  // read-only; closed when it goes out of scope, on every path
  if (!file.Open(fileName_)) {
    docInfo_.Status = 1;
    return docInfo_;
  }
  ReadDocInfoFrom(FileSource(file), timeZone_, docInfo_);
  return docInfo_;
}

OfficeTexts OfficeSummary(const std::string& fileName) {
  TFileInfo info(fileName);
  const TDocInfo doc = info.ReadDocInfo();
  if (doc.Status != -1) return OfficeTexts{};
  return OfficeTexts{DisplayText(doc.Title), DisplayText(doc.Subject), DisplayText(doc.Author)};
}

}  // namespace tabulon
