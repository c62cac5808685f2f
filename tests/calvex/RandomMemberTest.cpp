// Members of random lines, in specification order, with any text in any column: whatever a
// line holds, the import must keep it and the build give it back (seeded, so repeatable).

#include "support/MemberWalk.h"
#include "support/RoundTripCheck.h"

#include <gtest/gtest.h>

#include <random>

using namespace calvex::test;

namespace {

class RandomMembers {
public:
    explicit RandomMembers(unsigned seed) : Rng(seed) {}

    StringList Next() {
        static const std::string forms = "HFELICO";
        static const std::string operations[] = {
            "ADD",  "Z-ADD", "IFEQ",  "END",   "DO",   "ENDDO", "ELSE",  "CAS",   "CASEQ", "SELEC",
            "WHEQ", "OTHER", "ENDSL", "KLIST", "KFLD", "XYZ",   "MOVEL", "CHAIN", "TAG",   "PARM"};
        StringList member;
        size_t form = 0;
        int lines = 5 + Pick(80);
        for (int i = 0; i < lines; ++i) {
            if (Pick(6) == 0 && form + 1 < forms.size())
                ++form;
            std::string line = std::to_string(10000 + i);
            switch (Pick(8)) {
            case 0: // a comment, whatever its column 6
                line += forms[static_cast<size_t>(Pick(7))];
                line += '*';
                Text(line, 70);
                break;
            case 1: // a comment or blank line with a blank column 6
                line += Pick(2) ? "  " : " *";
                Text(line, 60);
                while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ')
                    line.pop_back();
                break;
            case 2: // a calculation of some operation, when calculations are due
                if (forms[form] == 'C') {
                    line += "C  01       FLD1      ";
                    line += operations[Pick(std::size(operations))];
                    line.resize(32, ' ');
                    line += "FLD2      RES   5 2";
                    if (Pick(3) == 0)
                        line += std::string(static_cast<size_t>(Pick(12)), ' ') + "a note";
                    break;
                }
                [[fallthrough]];
            default: // a line of the current form type with text anywhere
                line += forms[form];
                Text(line, 6 + Pick(76));
            }
            // Nothing can carry "/*" inside a specification; "**" starts the data.
            if (line.find("/*") == std::string::npos && line.compare(0, 2, "**") != 0)
                member.push_back(std::move(line));
        }
        return member;
    }

private:
    int Pick(size_t n) { return static_cast<int>(Rng() % n); }
    void Text(std::string& line, int last) {
        static const std::string chars = "ABCXYZ0123456789*/+-,.'()[]{}|:#&%$@abcxyz\t\xE9";
        while (static_cast<int>(line.size()) < last)
            line += Pick(3) == 0 ? chars[static_cast<size_t>(Pick(chars.size()))] : ' ';
    }

    std::mt19937 Rng;
};

} // namespace

TEST(RandomMemberRoundTrip, EveryLineComesBack) {
    RandomMembers generator(20240611);
    for (int m = 0; m < 400; ++m) {
        StringList member = generator.Next();
        MemberSections s;
        ImportMember(member, s);
        BuildTotals totals = CompileAll(s, AllOptions());
        auto differences = CompareRoundTrip(member, AssembleByPlace(s.MemberOrder()));
        ASSERT_EQ(totals.Errors + totals.Warnings, 0) << "member " << m;
        ASSERT_TRUE(differences.empty())
            << "member " << m << ": " << differences.size() << " lines differ; first: ["
            << differences.front().Source << "] -> [" << differences.front().Compiled << "]";
    }
}
