// A move-only owner of a platform handle, released with the function that frees it.
#pragma once

#include <utility>

namespace zavi {

template <class Handle, auto Release>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return m_handle; }

  private:
    void Reset() {
        if (m_handle != nullptr) {
            Release(std::exchange(m_handle, nullptr));
        }
    }

    Handle m_handle = nullptr;
};

}  // namespace zavi
