#include "PushButton.h"

#include "ProgramError.h"

namespace zavi {

PushButton::PushButton(HWND parent, const PushButtonDefinition& definition, int dpi)
    : m_font(CreateDefinedFont(definition.font, dpi, DEFAULT_QUALITY)) {
    const PixelRect box = ToPixels(definition.bounds, dpi);
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
}

}  // namespace zavi
