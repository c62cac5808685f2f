#include "GeneratedMember.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace orvale::bench {

namespace {

std::string At(char form, std::initializer_list<std::pair<int, std::string_view>> fields) {
    std::string s(80, ' ');
    s[5] = form;
    for (const auto& [column, text] : fields)
        s.replace(static_cast<size_t>(column - 1), text.size(), text);
    while (s.back() == ' ')
        s.pop_back();
    return s;
}

std::string Name(const char* stem, int n) {
    std::string s(stem);
    s += std::to_string(n % 1000);
    return s.substr(0, 6);
}

void Calculations(StringList& m, int routine, int count) {
    int depth = 0;
    for (int k = 0; k < count; ++k) {
        std::string f1 = Name("FLD", k), f2 = Name("VAL", k + routine), res = Name("RES", k);
        switch (k % 16) {
        case 0:
            m.push_back("     C* Step " + std::to_string(k) + " of routine " +
                        std::to_string(routine));
            break;
        case 1:
            if (depth < 4) {
                m.push_back(At('C', {{18, f1}, {28, "IFEQ"}, {33, f2}}));
                ++depth;
            } else {
                m.push_back(At('C', {{28, "END"}}));
                --depth;
            }
            break;
        case 2:
            m.push_back(
                At('C', {{9, "01"}, {18, f1}, {28, "ADD"}, {33, f2}, {43, res}, {49, "  92"}}));
            break;
        case 3:
            m.push_back(At('C', {{28, "MOVEL"}, {33, "'TEXT'"}, {43, res}, {60, "set text"}}));
            break;
        case 4:
            m.push_back(At('C', {{18, "KEY"}, {28, "CHAIN"}, {33, "CUSTMAST"}, {56, "90"}}));
            break;
        case 5:
            if (depth < 4) {
                m.push_back(At('C', {{18, "1"}, {28, "DO"}, {33, "10"}, {43, "IX"}}));
                ++depth;
            } else {
                m.push_back(At('C', {{28, "ENDDO"}}));
                --depth;
            }
            break;
        case 6:
            m.push_back(At('C', {{28, "Z-ADD"}, {33, "0"}, {43, res}}));
            break;
        case 7:
            m.push_back(At('C', {{9, "N99"}, {28, "EXSR"}, {33, Name("SR", k)}}));
            break;
        case 8:
            m.push_back(At('C', {{18, f1}, {28, "MULT"}, {33, "1.05"}, {43, res}, {53, "H"}}));
            break;
        case 9:
            m.push_back(At('C', {{28, "ELSE"}}));
            break;
        case 10:
            m.push_back(At('C', {{18, "ARR,IX"}, {28, "COMP"}, {33, f2}, {54, "101112"}}));
            break;
        case 11:
            m.push_back(At('C', {{28, "MOVE"}, {33, "*BLANKS"}, {43, "ARR,IX"}}));
            break;
        case 12:
            m.push_back(At('C', {{28, "SETON"}, {54, "  LR"}}));
            break;
        case 13:
            m.push_back(At('C', {{18, f1}, {28, "SUB"}, {33, "1"}, {43, f1}}));
            break;
        case 14:
            m.push_back(At('C', {{28, "READ"}, {33, "CUSTMAST"}, {58, "90"}}));
            break;
        default:
            m.push_back("     C*");
        }
    }
    for (; depth > 0; --depth)
        m.push_back(At('C', {{28, "END"}}));
}

} // namespace

StringList GenerateMember(int memberLines) {
    StringList m;
    m.push_back(At('H', {{18, "Y"}}));
    for (int k = 0; k < 60; ++k) {
        m.push_back("     F* File " + std::to_string(k));
        m.push_back(At('F', {{7, Name("FILE", k) + "  IF  E"}, {31, "K"}, {40, "DISK"}}));
        m.push_back(At('F', {{19, Name("RFMT", k)}, {53, "KRENAME"}, {60, Name("R", k)}}));
    }
    m.push_back(At('F', {{7, "SCREEN  CF  E"}, {40, "WORKSTN"}}));
    m.push_back(At('F', {{7, "QSYSPRT O   F"}, {25, "132"}, {33, "OF"}, {40, "PRINTER"}}));
    for (int k = 0; k < 80; ++k)
        m.push_back(At('E', {{27, Name("ARR", k)}, {38, "50"}, {42, "7"}, {44, "2"}}));
    m.push_back(At('E', {{27, "TABMTH    1  12  3"}, {58, "month names"}}));
    for (int k = 0; k < 300; ++k) {
        m.push_back(At('I', {{7, Name("DS", k)}, {19, "DS"}}));
        for (int f = 0; f < 9; ++f) {
            std::string from = std::to_string(f * 10 + 1), to = std::to_string(f * 10 + 10);
            m.push_back(At('I', {{43, f % 2 ? "P" : " "},
                                 {48 - static_cast<int>(from.size()), from},
                                 {52 - static_cast<int>(to.size()), to},
                                 {52, "0"},
                                 {53, Name("SUB", k * 10 + f)}}));
        }
    }
    int outputLines = 6000;
    int calcLines = memberLines - static_cast<int>(m.size()) - outputLines - 4;
    int routines = 60;
    Calculations(m, 0, calcLines / routines - 2);
    for (int r = 1; r < routines && static_cast<int>(m.size()) < memberLines - outputLines - 6;
         ++r) {
        m.push_back(At('C', {{18, Name("SR", r)}, {28, "BEGSR"}}));
        Calculations(m, r, calcLines / routines - 2);
        m.push_back(At('C', {{28, "ENDSR"}}));
    }
    m.push_back(At('O', {{7, "QSYSPRT H  1 03"}, {24, "1P"}}));
    while (static_cast<int>(m.size()) < memberLines - 4) {
        int k = static_cast<int>(m.size());
        if (k % 20 == 0)
            m.push_back(At('O', {{15, "D  1"}, {24, "01"}}));
        else if (k % 3 == 0)
            m.push_back(At('O', {{42, std::to_string(10 + k % 60)}, {45, "'Label:'"}}));
        else
            m.push_back(At(
                'O',
                {{24, "02"}, {32, Name("FLD", k)}, {38, "1"}, {42, std::to_string(20 + k % 60)}}));
    }
    m.push_back("**");
    m.push_back("JANFEBMARAPRMAYJUN");
    m.push_back("JULAUGSEPOCTNOVDEC");
    m.push_back("     O* end");
    m.resize(memberLines);
    return m;
}

} // namespace orvale::bench
