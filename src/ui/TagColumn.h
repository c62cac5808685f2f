#pragma once

// The margin column of the source editor that shows each line's tags: the text in columns 1-5
// and from column 75 on of the member line a statement came from (change tags, sequence
// numbers). They stay beside the statement text, never in it, so the user edits the statement
// alone; the tags follow their lines through edits (each is held by its text block).

#include "platform/StringList.h"

#include <cstdint>
#include <vector>

class TExtRichEdit;

// Adds the column to Editor (once, when the editor is made).
void AddTagColumn(TExtRichEdit& editor);
// Gives the lines of Editor's text the tags of Tags, one per line (empty for none); the column
// takes the width of the longest and none at all when no line has one.
void SetLineTags(TExtRichEdit& editor, const StringList& tags);
// The tag Editor shows for Line, empty for none.
std::string LineTag(const TExtRichEdit& editor, int line);

// The change dates of a dated member's lines, shown before the tags: Shown as the user reads
// them, Dates as YYMMDD (0: none), one per line. Set after the tags, which drop them.
void SetLineDates(TExtRichEdit& editor, const StringList& shown,
                  const std::vector<std::int32_t>& dates);
// The lines whose date is Since or later, as the editor holds them (the dates follow their lines
// through edits).
std::vector<int> LinesChangedSince(const TExtRichEdit& editor, std::int32_t since);
// The date of Line as YYMMDD, 0 for none.
std::int32_t LineChangeDate(const TExtRichEdit& editor, int line);
// What the column shows for Line: its date and its tag.
std::string LineMarginText(const TExtRichEdit& editor, int line);
