#include "RoutineMember.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvale::bench {

namespace {

// A specification line with fields at their 1-based columns, cut at column 80.
std::string Spec(char form, std::initializer_list<std::pair<int, std::string_view>> fields) {
    std::string s(80, ' ');
    s[5] = form;
    for (const auto& [column, text] : fields) {
        size_t at = static_cast<size_t>(column - 1);
        s.replace(at, std::min(text.size(), s.size() - at), text.substr(0, s.size() - at));
    }
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

std::string Numbered(const char* stem, int n, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%0*d", stem, width, n);
    return buffer;
}

} // namespace

StringList GenerateRoutineMember(int target) {
    std::mt19937 random(1997);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    auto indicator = [&] { return Numbered("", static_cast<int>(random() % 99) + 1, 2); };
    StringList m;
    m.push_back(Spec('H', {{15, "1"}}));
    for (int i = 0; i < 6; ++i) {
        std::string file = Numbered("CUST", i, 2);
        m.push_back(Spec('F', {{7, file}, {15, "IF"}, {19, "E"}, {31, "K"}, {40, "DISK"}}));
        m.push_back(Spec('F', {{7, file},
                               {19, Numbered("CUSREC", i, 2)},
                               {53, "K"},
                               {54, "RENAME"},
                               {60, Numbered("CREC", i, 2)}}));
    }
    m.push_back(Spec(
        'F', {{7, "QSYSPRT"}, {15, "O"}, {19, "F"}, {24, " 132"}, {33, "OF"}, {40, "PRINTER"}}));
    m.push_back(Spec('F', {{7, "SCREEN"}, {15, "CF"}, {19, "E"}, {40, "WORKSTN"}}));
    m.push_back(Spec('F', {{7, "SCREEN"}, {47, "RRN1"}, {53, "K"}, {54, "SFILE"}, {60, "SFL01"}}));
    m.push_back(Spec('E', {{27, "TABA"}, {33, "  3"}, {36, "   4"}, {40, " 10"}}));
    m.push_back(Spec('E', {{27, "TABB"}, {33, "  2"}, {36, "   4"}, {40, "  5"}, {44, "0"}}));
    m.push_back(Spec('E', {{27, "ARR"}, {36, "  20"}, {40, "  7"}, {43, "P"}, {44, "2"}}));
    m.push_back(
        Spec('I', {{7, "INPUT"}, {15, "AA"}, {19, "01"}, {21, "   1"}, {26, "C"}, {27, "H"}}));
    m.push_back(Spec('I', {{44, "   1"}, {48, "  10"}, {53, "NAME"}}));
    m.push_back(Spec('I', {{43, "P"}, {44, "  11"}, {48, "  15"}, {52, "2"}, {53, "AMOUNT"}}));
    m.push_back(Spec('I', {{7, "WORKDS"}, {19, "DS"}}));
    m.push_back(Spec('I', {{44, "   1"}, {48, "   8"}, {53, "DATE8"}}));
    m.push_back(Spec('I', {{21, "'ORVALE BENCH'"}, {43, "C"}, {53, "TITLE"}}));

    const size_t mainLines = static_cast<size_t>(std::max(10, target / 5));
    std::vector<std::string> routines;
    StringList calcs;
    int depth = 0;
    while (calcs.size() < mainLines) {
        double r = uniform(random);
        if (r < 0.08 && depth < 6) {
            calcs.push_back(Spec('C', {{18, "AMOUNT"}, {28, "IFGT"}, {33, "*ZERO"}}));
            ++depth;
        } else if (r < 0.14 && depth > 0) {
            calcs.push_back(Spec('C', {{28, "ENDIF"}}));
            --depth;
        } else if (r < 0.18 && depth < 6) {
            calcs.push_back(
                Spec('C', {{18, "1"}, {28, "DO"}, {33, "10"}, {43, "IX"}, {49, "  3"}, {52, "0"}}));
            ++depth;
        } else if (r < 0.22 && depth > 0) {
            calcs.push_back(Spec('C', {{28, "END"}}));
            --depth;
        } else if (r < 0.40) {
            calcs.push_back(Spec('C', {{9, indicator()},
                                       {18, "AMOUNT"},
                                       {28, "ADD"},
                                       {33, "TOTAL"},
                                       {43, "TOTAL"},
                                       {49, " 11"},
                                       {52, "2"},
                                       {53, "H"}}));
        } else if (r < 0.55) {
            calcs.push_back(
                Spec('C', {{28, "MOVEL"}, {33, "'TEXT'"}, {43, "NAME"}, {60, "COPY THE NAME"}}));
        } else if (r < 0.65) {
            calcs.push_back(
                Spec('C', {{18, "KEY"}, {28, "CHAIN"}, {33, "CUST00"}, {54, indicator()}}));
        } else if (r < 0.72) {
            routines.push_back(Numbered("SR", static_cast<int>(routines.size()) + 1, 4));
            calcs.push_back(Spec('C', {{28, "EXSR"}, {33, routines.back()}}));
        } else if (r < 0.80) {
            calcs.push_back("     C*  Comment line for the benchmark member");
        } else if (r < 0.90) {
            calcs.push_back(Spec(
                'C', {{18, "A"}, {28, "COMP"}, {33, "B"}, {54, "10"}, {56, "20"}, {58, "30"}}));
        } else {
            calcs.push_back(Spec('C', {{28, "Z-ADD"}, {33, "0"}, {43, "TOTAL"}}));
        }
    }
    for (; depth > 0; --depth)
        calcs.push_back(Spec('C', {{28, "ENDIF"}}));
    calcs.push_back(Spec('C', {{28, "SETON"}, {54, "LR"}}));
    m.insert(m.end(), calcs.begin(), calcs.end());

    // The subroutines share what is left but a tenth, kept for the output and the data.
    const int budget = static_cast<int>(target * 0.9) - static_cast<int>(m.size());
    const int routineSize =
        routines.empty()
            ? 0
            : std::max(6, budget / static_cast<int>(std::max<size_t>(1, routines.size())));
    for (const std::string& name : routines) {
        m.push_back(Spec('C', {{18, name}, {28, "BEGSR"}}));
        for (int k = 0; k < routineSize - 2; ++k) {
            double r = uniform(random);
            if (r < 0.5)
                m.push_back(Spec(
                    'C', {{18, "TOTAL"}, {28, "MULT"}, {33, "1.05"}, {43, "TOTAL"}, {53, "H"}}));
            else if (r < 0.8)
                m.push_back(Spec('C', {{28, "MOVE"}, {33, "*BLANK"}, {43, "NAME"}}));
            else
                m.push_back(Spec('C', {{28, "WRITE"}, {33, "CUSREC00"}, {56, "99"}}));
        }
        m.push_back(Spec('C', {{28, "ENDSR"}}));
    }

    m.push_back(
        Spec('O', {{7, "QSYSPRT"}, {15, "H"}, {17, "2"}, {18, "1"}, {19, "01"}, {23, "1P"}}));
    m.push_back(Spec('O', {{23, "OF"}}));
    m.push_back(Spec('O', {{40, "  40"}, {45, "'ORVALE BENCHMARK REPORT'"}}));
    while (static_cast<int>(m.size()) < target - 12) {
        m.push_back(Spec('O', {{15, "D"}, {18, "1"}, {23, "01"}}));
        m.push_back(Spec('O', {{32, "NAME"}, {40, "  30"}}));
        m.push_back(Spec('O', {{32, "AMOUNT"}, {38, "1"}, {40, "  50"}}));
        m.push_back(Spec('O', {{40, "  60"}, {45, "'EUR'"}}));
    }
    m.push_back(Spec('O', {{15, "T"}, {17, "2"}, {23, "LR"}}));
    m.push_back(Spec('O', {{32, "TOTAL"}, {38, "1"}, {39, "B"}, {40, "  50"}}));
    m.push_back("**");
    m.push_back("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234");
    m.push_back("ZYXWVUTSRQ");
    m.push_back("**");
    m.push_back("AAAAA00001BBBBB00002");
    m.push_back("CCCCC00003DDDDD00004");
    return m;
}

} // namespace orvale::bench
