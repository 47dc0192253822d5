// FormEvents: what a form tells the window class it is, the one contract both platforms'
// runtimes keep. Load builds the controls (CreateControls), starts the timers and runs
// OnLoad; Unload runs OnUnload, stops the timers and lets the controls go
// (DestroyControls); a later Load builds everything afresh. A window class overrides
// what it handles.
#pragma once

namespace zavi {

class FormEvents {
  public:
    FormEvents(const FormEvents&) = delete;
    FormEvents& operator=(const FormEvents&) = delete;

    // Destroys the window, its controls and timers; the last form unloaded ends the loop.
    virtual void Unload() = 0;

  protected:
    FormEvents() = default;
    virtual ~FormEvents() = default;

    // This load's controls; labels are registered with the form to be painted.
    virtual void CreateControls() = 0;
    virtual void DestroyControls() = 0;
    // The load sequence, once each time the form is loaded, before it is first shown.
    virtual void OnLoad() {}
    virtual void OnUnload() {}
    // A tick of the form's timer with this id.
    virtual void OnTimer(unsigned id) = 0;
    // A request to close (the close box, Alt+F4, the taskbar): unloads the form unless
    // the form says otherwise.
    virtual void OnClose() { Unload(); }
    // A click on one of the form's buttons.
    virtual void OnClick(unsigned /*controlId*/) {}
    // The window was shown or hidden (not as it is unloaded).
    virtual void OnVisibleChanged(bool /*visible*/) {}
};

}  // namespace zavi
