#pragma once

#include "document/LineOrigin.h"
#include "platform/DateTime.h"
#include "platform/StringList.h"

#include <string>
#include <string_view>
#include <vector>

struct TEDITSectionProperty {
    std::string Name;
    std::string Description;
    orvale::DateTime CreatedOn;
    orvale::DateTime LastUpdate;
    // Set by SetLines since the document was created or opened; never stored in a file.
    bool Modified = false;
    // The text a moment was stored as when no date format reads it (a file or a member written
    // on another machine): kept, shown and written back as it stands, so that it is never
    // lost nor read as another day. Empty while the moment holds.
    std::string UnreadCreatedOn;
    std::string UnreadLastUpdate;

    // The moments as the current regional settings write them, or the texts kept.
    std::string CreatedOnText() const;
    std::string LastUpdateText() const;
};

// Restore points of a section's text.
enum class RestoreKind { PreviousUpdate = 0, LastUpdate = 1, LastOpen = 2, LastSave = 3 };

// One fixed-column RPG III line produced for a section by an import or a compile.
struct CompiledLine {
    std::string Text;
    // Index of the statement line it was compiled from; -1 for a line the compile adds (banner
    // and separator lines) and for every line of a section whose compiled lines do not know
    // their statements (see TEDITSection::CompiledLinked).
    int From = -1;
};

// One named block of text lines with its properties, the text before its last update (for
// the restore commands) and a cache of the fixed-column RPG III lines last produced for it.
// The conversion library reads and extends sections that the program creates, so both are
// built from this one definition.
//
// The lines are records (SectionLine, CompiledLine) that only the operations below change, so
// that what a line carries cannot fall out of step with it.
class TEDITSection {
public:
    TEDITSection(std::string name, std::string description);

    StringList PrevLines;
    TEDITSectionProperty Properties;
    // Index of this section's line-count line in the file text as read at open / last written.
    int OpenLineIndex = -1;
    int SaveLineIndex = -1;
    // First visible editor line when the section was last left.
    int TopLine = 0;
    bool KeepPrevious = true;
    // True while the compiled lines belong to the current text.
    bool CompiledValid = false;
    // The "**" separator line an array's data came after, with the hash of the description
    // read from it.
    LineOrigin HeadOrigin;
    // Set by an import while it still holds its member: AddConverted then leaves each origin's
    // text empty, and the import moves the member line in once every walk is done, instead of
    // holding a third copy of the member (beside the compiled lines) until then.
    bool OriginTextsPending = false;
    // The texts of the moments a member's banner lines gave the section, kept by an import
    // until it reads the dates of the whole member at once (they were all written on one
    // machine, so a text that reads two ways is read as its neighbours are).
    std::string BannerMoments[2];
    // What the last compile found that is not a line of the member (a data block whose count
    // of records differs from its declaration): counted as warnings, shown with the statistics.
    StringList CompileNotes;

    // -- Text lines
    const std::vector<SectionLine>& Lines() const { return Lines_; }
    const std::string& GetLine(int index) const { return Lines_[static_cast<size_t>(index)].Text; }
    int LinesCount() const { return static_cast<int>(Lines_.size()); }
    // The text alone, as a list.
    StringList LineTexts() const;
    void GetLines(StringList& dest) const { dest = LineTexts(); }
    void AddLine(std::string s);
    // A statement converted from a member line: Line is its origin, Ordinal its index in the
    // member, and Line also becomes a compiled line (the member line is what it compiles to).
    void AddConverted(std::string statement, const std::string& line, int ordinal);
    // Replaces the statement of a converted line, the origin staying.
    void ReconvertLine(int index, std::string statement);
    void DeleteLine(int index);
    // Removes the line and appends S at the end (the replaced line moves to the end).
    void ReplaceLine(int index, std::string s);
    // The commit of an edit: the lines that stand unchanged keep what they carry.
    void SetLines(const StringList& source);
    // Replaces the whole text with lines that carry nothing, without the effects of an edit
    // (last update, previous text, modified flag): a text read or made by the program itself.
    void AssignLines(StringList lines);
    // Appends lines that carry nothing, moved out of Lines from First to End.
    void AppendLines(StringList& lines, size_t first, size_t end);
    void SetKeepPrevious(bool flag);
    void ClearAll();
    // Gives back the room the lists grew beyond what they hold.
    void ShrinkToFit();

