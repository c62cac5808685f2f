#pragma once

// File and folder names at the Qt edge. Unlike section text, a path is kept as the file
// system's own bytes (usually UTF-8), so that a folder with any name can be reached.

#include <QFile>
#include <QString>

#include <string>

inline QString PathToQt(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

inline std::string PathFromQt(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
