#pragma once

#include "document/LineOrigin.h"
#include "platform/DateTime.h"
#include "platform/StringList.h"

#include <string>
#include <string_view>

namespace orvale {
class Prompter;
}

struct TEDITSectionProperty {
    std::string Name;
    std::string Description;
    orvale::DateTime CreatedOn;
    orvale::DateTime LastUpdate;
    // Set by SetLines since the document was created or opened; never stored in a file.
    bool Modified = false;
};

// Restore points of a section's text.
enum class RestoreKind { PreviousUpdate = 0, LastUpdate = 1, LastOpen = 2, LastSave = 3 };

// One named block of text lines with its properties, the text before its last update (for
// the restore commands) and a cache of the fixed-column RPG III lines last produced for it.
// The conversion library reads and extends sections that the program creates, so both are
// built from this one definition.
class TEDITSection {
public:
    TEDITSection(std::string name, std::string description);

    StringList Lines;
    StringList PrevLines;
    TEDITSectionProperty Properties;
    // Index of this section's line-count line in the file text as read at open / last written.
    int OpenLineIndex = -1;
    int SaveLineIndex = -1;
    // First visible editor line when the section was last left.
    int TopLine = 0;
    bool KeepPrevious = true;
    StringList Compiled;
    bool CompiledValid = false;
    // The member line each statement line came from: empty, or one entry per line of Lines
    // (an entry without an origin for a line the user added). Kept in step with Lines by the
    // operations below; a list out of step is read as none.
    std::vector<LineOrigin> Origins;
    // The "**" separator line an array's data came after, with the hash of the description
    // read from it.
    LineOrigin HeadOrigin;
    // Set by an import while it still holds its member: AddConverted then leaves each origin's
    // text empty, and the import moves the member line in once every walk is done, instead of
    // holding a third copy of the member (beside the compiled lines) until then.
    bool OriginTextsPending = false;
    // Parallel to Compiled when filled by a compile: the index in Lines of the statement each
    // compiled line was made from, -1 for the banner and separator lines the compile adds.
    std::vector<int> CompiledFrom;
    // What the last compile found that is not a line of the member (a data block whose count
    // of records differs from its declaration): counted as warnings, shown with the statistics.
    StringList CompileNotes;

    const std::string& GetLine(int index) const { return Lines[static_cast<size_t>(index)]; }
    int LinesCount() const { return static_cast<int>(Lines.size()); }
    void AddLine(std::string s) {
        Lines.push_back(std::move(s));
        if (!Origins.empty())
            Origins.resize(Lines.size());
        CompiledValid = false;
    }
    // A statement converted from a member line: Line is its origin, Ordinal its index in the
    // member, and Line also becomes a compiled line (the member line is what it compiles to).
    void AddConverted(std::string statement, const std::string& line, int ordinal);
    // Replaces the statement of a converted line, the origin staying.
    void ReconvertLine(int index, std::string statement);
    // The origin of line Index, or null when it has none.
    const LineOrigin* OriginAt(int index) const;
    void DeleteLine(int index);
    // Removes the line and appends S at the end (the replaced line moves to the end).
    void ReplaceLine(int index, std::string s);
    // The commit of an edit.
    void SetLines(const StringList& source);
    void GetLines(StringList& dest) const { dest = Lines; }
    void SetKeepPrevious(bool flag);
    void ClearAll();

    // Reads the rest of a section block of a program file, Start being the index of the
    // description line; returns the index just past the block. A date or count that does not
    // match shows "WARNING: The File may be corrupted!" through Prompter.
    int ReadFromLines(const StringList& src, int start, orvale::Prompter& prompter);
    // Appends the block from the name line on and sets SaveLineIndex.
    void WriteToLines(StringList& dest);
    // The start of that block: the name, description, date and count lines (SaveLineIndex is
    // set). The text lines, the end marker and an empty line complete it.
    void WriteHeadToLines(StringList& dest);
    // Reads a compiled-cache block whose count line is at Start and returns the index past
    // the block's empty line. When the count does not match, Compiled is cleared, the warning
    // is shown and the result is -1 (the caller stops reading the area).
    int ReadCompiledFromLines(const StringList& src, int start, orvale::Prompter& prompter);
    // As the two above, but the lines of the block are moved out of Src (left empty there)
    // instead of copied: for a file text that is dropped once it has been read.
    int TakeFromLines(StringList& src, int start, orvale::Prompter& prompter);
    int TakeCompiledFromLines(StringList& src, int start, orvale::Prompter& prompter);

    // Copies one retained version of the text into Dest. Snapshot is the document's file text
    // (as opened for LastOpen, as saved for LastSave). Always discards the compiled cache.
    void Restore(const StringList& snapshot, StringList& dest, RestoreKind kind,
                 orvale::Prompter& prompter);

    // Finds Text in the lines (first occurrence per line). In definition mode the match must
    // stand as a whole word, before any comment and before the first of the operation names
    // ADD, Z-ADD, IF, OR, AND, MOVE, SUB. Line and Column (1-based) are set on success only.
    bool FindText(std::string_view text, bool caseSensitive, bool definitionMode, int& line,
                  int& column) const;

private:
    // The readers above; with Owner (Src itself) the lines are moved instead of copied.
    int ReadBlock(const StringList& src, StringList* owner, int start, orvale::Prompter& prompter);
    int ReadCompiledBlock(const StringList& src, StringList* owner, int start,
                          orvale::Prompter& prompter);
};

// The definition-mode test of FindText for the occurrence of a text of Length characters at
// Pos (0-based) of Line.
bool IsDefinitionMatch(std::string_view line, size_t pos, size_t length);

// Copies one stored section text out of file text: Start is the index of its count line.
// Dest is emptied first; a count that does not match shows the corrupted-file warning.
void ReadSectionLines(const StringList& src, StringList& dest, int start,
                      orvale::Prompter& prompter);

// For each line of Section, the text of its member line that no statement carries, as the
// window shows it: columns 1-5 and columns 75 on, trimmed, joined by a blank when both hold
// something; empty for a line without one (all empty when the section has no origins).
StringList LineTags(const TEDITSection& section);
// The tags LineTags would give Section once Lines became its text (a restored or replaced
// text): the lines that stand unchanged keep theirs, and a line that replaces another keeps
// the one of the line it replaces.
StringList LineTagsFor(const TEDITSection& section, const StringList& lines);

// The value of a bracketed line: the line without its first and last characters.
std::string BracketValue(std::string_view line);
// A bracketed decimal number, or -1 when the value is not one.
int BracketNumber(std::string_view line);

inline constexpr const char* kCorruptedFileWarning = "WARNING: The File may be corrupted!";
inline constexpr const char* kEndOfSection = "[End Of Sec]";
