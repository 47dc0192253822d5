// The Linux entry point: GTK on X11, then the program.
#include <cstdio>

#include "../../app/Program.h"
#include "Platform.h"

int main(int argc, char** argv) {
    if (!zavi::StartPlatform(&argc, &argv)) {
        std::fprintf(stderr, "zaviradio: cannot open the X display (is DISPLAY set?)\n");
        return 1;
    }
    return zavi::RunSingleInstance();
}
