// A windowless label: its form paints it over the form's background, so anything behind
// it (the form's colour, the colour key) shows through around the text.
#pragma once

#include <string>

#include "../ControlDefinitions.h"
#include "Gtk.h"

namespace zavi {

class Label {
  public:
    Label(const LabelDefinition& definition, int dpi);

    void Paint(cairo_t* cr) const;
    bool Contains(int x, int y) const;

    const PixelRect& Bounds() const { return m_bounds; }
    const std::string& Caption() const { return m_caption; }
    MousePointer Pointer() const { return m_pointer; }
    // 0x00BBGGRR, system colours resolved.
    std::uint32_t ForeColour() const;
    const PangoFontDescription* Font() const { return m_font.get(); }

  private:
    PixelRect m_bounds;
    std::string m_caption;
    OleColour m_foreColour;
    MousePointer m_pointer;
    UniqueHandle<PangoFontDescription*, &pango_font_description_free> m_font;
};

}  // namespace zavi
