// Programs and members moved between machines of other regional settings: written under one of
// four locales, opened, built and imported under each of them, every date keeps its meaning.

#include "rpgprogram/RPGProgram.h"

#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

using orvale::DateTime;
using orvale::Diagnostics;
using orvale::RegionalSettings;
using orvale::test::TempDir;

namespace {

const char* const kLocales[] = {"en_US.UTF-8", "en_GB.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8"};

RegionalSettings Locale(const std::string& name) {
    std::optional<RegionalSettings> settings = RegionalSettings::FromLocale(name);
    // scripts/deps generates these locales; without them nothing here would be tested.
    EXPECT_TRUE(settings) << name << " is not installed";
    return settings ? *settings : RegionalSettings("%m/%d/%Y", "%H:%M:%S");
}

// Days that read as another day with day and month swapped, a day past the twelfth, midnight.
const DateTime kMainCreated{2026, 12, 9, 14, 4, 14};
const DateTime kMainUpdated{2027, 1, 2, 8, 5, 6};
const DateTime kCalcCreated{2026, 3, 25, 23, 59, 1};
const DateTime kCalcUpdated{2025, 11, 5, 0, 0, 0};
const DateTime kLogged{2027, 1, 2, 8, 5, 6};

class LocaleDates : public ::testing::Test {
protected:
    void SetUp() override { Saved = RegionalSettings::Current(); }
    void TearDown() override { RegionalSettings::SetCurrent(Saved); }

    std::unique_ptr<TRPGProgram> NewDocument() {
        auto doc = std::make_unique<TRPGProgram>(Box);
        doc->FormGenRPG = &Form;
        doc->UserName = "USER1";
        return doc;
    }

    // A program whose sections carry the moments above and whose log has one entry, built.
    std::unique_ptr<TRPGProgram> DatedProgram() {
        auto doc = NewDocument();
        doc->NewProgram();
        doc->MainRoutineSection.SetLines({"  Exsr(CALC)", "  Seton(LR)"});
        TEDITSection* calc = doc->AddSubRoutine("CALC", "Totals");
        calc->SetLines({"  Begsr(CALC)", "  Z-add(1,Y)", "  Endsr()"});
        doc->MainRoutineSection.Properties.CreatedOn = kMainCreated;
        doc->MainRoutineSection.Properties.LastUpdate = kMainUpdated;
        calc->Properties.CreatedOn = kCalcCreated;
        calc->Properties.LastUpdate = kCalcUpdated;
        doc->PropertySection.Properties.CreatedOn = kMainCreated;
        doc->HistorySection.AddLine(LogEntry());
        doc->CompileAllSections(true);
        return doc;
    }

    // A log entry in the current settings.
    static std::string LogEntry() {
        return "CALC,Modify,USER1," + RegionalSettings::Current().FormatDateTime(kLogged) + ", ";
    }

    static void ExpectMoments(const TRPGProgram& doc, const std::string& where) {
        SCOPED_TRACE(where);
        const TEDITSectionProperty& main = doc.MainRoutineSection.Properties;
        EXPECT_EQ(main.CreatedOn, kMainCreated);
        EXPECT_EQ(main.LastUpdate, kMainUpdated);
        const TEDITSection* calc = doc.FindSectionByName("CALC");
        ASSERT_NE(calc, nullptr);
        EXPECT_EQ(calc->Properties.CreatedOn, kCalcCreated);
        EXPECT_EQ(calc->Properties.LastUpdate, kCalcUpdated);
        EXPECT_TRUE(main.UnreadCreatedOn.empty() && calc->Properties.UnreadLastUpdate.empty());
        // The log reads in the settings it is shown in.
        ASSERT_GE(doc.HistorySection.LinesCount(), 1);
        TParseString fields;
        fields.Parse(doc.HistorySection.GetLine(0), ",", false, false);
        ASSERT_GE(fields.Tokens.size(), 4u);
        EXPECT_EQ(fields.Tokens[3], RegionalSettings::Current().FormatDateTime(kLogged));
    }

