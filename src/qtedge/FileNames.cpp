#include "qtedge/FileNames.h"

#include <QDir>
#include <QFile>

namespace orvale {

QString PathToQt(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathFromQt(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string HomePath() {
    return PathFromQt(QDir::homePath());
}

} // namespace orvale
