// The four sources of detail lines, behind small interfaces so that the texts
// can be tested with fakes and the readers on their own.
#pragma once

#include <string>

namespace tabulon {

// Strings of a file's version resource; all empty when it has none, and a
// string the resource lacks is empty.
struct VersionStrings {
  std::string companyName;
  std::string fileDescription;
  std::string fileVersion;
};

class VersionSource {
 public:
  virtual ~VersionSource() = default;
  virtual VersionStrings ReadVersion(const std::string& path) const = 0;
};

// What the image reader reports; zeros and no EXIF for a file it cannot read.
struct ImageParams {
  int width = 0;
  int height = 0;
  int dpi = 0;  // dots per inch
  bool hasExif = false;
  std::string exifDateTime;  // "YYYY:MM:DD HH:MM:SS" as stored
  double fNumber = 0;
  double exposureTime = 0;  // seconds
};

class ImageSource {
 public:
  virtual ~ImageSource() = default;
  virtual ImageParams ReadImage(const std::string& path) const = 0;
};

// The three texts of an MP3 detail: artist, title and playing time (m:ss).
struct Mp3Texts {
  std::string artist;
  std::string title;
  std::string playingTime;
};

class Mp3Source {
 public:
  virtual ~Mp3Source() = default;
  virtual Mp3Texts ReadMp3(const std::string& path) const = 0;
};

// Title, subject and author of a Word or Excel summary; all empty when it
// cannot be read.
struct OfficeTexts {
  std::string title;
  std::string subject;
  std::string author;
};

class OfficeSource {
 public:
  virtual ~OfficeSource() = default;
  virtual OfficeTexts ReadOffice(const std::string& path) const = 0;
};

struct DetailSources {
  const VersionSource* version = nullptr;
  const Mp3Source* mp3 = nullptr;
  const ImageSource* image = nullptr;
  const OfficeSource* office = nullptr;
};

// The real readers of this folder, stateless; they live for the program.
DetailSources RealDetailSources();

}  // namespace tabulon
