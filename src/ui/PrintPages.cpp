#include "ui/PrintPages.h"

#include "document/TreeNode.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"

#include <QDate>
#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {

// One printed row: a heading or a piece of a line, and the section it belongs to.
struct TRow {
    QString Text;
    size_t Block = 0;
    bool Heading = false;
};

QFont PrintFont(bool bold) {
    QFont font("DejaVu Sans Mono");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(9);
    font.setBold(bold);
    return font;
}

std::vector<TRow> RowsOf(const TPrintJob& job, int columns) {
    std::vector<TRow> rows;
    const qsizetype width = std::max(columns, 1);
    for (size_t b = 0; b < job.Blocks.size(); ++b) {
        const TPrintBlock& block = job.Blocks[b];
        if (job.SectionHeadings) {
            if (!rows.empty())
                rows.push_back({QString(), b, false});
            rows.push_back({job.Edge.ToQt(block.Section), b, true});
        }
        for (const std::string& line : block.Lines) {
            QString text = job.Edge.ToQt(line);
            if (text.isEmpty())
                rows.push_back({text, b, false});
            for (qsizetype at = 0; at < text.size(); at += width)
                rows.push_back({text.mid(at, width), b, false});
        }
    }
    return rows;
}

} // namespace

std::string PageHeader(const TPrintJob& job, const std::string& section, int page) {
    std::string header = "Program: " + job.Program;
    if (!section.empty())
        header += "   Section: " + section;
    header += "   Page " + std::to_string(page);
    if (!job.Date.empty())
        header += "   " + job.Date;
    return header;
}

TPrintJob ProgramStatementsJob(const TRPGProgram& program) {
    TPrintJob job;
    job.Program = program.FileName;
    job.Date =
        job.Edge.FromQt(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    for (const TreeNode* node = program.Tree.First(); node; node = node->Next())
        if (const TEDITSection* section = node->Section())
            job.Blocks.push_back({section->Properties.Name, section->LineTexts()});
    return job;
}

TPrintJob MemberJob(const TRPGProgram& program) {
    TPrintJob job;
    job.Program = program.FileName;
    job.Date =
        job.Edge.FromQt(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    // The banner lines of the member name its sections already.
    job.SectionHeadings = false;
    for (const TEDITSection* section : program.SourceOrder())
        if (section->CompiledCount() > 0)
            job.Blocks.push_back({section->Properties.Name, section->CompiledTexts()});
    return job;
}

int PrintPages(QPrinter& printer, const TPrintJob& job) {
    printer.setDocName(job.Edge.ToQt(job.Program));
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QFont plain = PrintFont(false);
    const QFont bold = PrintFont(true);
    painter.setFont(plain);
    const QFontMetrics metrics(plain, painter.device());
    const QRect area(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize());
    const int lineHeight = std::max(metrics.lineSpacing(), 1);
    const int columns = area.width() / std::max(metrics.horizontalAdvance(QLatin1Char('M')), 1);
    // The header takes a line and a half; at least one row fits on any page.
    const int headerHeight = lineHeight * 3 / 2 + lineHeight / 2;
    const int perPage = std::max((area.height() - headerHeight) / lineHeight, 1);

    std::vector<TRow> rows = RowsOf(job, columns);
    int page = 0;
    size_t next = 0;
    do {
        if (page > 0)
            printer.newPage();
        ++page;
        size_t end = std::min(next + static_cast<size_t>(perPage), rows.size());
        // A heading does not end a page away from its lines.
        if (end < rows.size() && end > next + 1 && rows[end - 1].Heading)
            --end;
        std::string section;
        if (next < rows.size())
            section = job.Blocks[rows[next].Block].Section;
        painter.setFont(bold);
        painter.drawText(QRect(area.left(), area.top(), area.width(), lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         job.Edge.ToQt(PageHeader(job, section, page)));
        int ruleY = area.top() + lineHeight * 3 / 2;
        painter.drawLine(area.left(), ruleY, area.right(), ruleY);
        int y = area.top() + headerHeight;
        for (size_t r = next; r < end; ++r, y += lineHeight) {
            painter.setFont(rows[r].Heading ? bold : plain);
            painter.drawText(QRect(area.left(), y, area.width(), lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, rows[r].Text);
        }
        next = end;
    } while (next < rows.size());
    painter.end();
    return page;
}
