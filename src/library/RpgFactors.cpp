#include "library/RpgFactors.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace orvale::library {

namespace {

bool IsNameStart(char c) {
    auto u = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '#' || c == '$' || c == '@' ||
           c == '_' || u >= 0x80;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

} // namespace

bool IsName(std::string_view piece) {
    if (piece.empty() || !IsNameStart(piece.front()))
        return false;
    return std::all_of(piece.begin(), piece.end(), IsNameChar);
}

bool IsReservedField(std::string_view name) {
    static const std::unordered_set<std::string_view> reserved = {
        "UDATE", "UDAY",  "UMONTH", "UYEAR", "PAGE",  "PAGE1", "PAGE2",
        "PAGE3", "PAGE4", "PAGE5",  "PAGE6", "PAGE7", "*IN",
    };
    return reserved.count(name) > 0;
}

std::string LiteralValue(std::string_view factor) {
    factor = TrimBlanks(factor);
    if (factor.size() < 2 || factor.front() != '\'' || factor.back() != '\'')
        return {};
    std::string value;
    for (size_t i = 1; i + 1 < factor.size(); ++i) {
        value += factor[i];
        if (factor[i] == '\'' && i + 2 < factor.size() && factor[i + 1] == '\'')
            ++i;
    }
    return std::string(TrimBlanks(value));
}

OpInfo Classify(std::string_view op) {
    static const std::unordered_map<std::string_view, OpClass> classes = {
        {"CHAIN", OpClass::FileRead},   {"READ", OpClass::FileRead},
        {"READE", OpClass::FileRead},   {"READP", OpClass::FileRead},
        {"REDPE", OpClass::FileRead},   {"SETLL", OpClass::FileRead},
        {"SETGT", OpClass::FileRead},   {"READC", OpClass::FileRead},
        {"UPDAT", OpClass::FileUpdate}, {"DELET", OpClass::FileDelete},
        {"WRITE", OpClass::FileWrite},  {"EXFMT", OpClass::FileWrite},
        {"OPEN", OpClass::FileOther},   {"CLOSE", OpClass::FileOther},
        {"FEOD", OpClass::FileOther},   {"ACQ", OpClass::FileOther},
        {"REL", OpClass::FileOther},    {"NEXT", OpClass::FileOther},
        {"POST", OpClass::FileOther},   {"FORCE", OpClass::FileOther},
        {"EXCPT", OpClass::Excpt},      {"CALL", OpClass::Call},
        {"FREE", OpClass::Free},        {"PARM", OpClass::Parm},
        {"PLIST", OpClass::PList},      {"KLIST", OpClass::KList},
        {"KFLD", OpClass::KFld},        {"BEGSR", OpClass::BegSr},
        {"EXSR", OpClass::ExSr},        {"CASEQ", OpClass::Cas},
        {"CASNE", OpClass::Cas},        {"CASLT", OpClass::Cas},
        {"CASLE", OpClass::Cas},        {"CASGT", OpClass::Cas},
        {"CASGE", OpClass::Cas},        {"CAS", OpClass::Cas},
        {"CABEQ", OpClass::Cab},        {"CABNE", OpClass::Cab},
        {"CABLT", OpClass::Cab},        {"CABLE", OpClass::Cab},
        {"CABGT", OpClass::Cab},        {"CABGE", OpClass::Cab},
        {"TAG", OpClass::Label},        {"GOTO", OpClass::Label},
        {"ENDSR", OpClass::Label},      {"DEFN", OpClass::Defn},
        {"IN", OpClass::DataIn},        {"OUT", OpClass::DataOut},
        {"UNLCK", OpClass::Unlock},     {"TESTB", OpClass::ResultRead},
        {"TESTN", OpClass::ResultRead}, {"TESTZ", OpClass::ResultRead},
        {"CLEAR", OpClass::ChangeF2},   {"RESET", OpClass::ChangeF2},
        {"SORTA", OpClass::ChangeF2},   {"COMP", OpClass::Compare},
        {"SETON", OpClass::None},       {"SETOF", OpClass::None},
        {"ELSE", OpClass::None},        {"ENDIF", OpClass::None},
        {"ENDSL", OpClass::None},       {"SELEC", OpClass::None},
        {"OTHER", OpClass::None},       {"ITER", OpClass::None},
        {"LEAVE", OpClass::None},       {"RETRN", OpClass::None},
        {"ENDCS", OpClass::None},       {"COMIT", OpClass::Compare},
        {"ROLBK", OpClass::None},       {"DUMP", OpClass::None},
        {"DEBUG", OpClass::Compare},    {"SHTDN", OpClass::None},
    };
    OpInfo info;
    auto it = classes.find(op);
    if (it != classes.end()) {
        info.Class = it->second;
    } else if (op.size() >= 4 &&
               (op.substr(0, 2) == "IF" || op.substr(0, 2) == "WH" || op.substr(0, 3) == "DOU" ||
                op.substr(0, 3) == "DOW" || op.substr(0, 3) == "AND" || op.substr(0, 2) == "OR")) {
        info.Class = OpClass::Compare;
    }
    info.Code = OperationCode(op);
    return info;
}

} // namespace orvale::library
