// Character counting for padding and cutting listing texts: one character is
// one code point, a byte that does not start a well-formed UTF-8 sequence is
// one character of its own, and no sequence is ever split.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon::utf8 {

// The byte length of the character starting at byte `i`.
std::size_t CharLength(std::string_view text, std::size_t i);
std::size_t Count(std::string_view text);
// The first `count` characters (all of them when there are fewer).
std::string_view Left(std::string_view text, std::size_t count);
// `count` characters from the 1-based position `start` (0 counts as 1); empty
// when start is past the end.
std::string_view Copy(std::string_view text, std::size_t start, std::size_t count);
std::string PadRight(std::string_view text, std::size_t width);  // never cuts
std::string PadLeft(std::string_view text, std::size_t width);   // never cuts
std::string Fit(std::string_view text, std::size_t width);       // pads and cuts
// The same, added to the end of `out`.
void AppendPadRight(std::string& out, std::string_view text, std::size_t width);
void AppendPadLeft(std::string& out, std::string_view text, std::size_t width);
void AppendFit(std::string& out, std::string_view text, std::size_t width);

}  // namespace tabulon::utf8
