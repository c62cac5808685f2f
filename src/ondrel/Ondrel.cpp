#include "Ondrel.h"

#include "ByteBuffer.h"
#include "OndrelState.h"
#include "RecordConvert.h"
#include "RecordLength.h"
#include "TranslationTable.h"

#include "platform/SafeSave.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ondrel::CancelFlag;
using ondrel::OutOfMemory;
using ondrel::Reason;
using ondrel::SetOutcome;

std::string RecordLengthReason(const std::string& path, int recordLength) {
    return path + ": record length " + std::to_string(recordLength) + " is not between 1 and 255";
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Checks the record length and the source, and loads the table. False with the outcome set.
bool Prepare(const std::string& source, const std::string& tableFile, int recordLength,
             unsigned char blank, ondrel::TranslationTable& table) {
    if (!ondrel::ValidRecordLength(recordLength)) {
        SetOutcome(OndrelBadRecordLength, RecordLengthReason(source, recordLength));
        return false;
    }
    if (!orvale::FileExists(source)) {
        SetOutcome(OndrelSourceMissing, Reason(source, IsDirectory(source) ? EISDIR : ENOENT));
        return false;
    }
    std::string error;
    if (!ondrel::LoadTranslationTable(tableFile, blank, table, error)) {
        SetOutcome(OndrelBadTable, std::move(error));
        return false;
    }
    return true;
}

bool ToText(const std::string& source, const std::string& target, const std::string& tableFile,
            int recordLength, TOndrelProgress progress) {
    ondrel::TranslationTable table;
    if (!Prepare(source, tableFile, recordLength, ondrel::AsciiBlank, table))
        return false;
    ondrel::ByteBuffer member;
    std::string error;
    if (!ondrel::ReadWholeFile(source, member, error)) {
        SetOutcome(OndrelReadFailed, std::move(error));
        return false;
    }
    ondrel::ByteBuffer text(ondrel::TextSize(member.Length(), recordLength));
    size_t partial = 0;
    if (!ondrel::RecordsToText(member.View(), recordLength, table, progress, CancelFlag,
                               text.Data(), partial)) {
        SetOutcome(OndrelCancelled);
        return true;
    }
    const size_t records =
        ondrel::TextSize(member.Length(), recordLength) / (static_cast<size_t>(recordLength) + 2);
    member = ondrel::ByteBuffer(); // not needed while the target is written
    if (!orvale::WriteFileSafely(target, text.View(), {}, &error)) {
        SetOutcome(OndrelWriteFailed, std::move(error));
        return false;
    }
    if (partial != 0)
        SetOutcome(OndrelPartialRecord,
                   source + ": the last record (line " + std::to_string(records) + ") holds " +
                       std::to_string(partial) + " of " + std::to_string(recordLength) +
                       " bytes; it was kept, padded with blanks. A member of records of "
                       "another length reads wrongly: check the record length.");
    return true;
}

void ToMember(const std::string& source, const std::string& target, const std::string& tableFile,
              int recordLength, TOndrelProgress progress) {
    ondrel::TranslationTable table;
    if (!Prepare(source, tableFile, recordLength, ondrel::EbcdicBlank, table))
        return;
    // The text is converted where it was read, line by line, without a string per line.
    ondrel::ByteBuffer text;
    std::string error;
    if (!ondrel::ReadWholeFile(source, text, error)) {
        SetOutcome(OndrelReadFailed, std::move(error));
        return;
    }
    // Sized from the number of lines before the first record is made.
    ondrel::ByteBuffer member(ondrel::CountTextLines(text.View()) *
                              static_cast<size_t>(recordLength));
    ondrel::CutLines cut;
    if (!ondrel::TextToRecords(text.View(), recordLength, table, progress, CancelFlag,
                               member.Data(), cut)) {
        SetOutcome(OndrelCancelled);
        return;
    }
    text = ondrel::ByteBuffer(); // not needed while the target is written
    if (!orvale::WriteFileSafely(target, member.View(), {}, &error)) {
        SetOutcome(OndrelWriteFailed, std::move(error));
        return;
    }
    if (cut.Count != 0)
        SetOutcome(OndrelLinesCut, source + ": " + std::to_string(cut.Count) +
                                       (cut.Count == 1 ? " line is" : " lines are") +
                                       " longer than " + std::to_string(recordLength) +
                                       " characters and lost the text past it " +
                                       "(the first is line " + std::to_string(cut.First) +
                                       "). A longer record length keeps it.");
}

bool CopyToFolder(const std::string& file, const std::string& folder, bool quiet) {
    if (!orvale::FileExists(file)) {
        SetOutcome(OndrelCopyFailed, Reason(file, IsDirectory(file) ? EISDIR : ENOENT));
        return false;
    }
    if (folder.empty() || !IsDirectory(folder)) {
        struct stat st {};
        int err = ::stat(folder.c_str(), &st) == 0 ? ENOTDIR : ENOENT;
        SetOutcome(OndrelCopyFailed, Reason(folder, err));
        return false;
    }
    std::string target = folder;
    if (target.back() != '/')
        target += '/';
    target += orvale::ExtractFileName(file);
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            SetOutcome(OndrelCopyFailed, Reason(target, EISDIR));
            return false;
        }
        if (quiet) {
            SetOutcome(OndrelCopyFailed, Reason(target, EEXIST));
            return false;
        }
    }
    // Written beside the target and renamed over it, so the host never sees half a member.
    std::string error;
    if (!orvale::CopyFileSafely(file, target, &error)) {
        SetOutcome(OndrelCopyFailed, std::move(error));
        return false;
    }
    return true;
}

