#include "MemberRoundTrip.h"

#include "ConvertText.h"

#include <cctype>

namespace calvex {

namespace {

bool StartsData(const std::string& line) {
    return line.size() >= 2 && line[0] == '*' && line[1] == '*';
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool SameLine(const std::string& src, const std::string& out, bool inData) {
    if (inData) {
        if (StartsData(src))
            return StartsData(out);
        for (int c = 1; c <= 74; ++c)
            if (Column(src, c) != Column(out, c))
                return false;
        return true;
    }
    char c6 = Column(src, 6);
    char c7 = Column(src, 7);
    if (c6 != ' ' && c7 != '*' && c7 != '/') {
        int commentFirst = c6 == 'C' ? 60 : c6 == 'E' ? 58 : 0;
        return SameSpecification(src, out, commentFirst);
    }
    if (c6 != ' ' && Column(out, 6) != c6)
        return false;
    if (c7 == '/') {
        for (int c = 7; c <= 74; ++c)
            if (Upper(Column(src, c)) != Upper(Column(out, c)))
                return false;
        return true;
    }
    if (ColumnsBlank(src, 6, 74) && ColumnsBlank(out, 6, 74))
        return true;
    // A comment, or a line with a blank column 6 that a comment carries from column 8 on.
    if (Column(out, 7) != '*' || (c7 != '*' && c7 != ' '))
        return false;
    for (int c = 8; c <= 74; ++c)
        if (Column(src, c) != Column(out, c))
            return false;
    return true;
}

} // namespace

bool IsAddedBanner(const std::string& line, const std::string& prefix) {
    if (prefix.empty() || line.size() < 74 + prefix.size())
        return false;
    if (line.compare(74, prefix.size(), prefix) != 0)
        return false;
    return line.compare(74 + prefix.size(), 4, "1ARY") != 0;
}

std::vector<LineDifference> CompareRoundTrip(const StringList& source, const StringList& compiled,
                                             const std::string& prefix) {
    std::vector<LineDifference> differences;
    StringList out;
    for (const std::string& line : compiled)
        if (!IsAddedBanner(line, prefix))
            out.push_back(line);
    bool inData = false;
    size_t k = 0;
    for (size_t i = 0; i < source.size(); ++i) {
        inData = inData || StartsData(source[i]);
        std::string got = k < out.size() ? out[k] : std::string();
        if (k >= out.size() || !SameLine(source[i], got, inData))
            differences.push_back({static_cast<int>(i), source[i], got});
        ++k;
    }
    for (; k < out.size(); ++k)
        differences.push_back({-1, {}, out[k]});
    return differences;
}

} // namespace calvex
