// The history log of a program: one "Object,Action,User,When,More" line per event.

#include "EditProgram.h"

#include "platform/DateReader.h"
#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"

using orvale::DateTime;
using orvale::Prompter;
using orvale::RegionalSettings;

std::string TEDITProgram::HistoryEntry(const std::string& object, const std::string& action,
                                       const std::string& more) const {
    return object + "," + action + "," + UserName + "," +
           RegionalSettings::Current().FormatDateTime(DateTime::Now()) + "," + more;
}

void TEDITProgram::AddHistoryEntry(const std::string& entry) {
    std::string today = RegionalSettings::Current().FormatDate(DateTime::Now());
    size_t at = entry.find(today);
    if (at != std::string::npos) {
        // Object, action, user and day: one entry per day is enough. The key must start the
        // line, or an entry of another object whose name ends the same way would go.
        std::string key = entry.substr(0, at) + today;
        for (int i = 0; i < HistorySection.LinesCount(); ++i) {
            if (HistorySection.GetLine(i).starts_with(key)) {
                HistorySection.DeleteLine(i);
                break;
            }
        }
    }
    HistorySection.AddLine(entry);
}

bool TEDITProgram::RewriteHistoryDates(const orvale::DateReader& reader) {
    StringList lines = HistorySection.LineTexts();
    bool changed = false;
    for (std::string& line : lines) {
        Parser.Parse(line, ",", false, false);
        const StringList& fields = Parser.Tokens;
        if (fields.size() < 4)
            continue;
        auto reading = reader.Read(fields[3]);
        if (!reading || reading->InCurrentFormats)
            continue;
        // The fields stand in the line as they were split, one separator apart.
        size_t at = fields[0].size() + fields[1].size() + fields[2].size() + 3;
        line.replace(at, fields[3].size(),
                     RegionalSettings::Current().FormatDateTime(reading->Moment));
        changed = true;
    }
    if (changed) {
        HistorySection.AssignLines(std::move(lines));
        HistorySection.CompiledValid = false;
        HistorySection.ClearCompiled();
    }
    return changed;
}

void TEDITProgram::PurgeHistory(bool purgeModify, bool purgeOthers) {
    if (Box.Show(Prompter::Kind::Information, "History Log will be Purged.  Continue?",
                 Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    StringList kept;
    kept.reserve(HistorySection.Lines().size());
    for (const SectionLine& line : HistorySection.Lines()) {
        Parser.Parse(line.Text, ",", false, false);
        bool isModify = Parser.Tokens.size() > 1 && Parser.Tokens[1] == "Modify";
        if ((isModify && purgeModify) || (!isModify && purgeOthers))
            continue;
        kept.push_back(line.Text);
    }
    if (kept.size() != HistorySection.Lines().size()) {
        HistorySection.AssignLines(std::move(kept));
        HistorySection.CompiledValid = false;
    }
    Modified = true;
    ShowHistory();
}

void TEDITProgram::ShowHistory() {
    if (!View)
        return;
    using orvale::ColumnSort;
    View->ClearObjectList();
    View->SetObjectColumns({{"Object", 100, ColumnSort::Text},
                            {"Action", 50, ColumnSort::Text},
                            {"User", 100, ColumnSort::Text},
                            {"When", 110, ColumnSort::DateTime},
                            {"More", 300, ColumnSort::Text},
                            {"", 0, ColumnSort::Text}});
    for (const SectionLine& line : HistorySection.Lines()) {
        Parser.Parse(line.Text, ",", false, false);
        const StringList& fields = Parser.Tokens;
        auto field = [&](size_t i) { return i < fields.size() ? fields[i] : std::string(); };
        orvale::ListItem item;
        item.Caption = field(0);
        item.SubItems = {field(1), field(2), field(3), field(4)};
        item.ImageIndex = 4;
        View->AddObjectItem(item);
    }
}
