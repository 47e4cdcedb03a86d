#include "preview/page_record.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace tabulon {

void PageRecord::AddFillRect(int left, int top, int right, int bottom, PageColor color) {
  if (right <= left || bottom <= top) return;  // nothing to fill
  PageCommand command;
  command.kind = PageCommandKind::kFillRect;
  command.color = color;
  command.a = left;
  command.b = top;
  command.c = right;
  command.d = bottom;
  commands_.push_back(command);
}

std::uint16_t PageRecord::FontIndex(const PageFont& font) {
  // A listing switches between two or three fonts; the last one is the
  // likeliest match.
  for (std::size_t i = fonts_.size(); i-- > 0;) {
    if (fonts_[i] == font) return std::uint16_t(i);
  }
  if (fonts_.size() > std::numeric_limits<std::uint16_t>::max()) {
    throw std::length_error("Too many fonts on one page");
  }
  fonts_.push_back(font);
  return std::uint16_t(fonts_.size() - 1);
}

void PageRecord::AddText(int x, int y, std::string_view text, const PageFont& font, bool opaque,
                         PageColor background) {
  if (text.empty()) return;
  if (textPool_.size() + text.size() > std::size_t(std::numeric_limits<std::int32_t>::max())) {
    throw std::length_error("Too much text on one page");
  }
  PageCommand command;
  command.kind = PageCommandKind::kText;
  command.style = FontIndex(font);
  command.opaque = opaque;
  command.color = opaque ? background : 0;
  command.a = x;
  command.b = y;
  command.c = std::int32_t(textPool_.size());
  command.d = std::int32_t(text.size());
  textPool_.append(text);
  commands_.push_back(command);
}

void PageRecord::AddLine(int x1, int y1, int x2, int y2, const PagePen& pen) {
  if (pen.style == PenStyle::kClear) return;
  std::size_t index = 0;
  while (index < pens_.size() && !(pens_[index] == pen)) ++index;
  if (index == pens_.size()) {
    if (index > std::numeric_limits<std::uint16_t>::max()) {
      throw std::length_error("Too many pens on one page");
    }
    pens_.push_back(pen);
  }
  PageCommand command;
  command.kind = PageCommandKind::kLine;
  command.style = std::uint16_t(index);
  command.a = x1;
  command.b = y1;
  command.c = x2;
  command.d = y2;
  commands_.push_back(command);
}

std::string_view PageRecord::TextOf(const PageCommand& command) const {
  if (command.kind != PageCommandKind::kText) return {};
  return std::string_view(textPool_).substr(std::size_t(command.c), std::size_t(command.d));
}

PageText PageRecord::DecodeText(const PageCommand& command) const {
  PageText text;
  text.x = command.a;
  text.y = command.b;
  text.text = TextOf(command);
  text.font = &fonts_.at(command.style);
  text.opaque = command.opaque;
  text.background = command.color;
  return text;
}

std::vector<PageText> PageRecord::Texts() const {
  std::vector<PageText> texts;
  for (const PageCommand& command : commands_) {
    if (command.kind == PageCommandKind::kText) texts.push_back(DecodeText(command));
  }
  return texts;
}

std::vector<PageFill> PageRecord::Fills() const {
  std::vector<PageFill> fills;
  for (const PageCommand& command : commands_) {
    if (command.kind == PageCommandKind::kFillRect) {
      fills.push_back({command.a, command.b, command.c, command.d, command.color});
    }
  }
  return fills;
}

void PageRecord::Compact() {
  commands_.shrink_to_fit();
  textPool_.shrink_to_fit();
  fonts_.shrink_to_fit();
  pens_.shrink_to_fit();
}

std::size_t PageRecord::ByteSize() const {
  std::size_t size = sizeof(*this) + commands_.capacity() * sizeof(PageCommand) +
                     pens_.capacity() * sizeof(PagePen) + textPool_.capacity();
  for (const PageFont& font : fonts_) size += sizeof(PageFont) + font.name.capacity();
  return size;
}

}  // namespace tabulon
