#include "VelostanZaviRadio.h"

#include "../splash/ZaviRadioSplash.h"
#include "PlayerDefinition.h"
#include "StationAddress.h"
#include "StationConfig.h"

namespace zavi {
namespace forms {

VelostanZaviRadio::Controls::Controls(Form& form)
    : WebBrowser2(form, player::kWebBrowser2), Command1(form, player::kCommand1) {}

VelostanZaviRadio::VelostanZaviRadio() : Form(player::kForm) {}

VelostanZaviRadio::~VelostanZaviRadio() {
    Unload();
}

void VelostanZaviRadio::CreateControls() {
    m_controls = std::make_unique<Controls>(*this);
}

void VelostanZaviRadio::DestroyControls() {
    m_controls.reset();
}

void VelostanZaviRadio::OnLoad() {
    zavi::ZaviRadioSplash().Hide();
    WebBrowser2().SetKeeper(&m_controls->keeper);
    WebBrowser2().Navigate(StationPageAddress(kStationHost));
}

// Every way of closing the window ends the program, as "X" does; otherwise the start-up
// window's timer would bring the player back two seconds later.
void VelostanZaviRadio::OnClose() {
    UnloadProgramWindows();
}

void VelostanZaviRadio::OnClick(unsigned controlId) {
    if (controlId == player::kCommand1.id) {
        OnCommand1Click();
    }
}

void VelostanZaviRadio::OnCommand1Click() {
    UnloadProgramWindows();
}

}  // namespace forms

DefaultInstance<forms::VelostanZaviRadio>& VelostanZaviRadioInstance() {
    static DefaultInstance<forms::VelostanZaviRadio> instance;
    return instance;
}

void UnloadProgramWindows() {
    VelostanZaviRadioInstance().Unload();
    ZaviRadioSplashInstance().Unload();
}

}  // namespace zavi
