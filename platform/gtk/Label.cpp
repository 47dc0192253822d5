#include "Label.h"

#include <cmath>

#include "SystemColours.h"

namespace zavi {

Label::Label(const LabelDefinition& definition, int dpi)
    : m_bounds(ToPixels(definition.bounds, dpi)),
      m_caption(definition.caption),
      m_foreColour(definition.foreColour),
      m_pointer(definition.pointer),
      m_font(pango_font_description_new()) {
    PangoFontDescription* font = m_font.get();
    // fontconfig stands in for fonts the desktop lacks (Liberation for Times New Roman and
    // Arial); the size is the character height in pixels, as on Windows.
    pango_font_description_set_family(font, definition.font.face);
    pango_font_description_set_absolute_size(
        font, -FontHeightForPoints(definition.font.points, dpi) * PANGO_SCALE);
    pango_font_description_set_weight(font, static_cast<PangoWeight>(definition.font.weight));
}

std::uint32_t Label::ForeColour() const {
    return ResolveColour(m_foreColour, SystemColour);
}

void Label::Paint(cairo_t* cr) const {
    cairo_save(cr);
    cairo_rectangle(cr, m_bounds.left, m_bounds.top, m_bounds.width, m_bounds.height);
    cairo_clip(cr);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    // Text on a colour-keyed window is drawn without antialiasing: blended edge pixels are
    // near-white, not white, and would show as a pale fringe around every letter.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout);
    pango_layout_set_font_description(layout, m_font.get());
    // Left-aligned and wrapped at word breaks; what does not fit the box is clipped.
    pango_layout_set_width(layout, m_bounds.width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_text(layout, m_caption.c_str(), -1);
    const CairoColour colour = ToCairo(m_foreColour);
    cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue);
    cairo_move_to(cr, m_bounds.left, m_bounds.top);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    cairo_restore(cr);
}

bool Label::Contains(int x, int y) const {
    return x >= m_bounds.left && x < m_bounds.left + m_bounds.width && y >= m_bounds.top &&
           y < m_bounds.top + m_bounds.height;
}

}  // namespace zavi
