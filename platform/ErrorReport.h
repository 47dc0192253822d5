// ErrorReport: the one way errors reach the user, a modal box with an OK button titled
// with the application title.
#pragma once

#include <exception>

#include "ProgramError.h"

namespace zavi {

void ErrorReport(const ProgramError& error);
// For an error no procedure trapped: it is reported and the program is told to end.
void ErrorReportAndQuit(const ProgramError& error);

// Runs a procedure that traps its errors: whatever it raises is reported, and the rest of
// the procedure is skipped; the caller carries on.
template <class Procedure>
void RunTrapped(Procedure&& procedure) noexcept {
    try {
        procedure();
    } catch (const ProgramError& error) {
        ErrorReport(error);
    } catch (const std::exception& error) {
        ErrorReport(ProgramError(error.what()));
    }
}

// Runs a handler that traps nothing: an error it raises is reported and the program is
// told to end, so no error unwinds through the platform's dispatcher. False after an error.
template <class Procedure>
bool RunUntrapped(Procedure&& procedure) noexcept {
    try {
        procedure();
        return true;
    } catch (const ProgramError& error) {
        ErrorReportAndQuit(error);
    } catch (const std::exception& error) {
        ErrorReportAndQuit(ProgramError(error.what()));
    }
    return false;
}

}  // namespace zavi
