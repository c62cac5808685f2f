#include "MemberConversion.h"

#include "ByteBuffer.h"
#include "CodePagePair.h"
#include "Columns.h"
#include "OndrelState.h"
#include "RecordConvert.h"
#include "TextLines.h"

#include "platform/SafeSave.h"
#include "platform/TextFile.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <sys/stat.h>

namespace ondrel {

namespace {

// Sequence number and date before the columns of a dated record.
constexpr size_t DatedBytes = 12;

// Some of the lines or records a finding is about: the first few, and how many in all.
class Numbers {
public:
    void Add(size_t number) {
        if (Count < Shown)
            First[Count] = number;
        ++Count;
    }
    size_t Count = 0;

    // "record 4", "records 4 and 9", "records 4, 9, 12, 20, 31 and 7 more".
    std::string Text(const std::string& noun) const {
        std::string text = noun + (Count == 1 ? " " : "s ");
        const size_t shown = Count < Shown ? Count : Shown;
        for (size_t i = 0; i < shown; ++i) {
            if (i != 0)
                text += i + 1 == shown && Count <= Shown ? " and " : ", ";
            text += std::to_string(First[i]);
        }
        if (Count > Shown)
            text += " and " + std::to_string(Count - Shown) + " more";
        return text;
    }

private:
    static constexpr size_t Shown = 5;
    size_t First[Shown] = {};
};

struct Findings {
    Numbers Cut, Unframed, Resized, Undated;
    size_t Lost = 0, LostAt = 0, LostColumn = 0;

