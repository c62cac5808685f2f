#include "CodePage.h"
#include "Iconv.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace orvale {

namespace {

// A character shows something of its own in one place of a line. Control and format
// characters, marks that join the character before them, characters of the private use area
// (no font here has them) and the replacement character do not.
bool Shows(char32_t c) {
    if (c > 0xFFFF || c == 0xFFFD)
        return false;
    switch (u_charType(static_cast<UChar32>(c))) {
    case U_CONTROL_CHAR:
    case U_FORMAT_CHAR:
    case U_PRIVATE_USE_CHAR:
    case U_UNASSIGNED:
    case U_SURROGATE:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
        return false;
    default:
        return true;
    }
}

// A character of the private use area is never taken from the user: the stand-ins live there,
// and what a code page puts there (user-defined characters) is shown by its bytes.
bool PrivateUse(char32_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

constexpr uint32_t kPair = 0x10000;

// The code page as tables made once from a converter: what each single byte and each pair of a
// lead byte and a second byte is, and the bytes of each character.
class TableCodePage final : public CodePage {
public:
    // Decode gives the character of one or two bytes, or nothing; Lead says whether a byte
    // that is no character alone begins a character of two.
    template <class Decode, class Encode>
    TableCodePage(std::string name, Decode decode, Encode encode) : Name_(std::move(name)) {
        for (int b = 0; b < 256; ++b) {
            std::string one(1, static_cast<char>(b));
            bool lead = false;
            if (std::optional<char32_t> c = decode(one, lead)) {
                if (encode(*c) == one) {
                    Take(*c, static_cast<uint32_t>(b));
                    if (Shows(*c) || *c == U'\n')
                        Single[static_cast<size_t>(b)] = static_cast<char16_t>(*c);
                }
                continue;
            }
            if (!lead)
                continue;
            if (Pairs.empty())
                Pairs.assign(256 * 256, 0);
            for (int t = 0; t < 256; ++t) {
                std::string two{static_cast<char>(b), static_cast<char>(t)};
                bool more = false;
                std::optional<char32_t> c = decode(two, more);
                if (!c || encode(*c) != two)
                    continue;
                uint32_t code = static_cast<uint32_t>(b << 8 | t);
                Take(*c, kPair | code);
                if (Shows(*c))
                    Pairs[code] = static_cast<char16_t>(*c);
            }
            Leads[static_cast<size_t>(b)] = true;
        }
    }

    const std::string& Name() const override { return Name_; }
    bool DoubleByte() const override { return !Pairs.empty(); }

    size_t ToUnicode(std::string_view bytes, char16_t* out) const override {
        size_t n = 0;
        for (size_t k = 0; k < bytes.size(); ++k) {
            auto b = static_cast<unsigned char>(bytes[k]);
            if (Leads[b] && k + 1 < bytes.size()) {
                auto t = static_cast<unsigned char>(bytes[k + 1]);
                if (char16_t c = Pairs[static_cast<size_t>(b << 8 | t)]) {
                    out[n++] = c;
                    ++k;
                    continue;
                }
            }
            char16_t c = Single[b];
            out[n++] = c ? c : StandIn(b);
        }
        return n;
    }

    void FromUnicode(std::u16string_view text, std::string& out) const override {
        out.reserve(out.size() + text.size());
        for (char16_t c : text) {
            if (int byte = StoodFor(c); byte >= 0) {
                out += static_cast<char>(byte);
                continue;
            }
            auto found = Bytes.find(c);
            if (found == Bytes.end()) {
                out += '?';
            } else if (found->second & kPair) {
                out += static_cast<char>(found->second >> 8 & 0xFF);
                out += static_cast<char>(found->second & 0xFF);
            } else {
                out += static_cast<char>(found->second);
            }
        }
    }

    size_t FirstUnmappable(std::u16string_view text) const override {
        for (size_t k = 0; k < text.size(); ++k)
            if (StoodFor(text[k]) < 0 && !Bytes.contains(text[k]))
                return k;
        return std::u16string_view::npos;
    }

    int Columns(char16_t c) const override {
        auto found = Bytes.find(c);
        return found != Bytes.end() && (found->second & kPair) ? 2 : 1;
    }

private:
    void Take(char32_t c, uint32_t code) {
        if (c <= 0xFFFF && !PrivateUse(c))
            Bytes.emplace(static_cast<char16_t>(c), code);
    }

    std::string Name_;
    std::array<char16_t, 256> Single{};
    std::array<bool, 256> Leads{};
    std::vector<char16_t> Pairs;
    std::unordered_map<char16_t, uint32_t> Bytes;
};

// One character from Bytes, or from one character Bytes, through the system's converters;
// Incomplete is set when the bytes are the start of a longer character. Only exact conversions
// count: a one-way mapping would not give the same bytes back.
class Converter {
public:
    explicit Converter(const std::string& name) {
        std::string error;
        Opened = In.Open("UCS-4BE", name, error) && Out.Open(name, "UCS-4BE", error);
    }

    bool Open() const { return Opened; }

    std::optional<char32_t> Decode(const std::string& bytes, bool& incomplete) {
        char32_t c = 0;
        size_t used = 0;
        IconvConverter::Result result = In.ConvertOne(bytes, c, used);
        incomplete = result == IconvConverter::Result::Incomplete;
        if (result != IconvConverter::Result::Ok || used != bytes.size() || In.Irreversible() != 0)
            return std::nullopt;
        return c;
    }

    std::string Encode(char32_t c) {
        std::string bytes;
        if (Out.Convert(Ucs4(c), bytes) != IconvConverter::Result::Ok || Out.Irreversible() != 0)
            return {};
        return bytes;
    }

private:
    IconvConverter In, Out;
    bool Opened = false;
};

const std::vector<std::string>& KnownNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (int k = 1; k <= 16; ++k)
            if (k != 12) // never made: the Devanagari part was dropped
                all.push_back("ISO-8859-" + std::to_string(k));
        for (int k = 1250; k <= 1258; ++k)
            all.push_back("WINDOWS-" + std::to_string(k));
        for (const char* name : {"BIG5", "CP950", "BIG5-HKSCS", "SHIFT_JIS", "CP932", "EUC-JP",
                                 "GBK", "GB18030", "EUC-KR", "CP949"})
            all.emplace_back(name);
        return all;
    }();
    return names;
}

