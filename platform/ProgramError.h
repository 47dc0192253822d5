// The error a trapped procedure reports: a description and the name of its source.
#pragma once

#include <stdexcept>
#include <string>

#include "AppIdentity.h"

namespace zavi {

class ProgramError : public std::runtime_error {
  public:
    explicit ProgramError(const std::string& description, std::string source = kProjectName)
        : std::runtime_error(description), m_source(std::move(source)) {}

    std::string Description() const { return what(); }
    const std::string& Source() const { return m_source; }

  private:
    std::string m_source;
};

// The error a call raises when a platform library lacks the operation it names.
ProgramError MissingEntryPoint(const std::string& operation, const std::string& library);
// The error a value raises when it does not fit the type it is converted to.
ProgramError Overflow();

// "description Source : source", the text of the error message box.
std::string ErrorReportText(const std::string& description, const std::string& source);

}  // namespace zavi
