// Form: a top-level window with the lifetime the program's windows rely on. Load creates
// the window and its controls, starts its timers and runs the load sequence; Unload
// destroys them all; a later Load builds everything afresh. When the last form of the
// thread is unloaded, the message loop is told to end.
#pragma once

#include <utility>
#include <vector>

#include "../ControlDefinitions.h"
#include "../FormEvents.h"
#include "GdiHandles.h"
#include "Label.h"
#include "Win32.h"

namespace zavi {

// A control that takes the focus in its form's tab order.
class TabStop {
  public:
    virtual bool HasFocus() const = 0;
    virtual void Focus() = 0;
    // Offers a key to the control before the form moves the focus; true when it used it.
    virtual bool TranslateAccelerator(MSG& /*message*/) { return false; }

  protected:
    ~TabStop() = default;
};

// The events it raises are declared once for both platforms (FormEvents.h); labels are
// registered with AddLabel to be painted.
class Form : public FormEvents {
  public:
    ~Form() override;

    bool IsLoaded() const { return m_window != nullptr; }
    void Load();
    void Show();
    void Hide();
    // Shown, restored if minimized, raised and given the focus: the user asked for it (a
    // click on the tray icon).
    void Present();
    void Unload() override;

    HWND hWnd() const { return m_window; }
    // The small icon: the size the taskbar's notification area draws.
    HICON Icon() const { return m_smallIcon; }
    // Outer size and position, in twips.
    double Width() const;
    double Height() const;
    double Left() const;
    double Top() const;
    void SetLeft(double twips);
    void SetTop(double twips);
    int Dpi() const { return m_dpi; }

    // Whether any form of the calling thread is loaded.
    static bool AnyLoaded();
    // Offers a queued message to the form it is for, before it is dispatched; true when
    // the form used it (keyboard handling of hosted controls, for example).
    static bool PreTranslateMessage(MSG& message);

    // Puts a control in the tab order; the first takes the focus the form is given.
    void AddTabStop(TabStop& control, int tabIndex);

  protected:
    explicit Form(const FormDefinition& definition);

    void AddLabel(const Label& label);
    // Starts a timer, or starts it over if it is running.
    void StartTimer(const TimerDefinition& timer);
    void StopTimer(const TimerDefinition& timer);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;
    bool SetCursorForLabel() const;
    void OnDestroy();
    bool PreTranslate(MSG& message);
    RECT OuterRect() const;
    void MoveTo(int x, int y);

    FormDefinition m_definition;
    HWND m_window = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    int m_dpi = 96;
    Brush m_background;
    std::vector<const Label*> m_labels;
    std::vector<UINT_PTR> m_timers;
    std::vector<std::pair<int, TabStop*>> m_tabStops;  // by tab index
};

}  // namespace zavi
