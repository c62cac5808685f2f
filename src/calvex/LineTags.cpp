#include "LineTags.h"

#include <algorithm>

namespace calvex {

std::string WithLineTags(std::string compiled, std::string_view origin) {
    constexpr size_t kTagsEnd = 5;  // columns 1-5
    constexpr size_t kCodeEnd = 74; // the specification ends with column 74
    if (compiled.size() < kTagsEnd)
        compiled.resize(kTagsEnd, ' ');
    std::string_view tags = origin.substr(0, std::min(origin.size(), kTagsEnd));
    std::copy(tags.begin(), tags.end(), compiled.begin());
    std::fill(compiled.begin() + static_cast<long>(tags.size()),
              compiled.begin() + static_cast<long>(kTagsEnd), ' ');
    bool originComment = origin.size() > 6 && origin[6] == '*' && origin[5] == ' ';
    if (originComment && compiled.size() > 6 && compiled[6] == '*')
        compiled[5] = ' ';
    if (compiled.size() > kCodeEnd)
        compiled.resize(kCodeEnd);
    if (origin.size() > kCodeEnd) {
        compiled.resize(kCodeEnd, ' ');
        compiled.append(origin.substr(kCodeEnd));
    }
    return compiled;
}

} // namespace calvex
