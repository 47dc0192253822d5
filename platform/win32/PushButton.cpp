#include "PushButton.h"

#include "../ProgramError.h"

namespace zavi {

PushButton::PushButton(Form& form, const PushButtonDefinition& definition)
    : m_font(CreateDefinedFont(definition.font, form.Dpi(), DEFAULT_QUALITY)) {
    const HWND parent = form.hWnd();
    const PixelRect box = ToPixels(definition.bounds, form.Dpi());
    const std::wstring caption = Widen(definition.caption);
    m_window = ChildWindow(CreateWindowExW(
        0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, box.left,
        box.top, box.width, box.height, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(definition.id)), GetModuleHandleW(nullptr),
        nullptr));
    if (m_window.get() == nullptr) {
        throw ProgramError("The button could not be created.");
    }
    SendMessageW(m_window.get(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
    // Made after the controls it lies over, and above them.
    SetWindowPos(m_window.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    form.AddTabStop(*this, definition.tabIndex);
}

}  // namespace zavi
