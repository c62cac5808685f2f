#include "frame/HelpGuide.h"

namespace {

struct TGuideText {
    const char* Keyword;
    const char* Page;
    const char* Title;
    const char* Body; // HTML, plain ASCII; links are relative to the guide folder
};

constexpr TGuideText kGuide[] = {
    {"IDH_Guide_Start", "guide/getting-started.html", "Getting started", R"(
<p>Orvale keeps an RPG/400 program as a tree of sections - properties, description, history,
files, input, main routine, one section per subroutine, array and output file - each written
in statements of one line. It builds the fixed-column member from them and copies it to the
host's members folder.</p>
<h2>The first start</h2>
<p>The first start asks for the first user: type a name of at least 4 characters and a
password twice. Later starts ask for the name and the password. The options, the user list and
the prompt files live in the program directory (<code>~/.local/share/orvale</code> for an
installed program).</p>
<h2>The main window</h2>
<ul>
<li><b>File</b>: New, Open (Ctrl+O), Reopen (the programs closed last), Save (Ctrl+S), Close
(Ctrl+W), Print and PDF.</li>
<li><b>Program</b>: make a program from a member (Create from Source, Import From AS/400),
Compile (Ctrl+F9), Build All (F9), Export To AS/400.</li>
<li><b>Options</b>: how the editor, the compiler and the export work.</li>
<li><b>Help</b>: this guide (F1 outside the editor), the operation codes and the statements.</li>
</ul>
<p>Each program opens in a window of its own: the section tree on the left, and beside it the
page of the selected section - <b>Source</b> (its statements), <b>Objects</b> (the sections of
a folder, the history, the indicators), <b>Setting</b> (the program's properties) and
<b>RPG/400</b> (the fixed-column lines the section compiles to).</p>
<p>The tree can be driven from the keyboard: the arrow keys walk it and show each section,
Enter moves into the section's text. The window's size, place and button bar are kept from one
run to the next.</p>
)"},
    {"IDH_Guide_Import", "guide/import.html", "Making a program from a member", R"(
<h2>From a source file</h2>
<p><b>Program &gt; Create from Source...</b> reads a fixed-column RPG/400 member (a
<code>.RP3</code> text file) and makes a program of it, named like the file with
<code>.RPG</code>. Comment lines, directives and the text outside the specification columns
(change tags, sequence numbers) are kept: a build gives the member back line for line.</p>
<h2>From the host</h2>
<p><b>Program &gt; Import From AS/400</b> asks for the members folder and the member's name,
converts the member from EBCDIC and then asks where to keep the new program (the folder used
last for programs, else your documents). The program opens in a new window; Save writes it
there.</p>
<h2>What you get</h2>
<p>The tree holds one section per part of the member: the header, the files by kind, the
extension, line counter and input specifications, the main routine, a section per subroutine,
array and output file. The <b>History</b> section logs who changed which section and when.</p>
)"},
    {"IDH_Guide_Edit", "guide/editing.html", "Editing, and the prompt (F4)", R"(
<p>Select a section in the tree; its statements show on the Source page. One statement per
line: its name, its parameters in parentheses, the conditioning indicators in braces in front
and a comment after <code>/*</code>:</p>
<p><code>{N50} CHAIN(CUSNO, CUSTMAST,,,60)  /* read the customer</code></p>
<p>Tab indents by the tab width, Enter keeps the indentation, Backspace steps back a level
(Options &gt; Editor). What you type is stored in the section when you leave it, or at once
with <b>Update Section</b> in the editor's menu (right button). <b>Edit &gt; Restore</b> gives
a section the text it had at its last update, at the last save or when the program was
opened.</p>
<h2>The keys of the editor</h2>
<table border="1" cellpadding="3" cellspacing="0">
<tr><td>F4</td><td>Prompt at Cursor: a window with one row per parameter of the statement on
the caret's line - its name, value, length and a note. Every statement is prompted: operation
codes in the calculation sections, and File, FilePrn, Rename, Array, Tab, LineCount, DS, Field,
Const, the input and output lines in theirs. OK writes the statement back.</td></tr>
<tr><td>F2</td><td>Command Syntax: the statement's parameters in the status bar.</td></tr>
<tr><td>F1</td><td>Topic Search: the help page of the statement on the caret's line.</td></tr>
<tr><td>Shift+F4</td><td>Every use of the name or indicator at the caret; a row leads to its
line.</td></tr>
<tr><td>Ctrl+Z, Ctrl+Shift+Z</td><td>Undo and redo. A Replace All is undone in one step, in
every section it changed.</td></tr>
</table>
<h2>Find and replace</h2>
<p><b>Search &gt; Find</b> (Ctrl+F), <b>Replace</b> (Ctrl+R) and <b>Search Again</b> (F3) look
in the section on show, or on through the program's sections (scope <i>All Program</i>). The
question before each replacement stands clear of the line it asks about.</p>
<p>See also <a href="../statements.html">the statements of the specification sections</a>,
<a href="../rpg-opcodes.html">the operation codes</a> and
<a href="../orvale-opcodes.html">the lines of the program's own</a>.</p>
)"},
    {"IDH_Guide_Build", "guide/build.html", "Building, and the errors", R"(
<p><b>Program &gt; Compile</b> (Ctrl+F9) compiles the sections changed since their last
compile, <b>Build All</b> (F9) every section. A window counts the lines, warnings and errors of
each section; a double click (or Enter) on one of its lines leads to the statement.</p>
<h2>Going to the errors</h2>
<ul>
<li>F8 and Shift+F8 go to the next and the previous error or warning, across sections; with
none left they say so in the status bar.</li>
<li>The source margin marks each failing line (its message shows under the mouse) and the tree
marks each failing section.</li>
<li>On the <b>RPG/400</b> page, a double click on an error line leads to its statement.</li>
</ul>
<p>After a compile the status bar says what it found, so a mended error does not linger
there.</p>
<p><b>Program &gt; Save Source As...</b> writes the built member to a file;
<b>Print Source</b>, <b>Source Print Preview</b> and <b>Export Source to PDF</b> print it.</p>
)"},
    {"IDH_Guide_Export", "guide/export.html", "Sending the program to the host", R"(
<p><b>Program &gt; Export To AS/400</b> builds the member and copies it, converted to EBCDIC,
into the host's members folder. Before it, the program is saved and compiled as Options &gt;
Export says; a compile with errors stops the export.</p>
<p>The member dialog asks for the folder (<b>Browse</b> opens the desktop's folder dialog) and
the member's name; the folder is kept for the next export and import. The export says what it
writes and where the member went.</p>
<p>The compiler options (Options &gt; Compiler) decide which comment lines the build adds to
the member: the program's properties, description and history, the sections' descriptions and
dates. The import recognises them and gives the sections back.</p>
)"},
    {"IDH_Guide_Library", "guide/library.html", "The library of members", R"(
<p>A library is a folder of members opened as a whole.</p>
<ul>
<li><b>File &gt; Open Library...</b> opens a folder of members in the library panel.</li>
<li>The panel lists the members: type in its filter to narrow the list, click a column to
sort it, Enter opens the member.</li>
<li><b>Find in Library</b> (Ctrl+Shift+F) looks for a text in every member.</li>
<li><b>Where Used</b> (Ctrl+Shift+U) lists the members that use a name, and writes the list as
CSV.</li>
<li><b>Open Copy Member</b> (F3, or Ctrl+click on a <code>/COPY</code> line) opens the member
the line copies.</li>
<li><b>Compare With...</b> shows how a member differs from another.</li>
</ul>
)"},
    {"IDH_Guide_Options", "guide/options.html", "Options", R"(
<table border="1" cellpadding="3" cellspacing="0">
<tr><td><b>Editor</b></td><td>Colours, font size, tab width, automatic indentation, Backspace
unindent, the caret stepping through indentation, what the right mouse button does, and the
form of exported text files.</td></tr>
<tr><td><b>Undo</b></td><td>Which earlier texts of a section Edit &gt; Restore can give back:
before its last update, at the last save, at the opening.</td></tr>
<tr><td><b>History Log</b></td><td>Which changes the History section records.</td></tr>
<tr><td><b>Compiler</b></td><td>What the build writes into the member: comment lines of the
properties, description, history and sections, blank lines, the indicator prefix and the change
tag of new lines.</td></tr>
<tr><td><b>Export</b></td><td>Whether the program is saved and compiled (or built) before an
export.</td></tr>
<tr><td><b>Button Bar</b></td><td>Shows or hides the buttons under the menus.</td></tr>
<tr><td><b>Change PassWord</b></td><td>Asks for the login again, then for the new password
twice.</td></tr>
</table>
<p>The options are kept in <code>Orvale.DEF</code> in the program directory, written when the
program ends.</p>
)"},
};

} // namespace

const std::vector<THelpTopic>& GuideTopics() {
    static const std::vector<THelpTopic> topics = [] {
        std::vector<THelpTopic> list;
        for (const TGuideText& text : kGuide)
            list.push_back({text.Keyword, text.Page, text.Title});
        return list;
    }();
    return topics;
}

std::vector<THelpPage> GuidePages() {
    std::vector<THelpPage> pages;
    const std::vector<THelpTopic>& topics = GuideTopics();
    for (size_t i = 0; i < topics.size(); ++i) {
        std::string text = HelpPageStart(kGuide[i].Title, kGuide[i].Keyword) + kGuide[i].Body;
        // The guide reads from one page to the next.
        text += "<p>";
        if (i > 0)
            text += "Back: <a href=\"../" + topics[i - 1].Page + "\">" +
                    HtmlText(topics[i - 1].Title) + "</a>";
        if (i > 0 && i + 1 < topics.size())
            text += " | ";
        if (i + 1 < topics.size())
            text += "Next: <a href=\"../" + topics[i + 1].Page + "\">" +
                    HtmlText(topics[i + 1].Title) + "</a>";
        text += "</p>\n";
        pages.push_back({kGuide[i].Page, text + HelpPageEnd("../")});
    }
    return pages;
}
