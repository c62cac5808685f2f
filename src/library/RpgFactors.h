#pragma once

// The pieces of RPG III calculations the library's reader looks at: the names in a factor, a
// literal's value and what an operation code does with its factors and result.

#include "library/Columns.h"
#include "library/MemberFacts.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvale::library {

// A piece of a factor that is a name, not a literal, a number or a special word.
bool IsName(std::string_view piece);

// Reserved fields of the language, which every program may use and none defines.
bool IsReservedField(std::string_view name);

// Calls F with each name of a factor: "NAME", "ARRAY,INDEX", "BASE:START"; literals, numbers
// and special words are left out.
template <class F> void ForEachName(std::string_view factor, F&& f) {
    size_t start = 0;
    for (size_t i = 0; i <= factor.size(); ++i) {
        if (i < factor.size() && factor[i] == '\'') {
            size_t close = factor.find('\'', i + 1);
            if (close == std::string_view::npos)
                return;
            i = close;
            continue;
        }
        if (i == factor.size() || factor[i] == ',' || factor[i] == ':') {
            std::string_view piece = TrimBlanks(factor.substr(start, i - start));
            if (IsName(piece)) {
                std::string name = UpperName(piece);
                if (!IsReservedField(name))
                    f(std::move(name));
            }
            start = i + 1;
        }
    }
}

// The text of a quoted literal without its quotes (doubled quotes as one); empty when the
// factor is not one literal.
std::string LiteralValue(std::string_view factor);

enum class OpClass {
    Default,    // F1, F2 read; result changed
    Compare,    // F1, F2 read; no result field
    FileRead,   // F1 key read; F2 file read; result changed
    FileUpdate, // F2 updated; result read
    FileDelete, // F1 key read; F2 deleted
    FileWrite,  // F2 written; result read
    FileOther,  // F1 read; F2 file used
    Excpt,      // F2 an exception output name
    Call,       // F2 program; result a parameter list
    Free,       // F2 program used; result a parameter list
    Parm,       // F1 changed, F2 read, result the parameter
    PList,      // F1 list defined
    KList,      // F1 list defined
    KFld,       // result read
    BegSr,      // F1 subroutine defined
    ExSr,       // F2 subroutine called
    Cas,        // F1, F2 read; result subroutine called
    Cab,        // F1, F2 read; result a label
    Label,      // F1 or F2 a label
    Defn,       // *LIKE / *NAMVAR definition
    DataIn,     // F2 data area read
    DataOut,    // F2 data area written
    Unlock,     // F2 a data area or a file
    ResultRead, // F2 read; result read (TESTB, TESTN, TESTZ)
    ChangeF2,   // F2 changed (CLEAR, RESET, SORTA)
    None,       // no names
};

struct OpInfo {
    OpClass Class = OpClass::Default;
    std::uint8_t Code = 0;
};

// The class of an operation code, and its code in the index.
OpInfo Classify(std::string_view op);

} // namespace orvale::library
