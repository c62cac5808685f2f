#include "RecordConvert.h"

#include "TextLines.h"

#include <algorithm>
#include <cstring>

namespace ondrel {

bool RecordsToText(std::string_view member, int recordLength, const TranslationTable& table,
                   TOndrelProgress progress, const std::atomic<bool>& cancel, char* text,
                   size_t& partialBytes) {
    const size_t length = static_cast<size_t>(recordLength);
    const size_t records = (member.size() + length - 1) / length;
    partialBytes = member.size() % length;
    const auto* in = reinterpret_cast<const unsigned char*>(member.data());
    for (size_t record = 0;; ++record) {
        if (progress)
            progress();
        if (cancel.load(std::memory_order_relaxed))
            return false;
        if (record == records)
            return true;
        const size_t used = record + 1 == records && partialBytes != 0 ? partialBytes : length;
        for (size_t i = 0; i < used; ++i)
            text[i] = static_cast<char>(table[in[i]]);
        std::memset(text + used, ' ', length - used);
        text[length] = '\r';
        text[length + 1] = '\n';
        in += length;
        text += length + 2;
    }
}

size_t LongestTextLine(std::string_view text) {
    size_t longest = 0;
    ForEachLine(text, [&](const char* line, size_t size) {
        while (size > longest && line[size - 1] == ' ')
            --size;
        longest = std::max(longest, size);
        return true;
    });
    return longest;
}

size_t CountTextLines(std::string_view text) {
    size_t lines = 0;
    ForEachLine(text, [&](const char*, size_t) {
        ++lines;
        return true;
    });
    return lines;
}

bool TextToRecords(std::string_view text, int recordLength, const TranslationTable& table,
                   TOndrelProgress progress, const std::atomic<bool>& cancel, char* member,
                   CutLines& cut) {
    const size_t length = static_cast<size_t>(recordLength);
    size_t number = 0;
    cut = {};
    return ForEachLine(text, [&](const char* line, size_t size) {
        if (progress)
            progress();
        if (cancel.load(std::memory_order_relaxed))
            return false;
        ++number;
        // Blanks past the record are no loss: the record is padded with blanks anyway.
        if (size > length &&
            std::any_of(line + length, line + size, [](char c) { return c != ' '; })) {
            if (cut.Count++ == 0)
                cut.First = number;
        }
        const auto* in = reinterpret_cast<const unsigned char*>(line);
        const size_t used = std::min(size, length);
        for (size_t i = 0; i < used; ++i)
            member[i] = static_cast<char>(table[in[i]]);
        std::memset(member + used, EbcdicBlank, length - used);
        member += length;
        return true;
    });
}

} // namespace ondrel
