#include "MemberRoundTrip.h"

#include <string_view>

namespace calvex {

namespace {

// A line without its trailing blanks: they are not kept by every transfer to and from the host.
std::string_view RightTrimmed(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

} // namespace

bool IsAddedBanner(const std::string& line, const std::string& prefix) {
    // A "**" separator of compile-time data is member text, even when this system wrote it.
    if (prefix.empty() || line.size() < 74 + prefix.size() + 1 || line.starts_with("**"))
        return false;
    if (line.compare(74, prefix.size(), prefix) != 0)
        return false;
    char code = line[74 + prefix.size()];
    return code == 'x' || code == '1';
}

std::vector<LineDifference> CompareRoundTrip(const StringList& source, const StringList& compiled,
                                             const std::string& prefix) {
    std::vector<LineDifference> differences;
    StringList out;
    for (const std::string& line : compiled)
        if (!IsAddedBanner(line, prefix))
            out.push_back(line);
    size_t k = 0;
    for (size_t i = 0; i < source.size(); ++i, ++k) {
        std::string got = k < out.size() ? out[k] : std::string();
        if (k >= out.size() || RightTrimmed(source[i]) != RightTrimmed(got))
            differences.push_back({static_cast<int>(i), source[i], got});
    }
    for (; k < out.size(); ++k)
        differences.push_back({-1, {}, out[k]});
    return differences;
}

} // namespace calvex
