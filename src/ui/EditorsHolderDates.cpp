// What a program window shows and searches of a dated member: the change date of each line
// beside its tags, the sequence number and date beside each line of the RPG/400 page, the lines
// changed since a date, and the line of a sequence number.

#include "ui/EditorsHolder.h"

#include "document/EditSection.h"
#include "document/HostRecord.h"
#include "rpgprogram/RPGProgram.h"
#include "ui/ChangeDates.h"
#include "ui/ExtRichEdit.h"
#include "ui/TagColumn.h"

#include <QLabel>

#include <algorithm>

void TEditorsHolder::SetEditorRecords(const std::vector<HostRecord>& records) {
    StringList shown(records.size());
    std::vector<std::int32_t> dates(records.size(), 0);
    for (size_t k = 0; k < records.size(); ++k) {
        if (!records[k].Has())
            continue;
        dates[k] = records[k].ChangeDate;
        shown[k] = ShowChangeDate(records[k].ChangeDate, HostDateFormat);
    }
    SetLineDates(*RichEditSource, shown, dates);
    TintChangedLines();
}

void TEditorsHolder::ShowRpgViewRecords(const TEDITSection& section) {
    StringList marks(section.CompiledCount());
    bool any = false;
    auto mark = [&](size_t k, HostRecord r) {
        if (!r.Has())
            return;
        marks[k] = FormatSequence(r.Sequence);
        std::string date = ShowChangeDate(r.ChangeDate, HostDateFormat);
        if (!date.empty())
            marks[k] += "  " + date;
        any = true;
    };
    // Lines an import or a file gave without their statements are the member lines of the
    // statements, in order: each is matched with the next statement whose member line it is.
    int next = 0;
    for (size_t k = 0; k < section.CompiledCount(); ++k) {
        const std::string& text = section.CompiledText(k);
        int from = section.CompiledLinked() ? section.Compiled()[k].From : -1;
        for (int j = next; !section.CompiledLinked() && j < section.LinesCount(); ++j)
            if (const LineOrigin* o = section.OriginAt(j); o && o->Text == text) {
                from = j;
                next = j + 1;
                break;
            }
        if (from >= 0 && section.OriginAt(from))
            mark(k, section.Lines()[static_cast<size_t>(from)].Record());
        else if (from < 0 && section.HeadOrigin.Has() && text == section.HeadOrigin.Text)
            mark(k, section.HeadRecord());
    }
    SetLineTags(*MemoRPGView, any ? marks : StringList{});
}

void TEditorsHolder::TintChangedLines() {
    RichEditSource->SetChangedLines(
        ChangedSince > 0 ? LinesChangedSince(*RichEditSource, ChangedSince) : std::vector<int>{});
}

int TEditorsHolder::ShowChangedSince(std::int32_t since) {
    ChangedSince = since;
    TintChangedLines();
    if (since <= 0) {
        StatusPanel(MessagePanel)->clear();
        return 0;
    }
    // The shown section as the editor holds it, the others as the document does.
    TreeNode* shown = SelectedNode();
    int here = static_cast<int>(RichEditSource->ChangedLines().size());
    int elsewhere = 0;
    int sections = 0;
    Document->ForEachNode([&](TreeNode* n) {
        const TEDITSection* s = n->Section();
        if (!s || n == shown)
            return true;
        int count = static_cast<int>(LinesChangedSince(*s, since).size());
        elsewhere += count;
        sections += count > 0 ? 1 : 0;
        return true;
    });
    StatusPanel(MessagePanel)
        ->setText(Edge.ToQt(ChangedSinceSummary(here + elsewhere, here, sections,
                                                ShowChangeDate(since, HostDateFormat))));
    return here + elsewhere;
}

bool TEditorsHolder::GoToChangedLine(int step) {
    if (ChangedSince <= 0) {
        StatusPanel(MessagePanel)->setText("Ask first which lines changed since when");
        return false;
    }
    TreeNode* shown = SelectedNode();
    // In the shown section, from the caret on.
    if (shown && shown->Section() && ActivePage() == orvale::ProgramPage::Source) {
        std::vector<int> lines = LinesChangedSince(*RichEditSource, ChangedSince);
        int caret = RichEditSource->CaretPos().y();
        auto next = step > 0 ? std::upper_bound(lines.begin(), lines.end(), caret)
                             : std::lower_bound(lines.begin(), lines.end(), caret);
        if (step > 0 && next != lines.end()) {
            GoToPlace(shown, *next);
            return true;
        }
        if (step < 0 && next != lines.begin()) {
            GoToPlace(shown, *(next - 1));
            return true;
        }
    }
    // Then the sections after (or before) it in tree order, round to the shown one itself.
    std::vector<TreeNode*> order;
    Document->ForEachNode([&](TreeNode* n) {
        if (n->Section())
            order.push_back(n);
        return true;
    });
    if (order.empty())
        return false;
    auto at = std::find(order.begin(), order.end(), shown);
    size_t start = at == order.end() ? (step > 0 ? order.size() - 1 : 0)
                                     : static_cast<size_t>(at - order.begin());
    Document->CommitCurrent();
    for (size_t n = 1; n <= order.size(); ++n) {
        size_t k = (start + (step > 0 ? n : order.size() * 2 - n)) % order.size();
        std::vector<int> lines = LinesChangedSince(*order[k]->Section(), ChangedSince);
        if (lines.empty())
            continue;
        GoToPlace(order[k], step > 0 ? lines.front() : lines.back());
        return true;
    }
    StatusPanel(MessagePanel)
        ->setText(
            Edge.ToQt("No line changed since " + ShowChangeDate(ChangedSince, HostDateFormat)));
    return false;
}

bool TEditorsHolder::GoToSequence(const std::string& text) {
    bool point = false;
    std::int32_t sequence = ParseSequence(text, point);
    if (sequence < 0) {
        StatusPanel(MessagePanel)->setText(Edge.ToQt(text + " is no sequence number"));
        return false;
    }
    Document->CommitCurrent();
    // Without a point the number is the listing's (801 is 8.01); a number no line has in
    // hundredths may still be a whole one (8 for 8.00).
    std::vector<std::int32_t> tried{sequence};
    if (!point && sequence <= kLastSequence / 100)
        tried.push_back(sequence * 100);
    for (std::int32_t wanted : tried) {
        TreeNode* found = nullptr;
        int line = -1;
        Document->ForEachNode([&](TreeNode* n) {
            if (const TEDITSection* s = n->Section())
                line = LineOfSequence(*s, wanted);
            if (line < 0)
                return true;
            found = n;
            return false;
        });
        if (found) {
            GoToPlace(found, line);
            StatusPanel(MessagePanel)
                ->setText(Edge.ToQt("Sequence number " + FormatSequence(wanted)));
            return true;
        }
    }
    StatusPanel(MessagePanel)->setText(Edge.ToQt("No line has the sequence number " + text));
    return false;
}
