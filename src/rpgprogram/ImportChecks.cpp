#include "ImportChecks.h"

#include "platform/TextFile.h"

#include <algorithm>

namespace orvale {

namespace {

std::string LeftOutMessage(const std::vector<int>& leftOut) {
    std::string count = std::to_string(leftOut.size());
    std::string first = std::to_string(leftOut.front() + 1);
    return "WARNING: " + count + (leftOut.size() == 1 ? " line is" : " lines are") +
           " not an RPG III specification and " + (leftOut.size() == 1 ? "is" : "are") +
           " kept as written (the first is line " + first + ")!";
}

std::string OutOfOrderMessage(const std::vector<int>& lines, char first, char follows) {
    std::string which = "line " + std::to_string(lines.front() + 1) + ", form " +
                        std::string(1, first) + " after form " + std::string(1, follows);
    if (lines.size() == 1)
        return "WARNING: A specification line is out of the order of the forms and is kept as "
               "written where it stands (" +
               which + ")!";
    return "WARNING: " + std::to_string(lines.size()) +
           " specification lines are out of the order of the forms and are kept as written "
           "where they stand (the first is " +
           which + ")!";
}

} // namespace

std::optional<std::string> RpgIvRefusal(const std::string& fileName, const StringList& lines) {
    std::optional<calvex::RpgIvSign> sign = calvex::FindRpgIvSign(lines);
    if (!sign)
        return std::nullopt;
    return "ERROR: " + ExtractFileName(fileName) + " is an RPG IV member: line " +
           std::to_string(sign->Line + 1) + " holds " + sign->What +
           ", which RPG III does not have. Only RPG III members can be imported!";
}

std::string EmptyMemberWarning(const std::string& fileName) {
    return "WARNING: " + ExtractFileName(fileName) +
           " holds no lines: the program made of it is empty!";
}

std::vector<std::string> StrayLineWarnings(const calvex::StrayLines& strays,
                                           const std::vector<int>& leftOut) {
    std::vector<std::string> warnings;
    std::vector<int> foreign = strays.Foreign;
    foreign.insert(foreign.end(), leftOut.begin(), leftOut.end());
    std::sort(foreign.begin(), foreign.end());
    foreign.erase(std::unique(foreign.begin(), foreign.end()), foreign.end());
    if (!foreign.empty())
        warnings.push_back(LeftOutMessage(foreign));
    if (!strays.OutOfOrder.empty())
        warnings.push_back(
            OutOfOrderMessage(strays.OutOfOrder, strays.FirstForm, strays.FirstFollows));
    return warnings;
}

} // namespace orvale