    // The banner lines of Section's compiled lines show its moments in the current settings.
    static void ExpectBanner(const TEDITSection& section) {
        SCOPED_TRACE(section.Properties.Name);
        const RegionalSettings& regional = RegionalSettings::Current();
        // The moment of a banner line stands from column 24 up to the box's edge.
        auto shown = [](const std::string& line) { return Trim(line.substr(23, 48)); };
        int dated = 0;
        for (const CompiledLine& line : section.Compiled()) {
            if (line.Text.ends_with("&%1CRT")) {
                ++dated;
                EXPECT_EQ(shown(line.Text), regional.FormatDateTime(section.Properties.CreatedOn));
            }
            if (line.Text.ends_with("&%1UPD")) {
                ++dated;
                EXPECT_EQ(shown(line.Text), regional.FormatDateTime(section.Properties.LastUpdate));
            }
        }
        EXPECT_EQ(dated, 2);
    }

    RegionalSettings Saved{"", ""};
    TempDir Dir;
    orvale::ScriptedPrompter Box;
    TFormGenRPG Form;
};

} // namespace

// The measured fault: a file written under one locale was "damaged" under another, or its
// dates changed meaning without a word. Now it opens whole, builds, and every date is the day
// it was; the banners of the build and the log show them in the settings of the machine.
TEST_F(LocaleDates, ProgramFilesOpenAndBuildUnderEveryLocale) {
    for (const char* written : kLocales) {
        for (const char* read : kLocales) {
            SCOPED_TRACE(std::string(written) + " -> " + read);
            RegionalSettings::SetCurrent(Locale(written));
            std::string path = Dir.File("DATED.RPG");
            ASSERT_TRUE(DatedProgram()->SaveToFile(path));

            RegionalSettings::SetCurrent(Locale(read));
            auto opened = NewDocument();
            Diagnostics found;
            ASSERT_TRUE(opened->LoadFromFile(path, found));
            EXPECT_TRUE(found.Empty()) << found.All().front().Text;
            EXPECT_TRUE(opened->ReadWhole);
            ExpectMoments(*opened, "opened");
            // A build of what is out of date: banners kept from another locale's build are.
            EXPECT_TRUE(opened->CompileAllSections(false));
            ExpectBanner(opened->MainRoutineSection);
            ExpectBanner(*opened->FindSectionByName("CALC"));

            // Saved here and opened where it was written, it is the same program again.
            ASSERT_TRUE(opened->SaveToFile(path));
            RegionalSettings::SetCurrent(Locale(written));
            auto back = NewDocument();
            ASSERT_TRUE(back->LoadFromFile(path, found));
            EXPECT_TRUE(found.Empty());
            ExpectMoments(*back, "back");
        }
    }
    EXPECT_TRUE(Box.Messages.empty());
}

// The banners of a member built on one machine are read on another as the program file's dates
// are: a member records no formats, so all its dates are read with the one form that reads
// them all, a date alone (midnight) as its neighbours are.
TEST_F(LocaleDates, MembersImportUnderEveryLocale) {
    for (const char* written : kLocales) {
        for (const char* read : kLocales) {
            SCOPED_TRACE(std::string(written) + " -> " + read);
            RegionalSettings::SetCurrent(Locale(written));
            std::string member = Dir.File("DATED.RP3");
            ASSERT_TRUE(DatedProgram()->WriteSource(member));

            RegionalSettings::SetCurrent(Locale(read));
            auto imported = NewDocument();
            Diagnostics found;
            ASSERT_TRUE(imported->ImportFromFile(member, found));
            EXPECT_TRUE(found.Empty()) << found.All().front().Text;
            ExpectMoments(*imported, "imported");
        }
    }
}

