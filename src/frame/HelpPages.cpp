#include "frame/HelpPages.h"

#include "document/ParseString.h"
#include "frame/HelpGuide.h"
#include "frame/HelpIndex.h"
#include "platform/ProfileFile.h"
#include "platform/SafeSave.h"
#include "tessary/PromptHelp.h"

#include <filesystem>
#include <set>

namespace {

constexpr const char* ParamName = "ParamName";
constexpr const char* Conditions[] = {"EQ", "NE", "LT", "LE", "GT", "GE"};

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() > suffix.size() &&
           UpperCase(text.substr(text.size() - suffix.size())) == UpperCase(suffix);
}

bool IsEndCode(const THelpOpCode& op) {
    return UpperCase(op.Code).starts_with("END");
}

bool IsDefault(const THelpOpCode& op) {
    return UpperCase(op.Code) == tessary::DefaultOpCode;
}

std::string Item(const StringList& items, size_t i) {
    return i < items.size() ? items[i] : std::string();
}

std::string Anchor(const std::string& name) {
    return "<a name=\"" + HtmlText(name) + "\"></a>";
}

std::string Link(const std::string& href, const std::string& text) {
    return "<a href=\"" + HtmlText(href) + "\">" + HtmlText(text) + "</a>";
}

std::string PageStart(const std::string& title) {
    return HelpPageStart(title);
}

std::string PageEnd(const std::string& toRoot) {
    return HelpPageEnd(toRoot);
}

// "ADD(Addend, Addend, Result Field)", or the code alone: what the status bar shows.
std::string Template(const THelpOpCode& op) {
    if (op.Names.empty())
        return op.Code;
    std::string text = op.Code + "(";
    for (size_t i = 0; i < op.Names.size(); ++i)
        text += (i ? ", " : "") + op.Names[i];
    return text + ")";
}

// The codes a grouped entry stands for: IFxx gives IFEQ, IFNE, ...
std::string GroupMembers(const std::string& code) {
    std::string stem = UpperCase(code.substr(0, code.size() - 2));
    std::string text;
    for (const char* condition : Conditions)
        text += (text.empty() ? "" : ", ") + stem + condition;
    return text;
}

// The body of one entry: description, statement form and parameter table.
std::string EntryBody(const THelpOpCode& op, int level) {
    std::string h = "h" + std::to_string(level);
    std::string text;
    text +=
        "<p>" + HtmlText(op.Description.empty() ? "No description." : op.Description) + "</p>\n";
    if (EndsWithNoCase(op.Code, "xx") && !IsDefault(op))
        text +=
            "<p>The last two letters stand for the condition: " + HtmlText(GroupMembers(op.Code)) +
            ".</p>\n";
    text +=
        "<" + h + ">Statement</" + h + ">\n<p><code>" + HtmlText(Template(op)) + "</code></p>\n";
    if (op.Names.empty())
        return text + "<p>The operation takes no parameters.</p>\n";
    text += "<" + h + ">Parameters</" + h + ">\n";
    text += "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\n"
            "<tr><th>#</th><th>Parameter</th><th>Length</th><th>Note</th></tr>\n";
    for (size_t i = 0; i < op.Names.size(); ++i)
        text += "<tr><td>" + std::to_string(i + 1) + "</td><td>" + HtmlText(op.Names[i]) +
                "</td><td>" + HtmlText(Item(op.Lengths, i)) + "</td><td>" +
                HtmlText(Item(op.Notes, i)) + "</td></tr>\n";
    return text + "</table>\n";
}

std::string OpCodePage(const THelpOpCode& op) {
    std::string text = PageStart(op.Code);
    text.insert(text.find("<h1>"), Anchor(OpCodeHelpKeyword(op.Code)) + "\n");
    text += EntryBody(op, 2);
    if (IsEndCode(op))
        text += "<p>See also " + Link("ENDYY.html", "the END operation codes") + ".</p>\n";
    return text + PageEnd("../");
}

std::string EndPage(const std::vector<THelpOpCode>& opCodes) {
    std::string text = PageStart("END operation codes");
    text.insert(text.find("<h1>"), Anchor(OpCodeHelpKeyword(kEndOpCodesTopic)) + "\n");
    text += "<p>Every operation code that begins END closes a group opened earlier in the "
            "calculations. The editor's help on any of them opens this page.</p>\n";
    for (const THelpOpCode& op : opCodes) {
        if (!IsEndCode(op))
            continue;
        text += Anchor(UpperCase(op.Code)) + "\n<h2>" + HtmlText(op.Code) + "</h2>\n";
        text += EntryBody(op, 3);
    }
    return text + PageEnd("../");
}

