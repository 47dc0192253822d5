// CrashRestart: the view's web process, ended with the control, and replaced when it ends
// before. Before any page came, the engine cannot work here: the program says so and ends,
// as it does where the Windows control cannot be made. Under a page that had come, it
// crashed: the page is loaded again in a new one when the keeper says, and the listener
// hears the station again.
#pragma once

#include <webkit2/webkit2.h>

#include "../PageKeeper.h"
#include "PageLoader.h"

namespace zavi {

class CrashRestart {
  public:
    CrashRestart(WebKitWebView* view, ViewKeeper& keeper, PageLoader& loader);
    ~CrashRestart();
    CrashRestart(const CrashRestart&) = delete;
    CrashRestart& operator=(const CrashRestart&) = delete;

  private:
    static void OnTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason,
                             gpointer self);

    WebKitWebView* m_view;
    ViewKeeper& m_keeper;
    PageLoader& m_loader;
};

}  // namespace zavi
