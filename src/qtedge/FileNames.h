#pragma once

// File and folder names at the Qt edge. Unlike a program's text, a path is kept as the file
// system's own bytes (usually UTF-8), so that a folder with any name can be reached; widgets show
// it as the system decodes it.

#include <QString>

#include <string>

namespace orvale {

QString PathToQt(const std::string& path);
std::string PathFromQt(const QString& path);
// The user's home folder, as a path.
std::string HomePath();

} // namespace orvale
