#include "TableStatement.h"

#include "SpecKeywordTable.h"
#include "document/ParseString.h"

namespace calvex {

namespace {

constexpr std::string_view kInvalidCode = "**ERROR: Invalid operating code!";
constexpr std::string_view kWrongSection = "**ERROR: Operating code not allowed for this section!";
constexpr std::string_view kTooMany = "**ERROR: Too many params!";
constexpr std::string_view kBadParameter = "**ERROR: Bad parameter!";

std::string ParamMessage(size_t index, std::string_view what) {
    std::string m("**ERROR: Param N.");
    m += std::to_string(index);
    m.append(what);
    return m;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// NAME[IDX]REST becomes NAME,IDX (the rest after "]" is dropped). False when the "]" is
// missing or stands before the "[".
bool RewriteElement(std::string& param) {
    size_t open = param.find('[');
    if (open == std::string::npos)
        return true;
    size_t close = param.find(']');
    if (close == std::string::npos || close < open)
        return false;
    param[open] = ',';
    param.erase(close);
    return true;
}

// Output positions keep a sign in front of a short number: "+5" becomes "+  5", "-12" "- 12".
void SignLayout(std::string& param) {
    std::string_view rest = TrimView(std::string_view(param).substr(1));
    if (rest.size() != 1 && rest.size() != 2)
        return;
    std::string laid(1, param.front());
    laid.append(3 - rest.size(), ' ');
    laid.append(rest);
    param = std::move(laid);
}

} // namespace

ResultLine CompileTableStatement(const StringList& params, char formType) {
    if (params.empty())
        return ErrorLine(kInvalidCode);
    const std::string& name = params[0];
    if (name == "RPG" && params.size() >= 2)
        return CheckSpecialLine(name, formType, params[1]);
    if (StartsWith(name, "#") || StartsWith(name, "+") || StartsWith(name, "/*"))
        return CheckSpecialLine(name, formType, {});

    const KeywordEntry* entry = SpecKeywordTable::Instance().Find(name);
    if (entry == nullptr)
        return ErrorLine(kInvalidCode);
    if (entry->FormType != formType)
        return ErrorLine(kWrongSection);
    size_t count = params.size() - 1;
    if (count > static_cast<size_t>(entry->ParamCount))
        return ErrorLine(kTooMany);

    ResultLine result;
    std::string& buffer = result.Text;
    buffer.assign(80, ' ');
    buffer[5] = formType;
    bool elements = formType == 'I' || formType == 'O';
    bool failed = false;
    std::string message;
    std::string param;

    for (size_t i = 1; i <= count; ++i) {
        const KeywordSlot& slot = entry->Slots[i - 1];
        param = params[i];
        if (elements && !RewriteElement(param))
            return ErrorLine(kBadParameter);
        if (param.empty())
            continue;
        bool right = slot.Type == SlotType::Right;
        if (slot.Type == SlotType::Integer) {
            bool signed_ = param.front() == '+' || param.front() == '-';
            std::string_view digits =
                signed_ ? TrimView(std::string_view(param).substr(1)) : std::string_view(param);
            if (!IsInteger(digits) || digits.front() == '+' || digits.front() == '-') {
                message = ParamMessage(i, " must be of integer type!");
                failed = true;
                continue;
            }
            if (signed_ && formType == 'O')
                SignLayout(param);
            right = true;
        }
        FieldSpan span = FieldColumns(formType, slot.Field);
        int placed = PlaceField(buffer, span.First, span.Width, param, right);
        if (static_cast<size_t>(placed) < param.size() && !failed) {
            message = ParamMessage(i, " too long!");
            failed = true;
            break;
        }
    }
    // The fixed entries come after the parameters and overwrite what a parameter put into
    // the same field.
    if (!failed && formType != 'E' && formType != 'L') {
        for (const FixedEntry& fixed : entry->Fixed) {
            FieldSpan span = FieldColumns(formType, fixed.Field);
            PlaceField(buffer, span.First, span.Width, fixed.Text, false);
        }
    }
    if (failed) {
        result.Text = std::move(message);
        result.Error = true;
    }
    return result;
}

} // namespace calvex
