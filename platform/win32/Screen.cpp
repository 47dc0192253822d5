#include "../Screen.h"

#include "GdiHandles.h"
#include "../Twips.h"

namespace zavi::Screen {

int Dpi() {
    const ScreenDC screen;
    return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

double Width() {
    return PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), Dpi());
}

double Height() {
    return PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), Dpi());
}

double Left() {
    return 0;
}

double Top() {
    return 0;
}

}  // namespace zavi::Screen