// A version that knows no record keeps it as a property when it saves, but writes the dates in
// its own formats: the record's sample then differs from the properties' creation text, and the
// dates are read as those of a file without one. Here a machine whose date puts the month first
// with a 24-hour clock rewrote a day-first file; the day past the twelfth tells the order.
TEST_F(LocaleDates, ARecordTheDatesNoLongerFitIsNotTrusted) {
    RegionalSettings dayFirst("%d/%m/%Y", "%H:%M:%S");
    RegionalSettings monthFirst("%m/%d/%Y", "%H:%M:%S");
    RegionalSettings::SetCurrent(dayFirst);
    std::string path = Dir.File("STALE.RPG");
    auto doc = DatedProgram();
    ASSERT_TRUE(doc->SaveToFile(path));
    StringList file;
    ASSERT_TRUE(orvale::ReadTextFile(path, file));
    int rewritten = 0;
    for (std::string& line : file) {
        auto moment =
            line.size() > 2 && line.front() == '['
                ? dayFirst.ParseDateTime(std::string_view(line).substr(1, line.size() - 2))
                : std::nullopt;
        if (moment) {
            line = "[" + monthFirst.FormatDateTime(*moment) + "]";
            ++rewritten;
        }
    }
    ASSERT_GT(rewritten, 10);
    ASSERT_TRUE(orvale::WriteTextFile(path, file));

    RegionalSettings::SetCurrent(dayFirst);
    auto opened = NewDocument();
    Diagnostics found;
    ASSERT_TRUE(opened->LoadFromFile(path, found));
    EXPECT_TRUE(found.Empty());
    EXPECT_EQ(opened->MainRoutineSection.Properties.CreatedOn, kMainCreated);
    EXPECT_EQ(opened->FindSectionByName("CALC")->Properties.LastUpdate, kCalcUpdated);
    // The record is gone from the properties whether it was trusted or not.
    EXPECT_EQ(opened->PropertySection.LineTexts(), doc->PropertySection.LineTexts());
}

// Where every date reads both ways (days up to the twelfth, the same clock), only the record
// tells the order: a file without it is read the way the machine reading it writes dates.
TEST_F(LocaleDates, TheRecordedFormatsDecideWhereEveryDateReadsBothWays) {
    RegionalSettings dayFirst("%d/%m/%Y", "%H:%M:%S");
    RegionalSettings monthFirst("%m/%d/%Y", "%H:%M:%S");
    RegionalSettings::SetCurrent(dayFirst);
    auto doc = NewDocument();
    doc->NewProgram();
    const DateTime ambiguous{2026, 12, 9, 14, 4, 14};
    doc->ForEachNode([&](TreeNode* n) {
        if (TEDITSection* s = n->Section())
            s->Properties.CreatedOn = s->Properties.LastUpdate = ambiguous;
        return true;
    });
    std::string path = Dir.File("BOTHWAYS.RPG");
    ASSERT_TRUE(doc->SaveToFile(path));

    RegionalSettings::SetCurrent(monthFirst);
    auto opened = NewDocument();
    Diagnostics found;
    ASSERT_TRUE(opened->LoadFromFile(path, found));
    EXPECT_TRUE(found.Empty());
    EXPECT_EQ(opened->MainRoutineSection.Properties.CreatedOn, ambiguous);
    EXPECT_EQ(opened->PropertySection.Properties.LastUpdate, ambiguous);

    // The same file as a version without the record wrote it.
    StringList file;
    ASSERT_TRUE(orvale::ReadTextFile(path, file));
    auto record = std::find_if(file.begin(), file.end(), [](const std::string& line) {
        return line.starts_with("Date Format=");
    });
    ASSERT_NE(record, file.end());
    file.erase(record);
    *std::find(file.begin(), file.end(), "[14]") = "[13]"; // the properties' count
    ASSERT_TRUE(orvale::WriteTextFile(path, file));
    auto unrecorded = NewDocument();
    ASSERT_TRUE(unrecorded->LoadFromFile(path, found));
    EXPECT_TRUE(found.Empty());
    EXPECT_EQ(unrecorded->MainRoutineSection.Properties.CreatedOn,
              (DateTime{2026, 9, 12, 14, 4, 14}));
}
