// A member imported and built back comes back as it was, through edits, saves and reopenings;
// a program file written before line origins existed builds as it did.

#include "ImportFixture.h"

#include "rpgprogram/RoundTripCheck.h"
#include "support/ShownIn.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

using orvale::Prompter;
using orvale::test::ShownIn;
using namespace orvale::test;

namespace {

const std::string kData = ORVALE_TEST_DATA_DIR;

StringList ReadLines(const std::string& path) {
    StringList lines;
    EXPECT_TRUE(orvale::ReadTextFile(path, lines)) << path;
    return lines;
}

// The built member without the banner lines the build adds.
StringList WithoutBanners(const StringList& built) {
    StringList kept;
    for (const std::string& line : built)
        if (!calvex::IsAddedBanner(line, "&%"))
            kept.push_back(line);
    return kept;
}

class MemberComesBack : public ImportFixture {
protected:
    // Every origin of the program, as "section ordinal text".
    static StringList OriginsOf(const TRPGProgram& doc) {
        StringList origins;
        doc.ForEachNode([&](TreeNode* n) {
            if (const TEDITSection* s = n->Section())
                for (int k = 0; k < s->LinesCount(); ++k)
                    if (const LineOrigin* o = s->OriginAt(k))
                        origins.push_back(n->Text + " " + std::to_string(o->Ordinal) + " " +
                                          o->Text);
            return true;
        });
        return origins;
    }
    StringList Build(TRPGProgram& doc, bool all = true) {
        doc.CompileAllSections(all);
        doc.AssembleSource();
        return WithoutBanners(doc.NameList);
    }
    TEDITSection& SubRoutine(const std::string& name) {
        for (int k = 0; k < Doc.SubRoutinesNode->Count(); ++k)
            if (Doc.SubRoutinesNode->Child(k)->Text == name)
                return *Doc.SubRoutinesNode->Child(k)->Section();
        ADD_FAILURE() << name;
        return Doc.MainRoutineSection;
    }
    // Indexes of the lines that differ, the two lists being of one length.
    static std::vector<size_t> Changed(const StringList& a, const StringList& b) {
        std::vector<size_t> changed;
        EXPECT_EQ(a.size(), b.size());
        for (size_t k = 0; k < std::min(a.size(), b.size()); ++k)
            if (a[k] != b[k])
                changed.push_back(k);
        return changed;
    }
};

} // namespace

TEST_F(MemberComesBack, EveryColumnAndThePlaceOfEverySection) {
    StringList member = ReadLines(kData + "/ORDENTRY.RP3");
    ASSERT_TRUE(Doc.ImportFromFile(kData + "/ORDENTRY.RP3", ShownIn(Box)));
    // The display file listed first does not take the disk files; *INZSR has its section.
    EXPECT_EQ(Doc.DisplaySection.LinesCount(), 1);
    EXPECT_EQ(Doc.LogicalSection.LinesCount(), 2);
    EXPECT_GT(Doc.InitSubRoutineSection.LinesCount(), 0);
    EXPECT_EQ(Build(Doc), member);
    // With the banner options off the build adds no line at all (the comment-lines option
    // also leaves out the member's comments, as it says).
    Form.SDesc = Form.CDate = Form.UDate = Form.LComm = false;
    Form.PrgProp = Form.PrgDesc = Form.PrgHist = Form.PreComp = false;
    Doc.CompileAllSections(true);
    Doc.AssembleSource();
    StringList code;
    std::copy_if(member.begin(), member.end(), std::back_inserter(code),
                 [](const std::string& l) { return l.size() < 7 || l[6] != '*'; });
    EXPECT_EQ(Doc.NameList, code);
}

