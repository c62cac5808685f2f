#include "Banner.h"

#include "ConvertText.h"
#include "document/ParseString.h"
#include "platform/DateReader.h"
#include "platform/RegionalSettings.h"

namespace calvex {

namespace {

// The code of a banner line starts in column 75.
constexpr size_t kCodeColumn = 75;
// Longest description that keeps the code of its line in columns 75-80.
constexpr size_t kDescriptionWidth = 61;
// Longest name that keeps the code of a top frame line in columns 75-80.
constexpr size_t kFrameNameWidth = 15;

const char* const kTopFrame = "************************** ";
const char* const kTopFrameTail = "********************** ";

// Columns 1-8 of a banner line: the prefix and blanks in the sequence columns, then the form
// type, an asterisk and a blank.
std::string LineStart(std::string_view prefix, char formType) {
    std::string s(prefix);
    s.resize(5, ' ');
    s += formType;
    s += "* ";
    return s;
}

void PadTo(std::string& line, size_t width) {
    if (line.size() < width)
        line.append(width - line.size(), ' ');
}

// Puts the code into columns 75 on; text that would reach into them is cut.
void EndWithCode(std::string& line, std::string_view prefix, std::string_view code) {
    if (line.size() > kCodeColumn - 1)
        line.resize(kCodeColumn - 1);
    PadTo(line, kCodeColumn - 1);
    line.append(prefix);
    line.append(code);
}

// A boxed text line: the text, blanks up to 71 columns and " * " before the code.
std::string BoxedLine(std::string start, std::string_view text, std::string_view prefix,
                      std::string_view code) {
    start.append(text);
    PadTo(start, 71);
    start += " * ";
    EndWithCode(start, prefix, code);
    return start;
}

std::string_view Cut(std::string_view s, size_t width) {
    return s.size() > width ? s.substr(0, width) : s;
}

} // namespace

std::string_view BannerPrefix(std::string_view prefix) {
    return Cut(prefix, 2);
}

bool HasBannerCode(std::string_view line, std::string_view prefix, std::string_view code) {
    prefix = BannerPrefix(prefix);
    if (prefix.empty() || line.size() < kCodeColumn - 1 + prefix.size() + code.size())
        return false;
    std::string_view at = line.substr(kCodeColumn - 1);
    return at.substr(0, prefix.size()) == prefix && at.substr(prefix.size(), code.size()) == code;
}

std::string BannerText(std::string_view line) {
    return std::string(TrimmedColumns(line, 11, 72));
}

std::string_view BannerMomentText(std::string_view line) {
    // The text runs on to the box's right edge: the dates of some regional settings (Japanese
    // ones, in UTF-8) are longer than the thirty columns a date usually takes.
    return TrimmedColumns(line, 24, 71);
}

std::optional<orvale::DateTime> BannerMoment(std::string_view line) {
    std::string_view text = BannerMomentText(line);
    if (text.empty())
        return std::nullopt;
    // A member carries no record of its formats: it may have been built on a machine of other
    // regional settings, so the text is read as any date of unknown formats.
    static thread_local orvale::DateReader reader(orvale::RegionalSettings::Current());
    if (!(reader.Formats() == orvale::RegionalSettings::Current()))
        reader = orvale::DateReader(orvale::RegionalSettings::Current());
    auto reading = reader.Read(text);
    if (!reading)
        return std::nullopt;
    return reading->Moment;
}

std::string_view FrameName(std::string_view line) {
    std::string_view body = Columns(line, 9, 74);
    std::string_view head = kTopFrame;
    if (body.substr(0, head.size()) != head)
        return {};
    // The name, a blank, asterisks up to its width of 15 and the closing asterisks: the name
    // may hold blanks of its own ("MAIN ROUTINE").
    body = TrimRightView(body.substr(head.size()));
    while (!body.empty() && body.back() == '*')
        body.remove_suffix(1);
    return TrimRightView(body);
}

void WriteSectionBanner(const TEDITSection& section, char formType, std::string_view prefix,
                        const BannerSwitches& switches, StringList& out) {
    prefix = BannerPrefix(prefix);
    std::string start = LineStart(prefix, formType);
    const TEDITSectionProperty& p = section.Properties;
    if (switches.Frames) {
        std::string_view name = Cut(p.Name, kFrameNameWidth);
        std::string line = start + kTopFrame;
        line += UpperCase(name);
        line += ' ';
        line.append(kFrameNameWidth - name.size(), '*');
        line += kTopFrameTail;
        EndWithCode(line, prefix, "xSEC");
        out.push_back(std::move(line));
    }
    if (switches.Description)
        out.push_back(
            BoxedLine(start + "* ", Cut(p.Description, kDescriptionWidth), prefix, "1SDS"));
    if (switches.Created)
        out.push_back(BoxedLine(start + "*  Created On: ", p.CreatedOnText(), prefix, "1CRT"));
    if (switches.Updated)
        out.push_back(BoxedLine(start + "* Last Update: ", p.LastUpdateText(), prefix, "1UPD"));
    if (switches.Frames) {
        std::string line = start + std::string(65, '*') + ' ';
        EndWithCode(line, prefix, p.Name == "Main Routine" ? "xMNR" : "xSEC");
        out.push_back(std::move(line));
    }
}

void WriteSpecBlock(const TEDITSection& section, std::string_view prefix, StringList& out) {
    prefix = BannerPrefix(prefix);
    std::string name = UpperCase(section.Properties.Name);
    std::string frameCode = "x" + name.substr(0, 3);
    std::string bodyCode = "1" + name.substr(0, 3);
    std::string start = LineStart(prefix, 'H');

    std::string top = start + "********************** Orvale " + name;
    PadTo(top, 51);
    top += " ********************* ";
    EndWithCode(top, prefix, frameCode);
    out.push_back(std::move(top));
    for (const SectionLine& line : section.Lines())
        out.push_back(BoxedLine(start + "* ", Cut(line.Text, 60), prefix, bodyCode));
    std::string bottom = start + std::string(65, '*') + ' ';
    EndWithCode(bottom, prefix, frameCode);
    out.push_back(std::move(bottom));
}

} // namespace calvex
