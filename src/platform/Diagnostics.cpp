#include "Diagnostics.h"

#include "Prompter.h"

#include <algorithm>

namespace orvale {

void Diagnostics::Add(Diagnostic::Kind kind, std::string text) {
    if (kind == Diagnostic::Kind::Error)
        ++Errors_;
    List.push_back({kind, std::move(text)});
}

void Diagnostics::Append(const Diagnostics& other) {
    for (const Diagnostic& d : other.List)
        Add(d.Severity, d.Text);
}

bool Diagnostics::Says(const std::string& text) const {
    return std::any_of(List.begin(), List.end(),
                       [&](const Diagnostic& d) { return d.Text == text; });
}

void Diagnostics::ShowIn(Prompter& prompter) const {
    for (const Diagnostic& d : List) {
        if (d.Severity == Diagnostic::Kind::Error)
            prompter.Error(d.Text);
        else
            prompter.Warning(d.Text);
    }
}

} // namespace orvale