TEST_F(MemberComesBack, EditingOneStatementChangesThatLineAlone) {
    StringList member = ReadLines(kData + "/ORDENTRY.RP3");
    ASSERT_TRUE(Doc.ImportFromFile(kData + "/ORDENTRY.RP3", ShownIn(Box)));
    TEDITSection& load = SubRoutine("LOAD");
    StringList text = load.LineTexts();
    auto zadd = std::find_if(text.begin(), text.end(),
                             [](const std::string& l) { return l.find("Z-add") != l.npos; });
    ASSERT_NE(zadd, text.end());
    size_t zaddLine = static_cast<size_t>(zadd - text.begin());
    zadd->replace(zadd->find("Z-add"), 5, "Z-sub");
    load.SetLines(text);
    StringList built = Build(Doc);
    std::vector<size_t> changed = Changed(member, built);
    ASSERT_EQ(changed.size(), 1u);
    const std::string& line = built[changed[0]];
    EXPECT_NE(line.find("Z-SUB"), line.npos) << line;
    EXPECT_EQ(load.OriginAt(static_cast<int>(zaddLine))->Text, member[changed[0]]);
    // The edited line keeps its change tag.
    EXPECT_EQ(line.substr(74), member[changed[0]].substr(74));

    // A new line gets the user's change tag, and nothing else moves.
    Form.ChangeTag = "NEW001";
    text = load.LineTexts();
    text.insert(text.begin() + 1, "Z-add(1,ORDNO)");
    load.SetLines(text);
    StringList again = Build(Doc);
    ASSERT_EQ(again.size(), member.size() + 1);
    EXPECT_EQ(std::count_if(again.begin(), again.end(),
                            [](const std::string& l) { return l.ends_with("NEW001"); }),
              1);
    Form.ChangeTagLeft = true;
    again = Build(Doc);
    EXPECT_EQ(std::count_if(again.begin(), again.end(),
                            [](const std::string& l) { return l.starts_with("NEW00C"); }),
              1);
}

TEST_F(MemberComesBack, ThroughSavesReopeningsAndTheBuiltMemberImportedAgain) {
    StringList member = ReadLines(kData + "/ORDENTRY.RP3");
    ASSERT_TRUE(Doc.ImportFromFile(kData + "/ORDENTRY.RP3", ShownIn(Box)));
    std::string program = Dir.File("ORDENTRY.RPG");
    for (bool saveComp : {true, false}) {
        SCOPED_TRACE(saveComp);
        Form.SaveComp = saveComp;
        ASSERT_TRUE(Doc.SaveToFile(program));
        TRPGProgram reopened(Box);
        reopened.FormGenRPG = &Form;
        ASSERT_TRUE(reopened.LoadFromFile(program, ShownIn(Box)));
        EXPECT_EQ(Build(reopened, false), member);
        EXPECT_EQ(Build(reopened, true), member);
    }
    // A program closed with a save keeps them too.
    Doc.MainRoutineSection.Properties.Description = "changed";
    Doc.Modified = true;
    Box.Queue(Prompter::Answer::Yes);
    ASSERT_TRUE(Doc.CloseProgram());
    TRPGProgram closed(Box);
    closed.FormGenRPG = &Form;
    ASSERT_TRUE(closed.LoadFromFile(program, ShownIn(Box)));
    EXPECT_EQ(Build(closed), member);

    // The built member, banners and all, imported and built again.
    closed.CompileAllSections(true);
    ASSERT_TRUE(closed.WriteSource(Dir.File("BUILT.RP3")));
    TRPGProgram second(Box);
    second.FormGenRPG = &Form;
    ASSERT_TRUE(second.ImportFromFile(Dir.File("BUILT.RP3"), ShownIn(Box)));
    EXPECT_EQ(Build(second), member);
    EXPECT_EQ(second.MainRoutineSection.Properties.Description, "changed");
    EXPECT_TRUE(std::none_of(Box.Messages.begin(), Box.Messages.end(), [](const auto& m) {
        return m.BoxKind != Prompter::Kind::Confirmation;
    }));
}

TEST_F(MemberComesBack, AProgramFileOfTheEarlierLayoutBuildsAsItDid) {
    // Written and built by the version before line origins: its builds are kept beside it.
    for (bool all : {true, false}) {
        SCOPED_TRACE(all);
        TRPGProgram old(Box);
        old.FormGenRPG = &Form;
        old.UserName = "USER1";
        ASSERT_TRUE(old.LoadFromFile(kData + "/legacy/ORDENTRY.RPG", ShownIn(Box)));
        EXPECT_TRUE(old.CompileAllSections(all));
        old.AssembleSource();
        EXPECT_EQ(old.NameList, ReadLines(kData + (all ? "/legacy/ORDENTRY-ALL.RP3"
                                                       : "/legacy/ORDENTRY-PLAIN.RP3")));
    }
    EXPECT_TRUE(Box.Messages.empty()) << Box.Messages.front().Text;
}

