#include "tessary/StatementPrompt.h"

#include "calvex/SpecKeywordTable.h"
#include "platform/SafeSave.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>

using namespace tessary;
using orvale::test::TempDir;

namespace {

// The shipped files, as a program directory holds them.
const std::string DataDir = ORVALE_SOURCE_DIR "/data";

} // namespace

TEST(StatementFile, EveryStatementOfTheTableIsNamedAndExplained) {
    orvale::ProfileFile file(StatementFilePath(DataDir));
    ASSERT_TRUE(file.Load());
    std::vector<TStatementForm> forms = StatementForms(file);
    ASSERT_EQ(forms.size(), calvex::SpecKeywordTable::Instance().Entries().size());
    for (const TStatementForm& form : forms) {
        EXPECT_FALSE(form.Description.empty()) << form.Name;
        const calvex::KeywordEntry* entry = calvex::SpecKeywordTable::Instance().Find(form.Name);
        ASSERT_NE(entry, nullptr);
        ASSERT_EQ(form.Params.size(), static_cast<size_t>(entry->ParamCount)) << form.Name;
        for (size_t i = 0; i < form.Params.size(); ++i) {
            const TStatementParam& p = form.Params[i];
            // A name the file lacks would read "Field F01".
            EXPECT_FALSE(std::regex_match(p.Name, std::regex("Field [FELIO][0-9][0-9]")))
                << form.Name << " " << i + 1;
            EXPECT_FALSE(p.Note.empty()) << form.Name << " " << p.Name;
            EXPECT_GE(p.Length, 1) << form.Name << " " << p.Name;
            EXPECT_EQ(p.Last - p.First + 1, p.Length) << form.Name << " " << p.Name;
        }
    }
}

TEST(StatementPrompt, AFileStatementIsPromptedByItsFields) {
    TPromptRows rows = PrepareStatementPrompt(DataDir, 'F', "File(CUSTMAST,DISK,I,F,E)");
    EXPECT_EQ(rows.Code, "File");
    EXPECT_EQ(rows.Caption, "Prompt Help - FILE  File description");
    EXPECT_TRUE(rows.Warning.empty());
    ASSERT_EQ(rows.Names.size(), 19u);
    EXPECT_EQ(rows.Names[0], "File Name");
    EXPECT_EQ(rows.Names[1], "Device");
    EXPECT_EQ(rows.Lengths[0], "8");
    EXPECT_EQ(rows.Lengths[1], "7");
    EXPECT_EQ(rows.Lengths[8], "4"); // record length, columns 24-27
    EXPECT_NE(rows.Notes[0].find("(columns 7-14)"), std::string::npos) << rows.Notes[0];
    EXPECT_EQ(rows.Values, (StringList{"CUSTMAST", "DISK", "I", "F", "E"}));
    EXPECT_EQ(PromptResult(rows, {"CUSTMAST", "DISK", "U", "F", "E"}),
              "File(CUSTMAST, DISK, U, F, E)");

    // The file's own names for a statement whose fields mean something of their own.
    TPromptRows rename = PrepareStatementPrompt(DataDir, 'F', "Rename(CUSFMT,CUSREC)");
    EXPECT_EQ(rename.Names, (StringList{"Record Format", "New Name"}));
    EXPECT_EQ(rename.Lengths, (StringList{"10", "8"}));
}

TEST(StatementPrompt, EverySectionPromptsItsOwnStatements) {
    struct Case {
        char FormType;
        const char* Text;
        size_t Rows;
        const char* FirstName;
    };
    for (const Case& c : {Case{'E', "Array(ARR,,10,5)", 11, "Array Name"},
                          Case{'E', "Tab(TABA,1,12,3)", 12, "Table Name"},
                          Case{'E', "FileArray(INF,,ARR)", 14, "From File"},
                          Case{'L', "LineCount(QPRINT,66,FL,60,OL)", 5, "File Name"},
                          Case{'I', "DS(DBERR,,,,,256)", 6, "DS Name"},
                          Case{'I', "Field(DBFILE,134,141)", 9, "Field Name"},
                          Case{'I', "Const(MAXREC,C,'9999')", 3, "Constant Name"},
                          Case{'O', "OutBegin(QPRINT,D)", 11, "File Name"},
                          Case{'O', "LField(TOTAL,80,1)", 9, "Field Name"},
                          Case{'F', "FilePrn(QPRINT,F,,132,OF)", 15, "File Name"}}) {
        TPromptRows rows = PrepareStatementPrompt(DataDir, c.FormType, c.Text);
        EXPECT_TRUE(rows.Warning.empty()) << c.Text << ": " << rows.Warning;
        ASSERT_EQ(rows.Names.size(), c.Rows) << c.Text;
        EXPECT_EQ(rows.Names[0], c.FirstName) << c.Text;
    }
}

