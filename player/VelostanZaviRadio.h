// VelostanZaviRadio: the player window. It hosts the web browser control that opens the
// station page (the page does the streaming), and its "X" button ends the program.
#pragma once

#include <memory>
#include <vector>

#include "../platform/DefaultInstance.h"
#include "../platform/Runtime.h"
#include "RadioControls.h"
#include "StationKeeper.h"

namespace zavi {
namespace forms {

class VelostanZaviRadio : public Form {
  public:
    ~VelostanZaviRadio() override;

    PushButton& Command1() { return m_controls->Command1; }
    WebBrowser& WebBrowser2() { return m_controls->WebBrowser2; }

    // The listener's controls, from the notification icon: an item of the radio's picked,
    // a middle click, the wheel; and what the icon shows of them.
    void Listen(unsigned itemId);
    void TogglePause();
    void Scroll(int steps);
    MenuEntry TrayTip(const char* idleTip) const;
    std::vector<MenuEntry> TrayMenu() const;

  protected:
    void CreateControls() override;
    void DestroyControls() override;
    void OnLoad() override;
    void OnTimer(unsigned id) override;
    void OnClose() override;
    void OnClick(unsigned controlId) override;

  private:
    // Only the default instance makes one, so inside this namespace, where the class's
    // name hides the accessor of the same name, a stray temporary cannot be made.
    friend class DefaultInstance<VelostanZaviRadio>;
    VelostanZaviRadio();

    void OnCommand1Click();
    // The page, the tray and (when REMEMBER) the user's settings told of the listener's
    // state; the next tick of the sleep timer or the shown level planned.
    void ListenerChanged(bool remember);

    // Made in this order, so the button lies above the browser; the keeper, which the
    // browser asks, outlives it.
    struct Controls {
        Controls(Form& form, RadioControls& radio);
        StationKeeper keeper;
        WebBrowser WebBrowser2;
        PushButton Command1;
    };

    RadioControls m_radio;
    std::unique_ptr<Controls> m_controls;
};

}  // namespace forms

DefaultInstance<forms::VelostanZaviRadio>& VelostanZaviRadioInstance();

// The player window's default instance; loads it on first reference.
inline forms::VelostanZaviRadio& VelostanZaviRadio() {
    return VelostanZaviRadioInstance()();
}

}  // namespace zavi
