#pragma once

// The program file: the text a program document is kept in, read and written here and nowhere
// else. Three parts follow each other:
//
//   the tree       "[Begin Of Tree Program]", one block per section or folder in tree order,
//                  "[End Of Program]": every section's properties and text
//   compiled area  an empty line, "[Begin Of Compiled Section]", one block per section,
//                  "[End Of Compiled Section]": the fixed-column lines last made for each
//   origin area    "[Begin Of Line Origins, Version 2]" (3 for a dated program), one block per
//   section,
//                  "[End Of Line Origins]": the member line each statement came from
//
// A reader that knows only the tree stops at its end marker; one that knows the compiled area
// stops at that area's end; one that knows only the first version of the origin area, whose
// start marker had no version, passes over an area with one. The areas are optional: a file
// ends wherever the next area has nothing to keep.
//
// What the readers find wrong comes back as diagnostics for the caller to show; reading goes
// on where the text allows it.

#include "document/EditSection.h"
#include "platform/Diagnostics.h"
#include "platform/RegionalSettings.h"
#include "platform/StringList.h"

#include <string>
#include <string_view>
#include <vector>

class TEDITProgram;

namespace orvale {
class SafeFileWriter;
}

inline constexpr const char* kBeginOfProgram = "[Begin Of Tree Program]";
inline constexpr const char* kEndOfProgram = "[End Of Program]";
inline constexpr const char* kFolderMarker = "SectionFolder";
inline constexpr const char* kEndOfSection = "[End Of Sec]";
inline constexpr const char* kBeginOfCompiled = "[Begin Of Compiled Section]";
inline constexpr const char* kEndOfCompiled = "[End Of Compiled Section]";
// The start marker of the first version of the origin area, which had none.
inline constexpr const char* kBeginOfOrigins = "[Begin Of Line Origins]";
inline constexpr const char* kEndOfOrigins = "[End Of Line Origins]";
// The versions of the origin area this program writes: the second for every program, the third,
// whose entries carry the host's records too, for a program imported from a dated member. An
// area of a version later than kOriginsVersion is passed over.
inline constexpr int kPlainOriginsVersion = 2;
inline constexpr int kDatedOriginsVersion = 3;
inline constexpr int kOriginsVersion = kDatedOriginsVersion;

inline constexpr const char* kWrongFormatError = "ERROR: Wrong format or File damaged!";
inline constexpr const char* kCorruptedFileWarning = "WARNING: The File may be corrupted!";
inline constexpr const char* kNewerOriginsWarning =
    "WARNING: The member lines of the statements were kept by a later version of Orvale and are "
    "not read: a build makes every line anew, and saving the program drops them!";

// The value of a bracketed line: the line without its first and last characters.
std::string BracketValue(std::string_view line);
// A bracketed decimal number, or -1 when the value is not one.
int BracketNumber(std::string_view line);
// The start marker of the origin area of Version.
std::string OriginsMarker(int version);

// Where the text of a program file goes: into a list of lines (the document's SaveLines), or,
// for a save that does not keep its text, straight into the file, a block at a time.
class ProgramTextWriter {
public:
    explicit ProgramTextWriter(StringList& lines, orvale::SafeFileWriter* stream = nullptr)
        : Lines(lines), Stream(stream) {}

    void Add(std::string line) { Lines.push_back(std::move(line)); }
    void AddTexts(const std::vector<SectionLine>& lines);
    void AddTexts(const std::vector<CompiledLine>& lines);
    // Index of the next line in the whole text.
    int LineNumber() const { return static_cast<int>(Flushed + Lines.size()); }
    // Counts lines written to the file in pieces.
    void Skip(size_t lines) { Flushed += lines; }
    // Hands what is gathered to the file when the text goes there.
    void Flush();
    // The file the text goes to, or null: a line may be written there in pieces once Flush has
    // handed over what came before it.
    orvale::SafeFileWriter* File() const { return Stream; }

private:
    template <class Line> void AddEach(const std::vector<Line>& lines);

    StringList& Lines;
    orvale::SafeFileWriter* Stream;
    size_t Flushed = 0;
};

// -- Section blocks

// Reads the rest of a section block, Start being the index of its description line; returns
// the index just past the block. The lines are added to what the section holds; its compiled
// lines are dropped. The two date lines are left to the caller, which reads the dates of a
// whole file at once: their texts are returned in Dates. With Take (the file text is dropped
// once read) the lines are moved out of Src instead of copied.
int ReadFromLines(TEDITSection& section, StringList& src, int start, bool take,
                  std::string (&dates)[2], orvale::Diagnostics& found);
