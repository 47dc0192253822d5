#include "../ErrorReport.h"

#include "Win32.h"

namespace zavi {

void ErrorReport(const ProgramError& error) {
    const std::wstring text = Widen(ErrorReportText(error.Description(), error.Source()));
    const std::wstring title = Widen(kApplicationTitle);
    // Task-modal: the box has no owner while a window is still loading, yet must block
    // input to the program's other windows until it is dismissed.
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void ErrorReportAndQuit(const ProgramError& error) {
    ErrorReport(error);
    PostQuitMessage(1);
}

}  // namespace zavi
