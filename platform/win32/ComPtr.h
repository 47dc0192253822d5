// A move-only owner of one COM interface reference.
#pragma once

#include <utility>

namespace zavi {

template <class Interface>
class ComPtr {
  public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(Interface* adopted) : m_pointer(adopted) {}
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            m_pointer = std::exchange(other.m_pointer, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // For functions that hand out a new reference through an out parameter.
    Interface** Put() {
        Reset();
        return &m_pointer;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    void Reset() {
        if (m_pointer != nullptr) {
            std::exchange(m_pointer, nullptr)->Release();
        }
    }

  private:
    Interface* m_pointer = nullptr;
};

}  // namespace zavi