    // -- Origins of the lines
    // The origin of line Index, or null when it has none.
    const LineOrigin* OriginAt(int index) const;
    // The origin of line Index, to be completed in place (its member line, its place).
    LineOrigin& EditOrigin(int index) { return Lines_[static_cast<size_t>(index)].Origin; }
    // Whether the section keeps origins for its lines (its text came from a member, or from a
    // file that kept them): only then has it entries to write in the line-origin area.
    bool TracksOrigins() const { return TracksOrigins_; }
    // Gives each line its origin; false, changing nothing, unless there is one per line.
    bool SetOrigins(std::vector<LineOrigin> origins);
    // Forgets every origin and record (the lines are then compiled from their statements alone).
    void DropOrigins();

    // -- The host's records of the lines (a section of a dated member)
    // Gives line Index the record of its member line.
    void SetRecord(int index, HostRecord record);
    // The record of the "**" separator of an array's data (see HeadOrigin).
    const HostRecord& HeadRecord() const { return HeadRecord_; }
    void SetHeadRecord(HostRecord record) { HeadRecord_ = record; }
    // Whether a line or the separator has a record.
    bool HasRecords() const;

    // -- Compiled lines
    const std::vector<CompiledLine>& Compiled() const { return Compiled_; }
    size_t CompiledCount() const { return Compiled_.size(); }
    const std::string& CompiledText(size_t k) const { return Compiled_[k].Text; }
    // The compiled text alone, as a list.
    StringList CompiledTexts() const;
    // Whether each compiled line knows the statement it was made from (a compile made them);
    // lines read from a file or taken from a member by an import do not.
    bool CompiledLinked() const { return CompiledLinked_; }
    // Empties the compiled lines (CompiledValid is left to the caller).
    void ClearCompiled();
    // A line of a compile, made from statement From (-1: added by the compile).
    void AddCompiled(std::string text, int from);
    // A line whose statement is not known.
    void AddCompiledText(std::string text);
    // Replaces the compiled lines with lines whose statements are not known.
    void AssignCompiled(StringList lines);
    void ReserveCompiled(size_t count) { Compiled_.reserve(count); }
    // The text of compiled line K, to be changed in place (a change tag).
    std::string& EditCompiledText(size_t k) { return Compiled_[k].Text; }

    // Copies one retained version of the text into Dest. Stored is the section's text as the
    // program file held it when it was opened (for LastOpen) or last saved (for LastSave), null
    // when that is not kept. Always discards the compiled cache.
    void Restore(const StringList* stored, StringList& dest, RestoreKind kind);

    // Finds Text in the lines (first occurrence per line). In definition mode the match must
    // stand as a whole word, before any comment and before the first of the operation names
    // ADD, Z-ADD, IF, OR, AND, MOVE, SUB. Line and Column (1-based) are set on success only.
    bool FindText(std::string_view text, bool caseSensitive, bool definitionMode, int& line,
                  int& column) const;

private:
    std::vector<SectionLine> Lines_;
    std::vector<CompiledLine> Compiled_;
    bool TracksOrigins_ = false;
    bool CompiledLinked_ = true;
    HostRecord HeadRecord_;
};

// The definition-mode test of FindText for the occurrence of a text of Length characters at
// Pos (0-based) of Line.
bool IsDefinitionMatch(std::string_view line, size_t pos, size_t length);

// For each line of Section, the text of its member line that no statement carries, as the
// window shows it: columns 1-5 and columns 75 on, trimmed, joined by a blank when both hold
// something; empty for a line without one (all empty when the section has no origins).
StringList LineTags(const TEDITSection& section);

// The lines of Section whose record says they changed on or after Since (YYMMDD), in order.
std::vector<int> LinesChangedSince(const TEDITSection& section, std::int32_t since);
// The first line of Section whose record holds Sequence; -1 when none does.
int LineOfSequence(const TEDITSection& section, std::int32_t sequence);
// The tags LineTags would give Section once Lines became its text (a restored or replaced
// text): the lines that stand unchanged keep theirs, and a line that replaces another keeps
// the one of the line it replaces.
StringList LineTagsFor(const TEDITSection& section, const StringList& lines);
// Likewise the host's records of those lines; empty when the section holds none.
std::vector<HostRecord> LineRecordsFor(const TEDITSection& section, const StringList& lines);
