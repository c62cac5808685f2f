// Import of source members through the conversion library into the program document.

#include "ImportFixture.h"

#include "rpgprogram/RoundTripCheck.h"

#include "platform/SafeSave.h"
#include "support/ShownIn.h"

using orvale::Prompter;
using orvale::ScriptedPrompter;
using orvale::test::ShownIn;
using namespace orvale::test;

namespace {

const std::string kHeader = SpecLine('H', {{15, "1"}});
const std::string kDisk = SpecLine('F', {{7, "CUSTMAST"}, {15, "IF  E"}, {31, "K"}, {40, "DISK"}});
const std::string kPrinter =
    SpecLine('F', {{7, "QSYSPRT O   F"}, {24, "132"}, {33, "OF"}, {40, "PRINTER"}});
const std::string kTable = SpecLine('E', {{27, "TABMTH  6  12  3"}, {58, "months"}});
const std::string kInput = SpecLine('I', {{7, "DS1"}, {19, "DS"}});
const std::string kExsr = SpecLine('C', {{28, "EXSR"}, {33, "SR1"}});
const std::string kSeton = SpecLine('C', {{28, "SETON"}, {54, "  LR"}});
const std::string kEndsr = SpecLine('C', {{28, "ENDSR"}});

std::string Begsr(const std::string& name) {
    return SpecLine('C', {{18, name}, {28, "BEGSR"}});
}

StringList FullMember() {
    return {kHeader,
            kDisk,
            kPrinter,
            kTable,
            kInput,
            kExsr,
            kSeton,
            Begsr("SR1"),
            kSeton,
            kEndsr,
            Begsr("*INZSR"),
            kEndsr,
            Begsr("*inzsr"),
            kEndsr,
            SpecLine('O', {{7, "QSYSPRT H  1 03"}, {24, "1P"}}),
            SpecLine('O', {{42, "10"}, {45, "'FIRST'"}}),
            SpecLine('O', {{7, "QSYSPRT E"}, {32, "TAIL"}}),
            SpecLine('O', {{42, "10"}, {45, "'SECOND'"}}),
            "**",
            "JANFEBMARAPRMAYJUN",
            "JULAUGSEPOCTNOVDEC"};
}

// Records what the import shows and cancels at one of its steps.
class RecordingProgress : public orvale::ImportProgress {
public:
    explicit RecordingProgress(TRPGProgram& doc, int cancelAtStep = -1)
        : Doc(doc), CancelAtStep(cancelAtStep) {}
    void SetMaximum(int maximum) override { Maximum = maximum; }
    void SetPosition(int position) override { Positions.push_back(position); }
    void SetCaption(const std::string& caption) override { Captions.push_back(caption); }
    void ProcessMessages() override {
        if (++Steps == CancelAtStep)
            Doc.ImportCancelled = true;
    }

    TRPGProgram& Doc;
    int CancelAtStep;
    int Maximum = -1;
    int Steps = 0;
    std::vector<int> Positions;
    std::vector<std::string> Captions;
};

using ImportTest = ImportFixture;

} // namespace

