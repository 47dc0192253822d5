// A windowless label: its owner paints it over the window's background, so anything
// behind it (the form's colour, the colour key) shows through around the text.
#pragma once

#include <string>

#include "../ControlDefinitions.h"
#include "GdiHandles.h"

namespace zavi {

class Label {
  public:
    Label(const LabelDefinition& definition, int dpi);

    void Paint(HDC dc) const;
    bool Contains(POINT clientPoint) const;

    const PixelRect& Bounds() const { return m_bounds; }
    const std::string& Caption() const { return m_caption; }
    MousePointer Pointer() const { return m_pointer; }
    COLORREF ForeColour() const;
    HFONT FontHandle() const { return m_font.get(); }

  private:
    PixelRect m_bounds;
    std::string m_caption;
    OleColour m_foreColour;
    MousePointer m_pointer;
    Font m_font;
};

}  // namespace zavi
