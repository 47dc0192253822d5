#include "TipText.h"

namespace zavi {
namespace {

constexpr char16_t kVirama = 0x094D;

// Marks that belong to the character before them (Unicode's Mn and Mc in the blocks the
// program meets: Latin's combining diacritics and Devanagari), and the joiners.
bool Joins(char16_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x0900 && c <= 0x0903) ||
           (c >= 0x093A && c <= 0x093C) || (c >= 0x093E && c <= 0x094F) ||
           (c >= 0x0951 && c <= 0x0957) || (c >= 0x0962 && c <= 0x0963) || c == 0x200C ||
           c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xDC00 && c <= 0xDFFF);
}

}  // namespace

std::u16string CutAtCharacter(std::u16string_view text, std::size_t most) {
    if (text.size() <= most) {
        return std::u16string(text);
    }
    std::size_t cut = most;
    // A consonant after a virama is part of the same conjunct.
    while (cut > 0 && (Joins(text[cut]) || text[cut - 1] == kVirama)) {
        --cut;
    }
    return std::u16string(text.substr(0, cut));
}

}  // namespace zavi
