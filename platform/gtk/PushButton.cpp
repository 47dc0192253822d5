#include "PushButton.h"

#include <cmath>

#include "Translations.h"

namespace zavi {
namespace {

// The defined box is smaller than a themed button's least size: no minimum, no padding,
// the caption in the defined font.
void Style(GtkWidget* button, const FontSpec& font, int dpi) {
    GtkCssProvider* css = gtk_css_provider_new();
    char* text = g_strdup_printf(
        "button { min-width: 0; min-height: 0; padding: 0; border-width: 1px; "
        "border-radius: 0; font-family: \"%s\", sans-serif; font-size: %dpx; "
        "font-weight: %d; } "
        // The theme's focus ring sits inside the border, where a box this small has no room.
        "button:focus { outline: 1px dashed currentColor; outline-offset: -1px; }",
        font.face, -FontHeightForPoints(font.points, dpi), font.weight);
    gtk_css_provider_load_from_data(css, text, -1, nullptr);
    g_free(text);
    gtk_style_context_add_provider(gtk_widget_get_style_context(button), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    GtkWidget* caption = gtk_bin_get_child(GTK_BIN(button));
    gtk_style_context_add_provider(gtk_widget_get_style_context(caption), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}

}  // namespace

PushButton::PushButton(Form& form, const PushButtonDefinition& definition)
    : m_form(form),
      m_id(definition.id),
      m_widget(Retain(gtk_button_new_with_label(definition.caption))) {
    Style(m_widget.get(), definition.font, form.Dpi());
    g_signal_connect(m_widget.get(), "clicked", G_CALLBACK(&PushButton::OnClicked), this);
    form.Place(m_widget.get(), ToPixels(definition.bounds, form.Dpi()));
    form.AddTabStop(m_widget.get(), definition.tabIndex);
    if (definition.accessibleName != nullptr) {
        atk_object_set_name(gtk_widget_get_accessible(m_widget.get()),
                            Translate(definition.accessibleName));
    }
}

PushButton::~PushButton() {
    g_signal_handlers_disconnect_by_data(m_widget.get(), this);
}

void PushButton::OnClicked(GtkButton*, gpointer self) {
    auto* button = static_cast<PushButton*>(self);
    button->m_form.Click(button->m_id);
}

}  // namespace zavi
