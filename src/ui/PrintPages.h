#pragma once

// Printed pages of a program: its sections' statements, or the RPG/400 member built from it.
// Every page starts with a header naming the program, the section of the page's first line,
// the page number and the date; the lines follow in a fixed-pitch font, a line too long for
// the page going on in the next row rather than being cut. The same pages go to a printer, a
// print preview or a PDF file: whatever QPrinter stands for.

#include "platform/StringList.h"
#include "qtedge/TextEdge.h"

#include <string>
#include <vector>

class QPrinter;
class TRPGProgram;

struct TPrintBlock {
    std::string Section;
    StringList Lines;
};

struct TPrintJob {
    // The code page of the lines.
    orvale::TextEdge Edge;
    // The program's file name, as the header shows it.
    std::string Program;
    // The date of the header, as the user writes dates.
    std::string Date;
    // A section's name is printed as a heading above its lines.
    bool SectionHeadings = true;
    std::vector<TPrintBlock> Blocks;
};

// What a print command prints.
enum class TPrintContent {
    // Every section's statements, in the order of the tree.
    Program,
    // The RPG/400 member, as the source file would be written.
    Member,
};

// Where the pages of a print command go.
enum class TPrintWay { Printer, Preview, Pdf };

// The header of a page: "Program: NAME   Section: NAME   Page N   DATE".
std::string PageHeader(const TPrintJob& job, const std::string& section, int page);

// The sections of a program in tree order with their text. The editor's pending text is
// expected to be committed already.
TPrintJob ProgramStatementsJob(const TRPGProgram& program);
// The member's sections in source order with their compiled lines as they stand.
TPrintJob MemberJob(const TRPGProgram& program);

// Prints the job on the printer; the number of pages printed, or 0 when the printer could not
// be started (no printer, a PDF file that cannot be written).
int PrintPages(QPrinter& printer, const TPrintJob& job);
