#pragma once

// The frame's open and save dialogs as the section-text commands use them: Import Text File
// (insert at cursor, replace selection, override all) reads a text file chosen in the open
// dialog, Export Text File (selected text, all section) writes one chosen in the save dialog.
// Both offer the frame's filter list with "All files" selected and leave the dialogs as the
// frame's other commands expect them: first filter, default extension "RPG".

#include "platform/StringList.h"
#include "qtedge/TextEdge.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QFileDialog;

// The frame's filter list: pairs of description and pattern, separated by "|". Each filter is
// named by what its files hold and shown with its patterns, as the desktop's dialogs do.
inline constexpr const char* kMainDialogFilter =
    "Orvale programs|*.RPG|RPG/400 members|*.RP3|Text files|*.TXT|All files|*.*";
inline constexpr const char* kImportTextTitle = "Quenby - Import Text File";
inline constexpr const char* kExportTextTitle = "Quenby - Export Text File";
// The filter the text commands select: all files.
inline constexpr int kAllFilesFilter = 4;

// The dialog's name filters for a filter list. Patterns match as they would where the list
// comes from: an extension in either case, and "*.*" any name, with or without a dot.
QStringList NameFiltersOf(const std::string& filterList);
// Gives a frame dialog the frame's filters and the default extension "RPG".
void ApplyMainFilter(QFileDialog& dialog);

// Filters are counted from 1, as the frame counts them (0: none of the list is selected).
int FilterIndex(const QFileDialog& dialog);
void SetFilterIndex(QFileDialog& dialog, int index);

// Runs a file dialog modally; true when the user confirmed.
using TRunFileDialog = std::function<bool(QFileDialog&)>;

// The file to read a section's text from, or nothing when the user cancelled.
std::optional<std::string> ChooseTextFileToImport(QFileDialog& mainOpenDialog,
                                                  const TRunFileDialog& run = {});
// The file to write a section's text to, or nothing when the user cancelled.
std::optional<std::string> ChooseTextFileToExport(QFileDialog& mainSaveDialog,
                                                  const TRunFileDialog& run = {});

// -- Section text files
//
// A section's text is single-byte (Latin-1) text. Its text files are read as UTF-8, the text
// of other Linux tools, or as Latin-1 when the file is not valid UTF-8; a leading byte-order
// mark is dropped and lines may end in LF or CR LF. They are written as UTF-8 with LF, or as
// Latin-1 with CR LF for the tools that expect the stored layout.

enum class TTextFileEncoding { Utf8Lf, Latin1CrLf };

// The file's text as single-byte lines. A character the section's text cannot hold refuses
// the whole file: false, with Error naming the file, the line and the character.
// Edge is the code page of the section's text.
bool ReadSectionTextFile(const std::string& path, StringList& lines, std::string* error,
                         const orvale::TextEdge& edge = {});
// The same for text already in memory (the file's bytes).
bool DecodeSectionText(std::string_view bytes, StringList& lines, std::string* error,
                       const orvale::TextEdge& edge = {});
// Writes the lines, each followed by its line end, replacing the file whole.
bool WriteSectionTextFile(const std::string& path, const StringList& lines,
                          TTextFileEncoding encoding, std::string* error,
                          const orvale::TextEdge& edge = {});
// "line 3 holds the character "€" (U+20AC), which a section's text cannot hold."
// Of, when given, names the text the line is counted in ("line 2 of the pasted text").
std::string CharacterNotHeldMessage(char32_t character, int line, std::string_view of = {});
