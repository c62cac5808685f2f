#include "Columns.h"

#include "CodePagePair.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace ondrel {

namespace {

class ByTable final : public Columns {
public:
    explicit ByTable(const TranslationTable& table) : Table(table) {}

    int SingleToPc(unsigned char byte) const override { return Table[byte]; }
    int SingleToHost(unsigned char byte) const override { return Table[byte]; }

    size_t ToPc(const unsigned char* record, size_t length, size_t, char* text,
                ColumnNotes&) override {
        for (size_t i = 0; i < length; ++i)
            text[i] = static_cast<char>(Table[record[i]]);
        return length;
    }

    void ToHost(const char* line, size_t size, size_t length, size_t, char* record,
                ColumnNotes& notes) override {
        // Blanks past the record are no loss: the record is padded with blanks anyway.
        notes.Cut = size > length &&
                    std::any_of(line + length, line + size, [](char c) { return c != ' '; });
        const auto* in = reinterpret_cast<const unsigned char*>(line);
        const size_t used = std::min(size, length);
        for (size_t i = 0; i < used; ++i)
            record[i] = static_cast<char>(Table[in[i]]);
        std::memset(record + used, EbcdicBlank, length - used);
    }

private:
    TranslationTable Table;
};

std::string Hex(unsigned char byte) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

void NoteLost(ColumnNotes& notes, size_t column) {
    if (notes.Lost++ == 0)
        notes.FirstLost = column;
}

class ByCodePage final : public Columns {
public:
    bool Open(const std::string& host, const std::string& pc, std::string& error) {
        return Pair.Open(host, pc, error);
    }

    std::string HostName() const override { return Pair.HostName(); }
    std::string PcName() const override { return Pair.PcName(); }

    // A double-byte character is at most four bytes of text for the two of the host.
    size_t MaxTextBytes(size_t length) const override { return Pair.Mixed() ? 2 * length : length; }

    int SingleToPc(unsigned char byte) const override { return Pair.FromHostSingle(byte); }

    int SingleToHost(unsigned char byte) const override {
        const PcChar& c = Pair.FromPcSingle(byte);
        return c.What == PcChar::Single ? c.Host[0] : -1;
    }

    size_t ToPc(const unsigned char* record, size_t length, size_t firstColumn, char* text,
                ColumnNotes& notes) override;
    void ToHost(const char* line, size_t size, size_t length, size_t firstColumn, char* record,
                ColumnNotes& notes) override;

private:
    void Fit(size_t length, char* record, ColumnNotes& notes);

