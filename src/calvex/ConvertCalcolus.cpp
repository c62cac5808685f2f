#include "ConvertCalcolus.h"

#include "ConvertText.h"
#include "document/ParseString.h"

namespace calvex {

namespace {

constexpr int LineWidth = 80;
constexpr int FlagsFirst = 7; // control level and conditioning indicators, columns 7-17
constexpr int FlagsWidth = 11;
constexpr int OpCodeFirst = 28; // operation code, columns 28-32
constexpr int OpCodeWidth = 5;
constexpr int CommentFirst = 60; // trailing comment, columns 60-74
constexpr int CommentWidth = 15;

const OpCodeFlags& UnknownFlags() {
    static const OpCodeFlags flags = DecodeOpCodeFlags(UnknownOpCodeFlags);
    return flags;
}

const OpCodeFlags& BlankFlags() {
    static const OpCodeFlags flags = DecodeOpCodeFlags(BlankOpCodeFlags);
    return flags;
}

// Statements the special-line check handles instead of the operation-code table.
bool IsRawName(std::string_view upperName) {
    return upperName == "RPG" || upperName == "SQL";
}

bool IsSpecialLine(std::string_view name) {
    return !name.empty() && (name[0] == '#' || name[0] == '+' || name.starts_with("/*"));
}

void AppendBlanks(std::string& s, int count) {
    if (count > 0)
        s.append(static_cast<size_t>(count), ' ');
}

std::string_view TrimRightBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// The negation position in front of each of the three conditioning indicators (columns 9, 12
// and 15) holds a blank or an N.
bool ValidNegations(const std::string& buffer) {
    for (int column : {9, 12, 15}) {
        char c = buffer[static_cast<size_t>(column - 1)];
        if (c != ' ' && c != 'N')
            return false;
    }
    return true;
}

} // namespace

TRPG3ConvertCalcolus::TRPG3ConvertCalcolus() : Table(OpCodeTable::Instance()) {
    Buffer.reserve(LineWidth);
    Form.reserve(96);
    Flags.reserve(32);
    Param.reserve(32);
}

void TRPG3ConvertCalcolus::DecodeOpCode(std::string_view opCode) {
    opCode = TrimView(opCode);
    const OpCodeFlags* flags = Table.Find(opCode);
    if (!flags)
        flags = opCode.empty() ? &BlankFlags() : &UnknownFlags();
    HasParams = flags->HasParams;
    UsesFactor1 = flags->Uses[ItemFactor1];
    UsesFactor2 = flags->Uses[ItemFactor2];
    UsesResult = flags->Uses[ItemResult];
    UsesExtender = flags->Uses[ItemExtender];
    UsesHigh = flags->Uses[ItemHigh];
    UsesLow = flags->Uses[ItemLow];
    UsesEqual = flags->Uses[ItemEqual];
    UsesLength = flags->Uses[ItemLength];
    UsesDecimals = flags->Uses[ItemDecimals];
    K = flags->K;
    L = flags->L;
    M = flags->M;
}

std::string TRPG3ConvertCalcolus::StatementForm(std::string_view line, int level,
                                                int indentWidth) const {
    std::string s;
    WriteStatementForm(line, level, indentWidth, s);
    return s;
}

void TRPG3ConvertCalcolus::WriteStatementForm(std::string_view line, int level, int indentWidth,
                                              std::string& s) const {
    s.clear();
    if (!ColumnsBlank(line, 7, 17)) {
        s += '{';
        if (!ColumnsBlank(line, 7, 8)) {
            s += '|';
            s += Column(line, 7);
            s += Column(line, 8);
            s += '|';
        }
        s.append(TrimRightView(Columns(line, 9, 17)));
        s += '}';
    }
    AppendBlanks(s, indentWidth * level - static_cast<int>(s.size()) + 18);

    std::string_view opCode = TrimmedColumns(line, OpCodeFirst, OpCodeFirst + OpCodeWidth - 1);
    for (size_t i = 0; i < opCode.size(); ++i)
        s += i == 0 ? UpperChar(opCode[i]) : LowerChar(opCode[i]);

    if (HasParams) {
        s += '(';
        // Every used item is written in slot order, so its position in the list is the slot
        // the compile gives it; a comma separates it from the items written before.
        bool any = false;
        auto item = [&](bool used, int from, int to, bool elements) {
            if (!used)
                return;
            if (any)
                s += ',';
            any = true;
            std::string_view text = TrimmedColumns(line, from, to);
            if (elements)
                AppendElementNotation(s, text);
            else
                s.append(text);
        };
        item(UsesFactor1, 18, 27, true);
        item(UsesFactor2, 33, 42, true);
        item(UsesResult, 43, 48, true);
        item(UsesExtender, 53, 53, false);
        item(UsesHigh, 54, 55, false);
        item(UsesLow, 56, 57, false);
        item(UsesEqual, 58, 59, false);
        item(UsesLength, 49, 51, false);
        item(UsesDecimals, 52, 52, false);
        s += ')';
    }
    TrimTrailingCommas(s);
    // An indicator-only line ends in its indentation.
    while (!s.empty() && s.back() == ' ')
        s.pop_back();

    std::string_view comment = TrimmedColumns(line, CommentFirst, 74);
    if (!comment.empty()) {
        AppendBlanks(s, CommentFirst - static_cast<int>(s.size()));
        s += "/* ";
        s.append(comment);
    }
}

std::string TRPG3ConvertCalcolus::ConvertLine(std::string_view line, int& level, int indentWidth) {
    std::string statement;
    if (ClassifyLine(line, statement) != LineClass::Specification)
        return statement;
    if (Column(line, 7) == '+') {
        // An embedded-SQL continuation: the compile writes the statement from column 7 on.
        statement.assign("+");
        statement.append(TrimRightBlanks(Columns(line, 8, 74)));
        return statement;
    }

    DecodeOpCode(Columns(line, OpCodeFirst, OpCodeFirst + OpCodeWidth - 1));
    level = level - L + M;
    const int lineLevel = level;
    level = level - M + K;

    // Built in a buffer kept from line to line and copied at its size: the statement is
    // stored for as long as the program is open, and most are far shorter than a line.
    WriteStatementForm(line, lineLevel, indentWidth, Form);
    statement.assign(Form);
    if (CompilesBack(line, statement))
        return statement;

    // The statement form cannot carry this line: keep its columns as they stand. The raw form
    // is indented like the statement it replaces, so the block structure stays readable.
    std::string_view raw = TrimRightBlanks(Columns(line, 6, 74));
    statement.clear();
    if (raw == "C") {
        // Nothing but the form type: RPG(C) would be refused as a line without code, while a
        // blank flags part compiles to exactly this line.
        statement = "{ }";
        return statement;
    }
    AppendBlanks(statement, indentWidth * lineLevel + 18);
    statement += "RPG(";
    statement.append(raw);
    statement += ')';
    return statement;
}

bool TRPG3ConvertCalcolus::CompilesBack(std::string_view line, const std::string& statement) {
    static const ParseSwitches switches{
        .CodeComments = true, .CommentLines = true, .BlankLines = false};
    ParseStatementLine(statement, switches, NoDefinitions, Check);
    if (Check.Skipped || Check.Failed || !Check.Messages.empty() || Check.Params.empty())
        return false;
    if (IsRawName(Check.Params[0]) || IsSpecialLine(Check.Name) || IsSpecialLine(Check.Params[0])) {
        ResultLine result = CompileStatement(Check);
        return !result.Error && !result.Warning &&
               SameSpecification(line, result.Text, CommentFirst);
    }
    return Compile(Check) == nullptr && SameSpecification(line, Buffer, CommentFirst);
}

ResultLine TRPG3ConvertCalcolus::CompileStatement(const ParsedStatement& statement) {
    std::string upper = statement.Params.empty() ? UpperCase(statement.Name) : std::string();
    std::string_view name = statement.Params.empty() ? upper : statement.Params[0];
    if (IsRawName(name))
        return CheckSpecialLine(name, 'C',
                                statement.Params.size() > 1
                                    ? std::string_view(statement.Params[1])
                                    : std::string_view(statement.ParamText));
    if (IsSpecialLine(statement.Name))
        return CheckSpecialLine(statement.Name, 'C', statement.Name);
    if (IsSpecialLine(name))
        return CheckSpecialLine(name, 'C', name);

    if (const char* message = Compile(statement))
        return ErrorLine(message);
    ResultLine result;
    result.Text = Buffer;
    return result;
}

const char* TRPG3ConvertCalcolus::Compile(const ParsedStatement& statement) {
    std::string_view name =
        statement.Params.empty() ? std::string_view(statement.Name) : statement.Params[0];

    // A control level is written between bars: |LR| 01 becomes LR 01; without it the
    // indicators start in column 9, after the two control-level columns.
    Flags.clear();
    const std::string& part = statement.Flags;
    size_t bar = part.find('|');
    size_t second = bar == std::string::npos ? bar : part.find('|', bar + 1);
    if (second != std::string::npos) {
        Flags.append(part, 1, second - 1);
        if (bar >= 1)
            Flags[bar - 1] = ' ';
        Flags.append(part, second + 1);
    } else {
        Flags.assign("  ");
        Flags.append(part);
        if (bar != std::string::npos)
            Flags[bar + 2] = ' ';
    }

    Buffer.assign(LineWidth, ' ');
    Buffer[5] = 'C';

    if (name == "*NIL*") {
        // Conditioning indicators alone (an AND or OR line of a condition).
        if (Flags.size() > FlagsWidth)
            return "**ERROR: Flag part too long!";
        PlaceField(Buffer, FlagsFirst, FlagsWidth, Flags, false);
        PlaceField(Buffer, CommentFirst, CommentWidth, statement.Comment, false);
        if (!ValidNegations(Buffer))
            return "**ERROR: Invalid flag was found!";
        return nullptr;
    }

    const OpCodeFlags* op = Table.Find(name);
    if (!op)
        return "**ERROR: Invalid operating code!";
    const int count = statement.Params.empty() ? 0 : static_cast<int>(statement.Params.size()) - 1;
    if (count > op->SlotCount)
        return "**ERROR: Too many params!";
    if (Flags.size() > FlagsWidth)
        return "**ERROR: Flag part too long!";

    PlaceField(Buffer, OpCodeFirst, OpCodeWidth, name, false);
    PlaceField(Buffer, FlagsFirst, FlagsWidth, Flags, false);
    PlaceField(Buffer, CommentFirst, CommentWidth, statement.Comment, false);

    for (int i = 1; i <= count; ++i) {
        const std::string& given = statement.Params[static_cast<size_t>(i)];
        size_t open = given.find('[');
        if (open == std::string::npos) {
            Param.assign(given);
        } else {
            // NAME[IDX]REST is the element notation of NAME,IDX followed by REST.
            size_t close = given.find(']', open + 1);
            if (close == std::string::npos)
                return "**ERROR: Bad parameter!";
            Param.assign(given, 0, open);
            Param += ',';
            Param.append(given, open + 1, close - open - 1);
            Param.append(given, close + 1);
        }

        const CalcSlot& slot = op->Slots[static_cast<size_t>(i - 1)];
        bool rightJustified = false;
        if (!Param.empty() && slot.Integer) {
            if (!IsInteger(Param))
                return ParamMessage(i, " must be of integer type!");
            rightJustified = true;
        }
        if (Param.empty()) {
            if (slot.Required)
                return ParamMessage(i, " can't be void!");
            continue;
        }
        CalcField field = CalcItemField(slot.Item);
        int placed = PlaceField(Buffer, field.First, field.Width, Param, rightJustified);
        if (placed < static_cast<int>(Param.size()))
            return ParamMessage(i, " too long!");
    }

    for (int s = count; s < op->SlotCount; ++s)
        if (op->Slots[static_cast<size_t>(s)].Required)
            return "**ERROR: Required Parameter not Found!";
    if (!ValidNegations(Buffer))
        return "**ERROR: Invalid flag was found!";
    return nullptr;
}

const char* TRPG3ConvertCalcolus::ParamMessage(int index, std::string_view text) {
    Message.assign("**ERROR: Param N.");
    Message += std::to_string(index);
    Message.append(text);
    return Message.c_str();
}

} // namespace calvex
