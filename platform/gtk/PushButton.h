// A push button whose clicks reach its form's OnClick with the button's id.
#pragma once

#include "../ControlDefinitions.h"
#include "Form.h"
#include "Gtk.h"

namespace zavi {

class PushButton {
  public:
    // On the form, above what was placed before it, in its tab order.
    PushButton(Form& form, const PushButtonDefinition& definition);
    ~PushButton();
    PushButton(const PushButton&) = delete;
    PushButton& operator=(const PushButton&) = delete;

    GtkWidget* Widget() const { return m_widget.get(); }
    bool HasFocus() const { return gtk_widget_has_focus(m_widget.get()) != FALSE; }

  private:
    static void OnClicked(GtkButton* button, gpointer self);

    Form& m_form;
    unsigned m_id;
    GObjectPtr<GtkWidget> m_widget;
};

}  // namespace zavi
