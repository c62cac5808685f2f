#include "frame/ReopenList.h"

#include <gtest/gtest.h>

namespace {

std::string Program(int i) {
    return "/prg/P" + std::to_string(i) + ".RPG";
}

} // namespace

TEST(ReopenList, EleventhProgramDropsTheOldest) {
    TReopenList list;
    for (int i = 1; i <= 11; ++i)
        list.AddToReopenList(Program(i));
    ASSERT_EQ(list.Count(), 10u);
    EXPECT_EQ(list.Paths().front(), Program(11));
    EXPECT_EQ(list.Paths().back(), Program(2));
}

TEST(ReopenList, ProgramAlreadyListedMovesToTheTop) {
    TReopenList list;
    for (int i = 1; i <= 10; ++i)
        list.AddToReopenList(Program(i));
    list.AddToReopenList(Program(3));
    ASSERT_EQ(list.Count(), 10u); // a full list does not lose its oldest for a move
    EXPECT_EQ(list.Paths().front(), Program(3));
    EXPECT_EQ(list.Paths().back(), Program(1));
    EXPECT_EQ(std::count(list.Paths().begin(), list.Paths().end(), Program(3)), 1);
}

TEST(ReopenList, EmptyListShowsVoidWhichIsNeverAProgram) {
    TReopenList list;
    EXPECT_EQ(list.Captions(), StringList{"Void"});
    list.AddToReopenList("Void");
    list.AddToReopenList("");
    EXPECT_TRUE(list.Empty());
    list.AddToReopenList(Program(1));
    EXPECT_EQ(list.Captions(), StringList{Program(1)});
}

TEST(ReopenList, RemovingEntries) {
    TReopenList list;
    list.AddToReopenList(Program(1));
    list.AddToReopenList(Program(2));
    // Paths are compared exactly: another case is another file.
    EXPECT_FALSE(list.Remove("/PRG/P1.RPG"));
    EXPECT_TRUE(list.Remove(Program(1)));
    EXPECT_FALSE(list.Remove(Program(1)));
    list.RemoveAt(5); // out of range: nothing
    EXPECT_EQ(list.Count(), 1u);
    list.RemoveAt(0);
    EXPECT_EQ(list.Captions(), StringList{"Void"});
}
