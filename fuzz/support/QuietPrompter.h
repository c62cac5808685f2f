#pragma once

// A prompter that answers every box with its default button and only counts what it was
// shown, so that millions of fuzz runs neither print nor grow.

#include "platform/Prompter.h"

#include <string>

namespace orvale::fuzz {

class QuietPrompter : public Prompter {
public:
    Answer Show(Kind kind, const std::string& text, Buttons buttons,
                const std::string& /*caption*/ = {}) override {
        if (Shown++ == 0)
            First = text;
        if (kind == Kind::Error || kind == Kind::Warning)
            ++Complaints;
        return DefaultAnswer(buttons);
    }

    int Shown = 0;
    int Complaints = 0;
    // The text of the first box, for a report.
    std::string First;
};

// Makes the process-wide default prompter a quiet one (the compile summary box and the like).
inline void SilenceDefaultPrompter() {
    static QuietPrompter quiet;
    Prompter::SetDefault(&quiet);
}

} // namespace orvale::fuzz