TEST(StatementPrompt, AStatementOutOfItsSectionOrUnknownSaysSo) {
    TPromptRows field = PrepareStatementPrompt(DataDir, 'F', "Field(A,1,2)");
    EXPECT_EQ(field.Warning,
              "FIELD is a statement of the input section: the file section refuses it.");
    EXPECT_EQ(field.Names.size(), 9u);

    TPromptRows unknown = PrepareStatementPrompt(DataDir, 'L', "Lines(QPRINT,66)");
    EXPECT_EQ(unknown.Warning,
              "LINES is not a statement of the line-counter section; its statements are "
              "LINECOUNT.");
    // What the line held stays, one plain row per value.
    EXPECT_EQ(unknown.Names, (StringList{"Parameter 1", "Parameter 2"}));
    EXPECT_EQ(PromptResult(unknown, unknown.Values), "Lines(QPRINT, 66)");

    TPromptRows header = PrepareStatementPrompt(DataDir, 'H', "File(X)");
    EXPECT_EQ(header.Warning,
              "FILE is a statement of the file section: the header section refuses it.");
}

TEST(StatementPrompt, AnUnknownOperationCodeKeepsItsNameAndSaysItIsUnknown) {
    TPromptRows rows = PrepareStatementPrompt(DataDir, 'C', "Zadd(1,X)");
    EXPECT_EQ(rows.Code, "Zadd");
    EXPECT_EQ(rows.Caption, "Prompt Help - ZADD  Unknown operation code");
    EXPECT_NE(rows.Warning.find("ZADD is not an operation code"), std::string::npos);
    EXPECT_EQ(rows.Names.size(), 9u); // every calculation field
    EXPECT_EQ(PromptResult(rows, {"1", "X"}), "Zadd(1, X)");

    // A known code, and one known only by its group, prompt without a word of warning.
    for (const char* text : {"Z-ADD(0,X)", "ifeq(A,B)", "Chain(K,F)"})
        EXPECT_TRUE(PrepareStatementPrompt(DataDir, 'C', text).Warning.empty()) << text;
}

TEST(StatementPrompt, ARawLineIsOneValueKeptAsItStands) {
    TPromptRows rows = PrepareStatementPrompt(DataDir, 'H', "RPG(H  1  , X)");
    EXPECT_TRUE(rows.Raw);
    EXPECT_EQ(rows.Values, (StringList{"H  1  , X"}));
    EXPECT_EQ(rows.Lengths, (StringList{"69"}));
    EXPECT_EQ(PromptResult(rows, {"H  2  , X"}), "RPG(H  2  , X)");
}

TEST(StatementPrompt, ACommaOrParenthesisInALiteralStaysInItsValue) {
    TPromptRows rows = PrepareStatementPrompt(DataDir, 'O', "LConst('TOTAL: 1,000 (net)',80)");
    EXPECT_EQ(rows.Values, (StringList{"'TOTAL: 1,000 (net)'", "80"}));
    EXPECT_EQ(ParsePromptText("LCONST(\"say \\\"a,b\\\"\",9)").Values,
              (StringList{"\"say \\\"a,b\\\"\"", "9"}));
    // The values come back as they were, the literal whole.
    EXPECT_EQ(PromptResult(rows, rows.Values), "LConst('TOTAL: 1,000 (net)', 80)");
}

TEST(StatementPrompt, TemplatesOfTheSectionsStatements) {
    EXPECT_EQ(StatementFormat(DataDir, 'L', "linecount"),
              "LINECOUNT(File Name, Form Length, FL, Overflow Line, OL)");
    EXPECT_EQ(StatementFormat(DataDir, 'F', "LineCount"), "");
    EXPECT_EQ(StatementFormat(DataDir, 'C', "SETON"),
              "SETON(Indicator 1, Indicator 2, Indicator 3)");
}

TEST(StatementPrompt, WithoutTheStatementFileTheRowsStillFollowTheTable) {
    TempDir dir; // no PromptS.PRM there
    TPromptRows rows = PrepareStatementPrompt(dir.Path(), 'L', "LineCount(QPRINT)");
    ASSERT_EQ(rows.Names.size(), 5u);
    EXPECT_EQ(rows.Names[0], "Field L01");
    EXPECT_EQ(rows.Lengths, (StringList{"8", "3", "2", "3", "2"}));
    EXPECT_EQ(rows.Notes[1], "columns 15-17");
}
