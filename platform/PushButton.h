// A push button: a child BUTTON whose clicks reach its form as WM_COMMAND with its id.
#pragma once

#include "ChildWindow.h"
#include "ControlDefinitions.h"
#include "GdiHandles.h"

namespace zavi {

class PushButton {
  public:
    PushButton(HWND parent, const PushButtonDefinition& definition, int dpi);

    HWND hWnd() const { return m_window.get(); }

  private:
    // The font outlives the window that draws with it: members go in reverse order.
    Font m_font;
    ChildWindow m_window;
};

}  // namespace zavi