TEST_F(MemberComesBack, ADamagedOriginAreaIsReportedAndTheRestStands) {
    ASSERT_TRUE(Doc.ImportFromFile(kData + "/ORDENTRY.RP3", ShownIn(Box)));
    std::string program = Dir.File("ORDENTRY.RPG");
    ASSERT_TRUE(Doc.SaveToFile(program));
    StringList file = ReadLines(program);
    auto area = std::find(file.begin(), file.end(), OriginsMarker(kPlainOriginsVersion));
    ASSERT_NE(area, file.end());
    auto main = std::find(area, file.end(), "[Main Routine]");
    ASSERT_NE(main, file.end());
    *(main + 3) = "not an entry";
    ASSERT_TRUE(orvale::WriteTextFile(program, file));
    TRPGProgram reopened(Box);
    reopened.FormGenRPG = &Form;
    ASSERT_TRUE(reopened.LoadFromFile(program, ShownIn(Box)));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].Text, kCorruptedFileWarning);
    // The main routine lost its origins and is compiled anew; the others keep theirs.
    EXPECT_FALSE(reopened.MainRoutineSection.TracksOrigins());
    EXPECT_TRUE(reopened.LogicalSection.TracksOrigins());
    EXPECT_EQ(reopened.MainRoutineSection.LineTexts(), Doc.MainRoutineSection.LineTexts());
}

// The origin area carries its version. The first version's marker still reads; an area of a
// later version is passed over with a warning, the program opening without the origins (and
// building every line anew) rather than reading entries it cannot know.
TEST_F(MemberComesBack, TheOriginAreaIsReadByItsVersion) {
    ASSERT_TRUE(Doc.ImportFromFile(kData + "/ORDENTRY.RP3", ShownIn(Box)));
    std::string program = Dir.File("ORDENTRY.RPG");
    ASSERT_TRUE(Doc.SaveToFile(program));
    StringList file = ReadLines(program);
    auto marker = std::find(file.begin(), file.end(), "[Begin Of Line Origins, Version 2]");
    ASSERT_NE(marker, file.end());
    EXPECT_EQ(std::count(file.begin(), file.end(), "[Begin Of Line Origins]"), 0);
    Box.Clear();
    auto reopen = [&](const std::string& line, orvale::Diagnostics& found) {
        *marker = line;
        EXPECT_TRUE(orvale::WriteTextFile(program, file));
        auto doc = std::make_unique<TRPGProgram>(Box);
        doc->FormGenRPG = &Form;
        EXPECT_TRUE(doc->LoadFromFile(program, found));
        return doc;
    };

    orvale::Diagnostics first;
    auto old = reopen("[Begin Of Line Origins]", first);
    EXPECT_TRUE(first.Empty());
    EXPECT_EQ(OriginsOf(*old), OriginsOf(Doc));
    EXPECT_EQ(Build(*old), Build(Doc));

    orvale::Diagnostics later;
    auto newer = reopen("[Begin Of Line Origins, Version 4]", later);
    EXPECT_EQ(later.All(), (std::vector<orvale::Diagnostic>{
                               {orvale::Diagnostic::Kind::Warning, kNewerOriginsWarning}}));
    EXPECT_TRUE(OriginsOf(*newer).empty());
    EXPECT_EQ(newer->MainRoutineSection.LineTexts(), Doc.MainRoutineSection.LineTexts());
    // Opening shows nothing itself: what it found is the caller's to show.
    EXPECT_TRUE(Box.Messages.empty());
}

