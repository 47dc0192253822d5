// A progress bar with the minimum, maximum and value it is defined by.
#pragma once

#include "../ControlDefinitions.h"
#include "Form.h"
#include "Gtk.h"

namespace zavi {

class ProgressBar {
  public:
    ProgressBar(Form& form, const ProgressBarDefinition& definition);

    float Min() const { return m_min; }
    float Max() const { return m_max; }
    float Value() const { return m_value; }
    void SetMin(float min);
    void SetMax(float max);
    // The value must lie between the minimum and the maximum.
    void SetValue(float value);

    GtkWidget* Widget() const { return m_widget.get(); }

  private:
    void Show();

    GObjectPtr<GtkWidget> m_widget;
    float m_min;
    float m_max;
    float m_value;
};

}  // namespace zavi