TEST_F(ImportTest, EachSpecificationGoesToItsSection) {
    Doc.LogAdd = true;
    StringList member = FullMember();
    RecordingProgress progress(Doc);
    ASSERT_TRUE(Doc.ImportFromFile(Write("MEMBER.RP3", member), ShownIn(Box), &progress));

    EXPECT_EQ(Doc.HeaderSection.CompiledTexts(), StringList{kHeader});
    EXPECT_EQ(Doc.LogicalSection.CompiledTexts(), StringList{kDisk});
    EXPECT_EQ(Doc.PrinterSection.CompiledTexts(), StringList{kPrinter});
    EXPECT_EQ(Doc.ExtensionSection.CompiledTexts(), StringList{kTable});
    EXPECT_EQ(Doc.InputSection.CompiledTexts(), StringList{kInput});
    EXPECT_EQ(Doc.MainRoutineSection.CompiledTexts(), (StringList{kExsr, kSeton}));
    // Only the exact name is the initialisation subroutine.
    EXPECT_EQ(Doc.InitSubRoutineSection.CompiledTexts(), (StringList{Begsr("*INZSR"), kEndsr}));
    EXPECT_EQ(Children(Doc.SubRoutinesNode), (std::vector<std::string>{"SR1", "*inzsr"}));
    EXPECT_EQ(Child(Doc.SubRoutinesNode, 0)->LinesCount(), 3);
    // Two groups of one file: two sections, each with its own lines.
    ASSERT_EQ(Children(Doc.OutputNode), (std::vector<std::string>{"QSYSPRT", "QSYSPRT"}));
    EXPECT_TRUE(Holds(*Child(Doc.OutputNode, 0), "FIRST"));
    EXPECT_FALSE(Holds(*Child(Doc.OutputNode, 0), "SECOND"));
    EXPECT_TRUE(Holds(*Child(Doc.OutputNode, 1), "SECOND"));
    ASSERT_EQ(Children(Doc.ArraysNode), std::vector<std::string>{"TABMTH"});
    EXPECT_EQ(Child(Doc.ArraysNode, 0)->LineTexts(), (StringList{member[19], member[20]}));
    EXPECT_EQ(Doc.ArraysNode->Child(0)->ImageIndex, 20);
    EXPECT_EQ(Doc.OutputNode->Child(0)->ImageIndex, 19);

    // Default properties, the folder operations' own history entries, then the import's.
    EXPECT_EQ(Doc.PropertySection.LinesCount(), 13);
    EXPECT_EQ(Doc.PropertySection.GetLine(1), "Name=MEMBER.RPG");
    ASSERT_EQ(Doc.HistorySection.LinesCount(), 6);
    EXPECT_TRUE(Doc.HistorySection.GetLine(0).starts_with("SR1,Add,USER1,"));
    const std::string& converted = Doc.HistorySection.GetLine(5);
    EXPECT_TRUE(converted.starts_with("MEMBER.RPG,Converted,USER1,")) << converted;
    EXPECT_TRUE(converted.ends_with(",")) << converted;

    EXPECT_EQ(Doc.FileName, "MEMBER.RPG");
    EXPECT_EQ(Doc.FilePath, Dir.Path() + "/");
    EXPECT_TRUE(Doc.Opened && Doc.Modified && !Doc.Closing);
    EXPECT_TRUE(Doc.SourceLines.empty() && Doc.SaveLines.empty());
    EXPECT_EQ(View.GridRows, 13);

    // The bar runs to the member's length; the label shows the same index.
    EXPECT_EQ(progress.Maximum, static_cast<int>(member.size()));
    ASSERT_FALSE(progress.Positions.empty());
    EXPECT_TRUE(std::is_sorted(progress.Positions.begin(), progress.Positions.end()));
    EXPECT_EQ(progress.Positions.back(), static_cast<int>(member.size()));
    EXPECT_EQ(progress.Captions.back(), std::to_string(member.size()));
}

TEST_F(ImportTest, EmptyMemberGetsOnlyDefaultsAndHistory) {
    ASSERT_TRUE(Import({}, "EMPTY.RP3"));
    EXPECT_EQ(Doc.PropertySection.GetLine(3), "Source Mbr=EMPTY");
    ASSERT_EQ(Doc.HistorySection.LinesCount(), 1);
    for (TreeNode* n = Doc.Tree.First(); n; n = TProgramTree::Next(n)) {
        TEDITSection* s = n->Section();
        if (s && s != &Doc.PropertySection && s != &Doc.HistorySection) {
            EXPECT_EQ(s->LinesCount(), 0) << n->Text;
        }
    }
}

// A member that ends right after its files: the passes end there, nothing is reported, and
// every later section stays empty.
TEST_F(ImportTest, MemberOfHeaderAndFilesOnly) {
    ASSERT_TRUE(Import({kHeader, kDisk, kPrinter}));
    EXPECT_TRUE(Box.Messages.empty());
    EXPECT_EQ(Doc.HeaderSection.CompiledTexts(), StringList{kHeader});
    EXPECT_EQ(Doc.LogicalSection.CompiledTexts(), StringList{kDisk});
    EXPECT_EQ(Doc.PrinterSection.CompiledTexts(), StringList{kPrinter});
    EXPECT_EQ(Doc.ExtensionSection.LinesCount(), 0);
    EXPECT_EQ(Doc.MainRoutineSection.LinesCount(), 0);
    EXPECT_EQ(Doc.ArraysNode->Count(), 0);
    EXPECT_EQ(Doc.OutputNode->Count(), 0);
}

