// One recorded page: the drawing commands of the page canvas, in order, not a
// bitmap. Coordinates are device pixels of the reference device, counted from
// the top-left corner of the sheet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// 0xRRGGBB.
using PageColor = std::uint32_t;
constexpr PageColor kBlack = 0x000000;
constexpr PageColor kWhite = 0xFFFFFF;
constexpr PageColor PageRgb(int red, int green, int blue) {
  return PageColor((red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF));
}

struct PageFont {
  std::string name;
  int pixelSize = 0;
  bool bold = false;
  bool italic = false;
  PageColor color = kBlack;

  bool operator==(const PageFont&) const = default;
};

enum class BrushStyle : std::uint8_t { kSolid, kClear };
enum class PenStyle : std::uint8_t { kSolid, kClear };

struct PagePen {
  PageColor color = kBlack;
  int width = 1;
  PenStyle style = PenStyle::kSolid;

  bool operator==(const PagePen&) const = default;
};

enum class PageCommandKind : std::uint8_t { kFillRect, kText, kLine };

// Compact on purpose: a page of a long listing holds a few hundred of these.
struct PageCommand {
  PageCommandKind kind = PageCommandKind::kText;
  bool opaque = false;      // kText: the text cell is first filled with `color`
  std::uint16_t style = 0;  // kText: font index; kLine: pen index
  PageColor color = 0;      // kFillRect: fill colour; kText: background colour
  // kFillRect: left, top, right, bottom (right and bottom exclusive).
  // kText: x, y of the top-left corner, then offset and length in the text pool.
  // kLine: x1, y1, x2, y2.
  std::int32_t a = 0, b = 0, c = 0, d = 0;
};

// A text command decoded, for readers of the record (tests, the renderer).
struct PageText {
  int x = 0;
  int y = 0;
  std::string_view text;
  const PageFont* font = nullptr;
  bool opaque = false;
  PageColor background = 0;
};

struct PageFill {
  int left = 0, top = 0, right = 0, bottom = 0;
  PageColor color = 0;
};

class PageRecord {
 public:
  void AddFillRect(int left, int top, int right, int bottom, PageColor color);
  void AddText(int x, int y, std::string_view text, const PageFont& font, bool opaque,
               PageColor background);
  void AddLine(int x1, int y1, int x2, int y2, const PagePen& pen);

  const std::vector<PageCommand>& Commands() const { return commands_; }
  const std::vector<PageFont>& Fonts() const { return fonts_; }
  const std::vector<PagePen>& Pens() const { return pens_; }
  std::string_view TextOf(const PageCommand& command) const;
  PageText DecodeText(const PageCommand& command) const;

  // Every text and every fill, in drawing order.
  std::vector<PageText> Texts() const;
  std::vector<PageFill> Fills() const;
  bool Empty() const { return commands_.empty(); }

  // Gives back the spare capacity once the page is complete.
  void Compact();

  // The memory the record holds, in bytes.
  std::size_t ByteSize() const;

 private:
  std::uint16_t FontIndex(const PageFont& font);

  std::vector<PageCommand> commands_;
  std::vector<PageFont> fonts_;
  std::vector<PagePen> pens_;
  std::string textPool_;
};

}  // namespace tabulon