std::string CodeRow(const THelpOpCode& op) {
    return "<tr><td>" + Link(OpCodePageName(op.Code), op.Code) + "</td><td>" +
           HtmlText(op.Description) + "</td></tr>\n";
}

std::string RpgOverview(const std::vector<THelpOpCode>& opCodes) {
    std::string text = PageStart("RPG Standard operation codes");
    text.insert(text.find("<h1>"), Anchor(kRPGOpCodesKeyword) + "\n");
    text += "<p>The RPG/400 calculation operations, written in the calculation sections as "
            "statements: the operation code, its parameters in parentheses, and the "
            "conditioning indicators in braces in front. A code ending in xx stands for the "
            "six codes with the condition letters EQ, NE, LT, LE, GT and GE.</p>\n";
    text += "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\n"
            "<tr><th>Code</th><th>Operation</th></tr>\n";
    for (const THelpOpCode& op : opCodes)
        if (!IsDefault(op))
            text += CodeRow(op);
    text += "</table>\n";
    text += "<p>" + Link("opcodes/ENDYY.html", "The END operation codes") + " on one page.</p>\n";
    return text + PageEnd("");
}

std::string OrvaleOverview(const std::vector<THelpOpCode>& opCodes) {
    std::string text = PageStart("Orvale special statements");
    text.insert(text.find("<h1>"), Anchor(kOrvaleOpCodesKeyword) + "\n");
    text += R"(<p>Besides the RPG operation codes and the specification statements, a section's
text may hold these lines of the program's own. Each line holds one statement; blanks at either
end do not count.</p>
<h2>Statement lines</h2>
<p><code>{flags} NAME(parameter, parameter, ...) /* comment</code></p>
<p>The conditioning indicators and the control level of a calculation stand in braces in front
of the statement. Parameters are separated by commas; a comma inside a quoted literal does not
separate, and inside a quoted literal \" stands for a double quote. Unquoted parameters are
read in upper case. The text after /* is kept as the line's comment.</p>
<p>A calculation line that holds only the braces and no statement conditions nothing but is
kept as a line of its own.</p>
<h2>Array elements</h2>
<p><code>NAME[INDEX]</code> names an element of an array; it is written NAME,INDEX in the
fixed-column source.</p>
<h2>RPG(...) and SQL(...)</h2>
<p>A fixed-column line written as it stands, from column 6 on: its first character is the
specification type of the section. It carries what no statement can say.</p>
<h2>Compiler directives</h2>
<p>A line beginning # is a compiler directive: <code>#/COPY QRPGSRC,MEMBER</code>,
<code>#/TITLE</code>, <code>#/EJECT</code>, <code>#/SPACE</code>, <code>#/EXEC SQL</code>,
<code>#/END-EXEC</code>.</p>
<h2>Definitions</h2>
<p>The Pre Compiler section holds lines <code>#DEFINE NAME=VALUE</code>. Wherever a parameter is
NAME (or begins NAME[ or NAME:), VALUE is put in its place when the program is compiled.</p>
<h2>Comments and continuations</h2>
<p>A line beginning /* is a comment line of the source. A line beginning + continues the
statement before it.</p>
<h2>Operation codes without a topic</h2>
)";
    bool hasDefault = false;
    for (const THelpOpCode& op : opCodes)
        hasDefault = hasDefault || IsDefault(op);
    if (hasDefault)
        text += "<p>A calculation with a code the prompt help does not know takes " +
                Link(OpCodePageName(tessary::DefaultOpCode), "the general calculation entry") +
                ".</p>\n";
    else
        text += "<p>A calculation with a code the prompt help does not know takes every "
                "calculation field.</p>\n";
    return text + PageEnd("");
}

std::string IndexPage(bool statements) {
    std::string text = PageStart("Orvale Help");
    text += "<p>Orvale keeps an RPG/400 program as a tree of sections, each written in "
            "statements of one line, and builds the fixed-column source from them.</p>\n"
            "<h2>User's guide</h2>\n<ol>\n";
    for (const THelpTopic& topic : GuideTopics())
        text += "<li>" + Link(topic.Page, topic.Title) + "</li>\n";
    text += "</ol>\n<h2>Operation Codes</h2>\n<ul>\n<li>" +
            Link("rpg-opcodes.html", "RPG Standard") + "</li>\n<li>" +
            Link("orvale-opcodes.html", "Orvale Special") + "</li>\n</ul>\n";
    if (statements)
        text += "<h2>Specification statements</h2>\n<p>" +
                Link("statements.html", "The statements of the file, extension, line-counter, "
                                        "input and output sections") +
                ".</p>\n";
    text += "<p>In the source editor, F1 on a statement opens its page here.</p>\n";
    return text + "</body>\n</html>\n";
}

std::string Columns(const tessary::TStatementParam& param) {
    return param.First == param.Last
               ? std::to_string(param.First)
               : std::to_string(param.First) + "-" + std::to_string(param.Last);
}

std::string StatementTemplate(const tessary::TStatementForm& form) {
    std::string text = form.Name + "(";
    for (size_t i = 0; i < form.Params.size(); ++i)
        text += (i ? ", " : "") + form.Params[i].Name;
    return text + ")";
}

std::string StatementPage(const tessary::TStatementForm& form) {
    std::string text = HelpPageStart(form.Name, StatementHelpKeyword(form.Name));
    text += "<p>" + HtmlText(form.Description.empty() ? "No description." : form.Description) +
            "</p>\n<p>A statement of the " + HtmlText(tessary::SectionKind(form.FormType)) +
            " section; it makes a line of form type " + std::string(1, form.FormType) + ".</p>\n";
    text += "<h2>Statement</h2>\n<p><code>" + HtmlText(StatementTemplate(form)) +
            "</code></p>\n<h2>Parameters</h2>\n"
            "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\n"
            "<tr><th>#</th><th>Parameter</th><th>Columns</th><th>Length</th><th>Note</th></tr>\n";
    for (size_t i = 0; i < form.Params.size(); ++i) {
        const tessary::TStatementParam& p = form.Params[i];
        text += "<tr><td>" + std::to_string(i + 1) + "</td><td>" + HtmlText(p.Name) + "</td><td>" +
                Columns(p) + "</td><td>" + std::to_string(p.Length) + "</td><td>" +
                HtmlText(p.Note) + "</td></tr>\n";
    }
    text += "</table>\n<p>Empty parameters at the end may be left out; F4 in the editor "
            "prompts every one.</p>\n";
    return text + PageEnd("../");
}

std::string StatementsOverview(const std::vector<tessary::TStatementForm>& forms) {
    std::string text = HelpPageStart("Specification statements", kStatementsKeyword);
    text += "<p>The file, extension, line-counter, input and output sections are written in "
            "these statements; each makes one fixed-column line. F4 on one of them in the "
            "editor prompts its parameters.</p>\n";
    for (char type : {'F', 'E', 'L', 'I', 'O'}) {
        text += "<h2>The " + HtmlText(tessary::SectionKind(type)) +
                " section</h2>\n"
                "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\n";
        for (const tessary::TStatementForm& form : forms)
            if (form.FormType == type)
                text += "<tr><td>" + Link(StatementPageName(form.Name), form.Name) + "</td><td>" +
                        HtmlText(form.Description) + "</td></tr>\n";
        text += "</table>\n";
    }
    return text + PageEnd("");
}

std::string KeywordIndex(const std::vector<THelpOpCode>& opCodes,
                         const std::vector<tessary::TStatementForm>& statements) {
    std::string text = "; Keyword index of the help pages in this folder: keyword=page#anchor\n"
                       "[Contents]\nPage=index.html\n\n[Keywords]\n";
    text += std::string(kRPGOpCodesKeyword) + "=rpg-opcodes.html#" + kRPGOpCodesKeyword + "\n";
    text +=
        std::string(kOrvaleOpCodesKeyword) + "=orvale-opcodes.html#" + kOrvaleOpCodesKeyword + "\n";
    std::string end = OpCodeHelpKeyword(kEndOpCodesTopic);
    text += end + "=" + OpCodePageName(kEndOpCodesTopic) + "#" + end + "\n";
    for (const THelpOpCode& op : opCodes) {
        std::string keyword = OpCodeHelpKeyword(op.Code);
        if (keyword != end)
            text += keyword + "=" + OpCodePageName(op.Code) + "#" + keyword + "\n";
    }
    for (const THelpTopic& topic : GuideTopics())
        text += topic.Keyword + "=" + topic.Page + "#" + topic.Keyword + "\n";
    if (!statements.empty())
        text += std::string(kStatementsKeyword) + "=statements.html#" + kStatementsKeyword + "\n";
    for (const tessary::TStatementForm& form : statements) {
        std::string keyword = StatementHelpKeyword(form.Name);
        text += keyword + "=" + StatementPageName(form.Name) + "#" + keyword + "\n";
    }
    return text;
}

} // namespace

std::vector<THelpOpCode> ReadHelpOpCodes(const orvale::ProfileFile& promptFile) {
    std::vector<THelpOpCode> opCodes;
    std::set<std::string> seen;
    for (const std::string& key : promptFile.ReadSectionKeys(ParamName)) {
        // The first of two equal keys is the one every lookup finds.
        if (key.empty() || !seen.insert(UpperCase(key)).second)
            continue;
        THelpOpCode op;
        op.Code = key;
        op.Names = tessary::SplitItems(promptFile.ReadString(ParamName, key));
        op.Lengths = tessary::SplitItems(promptFile.ReadString("ParamLeng", key));
        op.Notes = tessary::SplitItems(promptFile.ReadString("ParamNote", key));
        op.Description = promptFile.ReadString("OpCodeDesc", key);
        opCodes.push_back(std::move(op));
    }
    return opCodes;
}

std::string OpCodePageName(const std::string& code) {
    static const char* hex = "0123456789ABCDEF";
    std::string name = "opcodes/";
    for (char c : UpperCase(code)) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' || u == '_') {
            name += c;
        } else {
            name += '_';
            name += hex[u >> 4];
            name += hex[u & 15];
        }
    }
    return name + ".html";
}

std::string HtmlText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (u >= 128)
                out += "&#" + std::to_string(u) + ";";
            else
                out += c;
        }
    }
    return out;
}

std::string StatementPageName(const std::string& name) {
    return "statements/" + OpCodePageName(name).substr(std::string("opcodes/").size());
}

std::string HelpPageStart(const std::string& title, const std::string& anchor) {
    return "<html>\n<head>\n<title>" + HtmlText(title) + "</title>\n</head>\n<body>\n" +
           (anchor.empty() ? std::string() : Anchor(anchor) + "\n") + "<h1>" + HtmlText(title) +
           "</h1>\n";
}

std::string HelpPageEnd(const std::string& toRoot) {
    return "<hr>\n<p>" + Link(toRoot + "index.html", "Contents") + " | " +
           Link(toRoot + "rpg-opcodes.html", "RPG Standard operation codes") + " | " +
           Link(toRoot + "orvale-opcodes.html", "Orvale special statements") +
           "</p>\n</body>\n</html>\n";
}

std::vector<THelpPage> BuildHelpPages(const std::vector<THelpOpCode>& opCodes,
                                      const std::vector<tessary::TStatementForm>& statements) {
    std::vector<THelpPage> pages;
    pages.push_back({kHelpFileName, KeywordIndex(opCodes, statements)});
    pages.push_back({"index.html", IndexPage(!statements.empty())});
    for (THelpPage& page : GuidePages())
        pages.push_back(std::move(page));
    if (!statements.empty())
        pages.push_back({"statements.html", StatementsOverview(statements)});
    for (const tessary::TStatementForm& form : statements)
        pages.push_back({StatementPageName(form.Name), StatementPage(form)});
    pages.push_back({"rpg-opcodes.html", RpgOverview(opCodes)});
    pages.push_back({"orvale-opcodes.html", OrvaleOverview(opCodes)});
    std::string endPage = OpCodePageName(kEndOpCodesTopic);
    pages.push_back({endPage, EndPage(opCodes)});
    for (const THelpOpCode& op : opCodes)
        if (OpCodePageName(op.Code) != endPage)
            pages.push_back({OpCodePageName(op.Code), OpCodePage(op)});
    return pages;
}

bool WriteHelpPages(const std::string& promptFile, const std::string& outDir, std::string* error,
                    const std::string& statementFile) {
    orvale::ProfileFile profile(promptFile);
    if (!profile.Load(error))
        return false;
    std::vector<tessary::TStatementForm> statements;
    if (!statementFile.empty()) {
        orvale::ProfileFile names(statementFile);
        if (!names.Load(error))
            return false;
        statements = tessary::StatementForms(names);
    }
    std::vector<THelpOpCode> opCodes = ReadHelpOpCodes(profile);
    if (opCodes.empty()) {
        if (error)
            *error = promptFile + ": no operation code in section \"" + ParamName + "\"";
        return false;
    }
    std::error_code ec;
    for (const THelpPage& page : BuildHelpPages(opCodes, statements)) {
        std::filesystem::path path = std::filesystem::path(outDir) / page.FileName;
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec) {
            if (error)
                *error = path.parent_path().string() + ": " + ec.message();
            return false;
        }
        if (!orvale::WriteFileSafely(path.string(), page.Text, {}, error))
            return false;
    }
    return true;
}
