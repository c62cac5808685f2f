#include "calvex/TableStatement.h"

#include <gtest/gtest.h>

using namespace calvex;

namespace {

ResultLine Compile(StringList params, char formType) {
    return CompileTableStatement(params, formType);
}

std::string Cols(const std::string& line, int from, int to) {
    return line.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1));
}

} // namespace

TEST(TableStatement, PlacesParametersIntoTheirFields) {
    ResultLine r =
        Compile({"FILE", "CUSTMAST", "DISK", "I", "F", "E", "K", "A", "", "80", "", "", "I"}, 'F');
    ASSERT_FALSE(r.Error) << r.Text;
    ASSERT_EQ(r.Text.size(), 80u);
    EXPECT_EQ(Cols(r.Text, 1, 6), "     F");
    EXPECT_EQ(Cols(r.Text, 7, 19), "CUSTMASTIF  E");
    EXPECT_EQ(Cols(r.Text, 24, 27), "  80");
    EXPECT_EQ(Cols(r.Text, 31, 32), "KI");
    EXPECT_EQ(Cols(r.Text, 40, 46), "DISK   ");
    EXPECT_EQ(Cols(r.Text, 66, 66), "A");
}

TEST(TableStatement, FixedEntriesOverwriteWhatAParameterPutThere) {
    // FilePrn has no parameter for the device; Rename writes its keyword after the names.
    ResultLine r = Compile({"FILEPRN", "QSYSPRT", "F", "", "132", "OF"}, 'F');
    EXPECT_EQ(Cols(r.Text, 7, 19), "QSYSPRT O   F");
    EXPECT_EQ(Cols(r.Text, 40, 46), "PRINTER");
    EXPECT_EQ(Cols(r.Text, 33, 34), "OF");
    r = Compile({"RENAME", "RCUST", "CUSTR"}, 'F');
    EXPECT_EQ(Cols(r.Text, 19, 28), "RCUST     ");
    EXPECT_EQ(Cols(r.Text, 53, 67), "KRENAMECUSTR   ");
    r = Compile({"SFRECNO", "SFL01", "RRN"}, 'F');
    EXPECT_EQ(Cols(r.Text, 47, 67), "RRN   KSFILE SFL01   ");
    // An AND line of the input specifications keeps "AND" in columns 14-16.
    r = Compile({"ANDREC", "12", "", "C", "X"}, 'I');
    EXPECT_EQ(Cols(r.Text, 14, 27), "AND      12 CX");
}

TEST(TableStatement, NameAndCountChecks) {
    EXPECT_EQ(Compile({"ADD", "A"}, 'F').Text, "**ERROR: Invalid operating code!");
    EXPECT_EQ(Compile({"SQL", "F X"}, 'F').Text, "**ERROR: Invalid operating code!");
    ResultLine r = Compile({"FILE", "X"}, 'E');
    EXPECT_EQ(r.Text, "**ERROR: Operating code not allowed for this section!");
    EXPECT_TRUE(r.Error);
    EXPECT_EQ(Compile({"IGNORE", "A", "B"}, 'F').Text, "**ERROR: Too many params!");
    // Exactly the declared count is fine; a name written in any case is found.
    EXPECT_FALSE(Compile({"IGNORE", "A"}, 'F').Error);
}

TEST(TableStatement, IntegerParameters) {
    ResultLine r = Compile({"FILE", "X", "", "", "", "", "", "", "", "12A"}, 'F');
    EXPECT_EQ(r.Text, "**ERROR: Param N.9 must be of integer type!");
    EXPECT_TRUE(r.Error);
    // A later integer error replaces the earlier message; the loop goes on after one.
    r = Compile({"TAB", "TABA", "X", "Y"}, 'E');
    EXPECT_EQ(r.Text, "**ERROR: Param N.3 must be of integer type!");
    r = Compile({"TAB", "TABA", "1", "-"}, 'E');
    EXPECT_EQ(r.Text, "**ERROR: Param N.3 must be of integer type!");
    // A sign stays in front of the number, right-justified.
    r = Compile({"LINECOUNT", "QPRINT", "+66", "FL"}, 'L');
    EXPECT_EQ(Cols(r.Text, 15, 19), "+66FL");
}

TEST(TableStatement, TooLongParameters) {
    EXPECT_EQ(Compile({"FILE", "CUSTMASTX"}, 'F').Text, "**ERROR: Param N.1 too long!");
    EXPECT_EQ(Compile({"FILE", "X", "", "", "", "", "", "", "", "12345"}, 'F').Text,
              "**ERROR: Param N.9 too long!");
    // Once a statement failed, a later truncation does not replace the message.
    EXPECT_EQ(Compile({"FILE", "X", "", "", "", "", "", "", "", "1X", "123456"}, 'F').Text,
              "**ERROR: Param N.9 must be of integer type!");
}

TEST(TableStatement, ElementNotationOfInputAndOutput) {
    ResultLine r = Compile({"FIELD", "ARR[5]", "1", "10"}, 'I');
    EXPECT_EQ(Cols(r.Text, 53, 58), "ARR,5 ");
    r = Compile({"LFIELD", "TOT[IX]", "60"}, 'O');
    EXPECT_EQ(Cols(r.Text, 32, 37), "TOT,IX");
    EXPECT_EQ(Compile({"FIELD", "X[1,1,5"}, 'I').Text, "**ERROR: Bad parameter!");
    EXPECT_EQ(Compile({"LFIELD", "X]1["}, 'O').Text, "**ERROR: Bad parameter!");
    // The file statements take brackets as they are.
    EXPECT_EQ(Cols(Compile({"FILE", "A[1]"}, 'F').Text, 7, 14), "A[1]    ");
}

TEST(TableStatement, OutputPositionsAndIndicators) {
    ResultLine r = Compile({"LFIELD", "AMT", "60", "1", "", "", "", "01"}, 'O');
    EXPECT_EQ(Cols(r.Text, 23, 25), " 01");
    EXPECT_EQ(Cols(r.Text, 38, 43), "1   60");
    r = Compile({"LCONST", "'A,B'", "+5", "N99"}, 'O');
    EXPECT_EQ(Cols(r.Text, 40, 47), "+  5 'A,");
    EXPECT_EQ(Cols(r.Text, 23, 25), "N99");
    EXPECT_EQ(Cols(Compile({"LCONST", "'X'", "-3"}, 'O').Text, 40, 43), "-  3");
    EXPECT_EQ(Cols(Compile({"LCONST", "'X'", "- 12"}, 'O').Text, 40, 43), "- 12");
    EXPECT_EQ(Compile({"LCONST", "'X'", "+A"}, 'O').Text,
              "**ERROR: Param N.2 must be of integer type!");
    r = Compile({"DETLINE", "F", "1", "", "03", "", "1P"}, 'O');
    EXPECT_EQ(Cols(r.Text, 15, 25), "DF1 03   1P");
}

TEST(TableStatement, SpecialLinesGoToTheLineCheck) {
    EXPECT_EQ(Compile({"RPG", "I  X"}, 'I').Text, "     I  X");
    EXPECT_EQ(Compile({"RPG", ""}, 'O').Text,
              "      **WARNING: RPG Line is void. Line was ignored");
    EXPECT_EQ(Compile({"# /EJECT"}, 'F').Text, "     F/EJECT");
    EXPECT_EQ(Compile({"/* note"}, 'E').Text, "     E* note");
}
