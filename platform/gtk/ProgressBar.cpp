#include "ProgressBar.h"

#include <algorithm>
#include <cmath>

#include "../ProgramError.h"
#include "ColourKey.h"

namespace zavi {
namespace {

// The bar fills its whole box, as the Common Controls bar does, with square corners: a
// rounded one would blend its corners into the colour key's white.
constexpr char kStyle[] =
    "progressbar trough, progressbar progress { min-height: 0; border-radius: 0; }"
    "progressbar trough { min-width: 0; border: 1px solid #adadad; background: #e6e6e6; }"
    "progressbar progress { border: none; background: #3096fa; }"
    "progressbar.horizontal > trough { min-height: %dpx; }"
    "progressbar.horizontal > trough > progress { min-height: %dpx; }";

void Style(GtkWidget* bar, int height) {
    GtkCssProvider* css = gtk_css_provider_new();
    char text[512];
    g_snprintf(text, sizeof text, kStyle, height - 2, height - 2);
    gtk_css_provider_load_from_data(css, text, -1, nullptr);
    GtkStyleContext* context = gtk_widget_get_style_context(bar);
    gtk_style_context_add_provider(context, GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}

}  // namespace

ProgressBar::ProgressBar(Form& form, const ProgressBarDefinition& definition)
    : m_widget(Retain(gtk_progress_bar_new())),
      m_min(definition.min),
      m_max(definition.max),
      m_value(definition.min) {
    const PixelRect box = ToPixels(definition.bounds, form.Dpi());
    Style(m_widget.get(), box.height);
    form.Place(m_widget.get(), box);
    Show();
}

void ProgressBar::SetMin(float min) {
    m_min = min;
    Show();
}

void ProgressBar::SetMax(float max) {
    m_max = max;
    Show();
}

void ProgressBar::SetValue(float value) {
    if (value < m_min || value > m_max) {
        throw ProgramError("Invalid property value");
    }
    m_value = value;
    Show();
}

// The bar shows whole values, as the Common Controls bar does.
void ProgressBar::Show() {
    const double low = std::lround(m_min);
    const double high = std::lround(m_max);
    const double value = std::lround(m_value);
    const double fraction = high > low ? (value - low) / (high - low) : 0.0;
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(m_widget.get()), std::clamp(fraction, 0.0, 1.0));
    RefreshColourKey(m_widget.get());
}

}  // namespace zavi