// Appends the block from the name line on; SaveLineIndex is set to its count line. LastLines
// are written as more lines of the text (the records of the code page and the date formats).
void WriteToLines(TEDITSection& section, ProgramTextWriter& out, StringList lastLines = {});
// Reads a compiled block whose count line is at Start and returns the index past the block's
// empty line; -1 when the count does not match (the section's compiled lines are then dropped
// and the caller stops reading the area).
int ReadCompiledFromLines(TEDITSection& section, StringList& src, int start, bool take,
                          orvale::Diagnostics& found);
// The text of a section as a file text stores it, Start being its count line; false, leaving
// Dest alone, when Src has no such line.
bool ReadSectionLines(const StringList& src, int start, StringList& dest,
                      orvale::Diagnostics& found);

// -- Dates
//
// A file records the regional formats its dates were written in, as the last line of the text
// of its properties ("Date Format=" + formats + "|" + the properties' creation text as a
// sample), and is read with them wherever it is opened. A file without the record (written
// before, or by a version that knows none) is read with the current settings, then with the
// common forms of dates; a date that still cannot be read keeps its text, with one warning.

std::string DateRecordLine(const orvale::RegionalSettings& formats, std::string_view sample);
bool ReadDateRecordLine(std::string_view line, orvale::RegionalSettings& formats,
                        std::string& sample);
std::string UnreadDatesWarning(int count);

// -- The code page
//
// A program whose text is in another code page than ISO-8859-1 records it in a line of its
// properties' text before the record of the dates ("Code Page=" + name); a program in
// ISO-8859-1 writes none, so that its file is what it always was. A version that knows no such
// line shows it as a property and keeps it where it stands.

inline constexpr std::string_view kCodePageKey = "Code Page=";
std::string CodePageWarning(const std::string& name);

// -- Whole parts, of a document whose tree holds the fixed sections and folders of its kind

// The whole text: the tree, the compiled area (unless Compiled is false) and the origin area.
void ReadProgramText(TEDITProgram& program, StringList& lines, bool compiled, bool take,
                     orvale::Diagnostics& found);

// Reads the tree part of Lines; returns the index two lines past its end marker, where the
// compiled area begins. Sets the document's ReadWhole.
struct TreeReading {
    int AreaStart = 0;
    // Dates of the file were written in other formats than the current ones: compiled lines
    // that show them (the banners of a build) no longer show what a build would.
    bool OtherDateFormats = false;
};
// CompiledRead false says the compiled area will not be read: a text that is taken then gives
// up the compiled lines before the sections take theirs, so that the file's copy of the member
// is gone before the sections' line records are made.
TreeReading ReadTree(TEDITProgram& program, StringList& lines, bool take,
                     orvale::Diagnostics& found, bool compiledRead = true);
int ReadTreeText(TEDITProgram& program, StringList& lines, bool take, orvale::Diagnostics& found);
void WriteTreeText(TEDITProgram& program, ProgramTextWriter& out);
// Drops the compiled lines of each section that show its moments, so that the next build
// writes them in the current formats.
void DropDatedCompiledLines(TEDITProgram& program);

// The compiled area at Start (the index ReadTreeText returned); a file without one is read as
// one without compiled lines.
void ReadCompiledArea(TEDITProgram& program, StringList& lines, int start, bool take,
                      orvale::Diagnostics& found);
void WriteCompiledArea(TEDITProgram& program, ProgramTextWriter& out);
// The index of the end marker of the compiled area at Start, each block passed by its count;
// -1 when Start holds no compiled area or a block is damaged. GiveUp empties the compiled
// lines passed (a text that is dropped once read).
int PassCompiledArea(StringList& lines, int start, bool giveUp);

// The origin area, after the compiled area that starts at Start. Reading it without the
// compiled area (which a reader may leave unread) gives up the compiled lines of a text that is
// taken as it passes them.
void ReadOriginArea(TEDITProgram& program, StringList& lines, int start, bool take,
                    orvale::Diagnostics& found);
// Written only when a section has origins; CompiledAreaWritten false puts an empty compiled
// area first, so that a reader of the compiled area finds one.
void WriteOriginArea(TEDITProgram& program, ProgramTextWriter& out, bool compiledAreaWritten);

// -- What the program browser reads

// The description line and the text of the top-level section Name, found without reading the
// sections before it. False when the text is not a tree program, is damaged before the
// section, or does not have it.
struct StoredSection {
    std::string Description;
    StringList Lines;
};
enum class FindResult { Found, NotAProgram, Damaged, Missing };
FindResult FindStoredSection(const StringList& lines, std::string_view name,
                             StoredSection& section);
