#pragma once

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

namespace orvale {

// Modal message boxes behind an interface, so that the documents and libraries can ask the
// user without knowing about windows, and tests can answer for the user.
class Prompter {
public:
    enum class Kind { Error, Warning, Information, Confirmation, Plain };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesNoCancelAll };
    enum class Answer { Ok, Cancel, Yes, No, All };

    virtual ~Prompter() = default;

    // Shows Text in a box of the given kind and returns the button the user chose.
    // Caption empty means the application's title.
    virtual Answer Show(Kind kind, const std::string& text, Buttons buttons,
                        const std::string& caption = {}) = 0;

    // Asks that the next box be shown with its top-left corner at the screen point (x, y),
    // as the replace confirmation is, next to the text it asks about. Prompters that cannot
    // place their boxes ignore it.
    virtual void PlaceNextBox(int /*x*/, int /*y*/) {}
    // Asks that the next box keep clear of the screen rectangle from (left, top) to (right,
    // bottom), the line of text it asks about, so that the user sees what is asked. Prompters
    // that cannot place their boxes ignore it.
    virtual void KeepNextBoxClearOf(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) {}

    void Error(const std::string& text) { Show(Kind::Error, text, Buttons::Ok); }
    void Warning(const std::string& text) { Show(Kind::Warning, text, Buttons::Ok); }
    void Information(const std::string& text) { Show(Kind::Information, text, Buttons::Ok); }
    void Message(const std::string& text) { Show(Kind::Plain, text, Buttons::Ok); }

    // The prompter used where no window hands one down (the compile summary of a single
    // section). Starts as a StreamPrompter on standard error.
    static Prompter& Default();
    static void SetDefault(Prompter* prompter);
};

const char* KindName(Prompter::Kind kind);

// The answer a box gives when the user just presses Enter: OK or Yes.
Prompter::Answer DefaultAnswer(Prompter::Buttons buttons);

// Writes each message as one line "kind: text" and gives the default answer (or a fixed one).
class StreamPrompter : public Prompter {
public:
    explicit StreamPrompter(std::ostream& out);
    Answer Show(Kind kind, const std::string& text, Buttons buttons,
                const std::string& caption = {}) override;

private:
    std::ostream& Out;
};

// Hands every message on to another prompter and counts the errors and warnings among them,
// for a caller that must know afterwards whether something went wrong.
class CountingPrompter : public Prompter {
public:
    explicit CountingPrompter(Prompter& inner) : Inner(inner) {}
    Answer Show(Kind kind, const std::string& text, Buttons buttons,
                const std::string& caption = {}) override;

    int Errors = 0;
    int Warnings = 0;

private:
    Prompter& Inner;
};

// Test double: records every message and answers from a queue; when the queue is empty it
// gives the default answer of the buttons.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        Kind BoxKind;
        std::string Text;
        Buttons BoxButtons;
        std::string Caption;
        bool operator==(const Shown&) const = default;
    };

    Answer Show(Kind kind, const std::string& text, Buttons buttons,
                const std::string& caption = {}) override;

    void Queue(Answer answer) { Answers.push_back(answer); }
    void Clear() { Messages.clear(); }

    std::vector<Shown> Messages;
    std::deque<Answer> Answers;
};

} // namespace orvale
