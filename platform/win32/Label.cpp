#include "Label.h"

namespace zavi {

Label::Label(const LabelDefinition& definition, int dpi)
    : m_bounds(ToPixels(definition.bounds, dpi)),
      m_caption(definition.caption),
      m_foreColour(definition.foreColour),
      m_pointer(definition.pointer),
      m_font(CreateDefinedFont(definition.font, dpi)) {}

COLORREF Label::ForeColour() const {
    return ResolveColour(m_foreColour, [](int index) { return GetSysColor(index); });
}

void Label::Paint(HDC dc) const {
    RECT box{m_bounds.left, m_bounds.top, m_bounds.left + m_bounds.width,
             m_bounds.top + m_bounds.height};
    const std::wstring text = Widen(m_caption);
    ScopedSelect font(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ForeColour());
    // Left-aligned and wrapped at word breaks; what does not fit the box is clipped.
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_LEFT | DT_WORDBREAK);
}

bool Label::Contains(POINT clientPoint) const {
    return clientPoint.x >= m_bounds.left && clientPoint.x < m_bounds.left + m_bounds.width &&
           clientPoint.y >= m_bounds.top && clientPoint.y < m_bounds.top + m_bounds.height;
}

}  // namespace zavi
