#pragma once

#include <string>

namespace orvale {

// What an import reports to the window that shows its progress: a bar, the caption of a
// label, and a chance to handle pending input between two conversion steps. The progress
// window of the editor and the command-line progress bar both implement it; a Cancel that
// arrives while ProcessMessages runs sets the document's ImportCancelled.
class ImportProgress {
public:
    virtual ~ImportProgress() = default;

    virtual void SetMaximum(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void ProcessMessages() = 0;
};

} // namespace orvale
