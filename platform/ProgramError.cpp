#include "ProgramError.h"

namespace zavi {

ProgramError MissingEntryPoint(const std::string& operation, const std::string& library) {
    return ProgramError("Can't find DLL entry point " + operation + " in " + library);
}

ProgramError Overflow() {
    return ProgramError("Overflow");
}

std::string ErrorReportText(const std::string& description, const std::string& source) {
    return description + " Source : " + source;
}

}  // namespace zavi
