#include "ProgressBar.h"

#include <cmath>

#include "../ProgramError.h"

namespace zavi {

ProgressBar::ProgressBar(HWND parent, const ProgressBarDefinition& definition, int dpi)
    : m_min(definition.min), m_max(definition.max), m_value(definition.min) {
    const PixelRect box = ToPixels(definition.bounds, dpi);
    m_window = ChildWindow(CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, box.left,
                                           box.top, box.width, box.height, parent, nullptr,
                                           GetModuleHandleW(nullptr), nullptr));
    if (m_window.get() == nullptr) {
        throw ProgramError("The progress bar could not be created.");
    }
    ApplyRange();
    SetValue(m_value);
}

void ProgressBar::SetMin(float min) {
    m_min = min;
    ApplyRange();
}

void ProgressBar::SetMax(float max) {
    m_max = max;
    ApplyRange();
}

void ProgressBar::SetValue(float value) {
    if (value < m_min || value > m_max) {
        throw ProgramError("Invalid property value");
    }
    m_value = value;
    SendMessageW(m_window.get(), PBM_SETPOS, static_cast<WPARAM>(std::lround(value)), 0);
}

void ProgressBar::ApplyRange() {
    SendMessageW(m_window.get(), PBM_SETRANGE32, static_cast<WPARAM>(std::lround(m_min)),
                 static_cast<LPARAM>(std::lround(m_max)));
}

}  // namespace zavi
