#include "library/UseCodec.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace orvale::library {

namespace {

void PutVarint(std::string& bytes, std::uint64_t value) {
    while (value >= 0x80) {
        bytes += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    bytes += static_cast<char>(value);
}

// One use: the line and the offset of its start as differences from the use before, then the
// kind with the way of a call, the role and the operation.
void Append(std::string& bytes, const TStoredUse& previous, const TStoredUse& u) {
    PutVarint(bytes,
              static_cast<std::uint64_t>(u.Line >= previous.Line ? u.Line - previous.Line : 0));
    PutVarint(bytes, u.Offset >= previous.Offset ? u.Offset - previous.Offset : 0);
    bytes += static_cast<char>(static_cast<int>(u.Kind) | (static_cast<int>(u.Via) << 4));
    bytes += static_cast<char>(u.Role);
    bytes += static_cast<char>(u.Op);
}

} // namespace

bool GetVarint(std::string_view bytes, size_t& pos, std::uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 64 && pos < bytes.size(); shift += 7) {
        auto b = static_cast<unsigned char>(bytes[pos++]);
        value |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if (!(b & 0x80))
            return true;
    }
    return false;
}

void AppendMemberUses(std::string& record, std::int64_t& previousMember, std::int64_t member,
                      std::string_view uses) {
    PutVarint(record, static_cast<std::uint64_t>(member - previousMember));
    PutVarint(record, uses.size());
    record.append(uses);
    previousMember = member;
}

std::string EncodeUses(const std::vector<TStoredUse>& uses) {
    std::string bytes;
    TStoredUse previous;
    for (const TStoredUse& u : uses) {
        Append(bytes, previous, u);
        previous = u;
    }
    return bytes;
}

TPackedUses PackUses(std::vector<TUse>& uses, std::string_view text) {
    TPackedUses packed;
    auto put = [&](size_t value, size_t bytes) {
        for (size_t i = 0; i < bytes; ++i)
            packed.Packed += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    // The uses of each name chained in the order they came (the readers give most in line
    // order): a member of a thousand uses is grouped without sorting them.
    constexpr std::uint32_t none = ~0u;
    std::unordered_map<std::string_view, std::uint32_t> groupOf;
    groupOf.reserve(uses.size());
    std::vector<std::uint32_t> head, tail, next(uses.size(), none);
    for (std::uint32_t i = 0; i < uses.size(); ++i) {
        auto [it, added] =
            groupOf.try_emplace(uses[i].Name, static_cast<std::uint32_t>(head.size()));
        if (added) {
            head.push_back(i);
            tail.push_back(i);
        } else {
            next[tail[it->second]] = i;
            tail[it->second] = i;
        }
    }
    // Where each line starts, for the offsets that let a query read a line alone.
    std::vector<std::uint64_t> starts{0};
    for (const char* p = text.data();
         (p = static_cast<const char*>(std::memchr(p, '\n', text.data() + text.size() - p))); ++p)
        starts.push_back(static_cast<std::uint64_t>(p - text.data()) + 1);
    auto stored = [&](const TUse& u) {
        size_t line = u.Line >= 1 ? static_cast<size_t>(u.Line) - 1 : 0;
        return TStoredUse{u.Line, starts[std::min(line, starts.size() - 1)], u.Kind, u.Role, u.Op,
                          u.Via};
    };
    std::vector<std::uint32_t> group;
    std::string encoded;
    for (std::uint32_t g = 0; g < head.size(); ++g) {
        group.clear();
        bool ordered = true;
        for (std::uint32_t i = head[g]; i != none; i = next[i]) {
            if (!group.empty() && uses[i].Line < uses[group.back()].Line)
                ordered = false;
            group.push_back(i);
        }
        if (!ordered)
            std::stable_sort(group.begin(), group.end(), [&](std::uint32_t a, std::uint32_t b) {
                return uses[a].Line < uses[b].Line;
            });
        encoded.clear();
        TStoredUse previous;
        for (std::uint32_t i : group) {
            TStoredUse u = stored(uses[i]);
            Append(encoded, previous, u);
            previous = u;
        }
        // Names longer than a member line could hold are cut; they name nothing real.
        std::string_view name = std::string_view(uses[head[g]].Name).substr(0, 0xFFFF);
        put(name.size(), 2);
        packed.Packed.append(name);
        put(encoded.size(), 4);
        packed.Packed += encoded;
        packed.Names.append(name);
        packed.Names += '\n';
    }
    return packed;
}

std::vector<TStoredUse> DecodeUses(std::string_view bytes) {
    std::vector<TStoredUse> uses;
    size_t pos = 0;
    int line = 0;
    std::uint64_t offset = 0;
    while (pos < bytes.size()) {
        std::uint64_t delta = 0, step = 0;
        if (!GetVarint(bytes, pos, delta) || !GetVarint(bytes, pos, step) || pos + 3 > bytes.size())
            break;
        auto kindVia = static_cast<unsigned char>(bytes[pos]);
        auto role = static_cast<unsigned char>(bytes[pos + 1]);
        auto op = static_cast<unsigned char>(bytes[pos + 2]);
        pos += 3;
        int kind = kindVia & 0x0F;
        int via = kindVia >> 4;
        if (kind >= kNameKinds || role >= kRoles || via > 2 || delta > 100000000u)
            break;
        line += static_cast<int>(delta);
        offset += step;
        uses.push_back({line, offset, static_cast<NameKind>(kind), static_cast<NameRole>(role), op,
                        static_cast<CallVia>(via)});
    }
    return uses;
}

} // namespace orvale::library
