#pragma once

#include "StringList.h"

#include <string>
#include <string_view>

namespace orvale {

// Splits text into lines: CR, LF or CR LF end a line, a zero byte ends the whole text, and a
// final line end does not make an extra empty line. Bytes are kept as they are.
StringList SplitTextLines(std::string_view text);
void SplitTextLines(std::string_view text, StringList& lines);

// Joins lines, each followed by CR LF.
std::string JoinTextLines(const StringList& lines);

// Reads a whole file. On failure returns false and sets Error to "<path>: <reason>".
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error = nullptr);
// Reads the lines of a text file; a zero byte ends the text. ZeroLine, when given, is set to
// the number (from 1) of the line that holds the first zero byte, or 0 when there is none, so
// that a reader for which the rest is data can refuse the file instead of losing it.
bool ReadTextFile(const std::string& path, StringList& lines, std::string* error = nullptr,
                  size_t* zeroLine = nullptr);

// Writes lines with CR LF through WriteFileSafely: the old file stays whole if the write fails.
bool WriteTextFile(const std::string& path, const StringList& lines, std::string* error = nullptr);

bool FileExists(const std::string& path);

// The parts of a path as the documents keep them: directory with its trailing separator,
// name with extension, and extension with its dot (empty when the name has none).
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view ext);

} // namespace orvale
