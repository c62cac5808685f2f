#include "Prompter.h"

#include <iostream>

namespace orvale {

namespace {
Prompter* DefaultPrompter = nullptr;
}

Prompter& Prompter::Default() {
    static StreamPrompter errorStream(std::cerr);
    return DefaultPrompter ? *DefaultPrompter : errorStream;
}

void Prompter::SetDefault(Prompter* prompter) {
    DefaultPrompter = prompter;
}

const char* KindName(Prompter::Kind kind) {
    switch (kind) {
    case Prompter::Kind::Error:
        return "error";
    case Prompter::Kind::Warning:
        return "warning";
    case Prompter::Kind::Information:
        return "information";
    case Prompter::Kind::Confirmation:
        return "confirmation";
    case Prompter::Kind::Plain:
        return "message";
    }
    return "message";
}

Prompter::Answer DefaultAnswer(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
    case Prompter::Buttons::OkCancel:
        return Prompter::Answer::Ok;
    default:
        return Prompter::Answer::Yes;
    }
}

Prompter::Answer CountingPrompter::Show(Kind kind, const std::string& text, Buttons buttons,
                                        const std::string& caption) {
    if (kind == Kind::Error)
        ++Errors;
    if (kind == Kind::Warning)
        ++Warnings;
    return Inner.Show(kind, text, buttons, caption);
}

StreamPrompter::StreamPrompter(std::ostream& out) : Out(out) {}

Prompter::Answer StreamPrompter::Show(Kind kind, const std::string& text, Buttons buttons,
                                      const std::string&) {
    Out << KindName(kind) << ": " << text << '\n';
    Out.flush();
    return DefaultAnswer(buttons);
}

Prompter::Answer ScriptedPrompter::Show(Kind kind, const std::string& text, Buttons buttons,
                                        const std::string& caption) {
    Messages.push_back({kind, text, buttons, caption});
    if (Answers.empty())
        return DefaultAnswer(buttons);
    Answer answer = Answers.front();
    Answers.pop_front();
    return answer;
}

} // namespace orvale
