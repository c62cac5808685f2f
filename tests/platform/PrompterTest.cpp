#include "platform/Prompter.h"

#include <gtest/gtest.h>

#include <sstream>

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::StreamPrompter;

TEST(Prompter, ScriptedRecordsEveryMessageAndAnswersFromItsQueue) {
    ScriptedPrompter p;
    p.Queue(Prompter::Answer::No);
    EXPECT_EQ(p.Show(Prompter::Kind::Confirmation, "Save?", Prompter::Buttons::YesNoCancel),
              Prompter::Answer::No);
    // An empty queue gives the box's default answer.
    EXPECT_EQ(p.Show(Prompter::Kind::Confirmation, "Delete?", Prompter::Buttons::OkCancel),
              Prompter::Answer::Ok);
    p.Warning("WARNING: x");
    ASSERT_EQ(p.Messages.size(), 3u);
    EXPECT_EQ(p.Messages[2], (ScriptedPrompter::Shown{Prompter::Kind::Warning, "WARNING: x",
                                                      Prompter::Buttons::Ok, ""}));
}

TEST(Prompter, StreamWritesKindAndTextOnOneLine) {
    std::ostringstream out;
    StreamPrompter p(out);
    p.Warning("WARNING: The File may be corrupted!");
    EXPECT_EQ(p.Show(Prompter::Kind::Information, "Continue?", Prompter::Buttons::YesNo),
              Prompter::Answer::Yes);
    EXPECT_EQ(out.str(), "warning: WARNING: The File may be corrupted!\ninformation: Continue?\n");
}

TEST(Prompter, DefaultCanBeReplacedAndRestored) {
    ScriptedPrompter p;
    Prompter::SetDefault(&p);
    Prompter::Default().Error("boom");
    Prompter::SetDefault(nullptr);
    ASSERT_EQ(p.Messages.size(), 1u);
    EXPECT_EQ(p.Messages[0].BoxKind, Prompter::Kind::Error);
}
