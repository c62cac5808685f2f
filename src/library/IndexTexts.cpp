// The texts of the lines the index's answers point at, read from the members themselves: a
// member's hits in one stretch when they lie close together, else line by line.

#include "library/IndexStore.h"

#include <algorithm>
#include <map>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvale::library {

namespace {

// The line of Fd that starts at Offset, read alone (a line may be long: it is read on until
// its end).
bool ReadLineAt(int fd, std::uint64_t offset, std::string& line) {
    line.clear();
    char chunk[512];
    for (;;) {
        ssize_t n = ::pread(fd, chunk, sizeof chunk, static_cast<off_t>(offset + line.size()));
        if (n < 0)
            return false;
        const void* end = std::memchr(chunk, '\n', static_cast<size_t>(n));
        size_t take = end ? static_cast<size_t>(static_cast<const char*>(end) - chunk)
                          : static_cast<size_t>(n);
        line.append(chunk, take);
        if (end || n == 0 || line.size() > kMaxMemberBytes)
            break;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

// Fills the hits' texts from the whole text of their member.
void FillFromText(std::string_view text, std::vector<THit*>& list) {
    std::sort(list.begin(), list.end(),
              [](const THit* a, const THit* b) { return a->Line < b->Line; });
    size_t pos = 0;
    int line = 1;
    size_t k = 0;
    while (k < list.size() && pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        while (k < list.size() && list[k]->Line <= line) {
            std::string_view l = text.substr(pos, end - pos);
            if (!l.empty() && l.back() == '\r')
                l.remove_suffix(1);
            if (list[k]->Line == line)
                list[k]->Text = l;
            ++k;
        }
        if (end == text.size())
            break;
        pos = end + 1;
        ++line;
    }
}

} // namespace

bool LibraryIndex::FillTexts(std::vector<THit>& hits) {
    std::map<std::string, std::vector<THit*>> byMember;
    for (THit& h : hits)
        byMember[h.Member].push_back(&h);
    bool current = true;
    TFileBuffer buffer;
    for (auto& [member, list] : byMember) {
        bool offsets = std::all_of(list.begin(), list.end(),
                                   [](const THit* h) { return h->Offset > 0 || h->Line == 1; });
        if (!offsets) {
            TScannedFile read;
            if (ReadLibraryFile(S->Root, member, buffer, read) != 0) {
                current = false;
                continue;
            }
            current = current && read.Size == list.front()->MemberSize &&
                      read.Time == list.front()->MemberTime;
            FillFromText(buffer.View(), list);
            continue;
        }
        // Each line read alone where the index says it starts: a name used in a thousand
        // members costs a thousand small reads, not the members' whole text.
        std::string full = S->Root + "/" + member;
        int fd = ::open(full.c_str(), O_RDONLY | O_CLOEXEC | O_NOATIME);
        if (fd < 0 && errno == EPERM)
            fd = ::open(full.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            current = false;
            continue;
        }
        struct stat st {};
        ::fstat(fd, &st);
        std::int64_t time =
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
        if (static_cast<std::uint64_t>(st.st_size) != list.front()->MemberSize ||
            time != list.front()->MemberTime)
            current = false;
        // The hits of a member are read in one stretch when they lie close enough together.
        std::uint64_t first = list.front()->Offset, last = first;
        for (const THit* h : list) {
            first = std::min(first, h->Offset);
            last = std::max(last, h->Offset);
        }
        std::uint64_t span = last - first + 1024;
        std::string stretch;
        if (list.size() > 1 && span <= (1u << 20)) {
            stretch.resize(static_cast<size_t>(span));
            ssize_t n = ::pread(fd, stretch.data(), stretch.size(), static_cast<off_t>(first));
            stretch.resize(n > 0 ? static_cast<size_t>(n) : 0);
        }
        for (THit* h : list) {
            std::string_view view(stretch);
            size_t at = static_cast<size_t>(h->Offset - first);
            size_t end = at < view.size() ? view.find('\n', at) : std::string_view::npos;
            if (end == std::string_view::npos) {
                // Past the stretch, or a line that runs beyond it.
                ReadLineAt(fd, h->Offset, h->Text);
                continue;
            }
            std::string_view line = view.substr(at, end - at);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            h->Text = line;
        }
        ::close(fd);
    }
    return current;
}

} // namespace orvale::library
