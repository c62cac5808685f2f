#include "MemberWalk.h"
#include <algorithm>

#include "calvex/MemberLines.h"
#include "platform/TextFile.h"

namespace calvex::test {

namespace {

bool IsPassLetter(const std::string& line) {
    char c6 = line.size() >= 6 ? line[5] : ' ';
    return c6 == 'H' || c6 == 'F' || c6 == 'E' || c6 == 'L' || c6 == 'I' || c6 == 'C' ||
           c6 == 'O' || c6 == ' ';
}

bool StartsData(const std::string& line) {
    return line.size() >= 2 && line[0] == '*' && line[1] == '*';
}

TEDITSection& FindLast(std::vector<std::unique_ptr<TEDITSection>>& list, const std::string& name) {
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if ((*it)->Properties.Name == name)
            return **it;
    return *list.back();
}

} // namespace

MemberSections::MemberSections() = default;

std::vector<TEDITSection*> MemberSections::BuildOrder() {
    std::vector<TEDITSection*> order{
        &Property, &Description, &History,   &PreCompiler, &Header, &Logical,     &Display,
        &Printer,  &Special,     &Extension, &LineCount,   &Input,  &MainRoutine, &InitSubRoutine};
    for (auto* list : {&SubRoutines, &Outputs, &Arrays})
        for (auto& s : *list)
            order.push_back(s.get());
    return order;
}

std::vector<TEDITSection*> MemberSections::MemberOrder() {
    std::vector<TEDITSection*> order{
        &Property, &Description, &History,   &PreCompiler, &Header, &Logical,    &Display,
        &Printer,  &Special,     &Extension, &LineCount,   &Input,  &MainRoutine};
    order.insert(order.end(), SubRoutineOrder.begin(), SubRoutineOrder.end());
    for (auto* list : {&Outputs, &Arrays})
        for (auto& s : *list)
            order.push_back(s.get());
    return order;
}

char MemberSections::FormTypeOf(const TEDITSection* s) const {
    if (s == &Property || s == &Description || s == &History || s == &PreCompiler)
        return 'S';
    if (s == &Header)
        return 'H';
    if (s == &Logical || s == &Display || s == &Printer || s == &Special)
        return 'F';
    if (s == &Extension)
        return 'E';
    if (s == &LineCount)
        return 'L';
    if (s == &Input)
        return 'I';
    if (s == &MainRoutine || s == &InitSubRoutine)
        return 'C';
    for (auto& sub : SubRoutines)
        if (sub.get() == s)
            return 'C';
    for (auto& out : Outputs)
        if (out.get() == s)
            return 'O';
    return '\0';
}

TEDITSection& MemberSections::AddArray(const std::string& name) {
    Arrays.push_back(std::make_unique<TEDITSection>(name, ""));
    ArraysNode.AddChild(name)->SetSection(Arrays.back().get());
    return *Arrays.back();
}

void ImportMember(const StringList& member, MemberSections& s, const std::string& prefix,
                  int tabSpaces) {
    int n = static_cast<int>(member.size());
    int i = 0;
    int extensionStart = n;
    StringList names;
    while (i < n) {
        int passStart = i;
        i = ConvertRPG3Header(member, i, s.Header, s.Property, s.History, s.Description,
                              s.PreCompiler, prefix);
        i = ConvertRPG3Files(member, i, s.Printer, s.Display, s.Special, s.Logical, prefix);
        // The extension lines are skipped here, as the extension walk will take them (a
        // comment before them included), and converted once the passes are over.
        int from = i;
        for (WalkFilter extension(member, 'E'); i < n && extension.Takes(i);)
            ++i;
        if (i > from)
            extensionStart = from;
        i = ConvertRPG3LCount(member, i, s.LineCount, prefix);
        i = ConvertRPG3Input(member, i, s.Input, prefix);
        i = ConvertRPG3Calcs(member, names, i, tabSpaces, s.MainRoutine, prefix);
        for (const std::string& name : names) {
            TEDITSection* target = &s.InitSubRoutine;
            if (name != "*INZSR") {
                s.SubRoutines.push_back(std::make_unique<TEDITSection>(name, ""));
                target = &FindLast(s.SubRoutines, name);
            }
            i = ConvertRPG3SubR(member, i, tabSpaces, *target, prefix);
            s.SubRoutineOrder.push_back(target);
        }
        ConvertRPG3GetOutList(member, names, i);
        for (const std::string& name : names) {
            s.Outputs.push_back(std::make_unique<TEDITSection>(name, ""));
            i = ConvertRPG3Output(member, i, FindLast(s.Outputs, name), prefix);
        }
        // The compile-time data ends the passes as a line of another kind does, and so does a
        // pass that took nothing (the lines left would never be taken).
        if (i >= n || i == passStart || StartsData(member[static_cast<size_t>(i)]) ||
            !IsPassLetter(member[static_cast<size_t>(i)]))
            break;
    }
    ConvertRPG3Exten(member, names, extensionStart, s.Extension, prefix);
    for (const std::string& name : names)
        i = ConvertRPG3Array(member, i, s.AddArray(name), prefix);
}

TCompileOptions AllOptions(const std::string& prefix) {
    TCompileOptions o{};
    o.PrgProp = o.PrgDesc = o.PrgHist = o.PreComp = 1;
    o.SDesc = o.CDate = o.UDate = o.LComm = o.CComm = o.BLines = 1;
    o.PrefixLength = static_cast<std::uint8_t>(std::min<size_t>(prefix.size(), 2));
    for (size_t k = 0; k < o.PrefixLength; ++k)
        o.Prefix[k] = prefix[k];
    return o;
}

BuildTotals CompileAll(MemberSections& s, const TCompileOptions& options) {
    BuildTotals totals;
    StringList definitions;
    CompileRPG3GetPreComp(s.PreCompiler, definitions, "");
    std::string prefix(options.Prefix, options.PrefixLength);
    for (TEDITSection* section : s.BuildOrder()) {
        TCompileResult result{};
        char type = s.FormTypeOf(section);
        if (type == 'S')
            CompileRPG3Spec(&result, *section, prefix, true);
        else if (type == '\0')
            CompileRPG3Array(&result, s.Extension, *section, prefix, true);
        else
            CompileRPG3Source(&result, &s.ArraysNode, *section, definitions, type, options, true);
        totals.Warnings += result.Warnings;
        totals.Errors += result.Errors;
    }
    return totals;
}

StringList Assemble(const std::vector<TEDITSection*>& order) {
    StringList out;
    for (const TEDITSection* section : order)
        for (const CompiledLine& line : section->Compiled())
            out.push_back(line.Text);
    return out;
}

StringList AssembleByPlace(const std::vector<TEDITSection*>& order) {
    // Each line with a place in the member, with the lines the compile wrote before it (a
    // banner), goes to that place; the rest follow in the given order.
    std::vector<std::pair<long long, StringList>> chunks;
    for (const TEDITSection* section : order) {
        StringList pending;
        for (size_t k = 0; k < section->CompiledCount(); ++k) {
            pending.push_back(section->CompiledTexts()[k]);
            const LineOrigin* origin = section->CompiledLinked()
                                           ? section->OriginAt(section->Compiled()[k].From)
                                           : nullptr;
            if (origin) {
                chunks.emplace_back(origin->Ordinal, std::move(pending));
                pending.clear();
            }
        }
        if (!pending.empty())
            chunks.emplace_back(chunks.empty() ? -1 : chunks.back().first, std::move(pending));
    }
    std::stable_sort(chunks.begin(), chunks.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    StringList out;
    for (auto& [place, lines] : chunks)
        out.insert(out.end(), lines.begin(), lines.end());
    return out;
}

StringList ReadMember(const std::string& path) {
    std::string bytes;
    if (!orvale::ReadFileBytes(path, bytes))
        return {};
    return orvale::SplitTextLines(bytes);
}

} // namespace calvex::test