TEST_F(ImportTest, CancelDuringCalculationsKeepsWhatWasConverted) {
    // Header, files, extension skip, line counter, input: five steps; the sixth is the
    // calculation call.
    RecordingProgress progress(Doc, 6);
    Doc.ImportFromFile(Write("MEMBER.RP3", FullMember()), ShownIn(Box), &progress);
    EXPECT_TRUE(Doc.ImportCancelled);
    EXPECT_EQ(Doc.MainRoutineSection.LinesCount(), 2);
    EXPECT_EQ(Doc.SubRoutinesNode->Count(), 0);
    EXPECT_EQ(Doc.OutputNode->Count(), 0);
    EXPECT_EQ(Doc.ArraysNode->Count(), 0);
    EXPECT_EQ(Doc.ExtensionSection.LinesCount(), 0);
    EXPECT_EQ(Doc.PropertySection.LinesCount(), 13);
    EXPECT_EQ(Doc.HistorySection.LinesCount(), 1);
}

TEST_F(ImportTest, RefusedMembers) {
    EXPECT_FALSE(Import({kHeader}, "MEMBER.TXT"));
    EXPECT_EQ(
        Box.Messages,
        (std::vector<ScriptedPrompter::Shown>{
            {Prompter::Kind::Error, "ERROR: Version not supported!", Prompter::Buttons::Ok, {}}}));
    EXPECT_EQ(Doc.HeaderSection.LinesCount(), 0);
    EXPECT_TRUE(Doc.Modified);
    EXPECT_EQ(Doc.FileName, "MEMBER.RPG");

    TRPGProgram fresh(Box);
    Box.Clear();
    EXPECT_FALSE(fresh.ImportFromFile(Dir.File("MISSING.RP3"), ShownIn(Box)));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_NE(Box.Messages[0].Text.find("MISSING.RP3"), std::string::npos);
    EXPECT_FALSE(fresh.Opened);

    // A zero byte would end the member's text there, and the lines after it would be missing.
    Box.Clear();
    std::string path = Dir.File("ZERO.RP3");
    ASSERT_TRUE(orvale::WriteFileSafely(path, kHeader + "\r\n" + kSeton + "\r\nAB" +
                                                  std::string(1, '\0') + "CD\r\n" + kSeton));
    TRPGProgram zero(Box);
    EXPECT_FALSE(zero.ImportFromFile(path, ShownIn(Box)));
    EXPECT_EQ(Box.Messages,
              (std::vector<ScriptedPrompter::Shown>{
                  {Prompter::Kind::Error,
                   "ERROR: ZERO.RP3 holds a zero byte in line 3: a source member is text, and "
                   "the lines after it would be lost!",
                   Prompter::Buttons::Ok,
                   {}}}));
    EXPECT_FALSE(zero.Opened);
    EXPECT_EQ(zero.HeaderSection.LinesCount(), 0);
}

// A line no walk takes as a specification is kept as written among the lines around it and
// reported, and the rest is converted; the compile-time data is found behind it.
TEST_F(ImportTest, ALineNoWalkTakesIsKeptInItsPlaceAndTheRestIsConverted) {
    StringList member{kDisk,
                      kTable,
                      kExsr,
                      kSeton,
                      "     X  not an RPG III line",
                      kSeton,
                      "**",
                      "JANFEBMARAPRMAYJUN"};
    ASSERT_TRUE(Import(member));
    EXPECT_EQ(Doc.LogicalSection.CompiledTexts(), StringList{kDisk});
    // It stays with the lines around it, as a raw line, and comes back as it was.
    EXPECT_EQ(Doc.MainRoutineSection.CompiledTexts(),
              (StringList{kExsr, kSeton, "     X  not an RPG III line", kSeton}));
    EXPECT_EQ(Doc.MainRoutineSection.LineTexts()[2], "RPG(X  not an RPG III line)");
    EXPECT_EQ(Doc.ExtensionSection.CompiledTexts(), StringList{kTable});
    ASSERT_EQ(Doc.ArraysNode->Count(), 1);
    EXPECT_EQ(Child(Doc.ArraysNode, 0)->LineTexts(), StringList{"JANFEBMARAPRMAYJUN"});
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].BoxKind, Prompter::Kind::Warning);
    EXPECT_EQ(Box.Messages[0].Text, "WARNING: 1 line is not an RPG III specification and is "
                                    "kept as written (the first is line 5)!");
}

