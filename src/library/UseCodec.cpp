#include "library/UseCodec.h"

namespace orvale::library {

namespace {

void PutVarint(std::string& bytes, std::uint32_t value) {
    while (value >= 0x80) {
        bytes += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    bytes += static_cast<char>(value);
}

bool GetVarint(std::string_view bytes, size_t& pos, std::uint32_t& value) {
    value = 0;
    for (int shift = 0; shift < 35 && pos < bytes.size(); shift += 7) {
        auto b = static_cast<unsigned char>(bytes[pos++]);
        value |= static_cast<std::uint32_t>(b & 0x7F) << shift;
        if (!(b & 0x80))
            return true;
    }
    return false;
}

void Append(std::string& bytes, int previousLine, int line, NameKind kind, NameRole role,
            std::uint8_t op, CallVia via) {
    PutVarint(bytes, static_cast<std::uint32_t>(line >= previousLine ? line - previousLine : 0));
    bytes += static_cast<char>(static_cast<int>(kind) | (static_cast<int>(via) << 4));
    bytes += static_cast<char>(role);
    bytes += static_cast<char>(op);
}

} // namespace

void AppendUse(std::string& bytes, int previousLine, const TUse& use) {
    Append(bytes, previousLine, use.Line, use.Kind, use.Role, use.Op, use.Via);
}

std::string EncodeUses(const std::vector<TStoredUse>& uses) {
    std::string bytes;
    int previous = 0;
    for (const TStoredUse& u : uses) {
        Append(bytes, previous, u.Line, u.Kind, u.Role, u.Op, u.Via);
        previous = u.Line;
    }
    return bytes;
}

std::vector<TStoredUse> DecodeUses(std::string_view bytes) {
    std::vector<TStoredUse> uses;
    size_t pos = 0;
    int line = 0;
    while (pos < bytes.size()) {
        std::uint32_t delta = 0;
        if (!GetVarint(bytes, pos, delta) || pos + 3 > bytes.size())
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
        uses.push_back({line, static_cast<NameKind>(kind), static_cast<NameRole>(role), op,
                        static_cast<CallVia>(via)});
    }
    return uses;
}

} // namespace orvale::library
