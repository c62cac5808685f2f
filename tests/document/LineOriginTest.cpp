// Carrying the member lines of a section's statements through edits of its text.

#include "document/LineOrigin.h"
#include "document/EditSection.h"

#include <gtest/gtest.h>

namespace {

// A section as an import leaves it: statement K came from member line "member K" at place K.
TEDITSection Imported(const StringList& statements) {
    TEDITSection s("Main Routine", "");
    for (size_t k = 0; k < statements.size(); ++k)
        s.AddConverted(statements[k], "member " + std::to_string(k), static_cast<int>(k));
    return s;
}

// The place each line's origin names, -1 for none.
std::vector<int> Places(const TEDITSection& s) {
    std::vector<int> places;
    for (int k = 0; k < s.LinesCount(); ++k)
        places.push_back(s.OriginAt(k) ? s.OriginAt(k)->Ordinal : -1);
    return places;
}

bool Unedited(const TEDITSection& s, int k) {
    const LineOrigin* origin = s.OriginAt(k);
    return origin && origin->Statement == StatementHash(s.GetLine(k));
}

} // namespace

TEST(LineOrigin, AnEditChangesTheOriginOfNoOtherLine) {
    TEDITSection s = Imported({"Exsr(A)", "", "Add(X,1,X)", "", "Endsr()"});
    // One line typed over, one inserted before it (a blank line, like others of the text).
    s.SetLines({"Exsr(A)", "", "", "Add(X,2,X)", "", "Endsr()"});
    EXPECT_EQ(Places(s), (std::vector<int>{0, 1, -1, 2, 3, 4}));
    EXPECT_TRUE(Unedited(s, 0) && Unedited(s, 1) && Unedited(s, 4) && Unedited(s, 5));
    // The edited statement keeps its member line (for its tags) but is no longer the same.
    EXPECT_FALSE(Unedited(s, 3));
    // Typed back as it was, it is the member line again.
    s.SetLines({"Exsr(A)", "", "", "Add(X,1,X)", "", "Endsr()"});
    EXPECT_TRUE(Unedited(s, 3));
}

TEST(LineOrigin, LinesMovedOrDeletedKeepTheirOwnOrigins) {
    TEDITSection s = Imported({"A()", "B()", "C()", "D()", "E()"});
    s.SetLines({"D()", "A()", "B()", "C()", "E()"});
    EXPECT_EQ(Places(s), (std::vector<int>{3, 0, 1, 2, 4}));
    s.DeleteLine(0);
    EXPECT_EQ(Places(s), (std::vector<int>{0, 1, 2, 4}));
    s.AddLine("F()");
    EXPECT_EQ(Places(s), (std::vector<int>{0, 1, 2, 4, -1}));
    // The line a replacement moves to the end is a new statement there.
    s.ReplaceLine(0, "G()");
    EXPECT_EQ(Places(s), (std::vector<int>{1, 2, 4, -1, -1}));
    // A text of nothing but new lines, and a section never imported, have none.
    s.SetLines({"Exsr(SOMETHINGELSE)"});
    EXPECT_EQ(Places(s), (std::vector<int>{-1}));
    TEDITSection fresh("New", "");
    fresh.SetLines({"A()"});
    EXPECT_FALSE(fresh.TracksOrigins());
}

TEST(LineOrigin, OriginsComeOnePerLineOrNotAtAll) {
    TEDITSection s = Imported({"A()", "B()"});
    s.AddLine("C()");
    EXPECT_EQ(Places(s), (std::vector<int>{0, 1, -1}));
    // A list of origins that does not fit the text is refused whole.
    EXPECT_FALSE(s.SetOrigins({LineOrigin{"x", 7, 0}}));
    EXPECT_EQ(Places(s), (std::vector<int>{0, 1, -1}));
    EXPECT_TRUE(s.SetOrigins({{}, LineOrigin{"y", 9, 0}, {}}));
    EXPECT_EQ(Places(s), (std::vector<int>{-1, 9, -1}));
    s.DropOrigins();
    EXPECT_EQ(Places(s), (std::vector<int>{-1, -1, -1}));
    EXPECT_FALSE(s.TracksOrigins());
    EXPECT_EQ(StatementHash("Add(X,1,X)"), StatementHash("Add(X,1,X)"));
    EXPECT_NE(StatementHash("Add(X,1,X)"), StatementHash("Add(X,1,X) "));
}

TEST(LineOrigin, ALargeTextWithOneLineEditedIsCarriedWhole) {
    StringList lines;
    for (int k = 0; k < 24000; ++k)
        lines.push_back(k % 7 == 0 ? "" : "Move(F" + std::to_string(k % 50) + ",X)");
    TEDITSection s = Imported(lines);
    StringList edited = lines;
    edited[12345] = "Move(NEW,X)";
    s.SetLines(edited);
    int unedited = 0;
    for (int k = 0; k < s.LinesCount(); ++k)
        unedited += Unedited(s, k) ? 1 : 0;
    EXPECT_EQ(unedited, 23999);
    EXPECT_EQ(s.OriginAt(12345)->Ordinal, 12345);
}

TEST(LineOrigin, TagsAreWhatTheStatementDoesNotCarry) {
    TEDITSection s("Main Routine", "");
    s.AddConverted("Exsr(A)", "A0001C                     EXSR A" + std::string(41, ' ') + "CHG014",
                   0);
    s.AddConverted("Exsr(B)", "     C                     EXSR B", 1);
    s.AddConverted("Exsr(C)", "     C                     EXSR C" + std::string(41, ' ') + "X  Y  ",
                   2);
    s.AddLine("Exsr(D)");
    EXPECT_EQ(LineTags(s), (StringList{"A0001 CHG014", "", "X  Y", ""}));
}

TEST(LineOrigin, TagsFollowTheLinesOfAReplacedText) {
    TEDITSection s("Main Routine", "");
    s.AddConverted("Exsr(A)", "A0001C                     EXSR A", 0);
    s.AddConverted("Exsr(B)", "A0002C                     EXSR B", 1);
    s.AddConverted("Exsr(C)", "A0003C                     EXSR C", 2);
    // A line inserted before the others, B edited, C as it was.
    EXPECT_EQ(LineTagsFor(s, {"Exsr(NEW)", "Exsr(A)", "Exsr(B2)", "Exsr(C)"}),
              (StringList{"", "A0001", "A0002", "A0003"}));
    // Lines whose origins were dropped carry no tags.
    s.DropOrigins();
    EXPECT_EQ(LineTagsFor(s, s.LineTexts()), (StringList{"", "", ""}));
}