std::string Folded(std::string_view name) {
    std::string folded;
    for (char c : name) {
        if (c == '-' || c == '_' || c == ' ')
            continue;
        folded += c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    }
    return folded;
}

// Other names the same code pages go by.
std::string Alias(const std::string& folded) {
    static const std::map<std::string, std::string> aliases = {
        {"LATIN1", "ISO-8859-1"}, {"SJIS", "SHIFT_JIS"},      {"MS932", "CP932"},
        {"WINDOWS31J", "CP932"},  {"MS950", "CP950"},         {"UHC", "CP949"},
        {"MS949", "CP949"},       {"BIG5HKSCS", "BIG5-HKSCS"}};
    if (auto found = aliases.find(folded); found != aliases.end())
        return found->second;
    if (folded.size() == 6 && folded.starts_with("CP125"))
        return "WINDOWS-" + folded.substr(2);
    return {};
}

std::optional<char32_t> Latin1Decode(const std::string& bytes, bool& incomplete) {
    incomplete = false;
    if (bytes.size() != 1)
        return std::nullopt;
    return static_cast<unsigned char>(bytes[0]);
}

std::string Latin1Encode(char32_t c) {
    return c <= 0xFF ? std::string(1, static_cast<char>(c)) : std::string();
}

} // namespace

const CodePage& CodePage::Latin1() {
    static const TableCodePage page("ISO-8859-1", Latin1Decode, Latin1Encode);
    return page;
}

std::string CodePage::Canonical(std::string_view name) {
    std::string folded = Folded(name);
    if (folded.empty())
        return {};
    for (const std::string& known : KnownNames())
        if (Folded(known) == folded)
            return known;
    return Alias(folded);
}

std::unique_ptr<CodePage> CodePage::Named(std::string_view name) {
    std::string canonical = Canonical(name);
    if (canonical.empty())
        return nullptr;
    if (canonical == "ISO-8859-1")
        return std::make_unique<TableCodePage>(canonical, Latin1Decode, Latin1Encode);
    Converter converter(canonical);
    if (!converter.Open())
        return nullptr;
    return std::make_unique<TableCodePage>(
        canonical,
        [&](const std::string& bytes, bool& incomplete) {
            return converter.Decode(bytes, incomplete);
        },
        [&](char32_t c) { return converter.Encode(c); });
}

const CodePage* CodePage::Shared(std::string_view name) {
    std::string canonical = Canonical(name);
    if (canonical == "ISO-8859-1")
        return &Latin1();
    static std::mutex guard;
    static std::map<std::string, std::unique_ptr<CodePage>> made;
    std::lock_guard lock(guard);
    auto found = made.find(canonical);
    if (found == made.end())
        found = made.emplace(canonical, Named(canonical)).first;
    return found->second.get();
}

std::vector<std::string> CodePage::Offered() {
    std::vector<std::string> offered;
    for (const std::string& name : KnownNames()) {
        Converter converter(name);
        if (name == "ISO-8859-1" || converter.Open())
            offered.push_back(name);
    }
    return offered;
}

} // namespace orvale
