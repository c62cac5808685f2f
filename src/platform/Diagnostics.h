#pragma once

#include <string>
#include <vector>

namespace orvale {

class Prompter;

// What an operation found wrong, for its caller to show or to count: errors (it could not do
// what it was asked, or not all of it) and warnings (it did, with something to say). Reading
// and importing a program return these instead of showing boxes, so that they run without a
// window: the window shows them, the command-line tool prints them.
struct Diagnostic {
    enum class Kind { Error, Warning };
    Kind Severity = Kind::Error;
    std::string Text;
    bool operator==(const Diagnostic&) const = default;
};

class Diagnostics {
public:
    void Error(std::string text) { Add(Diagnostic::Kind::Error, std::move(text)); }
    void Warning(std::string text) { Add(Diagnostic::Kind::Warning, std::move(text)); }
    void Add(Diagnostic::Kind kind, std::string text);
    void Append(const Diagnostics& other);

    const std::vector<Diagnostic>& All() const { return List; }
    bool Empty() const { return List.empty(); }
    int Errors() const { return Errors_; }
    int Warnings() const { return static_cast<int>(List.size()) - Errors_; }
    // Whether one of them says Text.
    bool Says(const std::string& text) const;

    // Shows each in a box of its kind with an OK button, in the order they were found.
    void ShowIn(Prompter& prompter) const;

private:
    std::vector<Diagnostic> List;
    int Errors_ = 0;
};

} // namespace orvale