// An extension line after the calculations is out of the order of the forms: it stays where it
// stood as written, and the data block its table would take is carried as written too.
TEST_F(ImportTest, AnExtensionLineAfterTheCalculationsStaysWhereItStood) {
    const std::string second = SpecLine('E', {{27, "TABDAY  7   7  3"}});
    StringList member{kTable,
                      kSeton,
                      second,
                      "**",
                      "JANFEBMARAPRMAYJUN",
                      "JULAUGSEPOCTNOVDEC",
                      "** ",
                      "MONTUEWEDTHUFRISATSUN"};
    std::string path = Write("RUNS.RP3", member);
    ASSERT_TRUE(Doc.ImportFromFile(path, ShownIn(Box)));
    EXPECT_EQ(Doc.ExtensionSection.CompiledTexts(), StringList{kTable});
    EXPECT_EQ(Doc.MainRoutineSection.CompiledTexts(), (StringList{kSeton, second}));
    ASSERT_EQ(Doc.ArraysNode->Count(), 2);
    EXPECT_EQ(Doc.ArraysNode->Child(0)->Text, "TABMTH");
    EXPECT_EQ(Doc.ArraysNode->Child(1)->Text, "**");
    EXPECT_EQ(Child(Doc.ArraysNode, 1)->LineTexts(), StringList{"MONTUEWEDTHUFRISATSUN"});
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].Text,
              "WARNING: A specification line is out of the order of the forms and is kept as "
              "written where it stands (line 3, form E after form C)!");
}

// A name the walk returns goes to the section just added, even when another section has the
// same name (an output file named like the subroutine).
TEST_F(ImportTest, NewSubroutineIsFilledEvenWhenAnOutputHasItsName) {
    StringList member{SpecLine('C', {{28, "EXSR"}, {33, "PRTF"}}), Begsr("PRTF"), kEndsr,
                      SpecLine('O', {{7, "PRTF    E"}, {32, "HEAD"}}),
                      SpecLine('O', {{42, "10"}, {45, "'X'"}})};
    ASSERT_TRUE(Import(member));
    ASSERT_EQ(Doc.SubRoutinesNode->Count(), 1);
    EXPECT_EQ(Child(Doc.SubRoutinesNode, 0)->CompiledTexts(), (StringList{Begsr("PRTF"), kEndsr}));
    EXPECT_EQ(Child(Doc.OutputNode, 0)->CompiledTexts(), (StringList{member[3], member[4]}));
}

// Compile-time data whose tables are declared elsewhere (a copied member) is carried whole.
TEST_F(ImportTest, DataWithoutExtensionLinesIsKept) {
    StringList member{kSeton, "**", "FIRST RECORD", "SECOND RECORD"};
    std::string path = Write("DATA.RP3", member);
    ASSERT_TRUE(Doc.ImportFromFile(path, ShownIn(Box)));
    ASSERT_EQ(Doc.ArraysNode->Count(), 1);
    EXPECT_EQ(Child(Doc.ArraysNode, 0)->LineTexts(), (StringList{"FIRST RECORD", "SECOND RECORD"}));
    TRoundTripReport report = CheckMemberRoundTrip(path, "&%", 2, Box);
    EXPECT_TRUE(report.Passed());
    EXPECT_EQ(report.Lines, 4);
}

