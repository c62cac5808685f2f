// xlt, ebcdic-to-text, text-to-ebcdic: the member conversions of the export and import
// windows, for scripts. They run the conversion library with the translation files of the
// program directory (or of --dir).

#include "Commands.h"
#include "frame/ProgramDir.h"

#include "ondrel/CodePageTables.h"
#include "ondrel/MemberConversion.h"
#include "ondrel/Ondrel.h"
#include "platform/LargeHeap.h"
#include "platform/TextFile.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <string>

namespace orvale::cli {

namespace {

constexpr const char* XltHelp =
    "Writes the translation files AStoPC.xlt (EBCDIC to text) and PCtoAS.xlt (text to EBCDIC) "
    "for an EBCDIC code page that iconv knows (IBM037, IBM280, IBM273, IBM500, IBM1144 ...), "
    "with ISO-8859-1 on the PC side, into the program directory or --dir. Exits 0 when both "
    "are written, 2 with a one-line message otherwise.";

constexpr const char* ToTextHelp =
    "Converts an EBCDIC member of fixed-length records into a text file of lines, one line per "
    "record, through AStoPC.xlt of the program directory or --dir, or with --codepage through "
    "the system's converters (double-byte text included: each shift-out and shift-in becomes "
    "a blank, so every line keeps its columns). With --dated each record begins with 12 zoned "
    "digits of sequence number and date, and so does its line. Without --record-length the "
    "length is found from the member's records (those of RPG source carry their form type in "
    "column 6), or is 80 when they do not tell it. A partial record at the end is kept, padded "
    "with blanks (not for --dated). Exits 0 when the text file is written, 1 when it is written "
    "with a warning (the partial record, or records that read as RPG source at another length "
    "than the one given), 2 with a one-line message when nothing is written.";

constexpr const char* ToEbcdicHelp =
    "Converts a text file into an EBCDIC member: every line becomes one record, cut or padded "
    "with EBCDIC blanks, through PCtoAS.xlt of the program directory or --dir, or with "
    "--codepage through the system's converters (the blanks around a double-byte run become "
    "its shift-out and shift-in). With --dated each line begins with the 12 digits of its "
    "sequence number and date. Without --record-length the records are as long as the longest "
    "line, at least 80 columns (said on the error output when longer), so that no text is "
    "lost. Exits 0 when the member is written, 1 when it is written with a warning (lines cut, "
    "columns moved, characters without a counterpart, lines without digits), 2 with a one-line "
    "message when nothing is written.";

// The columns a member is written and read with when none are given.
constexpr int kDefaultRecordLength = 80;
// The sequence number and date before the columns of a dated record.
constexpr int kDatedPrefix = 12;

struct ConvertOptions {
    std::string Source;
    std::string Target;
    std::string Dir;
    // Columns per record; 0: found from the file.
    int RecordLength = 0;
    TOndrelConversion Conversion;
};

std::string TablePath(const std::string& dir, const char* name) {
    std::string folder = dir.empty() ? CurrentProgramDir() : dir;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder + name;
}

int Fail(const std::string& message) {
    std::cerr << "orvale-cli: " << message << '\n';
    return Failure;
}

// The library maps every byte to a blank when the table is missing; from a script that would
// quietly produce a member of blanks, so a missing table is an error here.
bool TableMissing(const std::string& table, int& status) {
    if (FileExists(table))
        return false;
    status = Fail(table + ": No such file or directory");
    return true;
}

// A target written with a warning is a finding: the text is there, but not all of it is what
// the member held.
int Outcome() {
    std::string message;
    int result = OndrelLastError(message);
    if (result == OndrelOk)
        return Success;
    if (OndrelWritten(result)) {
        size_t start = 0;
        while (start < message.size()) {
            size_t end = message.find('\n', start);
            end = end == std::string::npos ? message.size() : end;
            std::cerr << "orvale-cli: warning: " << message.substr(start, end - start) << '\n';
            start = end + 1;
        }
        return Findings;
    }
    return Fail(message);
}

// Room for a member and its text side by side, the one about the other's size (a text of
// lines far shorter than their records makes a larger member, whose rest is in small pages).
size_t TextRoom(const std::string& source) {
    return 3 * FileSize(source) + (4 << 20);
}

// The conversion of Options, with its translation file when no code page is named. False
// with Status set when that file is missing.
bool Conversion(const ConvertOptions& options, const char* tableName, TOndrelConversion& conversion,
                int& status) {
    conversion = options.Conversion;
    if (options.RecordLength != 0)
        conversion.RecordLength = options.RecordLength;
    if (!conversion.HostCodePage.empty() || !conversion.PcCodePage.empty())
        return true;
    conversion.TableFile = TablePath(options.Dir, tableName);
    return !TableMissing(conversion.TableFile, status);
}

// The record length of a member as its records show it, when no length was given, and a
// warning when the length given makes most records read as something else than RPG source.
// The form letters, digits, "*" and "/" are the same in every EBCDIC code page, so the
// translation file judges members converted through a named code page as well; without one
// the length given (or 80) stands.
bool MemberColumns(const ConvertOptions& options, const TOndrelConversion& conversion, int& columns,
                   std::string& misread) {
    const int prefix = conversion.Dated ? kDatedPrefix : 0;
    const int asked = options.RecordLength == 0 ? kDefaultRecordLength : options.RecordLength;
    columns = asked;
    std::string table = conversion.TableFile.empty() ? TablePath(options.Dir, ondrel::HostToPcFile)
                                                     : conversion.TableFile;
    if (!FileExists(table))
        return true;
    TOndrelRecordFit fit;
    if (!MemberRecordFit(options.Source, table, asked + prefix, fit))
        return false;
    if (fit.Found <= prefix)
        return true;
    if (options.RecordLength == 0) {
        columns = fit.Found - prefix;
    } else if (fit.Found != asked + prefix && fit.Share < OndrelSourceShare) {
        misread = options.Source + ": only " + std::to_string(fit.Share) +
                  "% of the records read as RPG source in records of " +
                  std::to_string(asked + prefix) + " bytes; in records of " +
                  std::to_string(fit.Found) + " bytes " + std::to_string(fit.FoundShare) +
                  "% do. Check --record-length.";
    }
    return true;
}

int RunToText(const ConvertOptions& options) {
    int status = Success;
    TOndrelConversion conversion;
    if (!Conversion(options, ondrel::HostToPcFile, conversion, status))
        return status;
    std::string misread;
    if (!MemberColumns(options, conversion, conversion.RecordLength, misread))
        return Outcome();
    // The member and its text are held whole, each in one fresh block: in huge pages their
    // first touch costs a few hundred page faults instead of some forty thousand.
    ReserveHeap(TextRoom(options.Source));
    EBCDicToASCIIEx(options.Source, options.Target, conversion, nullptr);
    int result = Outcome();
    if (misread.empty() || result == Failure)
        return result;
    std::cerr << "orvale-cli: warning: " << misread << '\n';
    return Findings;
}

int RunToEbcdic(const ConvertOptions& options) {
    int status = Success;
    TOndrelConversion conversion;
    if (!Conversion(options, ondrel::PcToHostFile, conversion, status))
        return status;
    if (options.RecordLength == 0) {
        const int prefix = conversion.Dated ? kDatedPrefix : 0;
        int bytes = TextRecordLength(options.Source, kDefaultRecordLength + prefix);
        if (bytes == 0)
            return Outcome();
        conversion.RecordLength = bytes - prefix;
        if (conversion.RecordLength != kDefaultRecordLength)
            std::cerr << "orvale-cli: " << options.Target << ": records of " << bytes
                      << " bytes, as long as the longest line\n";
    }
    ReserveHeap(TextRoom(options.Source));
    ASCIIToEBCDicEx(options.Source, options.Target, conversion, nullptr);
    return Outcome();
}

int RunXlt(const std::string& codePage, const std::string& dir) {
    std::string error;
    if (!ondrel::WriteCodePageTables(codePage, dir.empty() ? CurrentProgramDir() : dir, error))
        return Fail(error);
    return Success;
}

void AddConvertCommand(CLI::App& app, const char* name, const char* help, const char* source,
                       const char* target, int (*run)(const ConvertOptions&), int& status) {
    auto options = std::make_shared<ConvertOptions>();
    auto* command = app.add_subcommand(name, help);
    command->add_option(source, options->Source)->required();
    command->add_option(target, options->Target)->required();
    command->add_option("--record-length", options->RecordLength,
                        "Columns per record, 1 to 255, after the 12 digits of --dated (default: "
                        "see above)");
    command->add_option("--dir", options->Dir,
                        "Folder of the translation files (default: the program directory)");
    command->add_option("--codepage", options->Conversion.HostCodePage,
                        "The host's EBCDIC code page, as iconv names it (IBM037, IBM937, IBM-930, "
                        "IBM939, IBM935, IBM933 ...), instead of the translation files");
    command->add_option("--pc-codepage", options->Conversion.PcCodePage,
                        "The PC's code page (default: CP932 for IBM930/939, BIG5 for IBM937, "
                        "GBK for IBM935, CP949 for IBM933, ISO-8859-1 for single-byte pages)");
    command->add_flag("--dated", options->Conversion.Dated,
                      "Records of 12 zoned digits (sequence number and date) and the columns");
    command->callback([options, run, &status] { status = run(*options); });
}

} // namespace

void AddMemberCommands(CLI::App& app, int& status) {
    auto codePage = std::make_shared<std::string>();
    auto dir = std::make_shared<std::string>();
    auto* xlt = app.add_subcommand("xlt", XltHelp);
    xlt->add_option("--codepage", *codePage, "EBCDIC code page, as iconv names it")->required();
    xlt->add_option("--dir", *dir, "Folder to write into (default: the program directory)");
    xlt->callback([codePage, dir, &status] { status = RunXlt(*codePage, *dir); });

    AddConvertCommand(app, "ebcdic-to-text", ToTextHelp, "MEMBER", "TEXT", RunToText, status);
    AddConvertCommand(app, "text-to-ebcdic", ToEbcdicHelp, "TEXT", "MEMBER", RunToEbcdic, status);
}

} // namespace orvale::cli
