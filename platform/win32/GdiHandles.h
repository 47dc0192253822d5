// Owners of GDI objects and device contexts.
#pragma once

#include "../ControlDefinitions.h"
#include "../UniqueHandle.h"
#include "Win32.h"

namespace zavi {

using Font = UniqueHandle<HFONT, &DeleteObject>;
using Brush = UniqueHandle<HBRUSH, &DeleteObject>;

// A screen device context, released when it goes out of scope.
class ScreenDC {
  public:
    ScreenDC() : m_dc(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, m_dc); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const { return m_dc; }

  private:
    HDC m_dc;
};

// Selects an object into a DC and puts the previous one back.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~ScopedSelect() { SelectObject(m_dc, m_previous); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// The font for a definition at the given DPI. Text on a colour-keyed window is drawn
// without antialiasing by default: blended edge pixels are near-white, not white, and
// would show as a pale fringe around every letter.
Font CreateDefinedFont(const FontSpec& spec, int dpi, BYTE quality = NONANTIALIASED_QUALITY);

}  // namespace zavi
