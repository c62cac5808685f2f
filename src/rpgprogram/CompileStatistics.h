#pragma once

#include <string>

namespace orvale {

// What a whole-program compile reports to the statistics window: four count labels (lines of
// the section just compiled, total lines, total warnings, total errors), one error-list line
// per section that reported a warning or an error, and a chance to handle pending input after
// each section. A Cancel or close that arrives while ProcessMessages runs sets the document's
// CompileStopRequested.
class CompileStatistics {
public:
    virtual ~CompileStatistics() = default;

    virtual void SetSectionLines(const std::string& text) = 0;
    virtual void SetTotalLines(const std::string& text) = 0;
    virtual void SetWarnings(const std::string& text) = 0;
    virtual void SetErrors(const std::string& text) = 0;
    virtual void AddErrorLine(const std::string& line) = 0;
    virtual void ProcessMessages() = 0;
};

// The error-list line of a section: its name in a column of 17 characters (a longer name is
// followed directly by the rest), "Warnings: " and the count in a column of 4, " Errors: "
// and the count.
std::string ErrorListLine(const std::string& sectionName, int warnings, int errors);

} // namespace orvale
