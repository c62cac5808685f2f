#include "library/LibraryFind.h"

#include "library/MemberClassify.h"
#include "library/OrderedWork.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace orvale::library {

namespace {

// ISO-8859-1 case folding: A-Z and the capitals from 0xC0 to 0xDE but the multiplication sign.
struct FoldTable {
    unsigned char Map[256];
    FoldTable() {
        for (int c = 0; c < 256; ++c)
            Map[c] = static_cast<unsigned char>(c);
        for (int c = 'A'; c <= 'Z'; ++c)
            Map[c] = static_cast<unsigned char>(c + 32);
        for (int c = 0xC0; c <= 0xDE; ++c)
            if (c != 0xD7)
                Map[c] = static_cast<unsigned char>(c + 32);
    }
};
const FoldTable kFold;

void Fold(std::string_view in, std::string& out) {
    out.resize(in.size());
    for (size_t i = 0; i < in.size(); ++i)
        out[i] = static_cast<char>(kFold.Map[static_cast<unsigned char>(in[i])]);
}

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '#' || c == '$' || c == '@' ||
           c == '_';
}

// The line ends in [P, P + N): byte counters in blocks that the compiler turns into vector
// compares (std::count widens every count to 64 bits and runs at a fraction of the speed).
size_t CountLineEnds(const char* p, size_t n) {
    constexpr size_t kWidth = 32;
    size_t total = 0;
    while (n >= kWidth) {
        size_t blocks = std::min<size_t>(n / kWidth, 255);
        unsigned char counts[kWidth] = {};
        for (size_t b = 0; b < blocks; ++b, p += kWidth)
            for (size_t j = 0; j < kWidth; ++j)
                counts[j] = static_cast<unsigned char>(counts[j] + (p[j] == '\n'));
        for (unsigned char c : counts)
            total += c;
        n -= blocks * kWidth;
    }
    for (; n > 0; --n, ++p)
        total += *p == '\n';
    return total;
}

bool InScope(const std::string& path, const TFindOptions& o) {
    if (!o.Members.empty() &&
        std::find(o.Members.begin(), o.Members.end(), path) == o.Members.end())
        return false;
    if (o.SourceFiles.empty())
        return true;
    TMemberName name = SplitMemberPath(path);
    return std::any_of(o.SourceFiles.begin(), o.SourceFiles.end(),
                       [&](const std::string& f) { return UpperName(f) == name.SourceFile; });
}

bool TypeInScope(const std::string& path, std::string_view content, const TFindOptions& o) {
    if (o.Types.empty())
        return true;
    std::string type = SplitMemberPath(path).Type;
    if (type.empty()) {
        ClassifyContent(content, type);
    }
    return std::any_of(o.Types.begin(), o.Types.end(),
                       [&](const std::string& p) { return TypeMatches(p, type); });
}

} // namespace

