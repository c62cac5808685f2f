#include "RecordConvert.h"

#include <algorithm>
#include <cstring>

namespace ondrel {

bool RecordsToText(std::string_view member, int recordLength, const TranslationTable& table,
                   TOndrelProgress progress, const std::atomic<bool>& cancel, char* text) {
    const size_t length = static_cast<size_t>(recordLength);
    const size_t records = member.size() / length;
    const auto* in = reinterpret_cast<const unsigned char*>(member.data());
    for (size_t record = 0;; ++record) {
        if (progress)
            progress();
        if (cancel.load(std::memory_order_relaxed))
            return false;
        if (record == records)
            return true;
        for (size_t i = 0; i < length; ++i)
            text[i] = static_cast<char>(table[in[i]]);
        text[length] = '\r';
        text[length + 1] = '\n';
        in += length;
        text += length + 2;
    }
}

bool LinesToRecords(const StringList& lines, int recordLength, const TranslationTable& table,
                    TOndrelProgress progress, const std::atomic<bool>& cancel, char* member) {
    const size_t length = static_cast<size_t>(recordLength);
    for (const std::string& line : lines) {
        if (progress)
            progress();
        if (cancel.load(std::memory_order_relaxed))
            return false;
        const auto* in = reinterpret_cast<const unsigned char*>(line.data());
        const size_t used = std::min(line.size(), length);
        for (size_t i = 0; i < used; ++i)
            member[i] = static_cast<char>(table[in[i]]);
        std::memset(member + used, EbcdicBlank, length - used);
        member += length;
    }
    return true;
}

} // namespace ondrel
