#include "library/MemberAnalysis.h"

#include "library/ClReader.h"
#include "library/DdsReader.h"
#include "library/MemberClassify.h"
#include "library/RpgIVReader.h"
#include "library/RpgReader.h"

#include <algorithm>
#include <cstring>

namespace orvale::library {

int CountLines(std::string_view text) {
    if (text.empty())
        return 0;
    int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return text.back() == '\n' ? lines : lines + 1;
}

bool IsBinary(std::string_view bytes) {
    return std::memchr(bytes.data(), 0, bytes.size()) != nullptr;
}

void AnalyseMember(std::string_view path, std::string_view bytes, TMemberRecord& record,
                   TMemberFacts& facts) {
    TMemberName name = SplitMemberPath(path);
    record.Path = std::string(path);
    record.SourceFile = std::move(name.SourceFile);
    record.Library = std::move(name.Library);
    record.Name = std::move(name.Name);
    record.Type = std::move(name.Type);
    record.Lines = CountLines(bytes);
    facts = TMemberFacts{};
    facts.Lines = record.Lines;
    if (IsBinary(bytes)) {
        record.Kind = MemberKind::Other;
        return;
    }
    MemberKind kind = MemberKind::Other;
    std::string contentType;
    if (!KindOfType(record.Type, kind)) {
        kind = ClassifyContent(bytes, contentType);
        if (record.Type.empty())
            record.Type = contentType;
    } else if (kind == MemberKind::Dds) {
        // PF38, LF38 ... describe as their types without the suffix do.
        contentType = record.Type;
        if (contentType.size() > 2 && contentType.substr(contentType.size() - 2) == "38")
            contentType.resize(contentType.size() - 2);
    }
    record.Kind = kind;
    facts.Kind = kind;
    facts.ContentType = contentType;
    switch (kind) {
    case MemberKind::RpgIII:
        ReadRpgIII(bytes, facts);
        break;
    case MemberKind::RpgIV:
        ReadRpgIV(bytes, facts);
        break;
    case MemberKind::Dds:
        ReadDds(bytes, record.Name, contentType.empty() ? DdsType(bytes) : contentType, facts);
        break;
    case MemberKind::Cl:
        ReadCl(bytes, facts);
        break;
    case MemberKind::Other:
        break;
    }
    record.Text = MemberDescription(bytes, record.Name, kind);
    facts.Text = record.Text;
}

} // namespace orvale::library