bool TypeMatches(std::string_view pattern, std::string_view type) {
    // Iterative wildcard match with one step back to the last star.
    size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
    auto same = [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
    };
    while (t < type.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], type[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool CheckFindOptions(const TFindOptions& o, std::string& error) {
    if (o.Text.empty()) {
        error = "the text to find is empty";
        return false;
    }
    if (o.Text.find_first_of("\r\n") != std::string::npos) {
        error = "the text to find may not hold a line end";
        return false;
    }
    if (o.FromColumn < 0 || o.ToColumn < 0 ||
        (o.FromColumn > 0 && o.ToColumn > 0 && o.ToColumn < o.FromColumn)) {
        error = "the column range is not FROM-TO with 1 <= FROM <= TO";
        return false;
    }
    if (o.ToColumn > 0 && o.FromColumn > 0 &&
        static_cast<size_t>(o.ToColumn - o.FromColumn + 1) < o.Text.size()) {
        error = "the text to find is longer than the column range";
        return false;
    }
    return true;
}

std::vector<TFindHit> FindInText(std::string_view text, const TFindOptions& o) {
    std::vector<TFindHit> hits;
    std::string folded, needle;
    std::string_view hay = text;
    needle = o.Text;
    if (o.IgnoreCase) {
        Fold(text, folded);
        hay = folded;
        std::string n;
        Fold(o.Text, n);
        needle = n;
    }
    const size_t length = needle.size();
    // A text across a line end stands on no line.
    if (length == 0 || hay.size() < length || needle.find('\n') != std::string::npos)
        return hits;
    const char* base = hay.data();
    size_t pos = 0;
    size_t counted = 0; // line ends before this offset are counted in Line
    int line = 1;
    size_t from = o.FromColumn > 0 ? static_cast<size_t>(o.FromColumn) : 1;
    size_t to = o.ToColumn > 0 ? static_cast<size_t>(o.ToColumn) : 0;
    while (pos + length <= hay.size()) {
        const void* found = memmem(base + pos, hay.size() - pos, needle.data(), length);
        if (!found)
            break;
        size_t at = static_cast<size_t>(static_cast<const char*>(found) - base);
        const void* nl = at > 0 ? memrchr(base + counted, '\n', at - counted) : nullptr;
        size_t lineStart =
            nl ? static_cast<size_t>(static_cast<const char*>(nl) - base) + 1 : counted;
        if (lineStart > counted) {
            line += static_cast<int>(CountLineEnds(base + counted, lineStart - counted));
            counted = lineStart;
        }
        size_t column = at - lineStart + 1;
        bool ok = column >= from && (to == 0 || column + length - 1 <= to);
        if (ok && o.Word) {
            bool before = at > lineStart && IsWordChar(hay[at - 1]);
            bool after = at + length < hay.size() && IsWordChar(hay[at + length]);
            ok = !before && !after;
        }
        if (!ok) {
            pos = at + 1;
            continue;
        }
        const void* end = std::memchr(base + at, '\n', hay.size() - at);
        size_t lineEnd =
            end ? static_cast<size_t>(static_cast<const char*>(end) - base) : hay.size();
        std::string_view shown = text.substr(lineStart, lineEnd - lineStart);
        if (!shown.empty() && shown.back() == '\r')
            shown.remove_suffix(1);
        hits.push_back({line, static_cast<int>(column), std::string(shown)});
        pos = lineEnd + 1;
    }
    return hits;
}

bool FindInLibrary(const std::string& root, const TFindOptions& options,
                   const std::function<bool(const std::string&, std::vector<TFindHit>&)>& found,
                   TFindSummary& summary, std::string& error) {
    summary = {};
    if (!CheckFindOptions(options, error))
        return false;
    TLibraryScan scan;
    if (!ScanLibrary(root, scan, error, false))
        return false;
    summary.Skipped = scan.Skipped;
    std::vector<const TScannedFile*> files;
    for (const TScannedFile& f : scan.Files)
        if (InScope(f.Path, options))
            files.push_back(&f);

    struct Result {
        bool Searched = false;
        std::string Skip;
        std::vector<TFindHit> Hits;
    };
    // Searchers run at most this many members ahead of the report.
    constexpr size_t kWindow = 1024;
    auto search = [&](size_t i, TFileBuffer& buffer) {
        Result r;
        TScannedFile read;
        int rc = ReadLibraryFile(root, files[i]->Path, buffer, read);
        if (rc != 0) {
            if (rc != ENOENT)
                r.Skip = std::strerror(rc);
        } else if (std::memchr(buffer.View().data(), 0, buffer.Size())) {
            r.Skip = "binary file";
        } else if (TypeInScope(files[i]->Path, buffer.View(), options)) {
            r.Searched = true;
            r.Hits = FindInText(buffer.View(), options);
        }
        return r;
    };
    auto report = [&](size_t i, Result& r) {
        if (!r.Skip.empty())
            summary.Skipped.push_back({files[i]->Path, r.Skip});
        if (r.Searched)
            ++summary.Searched;
        if (r.Hits.empty())
            return true;
        ++summary.WithHits;
        summary.Hits += r.Hits.size();
        return found(files[i]->Path, r.Hits);
    };
    RunInOrder<Result, TFileBuffer>(files.size(), kWindow, search, report);
    std::sort(summary.Skipped.begin(), summary.Skipped.end(),
              [](const TSkippedPath& a, const TSkippedPath& b) { return a.Path < b.Path; });
    return true;
}

} // namespace orvale::library
