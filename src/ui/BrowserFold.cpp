#include "ui/BrowserFold.h"

#include "qtedge/FileNames.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

TBrowserFold::TBrowserFold()
    : RunDialog([](QFileDialog& dialog) { return dialog.exec() == QDialog::Accepted; }) {}

QPoint TBrowserFold::PlaceOver(const QRect& foreground, const QSize& dialog) {
    return {foreground.left() + (foreground.width() - dialog.width()) / 2,
            foreground.top() + foreground.height() / 4};
}

std::optional<std::string> TBrowserFold::Execute(QWidget* foreground,
                                                 const std::string& startFolder) {
    QFileDialog dialog(foreground, Title);
    // The desktop's own folder dialog, as the file dialogs use; the desktop places it (the
    // placing below is for the toolkit's dialog, where the desktop offers none).
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    QString start = orvale::PathToQt(startFolder);
    dialog.setDirectory(QFileInfo(start).isDir() ? start : QDir::currentPath());
    if (foreground) {
        dialog.adjustSize();
        QWidget* top = foreground->window();
        dialog.move(PlaceOver(top->frameGeometry(), dialog.size()));
    }
    if (!RunDialog(dialog))
        return std::nullopt;
    QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || !QFileInfo(chosen.front()).isDir())
        return std::nullopt;
    return orvale::PathFromQt(QDir::toNativeSeparators(chosen.front()));
}
