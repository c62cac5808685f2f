#pragma once

// Calculation specifications <-> operation statements. The operation-code table decides which
// calculation fields become parameters, in which order, which are required, and how the
// statement is indented to show the block structure. Conditioning indicators and the control
// level stand in front of the statement as a flags part in braces: {|LR| 01N02}Add(A,B,C).

#include "OpCodeTable.h"
#include "Statement.h"

#include <string>
#include <string_view>

namespace calvex {

class TRPG3ConvertCalcolus {
public:
    TRPG3ConvertCalcolus();

    // Decodes the operation code OpCode (the text of columns 28-32) into the flag members
    // below. A code the table lacks uses every item when it holds text and none when blank.
    void DecodeOpCode(std::string_view opCode);

    // One calculation line to its statement. Level is the indentation level before the line
    // (0 at the start of a routine) and comes back as the level for the next line. A line whose
    // statement would not compile back to the same columns is written as RPG(columns 6-74).
    std::string ConvertLine(std::string_view line, int& level, int indentWidth);

    // The statement form of a specification line as the operation code shapes it, before the
    // check that it compiles back; DecodeOpCode must have run for the line.
    std::string StatementForm(std::string_view line, int level, int indentWidth) const;

    // One parsed statement to one result line: the 80-column calculation line, or an error or
    // warning line.
    ResultLine CompileStatement(const ParsedStatement& statement);

    // Decoded flags of the last operation code.
    bool HasParams = false;    // A: written with a parameter list
    bool UsesFactor1 = false;  // B
    bool UsesFactor2 = false;  // C
    bool UsesResult = false;   // D
    bool UsesExtender = false; // E
    bool UsesHigh = false;     // F
    bool UsesLow = false;      // G
    bool UsesEqual = false;    // H
    bool UsesLength = false;   // I
    bool UsesDecimals = false; // J
    int K = 0;                 // levels added after the line
    int L = 0;                 // levels removed before the line
    int M = 0;                 // levels added before the line and removed after it

private:
    const OpCodeTable& Table;
    std::string Buffer;  // the 80-column line being compiled
    std::string Form;    // the statement form of the line being converted
    std::string Flags;   // the flags part as it goes into columns 7-17
    std::string Param;   // one parameter after element-notation rewriting
    std::string Message; // a compile message that carries a parameter number
    // Reused by the check of ConvertLine so that it does not allocate per line.
    ParsedStatement Check;
    Definitions NoDefinitions;

    // Fills Buffer; returns nullptr on success or the error message.
    const char* Compile(const ParsedStatement& statement);
    // StatementForm into S, which is cleared first.
    void WriteStatementForm(std::string_view line, int level, int indentWidth,
                            std::string& s) const;
    const char* ParamMessage(int index, std::string_view text);
    bool CompilesBack(std::string_view line, const std::string& statement);
};

} // namespace calvex
