// A statement edited in the program window's source editor, as a user types it, changes that
// line of the built member and no other; a line typed anew carries the change tag.

#include "ui/EditorsHolder.h"

#include "FakeEditorFrame.h"
#include "calvex/MemberRoundTrip.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "platform/TextFile.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "ui/ExtRichEdit.h"
#include "ui/TagColumn.h"

#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using orvale::Prompter;
using orvale::RegionalSettings;
using orvale::ScriptedPrompter;
using orvale::test::FakeEditorFrame;

namespace {

const std::string kMember = std::string(ORVALE_TEST_DATA_DIR) + "/ORDENTRY.RP3";

class EditorRoundTrip : public ::testing::Test {
protected:
    EditorRoundTrip() {
        orvale::test::QtApp();
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Prompter::SetDefault(&Box);
        Window =
            std::make_unique<TEditorsHolder>(Box, TEditorSetup{"USER1", 2, nullptr, ""}, &Frame);
    }
    ~EditorRoundTrip() override {
        Window.reset();
        Prompter::SetDefault(nullptr);
        RegionalSettings::SetCurrent(Saved);
    }

    TRPGProgram& Doc() { return *Window->Document; }
    // The member as built now, without the banner lines the build adds.
    StringList Built() {
        Doc().CompileAllSections(true);
        Doc().AssembleSource();
        StringList kept;
        for (const std::string& line : Doc().NameList)
            if (!calvex::IsAddedBanner(line, "&%"))
                kept.push_back(line);
        return kept;
    }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    ScriptedPrompter Box;
    FakeEditorFrame Frame;
    TFormGenRPG Form;
    std::unique_ptr<TEditorsHolder> Window;
};

} // namespace

TEST_F(EditorRoundTrip, TypingOverAStatementChangesItsLineAlone) {
    StringList member;
    ASSERT_TRUE(orvale::ReadTextFile(kMember, member));
    Window->ImportSource(kMember);
    Doc().FormGenRPG = &Form;
    ASSERT_EQ(Built(), member);

    TreeNode* load = Doc().FindNodeByText("LOAD");
    ASSERT_NE(load, nullptr);
    Window->SelectNode(load);
    Window->PageControl->setCurrentIndex(0);
    StringList text = Window->RichEditSource->Lines();
    int line = -1;
    for (size_t k = 0; k < text.size(); ++k)
        if (text[k].find("Z-add(0,ORDNO)") != std::string::npos)
            line = static_cast<int>(k);
    ASSERT_GE(line, 0);
    // The line's change tag shows beside it, not in its text.
    EXPECT_EQ(LineTag(*Window->RichEditSource, line), "CHG020");
    EXPECT_EQ(text[static_cast<size_t>(line)].find("CHG020"), std::string::npos);
    // The 0 becomes a 5, typed over in the editor.
    int column = static_cast<int>(text[static_cast<size_t>(line)].find("(0,")) + 1;
    Window->RichEditSource->SetCaretPos(column, line);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Delete);
    QTest::keyClicks(Window->RichEditSource, "5");
    // A line opened above it does not take its tag: the tag follows its line.
    Window->RichEditSource->SetCaretPos(0, line);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Return);
    EXPECT_EQ(LineTag(*Window->RichEditSource, line + 1), "CHG020");
    QTest::keyClick(Window->RichEditSource, Qt::Key_Up);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Delete);
    Window->SelectNode(Doc().FindNodeByText("NEWORD")); // the edit is committed

    StringList built = Built();
    ASSERT_EQ(built.size(), member.size());
    std::vector<size_t> changed;
    for (size_t k = 0; k < member.size(); ++k)
        if (built[k] != member[k])
            changed.push_back(k);
    ASSERT_EQ(changed.size(), 1u);
    const std::string& before = member[changed[0]];
    const std::string& after = built[changed[0]];
    EXPECT_NE(after.find("Z-ADD5"), std::string::npos) << after;
    EXPECT_EQ(after.substr(74), before.substr(74)); // its change tag stays

    // A new line typed at the end of the section gets the change tag of the options.
    Form.ChangeTag = "PR0042";
    Window->SelectNode(load);
    Window->PageControl->setCurrentIndex(0);
    QTest::keyClick(Window->RichEditSource, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Return);
    QTest::keyClicks(Window->RichEditSource, "Z-add(1,ORDNO)");
    Window->SelectNode(Doc().FindNodeByText("NEWORD"));
    built = Built();
    ASSERT_EQ(built.size(), member.size() + 1);
    int tagged = 0;
    for (const std::string& l : built)
        tagged += l.size() > 74 && l.substr(74) == "PR0042" ? 1 : 0;
    EXPECT_EQ(tagged, 1);
}

TEST_F(EditorRoundTrip, RestoredTextKeepsItsTagsBesideIt) {
    orvale::test::TempDir dir;
    Window->ImportSource(kMember);
    Doc().FormGenRPG = &Form;
    ASSERT_TRUE(Doc().SaveToFile(dir.File("ORDENTRY.RPG")));
    TreeNode* load = Doc().FindNodeByText("LOAD");
    ASSERT_NE(load, nullptr);
    Window->SelectNode(load);
    const StringList saved = Window->RichEditSource->Lines();
    StringList tags;
    for (int k = 0; k < static_cast<int>(saved.size()); ++k)
        tags.push_back(LineTag(*Window->RichEditSource, k));
    ASSERT_NE(std::count(tags.begin(), tags.end(), "CHG020"), 0);

    // The first line goes, the edit is committed; Last Save brings the saved text back with
    // every line's tag, not only after the section is shown again.
    Window->RichEditSource->SetCaretPos(0, 0);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(Window->RichEditSource, Qt::Key_Delete);
    Window->PopUpdateSectionClick();
    Window->PopRestLastSaveClick();
    ASSERT_EQ(Window->RichEditSource->Lines(), saved);
    StringList restored;
    for (int k = 0; k < static_cast<int>(saved.size()); ++k)
        restored.push_back(LineTag(*Window->RichEditSource, k));
    EXPECT_EQ(restored, tags);
}