// The first Count bytes of a file (fewer when it is shorter), and its size.
bool ReadHead(const std::string& path, size_t count, std::string& head, size_t& size) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetOutcome(OndrelReadFailed, Reason(path, errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        SetOutcome(OndrelReadFailed, Reason(path, errno));
        ::close(fd);
        return false;
    }
    size = static_cast<size_t>(st.st_size);
    head.resize(std::min(count, size));
    size_t got = 0;
    while (got < head.size()) {
        ssize_t n = ::read(fd, head.data() + got, head.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    const int err = errno;
    ::close(fd);
    if (got < head.size()) {
        SetOutcome(OndrelReadFailed, Reason(path, got == 0 && err != 0 ? err : EIO));
        return false;
    }
    return true;
}

bool FitRecords(const std::string& source, const std::string& tableFile, int recordLength,
                TOndrelRecordFit& fit) {
    ondrel::TranslationTable table;
    if (!Prepare(source, tableFile, recordLength, ondrel::AsciiBlank, table))
        return false;
    std::string head;
    size_t size = 0;
    if (!ReadHead(source, ondrel::JudgedBytes, head, size))
        return false;
    fit = {};
    fit.Share = ondrel::JudgeRecords(head, recordLength, table).Share();
    fit.Found = ondrel::FindRecordLength(head, size, recordLength, table);
    if (fit.Found != 0)
        fit.FoundShare = ondrel::JudgeRecords(head, fit.Found, table).Share();
    return true;
}

// The longest line of a text file, read a piece at a time: a whole copy of a large text would
// cost more than the conversion that follows. Lines longer than a record can be are not
// measured to their end.
int LongestLineLength(const std::string& source, int least) {
    if (!orvale::FileExists(source)) {
        SetOutcome(OndrelSourceMissing, Reason(source, IsDirectory(source) ? EISDIR : ENOENT));
        return 0;
    }
    int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetOutcome(OndrelReadFailed, Reason(source, errno));
        return 0;
    }
    constexpr size_t kPiece = 1 << 20;
    constexpr size_t kCarried = 4 * ondrel::MaxRecordLength;
    std::string buffer(kCarried + kPiece, '\0');
    size_t carried = 0; // the start of a line that the last piece did not end
    size_t longest = 0;
    bool ended = false;
    while (!ended) {
        ssize_t n = ::read(fd, buffer.data() + carried, kPiece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            SetOutcome(OndrelReadFailed, Reason(source, errno));
            ::close(fd);
            return 0;
        }
        std::string_view text(buffer.data(), carried + static_cast<size_t>(n));
        const size_t zero = text.find('\0');
        ended = n == 0 || zero != std::string_view::npos;
        if (zero != std::string_view::npos)
            text = text.substr(0, zero);
        const size_t end = ended ? text.size() : text.find_last_of("\r\n") + 1;
        longest = std::max(longest, ondrel::LongestTextLine(text.substr(0, end)));
        carried = text.size() - end;
        if (carried > kCarried) {
            longest = std::max<size_t>(longest, ondrel::MaxRecordLength);
            carried = 0;
        }
        std::memmove(buffer.data(), text.data() + end, carried);
    }
    ::close(fd);
    longest = std::min<size_t>(longest, ondrel::MaxRecordLength);
    return std::clamp(std::max(least, static_cast<int>(longest)), 1, ondrel::MaxRecordLength);
}

} // namespace

extern "C" {

void GetEBCDDllVersion(std::string& version) {
    version = "1.31 - 17/05/1997";
}

bool EBCDicToASCII(const std::string& source, const std::string& target,
                   const std::string& tableFile, int recordLength, TOndrelProgress progress) {
    CancelFlag = false;
    SetOutcome(OndrelOk);
    try {
        return ToText(source, target, tableFile, recordLength, progress);
    } catch (const std::bad_alloc&) {
        OutOfMemory(OndrelReadFailed, source);
        return false;
    }
}

void ASCIIToEBCDic(const std::string& source, const std::string& target,
                   const std::string& tableFile, int recordLength, TOndrelProgress progress) {
    CancelFlag = false;
    SetOutcome(OndrelOk);
    try {
        ToMember(source, target, tableFile, recordLength, progress);
    } catch (const std::bad_alloc&) {
        OutOfMemory(OndrelReadFailed, source);
    }
}

bool ShellCopyToAS(const std::string& file, const std::string& folder, void* window, bool quiet) {
    (void)window;
    SetOutcome(OndrelOk);
    try {
        return CopyToFolder(file, folder, quiet);
    } catch (const std::bad_alloc&) {
        OutOfMemory(OndrelCopyFailed, file);
        return false;
    }
}

bool MemberRecordFit(const std::string& source, const std::string& tableFile, int recordLength,
                     TOndrelRecordFit& fit) {
    SetOutcome(OndrelOk);
    try {
        return FitRecords(source, tableFile, recordLength, fit);
    } catch (const std::bad_alloc&) {
        OutOfMemory(OndrelReadFailed, source);
        return false;
    }
}

int TextRecordLength(const std::string& source, int least) {
    SetOutcome(OndrelOk);
    try {
        return LongestLineLength(source, least);
    } catch (const std::bad_alloc&) {
        OutOfMemory(OndrelReadFailed, source);
        return 0;
    }
}

void OndrelCancelOp() {
    CancelFlag = true;
}

int OndrelLastError(std::string& message) {
    message = ondrel::LastMessage();
    return ondrel::LastStatus();
}
}
