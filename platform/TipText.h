// A tip cut to fit the platform's field at a whole character: never inside a surrogate
// pair, and never before a combining mark (a Devanagari vowel sign, a virama's conjunct,
// a joiner), so that no sign dangles from the cut text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zavi {

std::u16string CutAtCharacter(std::u16string_view text, std::size_t most);

}  // namespace zavi
