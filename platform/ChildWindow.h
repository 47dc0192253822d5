// Owns a child control's window and destroys it with the owner.
#pragma once

#include <utility>

#include "Win32.h"

namespace zavi {

class ChildWindow {
  public:
    ChildWindow() = default;
    explicit ChildWindow(HWND window) : m_window(window) {}
    ~ChildWindow() { Reset(); }
    ChildWindow(ChildWindow&& other) noexcept : m_window(std::exchange(other.m_window, nullptr)) {}
    ChildWindow& operator=(ChildWindow&& other) noexcept {
        if (this != &other) {
            Reset();
            m_window = std::exchange(other.m_window, nullptr);
        }
        return *this;
    }
    ChildWindow(const ChildWindow&) = delete;
    ChildWindow& operator=(const ChildWindow&) = delete;

    HWND get() const { return m_window; }

  private:
    void Reset() {
        if (m_window != nullptr) {
            DestroyWindow(m_window);
            m_window = nullptr;
        }
    }

    HWND m_window = nullptr;
};

}  // namespace zavi
