#include "library/MemberFacts.h"

#include "platform/TextRules.h"

#include <array>
#include <unordered_map>

namespace orvale::library {

namespace {

// Index + 1 is the code kept in the index: append only, never reorder.
constexpr std::string_view kOperations[] = {
    // RPG III calculations that name files, programs, data areas, lists and routines
    "CHAIN",
    "READ",
    "READE",
    "READP",
    "REDPE",
    "SETLL",
    "SETGT",
    "READC",
    "UPDAT",
    "DELET",
    "WRITE",
    "EXCPT",
    "EXFMT",
    "OPEN",
    "CLOSE",
    "FEOD",
    "UNLCK",
    "ACQ",
    "REL",
    "NEXT",
    "POST",
    "FORCE",
    "CALL",
    "FREE",
    "PARM",
    "PLIST",
    "KLIST",
    "KFLD",
    "BEGSR",
    "EXSR",
    "CASEQ",
    "CASNE",
    "CASLT",
    "CASLE",
    "CASGT",
    "CASGE",
    "CAS",
    "DEFN",
    "IN",
    "OUT",
    // Other places of a fixed-column member
    "INPUT",
    "OUTPUT",
    "RENAME",
    "SFILE",
    "INFDS",
    "IGNORE",
    "INCLUDE",
    "DS",
    "ARRAY",
    "LINE",
    // Data descriptions
    "PFILE",
    "JFILE",
    "FORMAT",
    "REF",
    "REFFLD",
    "KEY",
    "SELECT",
    "OMIT",
    "SFLCTL",
    // RPG IV
    "CALLP",
    "CALLB",
    "EXTPGM",
    // Control language
    "TFRCTL",
    "SBMJOB",
    "DCLF",
    "RCVF",
    "SNDF",
    "SNDRCVF",
    "OVRDBF",
    "RTVDTAARA",
    "CHGDTAARA",
    "CRTDTAARA",
    "DLTDTAARA",
    "CPYF",
    // More calculations
    "COMIT",
    "ROLBK",
    "DSPLY",
    "LOKUP",
    "OCUR",
    "CLEAR",
    "RESET",
    "SORTA",
    "XFOOT",
    "TESTB",
    "TESTN",
    "TESTZ",
    "SCAN",
    "CHECK",
    "CHEKR",
    "SUBST",
    "CAT",
    "XLATE",
};

constexpr const char* kKindTexts[] = {"RPG III", "RPG IV", "DDS", "CL", "other"};
constexpr const char* kNameKindTexts[] = {"file",     "format", "field", "subroutine", "program",
                                          "dataarea", "copy",   "klist", "plist"};
constexpr const char* kRoleTexts[] = {"declares", "defines", "calls",  "copies",  "reads",
                                      "changes",  "updates", "writes", "deletes", "uses"};

} // namespace

const char* MemberKindText(MemberKind kind) {
    return kKindTexts[static_cast<int>(kind)];
}

const char* NameKindText(NameKind kind) {
    return kNameKindTexts[static_cast<int>(kind)];
}

bool ParseNameKind(std::string_view text, NameKind& kind) {
    for (int i = 0; i < kNameKinds; ++i)
        if (SameText(text, kNameKindTexts[i])) {
            kind = static_cast<NameKind>(i);
            return true;
        }
    return false;
}

const char* RoleText(NameRole role) {
    return kRoleTexts[static_cast<int>(role)];
}

const char* CallViaText(CallVia via) {
    switch (via) {
    case CallVia::Constant:
        return "named constant";
    case CallVia::Variable:
        return "field";
    case CallVia::Name:
        break;
    }
    return "";
}

std::uint8_t OperationCode(std::string_view op) {
    // Looked up for every calculation of every member: a map made once.
    static const std::unordered_map<std::string_view, std::uint8_t> codes = [] {
        std::unordered_map<std::string_view, std::uint8_t> map;
        for (size_t i = 0; i < std::size(kOperations); ++i)
            map.emplace(kOperations[i], static_cast<std::uint8_t>(i + 1));
        return map;
    }();
    char upper[16];
    if (op.size() > sizeof upper)
        return 0;
    for (size_t i = 0; i < op.size(); ++i)
        upper[i] = UpperChar(op[i]);
    auto it = codes.find(std::string_view(upper, op.size()));
    return it == codes.end() ? 0 : it->second;
}

std::string_view OperationText(std::uint8_t code) {
    if (code == 0 || code > std::size(kOperations))
        return {};
    return kOperations[code - 1];
}

std::string UpperName(std::string_view name) {
    return UpperCase(name);
}

} // namespace orvale::library
