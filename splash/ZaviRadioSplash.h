// ZaviRadioSplash: the start-up window. It floats in the screen's bottom-right corner,
// its white made see-through, with the title, a status line, a credit line and a bar,
// and puts the program's icon in the notification area while it is loaded.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "../platform/DefaultInstance.h"
#include "../platform/Runtime.h"
#include "ProgressSweep.h"

namespace zavi {
namespace forms {

class ZaviRadioSplash : public Form {
  public:
    ~ZaviRadioSplash() override;

    const Label& Label1() const { return m_controls->Label1; }
    const Label& Label2() const { return m_controls->Label2; }
    const Label& Label3() const { return m_controls->Label3; }
    ProgressBar& ProgressBar1() { return m_controls->ProgressBar1; }

    // The icon's tip and menu shown afresh: the radio's items once the player is up.
    void UpdateTray();

  protected:
    void CreateControls() override;
    void DestroyControls() override;
    void OnLoad() override;
    void OnUnload() override;
    void OnTimer(unsigned id) override;
    void OnVisibleChanged(bool visible) override;

  private:
    // Only the default instance makes one, so inside this namespace, where the class's
    // name hides the accessor of the same name, a stray temporary cannot be made.
    friend class DefaultInstance<ZaviRadioSplash>;
    ZaviRadioSplash();

    void OnTimer1();
    void OnTimer2();
    void OnTrayMenu(unsigned itemId);

    struct Controls {
        explicit Controls(Form& form);
        Label Label1;
        Label Label2;
        Label Label3;
        ProgressBar ProgressBar1;
    };

    std::unique_ptr<Controls> m_controls;
    std::optional<NotifyIcon> m_notifyIcon;
    ProgressSweep m_sweep;

    std::int16_t LayerAlpha = 0;
    OleColour LayerColorKey = 0;
    std::uint8_t LayerFlags = 0;
};

}  // namespace forms

DefaultInstance<forms::ZaviRadioSplash>& ZaviRadioSplashInstance();

// The start-up window's default instance; loads it on first reference.
inline forms::ZaviRadioSplash& ZaviRadioSplash() {
    return ZaviRadioSplashInstance()();
}

// The icon's tip and menu shown afresh, if the start-up window (which has the icon) is
// loaded; never loads it.
void RefreshTray();

}  // namespace zavi
