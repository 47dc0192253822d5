// A push button: a child BUTTON whose clicks reach its form as WM_COMMAND with its id.
#pragma once

#include "../ControlDefinitions.h"
#include "ChildWindow.h"
#include "Form.h"
#include "GdiHandles.h"

namespace zavi {

class PushButton : public TabStop {
  public:
    // On the form, in its tab order.
    PushButton(Form& form, const PushButtonDefinition& definition);

    HWND hWnd() const { return m_window.get(); }
    bool HasFocus() const override { return GetFocus() == m_window.get(); }
    void Focus() override { SetFocus(m_window.get()); }

  private:
    // The font outlives the window that draws with it: members go in reverse order.
    Font m_font;
    ChildWindow m_window;
};

}  // namespace zavi