TEST_F(MemberComesBack, AnErrorLineNeverBecomesALineOfTheMember) {
    ASSERT_TRUE(Doc.ImportFromFile(kData + "/ORDENTRY.RP3", ShownIn(Box)));
    TEDITSection& load = SubRoutine("LOAD");
    StringList text = load.LineTexts();
    text.insert(text.begin() + 1, "NOSUCHOP(A)");
    load.SetLines(text);
    EXPECT_FALSE(Doc.CompileAllSections(true));
    std::string target = Dir.File("OUT.RP3");
    Box.Clear();
    EXPECT_FALSE(Doc.WriteSource(target));
    EXPECT_FALSE(orvale::FileExists(target));
    ASSERT_EQ(Box.Messages.size(), 1u);
    EXPECT_EQ(Box.Messages[0].Text, "ERROR: The RPG/400 source was not written: LOAD holds error "
                                    "lines, which would become lines of the member!");
    EXPECT_EQ(SectionsWithDiagnostics(Doc.SourceRuns(), false), StringList{"LOAD"});
}

TEST_F(MemberComesBack, ACommentOpenerInALiteralOrARawLineIsText) {
    StringList member{
        SpecLine('I', {{7, "INREC"}, {19, "NS"}}), SpecLine('I', {{44, "'A/*B'"}, {53, "CONST1"}}),
        SpecLine('C', {{18, "'A/*B'"}, {28, "MOVEL"}, {43, "FLD"}}),
        "     C* a comment /* with an opener", SpecLine('C', {{28, "SETON"}, {54, "  LR"}})};
    ASSERT_TRUE(Import(member));
    // As if every line had been edited: the statements alone must give the lines back.
    Doc.ForEachNode([](TreeNode* n) {
        if (TEDITSection* s = n->Section())
            s->DropOrigins();
        return true;
    });
    Form.SDesc = Form.CDate = Form.UDate = false;
    EXPECT_TRUE(Doc.CompileAllSections(true));
    StringList built = Build(Doc);
    for (std::string& line : built)
        line.erase(line.find_last_not_of(' ') + 1);
    EXPECT_EQ(built, member);
}

// Every real member of both folders comes back whole in process, no compile finds anything in
// it, and so no diagnostic line could reach the member; a member with an edited line changes in
// that line alone.
TEST_F(MemberComesBack, EveryRealMemberWithoutAFindingAndWithOneLineEdited) {
    std::vector<std::string> members;
    std::error_code ec;
    std::filesystem::path corpus(ORVALE_CORPUS_DIR);
    for (const auto& folder : {corpus, corpus.parent_path() / "corpus-wide"}) {
        size_t before = members.size();
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
            if (entry.path().extension() == ".RP3")
                members.push_back(entry.path().string());
        // A folder that is not there would leave its members untested: a failure, not a skip.
        ASSERT_GT(members.size(), before) << "no members in " << folder;
    }
    std::sort(members.begin(), members.end());
    int edited = 0;
    for (const std::string& path : members) {
        SCOPED_TRACE(path);
        TRPGProgram doc(Box);
        doc.FormGenRPG = &Form;
        doc.SetUndoOptions(false, false, false);
        ASSERT_TRUE(doc.ImportFromFile(path, ShownIn(Box)));
        StringList member = ReadLines(path);
        for (std::string& line : member)
            line.erase(line.find_last_not_of(' ') + 1);
        // A data block of another size than its declaration is a finding, never a line.
        doc.CompileAllSections(true);
        EXPECT_TRUE(SectionsWithDiagnostics(doc.SourceRuns(), false).empty());
        StringList built = Build(doc);
        for (std::string& line : built)
            line.erase(line.find_last_not_of(' ') + 1);
        ASSERT_EQ(built, member);

        // The first calculation of the main routine that is a plain statement, edited.
        TEDITSection& main = doc.MainRoutineSection;
        for (int k = 0; k < main.LinesCount(); ++k) {
            std::string_view text = TrimView(main.GetLine(k));
            if (!text.starts_with("Move(") || !main.OriginAt(k))
                continue;
            StringList lines = main.LineTexts();
            lines[static_cast<size_t>(k)].replace(lines[static_cast<size_t>(k)].find("Move("), 5,
                                                  "Movel(");
            main.SetLines(lines);
            StringList again = Build(doc);
            for (std::string& line : again)
                line.erase(line.find_last_not_of(' ') + 1);
            EXPECT_EQ(Changed(member, again).size(), 1u);
            ++edited;
            break;
        }
    }
    EXPECT_GT(edited, 20);
    Box.Clear();
}
