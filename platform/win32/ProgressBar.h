// The Common Controls progress bar with the minimum, maximum and value it is defined by.
#pragma once

#include "../ControlDefinitions.h"
#include "ChildWindow.h"
#include "Form.h"

namespace zavi {

class ProgressBar {
  public:
    ProgressBar(HWND parent, const ProgressBarDefinition& definition, int dpi);
    ProgressBar(Form& form, const ProgressBarDefinition& definition)
        : ProgressBar(form.hWnd(), definition, form.Dpi()) {}

    float Min() const { return m_min; }
    float Max() const { return m_max; }
    float Value() const { return m_value; }
    void SetMin(float min);
    void SetMax(float max);
    // The value must lie between the minimum and the maximum.
    void SetValue(float value);

    HWND hWnd() const { return m_window.get(); }

  private:
    void ApplyRange();

    ChildWindow m_window;
    float m_min;
    float m_max;
    float m_value;
};

}  // namespace zavi
