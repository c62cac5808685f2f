#include "RecordConvert.h"

#include <algorithm>

namespace ondrel {

bool RecordsToText(std::string_view member, int recordLength, const TranslationTable& table,
                   TOndrelProgress progress, const std::atomic<bool>& cancel, std::string& text) {
    const size_t length = static_cast<size_t>(recordLength);
    const size_t records = member.size() / length;
    const size_t start = text.size();
    // Whole records only: the output size is known before the first record.
    text.resize(start + records * (length + 2));
    const auto* in = reinterpret_cast<const unsigned char*>(member.data());
    char* out = text.data() + start;
    for (size_t record = 0;; ++record) {
        if (progress)
            progress();
        if (cancel.load(std::memory_order_relaxed)) {
            text.resize(static_cast<size_t>(out - text.data()));
            return false;
        }
        if (record == records)
            break;
        for (size_t i = 0; i < length; ++i)
            out[i] = static_cast<char>(table[in[i]]);
        out[length] = '\r';
        out[length + 1] = '\n';
        in += length;
        out += length + 2;
    }
    return true;
}

bool LinesToRecords(const StringList& lines, int recordLength, const TranslationTable& table,
                    TOndrelProgress progress, const std::atomic<bool>& cancel,
                    std::string& member) {
    const size_t length = static_cast<size_t>(recordLength);
    const size_t start = member.size();
    // One record per line, blank until a character is put into it.
    member.resize(start + lines.size() * length, static_cast<char>(EbcdicBlank));
    char* out = member.data() + start;
    for (const std::string& line : lines) {
        if (progress)
            progress();
        if (cancel.load(std::memory_order_relaxed)) {
            member.resize(static_cast<size_t>(out - member.data()));
            return false;
        }
        const auto* in = reinterpret_cast<const unsigned char*>(line.data());
        const size_t used = std::min(line.size(), length);
        for (size_t i = 0; i < used; ++i)
            out[i] = static_cast<char>(table[in[i]]);
        out += length;
    }
    return true;
}

} // namespace ondrel
