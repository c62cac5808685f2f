#include "outside/Verrow.h"

#include "outside/VerrowDialog.h"
#include "platform/TextFile.h"

#include "qtedge/FileNames.h"

#include <QApplication>

#include <filesystem>

namespace {

// Where the next browse starts when the caller names no place.
std::string& LastFolder() {
    static std::string folder;
    return folder;
}

std::string StartFolder(const std::string& path) {
    std::error_code ec;
    if (!path.empty() && std::filesystem::is_directory(path, ec))
        return path;
    if (!path.empty())
        return orvale::ExtractFilePath(path);
    if (!LastFolder().empty())
        return LastFolder();
    return orvale::HomePath();
}

} // namespace

extern "C" {

void GetVerrowVersion(std::string& version) {
    version = "1.00 - RPG program browser";
}

void VerrowBrowse(std::string& path, const orvale::CodePage& codePage) {
    std::string start = StartFolder(path);
    path.clear();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    try {
        TVerrowDialog dialog(start, orvale::TextEdge(codePage), QApplication::activeWindow());
        if (dialog.exec() == QDialog::Accepted)
            path = dialog.SelectedPath();
        LastFolder() = dialog.Folder();
    } catch (...) {
        path.clear();
    }
}
}
