#include "Latin1.h"

QStringList ToQt(const StringList& lines) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines)
        out.append(ToQt(line));
    return out;
}

StringList FromQt(const QStringList& lines) {
    StringList out;
    out.reserve(static_cast<size_t>(lines.size()));
    for (const auto& line : lines)
        out.push_back(FromQt(line));
    return out;
}
