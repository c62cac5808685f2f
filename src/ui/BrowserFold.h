#pragma once

// The folder browser of the member dialog: picks the host's members folder with the desktop's
// folder dialog, at the folder already typed, and accepts only an existing folder of the file
// system. Where the toolkit draws the dialog itself it opens over the window that asked for it
// (centred across it, a quarter of the way down).

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QFileDialog;
class QWidget;

class TBrowserFold {
public:
    // Runs the dialog modally; true when a folder was chosen. Tests replace it.
    std::function<bool(QFileDialog&)> RunDialog;
    QString Title = "Select AS/400 Members Folder";

    TBrowserFold();

    // Shows the browser over Foreground starting at StartFolder; the chosen folder or nothing.
    std::optional<std::string> Execute(QWidget* foreground, const std::string& startFolder);

    // The top-left corner of a dialog of size Dialog placed over Foreground.
    static QPoint PlaceOver(const QRect& foreground, const QSize& dialog);
};
