#pragma once

// A program document bound to a recording view, with a folder to write members into and
// import them from, on fixed regional settings.

#include "rpgprogram/RPGProgram.h"

#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "platform/TextFile.h"

#include "calvex/support/SpecLine.h"
#include "support/FakeProgramView.h"
#include "support/ShownIn.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orvale::test {

using calvex::test::SpecLine;
using orvale::test::ShownIn;

class ImportFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Doc.BindView(&View);
        Doc.FormGenRPG = &Form;
        Doc.UserName = "USER1";
    }
    void TearDown() override {
        RegionalSettings::SetCurrent(Saved);
        EXPECT_TRUE(View.Violations.empty()) << View.Violations.front();
    }

    std::string Write(const std::string& name, const StringList& lines) {
        std::string path = Dir.File(name);
        EXPECT_TRUE(WriteTextFile(path, lines));
        return path;
    }
    bool Import(const StringList& lines, const std::string& name = "MEMBER.RP3") {
        return Doc.ImportFromFile(Write(name, lines), ShownIn(Box));
    }
    // The children of a folder node, by text.
    static std::vector<std::string> Children(const TreeNode* folder) {
        std::vector<std::string> names;
        for (int k = 0; folder && k < folder->Count(); ++k)
            names.push_back(folder->Child(k)->Text);
        return names;
    }
    static TEDITSection* Child(const TreeNode* folder, int k) {
        return folder->Child(k)->Section();
    }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    TempDir Dir;
    TFormGenRPG Form;
    ScriptedPrompter Box;
    FakeProgramView View;
    TRPGProgram Doc{Box};
};

// Whether some line of the section holds Text, ignoring case.
inline bool Holds(const TEDITSection& section, const std::string& text) {
    for (const std::string& line : section.LineTexts())
        if (UpperCase(line).find(UpperCase(text)) != std::string::npos)
            return true;
    return false;
}

} // namespace orvale::test