// A program whose saved text is not kept is written section by section; the file is the same.
TEST_F(ImportTest, SavedFileDoesNotDependOnKeepingItsText) {
    ASSERT_TRUE(Import(FullMember()));
    ASSERT_TRUE(Doc.SaveToFile(Dir.File("KEPT.RPG")));
    Doc.SetUndoOptions(true, true, false);
    ASSERT_TRUE(Doc.SaveToFile(Dir.File("STREAMED.RPG")));
    EXPECT_TRUE(Doc.SaveLines.empty());
    std::string kept, streamed;
    ASSERT_TRUE(orvale::ReadFileBytes(Dir.File("KEPT.RPG"), kept));
    ASSERT_TRUE(orvale::ReadFileBytes(Dir.File("STREAMED.RPG"), streamed));
    EXPECT_EQ(streamed, kept);
    EXPECT_NE(kept.find("[Begin Of Compiled Section]"), std::string::npos);

    // A streamed save that cannot be written is reported, and the file stays as it was.
    Box.Clear();
    {
        orvale::test::FileSizeLimit limit(4096);
        EXPECT_FALSE(Doc.SaveToFile(Dir.File("KEPT.RPG")));
    }
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_NE(Box.Messages[0].Text.find("KEPT.RPG"), std::string::npos);
    std::string after;
    ASSERT_TRUE(orvale::ReadFileBytes(Dir.File("KEPT.RPG"), after));
    EXPECT_EQ(after, kept);
}

namespace {

// Every origin of the program, section by section, as "section ordinal hash text".
StringList OriginList(const TRPGProgram& doc) {
    StringList out;
    for (TreeNode* n = doc.Tree.First(); n; n = TProgramTree::Next(n)) {
        const TEDITSection* s = n->Section();
        if (!s)
            continue;
        auto add = [&](const LineOrigin& o) {
            if (o.Has())
                out.push_back(s->Properties.Name + " " + std::to_string(o.Ordinal) + " " +
                              std::to_string(o.Statement) + " " + o.Text);
        };
        add(s->HeadOrigin);
        for (const SectionLine& line : s->Lines())
            add(line.Origin);
    }
    return out;
}

} // namespace

// The import gives each statement the member line it came from, whichever walk took it (lines
// carried raw, extension lines of several runs walked as one, array data); reading the saved
// program back gives the same origins whether its file text is kept or not.
TEST_F(ImportTest, EveryMemberLineIsTheOriginOfItsStatement) {
    StringList member = FullMember();
    member.insert(member.begin() + 5, SpecLine('E', {{27, "TABDAY  7   7  3"}}));
    member.insert(member.begin() + 7, "     X  not an RPG III line");
    member.push_back("** ");
    member.push_back("MONTUEWEDTHUFRISATSUN");
    ASSERT_TRUE(Import(member));

    StringList origins = OriginList(Doc);
    std::vector<int> uses(member.size());
    for (TreeNode* n = Doc.Tree.First(); n; n = TProgramTree::Next(n)) {
        const TEDITSection* s = n->Section();
        if (!s)
            continue;
        std::vector<LineOrigin> all;
        for (const SectionLine& line : s->Lines())
            all.push_back(line.Origin);
        all.push_back(s->HeadOrigin);
        for (const LineOrigin& o : all) {
            if (!o.Has())
                continue;
            ASSERT_LT(static_cast<size_t>(o.Ordinal), member.size());
            EXPECT_EQ(o.Text, member[static_cast<size_t>(o.Ordinal)]) << o.Ordinal;
            ++uses[static_cast<size_t>(o.Ordinal)];
        }
        EXPECT_FALSE(s->OriginTextsPending) << s->Properties.Name;
    }
    EXPECT_EQ(uses, std::vector<int>(member.size(), 1));

    std::string path = Dir.File("MEMBER.RPG");
    ASSERT_TRUE(Doc.SaveToFile(path));
    for (bool keep : {true, false}) {
        ScriptedPrompter box;
        TRPGProgram loaded(box);
        loaded.FormGenRPG = &Form;
        loaded.KeepOpen = keep;
        ASSERT_TRUE(loaded.LoadFromFile(path, ShownIn(Box)));
        EXPECT_EQ(OriginList(loaded), origins) << "file text kept: " << keep;
        EXPECT_TRUE(box.Messages.empty());
    }
}