    void Take(const ColumnNotes& notes, size_t number) {
        if (notes.Cut)
            Cut.Add(number);
        if (notes.Unframed)
            Unframed.Add(number);
        if (notes.Resized)
            Resized.Add(number);
        if (notes.Lost != 0 && Lost == 0) {
            LostAt = number;
            LostColumn = notes.FirstLost;
        }
        Lost += notes.Lost;
    }
};

// The warnings of a written target, the first one's status and every message, one a line.
class Warnings {
public:
    void Add(int status, const std::string& message) {
        if (Status == OndrelOk)
            Status = status;
        Message += (Message.empty() ? "" : "\n") + message;
    }
    void Report() { SetOutcome(Status, Message); }

private:
    int Status = OndrelOk;
    std::string Message;
};

bool IsZoned(const unsigned char* bytes) {
    for (size_t i = 0; i < DatedBytes; ++i)
        if (bytes[i] < 0xF0 || bytes[i] > 0xF9)
            return false;
    return true;
}

bool IsDigits(const char* text, size_t size) {
    if (size < DatedBytes)
        return false;
    for (size_t i = 0; i < DatedBytes; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

void LostWarning(Warnings& warnings, const Findings& found, const std::string& source,
                 const std::string& other, const char* noun) {
    if (found.Lost == 0)
        return;
    const bool one = found.Lost == 1;
    warnings.Add(OndrelCharactersLost,
                 source + ": " + std::to_string(found.Lost) +
                     (one ? " character has" : " characters have") + " no counterpart in " + other +
                     " and became " + (one ? "a blank" : "blanks") + " (" +
                     (one ? "" : "the first in ") + noun + " " + std::to_string(found.LostAt) +
                     ", column " + std::to_string(found.LostColumn) + ")");
}

// Checks what both directions need and opens the columns' conversion. Null with the outcome
// set.
std::unique_ptr<Columns> Prepare(const std::string& source, const TOndrelConversion& conversion,
                                 unsigned char blank) {
    if (!ValidRecordLength(conversion.RecordLength)) {
        SetOutcome(OndrelBadRecordLength, source + ": record length " +
                                              std::to_string(conversion.RecordLength) +
                                              " is not between 1 and 255");
        return nullptr;
    }
    if (conversion.HostCodePage.empty() && !conversion.PcCodePage.empty()) {
        SetOutcome(OndrelBadCodePage,
                   "PC code page " + conversion.PcCodePage + ": the host's code page is not given");
        return nullptr;
    }
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        SetOutcome(OndrelSourceMissing, Reason(source, S_ISDIR(st.st_mode) ? EISDIR : ENOENT));
        return nullptr;
    }
    std::string error;
    if (conversion.HostCodePage.empty()) {
        TranslationTable table;
        if (!LoadTranslationTable(conversion.TableFile, blank, table, error)) {
            SetOutcome(OndrelBadTable, std::move(error));
            return nullptr;
        }
        return TableColumns(table);
    }
    auto columns = CodePageColumns(conversion.HostCodePage, conversion.PcCodePage, error);
    if (!columns)
        SetOutcome(OndrelBadCodePage, std::move(error));
    return columns;
}

bool ToText(const std::string& source, const std::string& target,
            const TOndrelConversion& conversion, TOndrelProgress progress) {
    auto columns = Prepare(source, conversion, AsciiBlank);
    if (!columns)
        return false;
    ByteBuffer member;
    std::string error;
    if (!ReadWholeFile(source, member, error)) {
        SetOutcome(OndrelReadFailed, std::move(error));
        return false;
    }
    const size_t prefix = conversion.Dated ? DatedBytes : 0;
    const auto length = static_cast<size_t>(conversion.RecordLength);
    const size_t recordBytes = prefix + length;
    const size_t partial = member.Length() % recordBytes;
    if (conversion.Dated && partial != 0) {
        SetOutcome(OndrelBadMemberSize, source + ": " + std::to_string(member.Length()) +
                                            " bytes are not a whole number of dated records of " +
                                            std::to_string(recordBytes) +
                                            " bytes (12 of sequence number and date, " +
                                            std::to_string(length) + " columns)");
        return false;
    }
    const size_t records = (member.Length() + recordBytes - 1) / recordBytes;
    ByteBuffer text(records * (prefix + columns->MaxTextBytes(length) + 2));
    char* out = text.Data();
    std::string last; // a partial last record, padded
    Findings found;
    Numbers undated;
    for (size_t number = 1; number <= records; ++number) {
        if (progress)
            progress();
        if (CancelFlag.load(std::memory_order_relaxed)) {
            SetOutcome(OndrelCancelled);
            return true;
        }
        auto record = reinterpret_cast<const unsigned char*>(member.View().data()) +
                      (number - 1) * recordBytes;
        if (number == records && partial != 0) {
            last.assign(reinterpret_cast<const char*>(record), partial);
            last.resize(recordBytes, static_cast<char>(EbcdicBlank));
            record = reinterpret_cast<const unsigned char*>(last.data());
        }
        ColumnNotes notes;
        if (prefix != 0 && IsZoned(record)) {
            for (size_t i = 0; i < prefix; ++i)
                *out++ = static_cast<char>('0' + (record[i] & 0x0F));
        } else if (prefix != 0) {
            undated.Add(number);
            for (size_t i = 0; i < prefix; ++i) {
                int pc = columns->SingleToPc(record[i]);
                if (pc < 0 && notes.Lost++ == 0)
                    notes.FirstLost = i + 1;
                *out++ = pc < 0 ? ' ' : static_cast<char>(pc);
            }
        }
        out += columns->ToPc(record + prefix, length, prefix + 1, out, notes);
        if (!notes.Problem.empty()) {
            SetOutcome(OndrelBadData,
                       source + ": record " + std::to_string(number) + ", " + notes.Problem);
            return false;
        }
        found.Take(notes, number);
        *out++ = '\r';
        *out++ = '\n';
    }
    if (progress)
        progress();
    if (CancelFlag.load(std::memory_order_relaxed)) {
        SetOutcome(OndrelCancelled);
        return true;
    }
    text.Shrink(static_cast<size_t>(out - text.Data()));
    member = ByteBuffer(); // not needed while the target is written
    if (!orvale::WriteFileSafely(target, text.View(), {}, &error)) {
        SetOutcome(OndrelWriteFailed, std::move(error));
        return false;
    }
    Warnings warnings;
    if (partial != 0)
        warnings.Add(OndrelPartialRecord,
                     source + ": the last record (line " + std::to_string(records) + ") holds " +
                         std::to_string(partial) + " of " + std::to_string(recordBytes) +
                         " bytes; it was kept, padded with blanks. A member of records of "
                         "another length reads wrongly: check the record length.");
    if (undated.Count != 0)
        warnings.Add(OndrelBadSequence,
                     source + ": " + undated.Text("record") +
                         (undated.Count == 1 ? " does" : " do") +
                         " not begin with a sequence number and date in 12 zoned digits; " +
                         (undated.Count == 1 ? "its" : "their") + " bytes were kept as text");
    if (found.Resized.Count != 0)
        warnings.Add(OndrelColumnsMoved, source + ": " + found.Resized.Text("record") +
                                             ": characters take another number of bytes in " +
                                             columns->PcName() + " than in " + columns->HostName() +
                                             ", and the columns after them moved");
    LostWarning(warnings, found, source, columns->PcName(), "record");
    warnings.Report();
    return true;
}

void ToMember(const std::string& source, const std::string& target,
              const TOndrelConversion& conversion, TOndrelProgress progress) {
    auto columns = Prepare(source, conversion, EbcdicBlank);
    if (!columns)
        return;
    ByteBuffer text;
    std::string error;
    if (!ReadWholeFile(source, text, error)) {
        SetOutcome(OndrelReadFailed, std::move(error));
        return;
    }
    const size_t prefix = conversion.Dated ? DatedBytes : 0;
    const auto length = static_cast<size_t>(conversion.RecordLength);
    const size_t recordBytes = prefix + length;
    ByteBuffer member(CountTextLines(text.View()) * recordBytes);
    char* out = member.Data();
    Findings found;
    Numbers undated;
    size_t number = 0;
    std::string problem;
    const bool done = ForEachLine(text.View(), [&](const char* line, size_t size) {
        if (progress)
            progress();
        if (CancelFlag.load(std::memory_order_relaxed))
            return false;
        ++number;
        ColumnNotes notes;
        if (prefix != 0 && IsDigits(line, size)) {
            for (size_t i = 0; i < prefix; ++i)
                out[i] = static_cast<char>(0xF0 + (line[i] - '0'));
        } else if (prefix != 0) {
            undated.Add(number);
            for (size_t i = 0; i < prefix; ++i) {
                int host = i < size ? columns->SingleToHost(static_cast<unsigned char>(line[i]))
                                    : EbcdicBlank;
                if (host < 0 && notes.Lost++ == 0)
                    notes.FirstLost = i + 1;
                out[i] = static_cast<char>(host < 0 ? EbcdicBlank : host);
            }
        }
        const size_t skip = size < prefix ? size : prefix;
        columns->ToHost(line + skip, size - skip, length, prefix + 1, out + prefix, notes);
        if (!notes.Problem.empty()) {
            problem = source + ": line " + std::to_string(number) + ", " + notes.Problem;
            return false;
        }
        found.Take(notes, number);
        out += recordBytes;
        return true;
    });
    if (!problem.empty()) {
        SetOutcome(OndrelBadData, std::move(problem));
        return;
    }
    if (!done) {
        SetOutcome(OndrelCancelled);
        return;
    }
    text = ByteBuffer(); // not needed while the target is written
    if (!orvale::WriteFileSafely(target, member.View(), {}, &error)) {
        SetOutcome(OndrelWriteFailed, std::move(error));
        return;
    }
    Warnings warnings;
    if (found.Cut.Count != 0)
        warnings.Add(OndrelLinesCut,
                     source + ": " + found.Cut.Text("line") +
                         (found.Cut.Count == 1 ? " is" : " are") + " longer than " +
                         (prefix != 0 ? "the 12 digits and " : "") + std::to_string(length) +
                         " characters and lost the text past " + (prefix != 0 ? "them" : "it") +
                         ". A longer record length keeps it.");
    if (found.Unframed.Count != 0)
        warnings.Add(OndrelColumnsMoved,
                     source + ": " + found.Unframed.Text("line") +
                         ": a double-byte run without a blank before and after it took shift-out "
                         "and shift-in of its own, and the columns after it moved");
    if (found.Resized.Count != 0)
        warnings.Add(OndrelColumnsMoved, source + ": " + found.Resized.Text("line") +
                                             ": characters take another number of bytes in " +
                                             columns->HostName() + " than in " + columns->PcName() +
                                             ", and the columns after them moved");
    if (undated.Count != 0)
        warnings.Add(OndrelBadSequence,
                     source + ": " + undated.Text("line") + (undated.Count == 1 ? " does" : " do") +
                         " not begin with the 12 digits of a sequence number and date; " +
                         (undated.Count == 1 ? "its" : "their") + " characters were kept");
    LostWarning(warnings, found, source, columns->HostName(), "line");
    warnings.Report();
}

bool Plain(const TOndrelConversion& conversion) {
    return !conversion.Dated && conversion.HostCodePage.empty() && conversion.PcCodePage.empty();
}

} // namespace

} // namespace ondrel

extern "C" {

bool EBCDicToASCIIEx(const std::string& source, const std::string& target,
                     const TOndrelConversion& conversion, TOndrelProgress progress) {
    if (ondrel::Plain(conversion))
        return EBCDicToASCII(source, target, conversion.TableFile, conversion.RecordLength,
                             progress);
    ondrel::CancelFlag = false;
    ondrel::SetOutcome(OndrelOk);
    try {
        return ondrel::ToText(source, target, conversion, progress);
    } catch (const std::bad_alloc&) {
        ondrel::OutOfMemory(OndrelReadFailed, source);
        return false;
    }
}

void ASCIIToEBCDicEx(const std::string& source, const std::string& target,
                     const TOndrelConversion& conversion, TOndrelProgress progress) {
    if (ondrel::Plain(conversion)) {
        ASCIIToEBCDic(source, target, conversion.TableFile, conversion.RecordLength, progress);
        return;
    }
    ondrel::CancelFlag = false;
    ondrel::SetOutcome(OndrelOk);
    try {
        ondrel::ToMember(source, target, conversion, progress);
    } catch (const std::bad_alloc&) {
        ondrel::OutOfMemory(OndrelReadFailed, source);
    }
}

bool OndrelCheckCodePages(const std::string& host, const std::string& pc, std::string& message) {
    message.clear();
    return ondrel::CodePageColumns(host, pc, message) != nullptr;
}

void OndrelDefaultPcCodePage(const std::string& host, std::string& pc) {
    pc = ondrel::DefaultPcCodePage(host);
    if (pc.empty())
        pc = "ISO-8859-1";
}
}