    CodePagePair Pair;
    std::string Out; // the host bytes of a line before they are fitted to the record
};

// Every shift character becomes one blank of text, so that the columns stay where they are.
size_t ByCodePage::ToPc(const unsigned char* record, size_t length, size_t firstColumn, char* text,
                        ColumnNotes& notes) {
    char* out = text;
    const bool mixed = Pair.Mixed();
    size_t i = 0;
    while (i < length) {
        for (int pc; i < length && (pc = Pair.FromHostSingle(record[i])) >= 0; ++i)
            *out++ = static_cast<char>(pc);
        if (i == length)
            break;
        if (!mixed || record[i] != ShiftOut) {
            NoteLost(notes, firstColumn + i);
            *out++ = ' ';
            ++i;
            continue;
        }
        const size_t shiftOut = i++;
        *out++ = ' ';
        while (i < length && record[i] != ShiftIn) {
            const std::string column = "column " + std::to_string(firstColumn + i) + ": ";
            if (i + 1 == length || record[i + 1] == ShiftIn) {
                notes.Problem = column + "a double-byte run of an odd number of bytes";
                return 0;
            }
            const HostDouble& c = Pair.FromHostDouble(record[i], record[i + 1]);
            if (c.What == HostDouble::Invalid) {
                notes.Problem = column + "bytes " + Hex(record[i]) + " " + Hex(record[i + 1]) +
                                " are not a double-byte character of " + Pair.HostName();
                return 0;
            }
            if (c.What == HostDouble::Paired) {
                std::memcpy(out, c.Pc, c.Length);
                out += c.Length;
                notes.Resized = notes.Resized || c.Length != 2;
            } else {
                NoteLost(notes, firstColumn + i);
                const std::string& blank = Pair.PcDoubleBlank();
                std::memcpy(out, blank.data(), blank.size());
                out += blank.size();
            }
            i += 2;
        }
        if (i == length) {
            notes.Problem = "column " + std::to_string(firstColumn + shiftOut) +
                            ": a shift-out without a shift-in before the end of the record";
            return 0;
        }
        *out++ = ' ';
        ++i;
    }
    return static_cast<size_t>(out - text);
}

// The blank before a double-byte run becomes its shift-out and the blank after it its
// shift-in; a run without them takes shift characters of its own.
void ByCodePage::ToHost(const char* line, size_t size, size_t length, size_t firstColumn,
                        char* record, ColumnNotes& notes) {
    // Most lines hold single-byte characters only: byte for byte, as through a table.
    const auto* in = reinterpret_cast<const unsigned char*>(line);
    size_t plain = 0;
    while (plain < size && Pair.FromPcSingle(in[plain]).What == PcChar::Single)
        ++plain;
    if (plain == size) {
        const size_t used = std::min(size, length);
        for (size_t i = 0; i < used; ++i)
            record[i] = static_cast<char>(Pair.FromPcSingle(in[i]).Host[0]);
        std::memset(record + used, EbcdicBlank, length - used);
        notes.Cut = size > length &&
                    std::any_of(line + length, line + size, [](char c) { return c != ' '; });
        return;
    }
    Out.clear();
    bool inRun = false;
    bool freeBlank = false; // the last byte written is a blank of the text, not yet a shift-in
    size_t i = 0;
    while (i < size) {
        PcChar c = Pair.FromPc(line + i, size - i);
        if (c.What == PcChar::Invalid) {
            std::string bytes;
            for (size_t k = i; k < std::min<size_t>(size, i + c.Length); ++k)
                bytes += (bytes.empty() ? "" : " ") + Hex(static_cast<unsigned char>(line[k]));
            notes.Problem = "column " + std::to_string(firstColumn + i) + ": byte" +
                            (c.Length > 1 ? "s " : " ") + bytes + " not text of " + Pair.PcName();
            return;
        }
        if (c.What == PcChar::Lost) {
            NoteLost(notes, firstColumn + i);
            // Within a run double-byte blanks keep it whole; elsewhere one blank a byte.
            const bool doubles = inRun && c.Length % 2 == 0;
            for (size_t k = 0; k < c.Length; k += doubles ? 2 : 1)
                Out.append(doubles ? "\x40\x40" : "\x40");
            freeBlank = !doubles;
            i += c.Length;
            continue;
        }
        const bool blank = line[i] == ' ';
        if (c.What == PcChar::Double) {
            if (!inRun) {
                if (freeBlank) {
                    Out.back() = static_cast<char>(ShiftOut);
                } else {
                    Out += static_cast<char>(ShiftOut);
                    notes.Unframed = true;
                }
                inRun = true;
            }
            Out += static_cast<char>(c.Host[0]);
            Out += static_cast<char>(c.Host[1]);
            notes.Resized = notes.Resized || c.Length != 2;
            freeBlank = false;
        } else {
            if (inRun) {
                inRun = false;
                Out += static_cast<char>(ShiftIn);
                if (blank) {
                    freeBlank = false;
                    ++i;
                    continue;
                }
                notes.Unframed = true;
            }
            Out += static_cast<char>(c.Host[0]);
            notes.Resized = notes.Resized || c.Length != 1;
            freeBlank = blank;
        }
        i += c.Length;
    }
    // A run at the end of the text closes in the column after it, a blank of the record.
    if (inRun)
        Out += static_cast<char>(ShiftIn);
    Fit(length, record, notes);
}

// Cuts or pads the host bytes of a line to the record; a run cut short still closes.
void ByCodePage::Fit(size_t length, char* record, ColumnNotes& notes) {
    size_t keep = Out.size();
    bool close = false;
    if (keep > length) {
        keep = length;
        size_t shiftOut = std::string::npos;
        for (size_t k = 0; k < length; ++k) {
            if (Out[k] == static_cast<char>(ShiftOut))
                shiftOut = k;
            else if (Out[k] == static_cast<char>(ShiftIn))
                shiftOut = std::string::npos;
            else if (shiftOut != std::string::npos)
                ++k; // the second byte of a double-byte character
        }
        if (shiftOut != std::string::npos) {
            const size_t pairs = length - 1 > shiftOut ? (length - 1 - shiftOut - 1) / 2 : 0;
            keep = pairs == 0 ? shiftOut : shiftOut + 1 + 2 * pairs;
            close = pairs != 0;
        }
        notes.Cut =
            std::any_of(Out.begin() + static_cast<std::ptrdiff_t>(keep), Out.end(), [](char c) {
                auto byte = static_cast<unsigned char>(c);
                return byte != EbcdicBlank && byte != ShiftOut && byte != ShiftIn;
            });
    }
    std::memcpy(record, Out.data(), keep);
    if (close)
        record[keep++] = static_cast<char>(ShiftIn);
    std::memset(record + keep, EbcdicBlank, length - keep);
}

} // namespace

std::unique_ptr<Columns> TableColumns(const TranslationTable& table) {
    return std::make_unique<ByTable>(table);
}

std::unique_ptr<Columns> CodePageColumns(const std::string& host, const std::string& pc,
                                         std::string& error) {
    auto columns = std::make_unique<ByCodePage>();
    if (!columns->Open(host, pc, error))
        return nullptr;
    return columns;
}

} // namespace ondrel
