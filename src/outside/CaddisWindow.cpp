#include "outside/CaddisWindow.h"

#include "outside/ProgramArchive.h"
#include "platform/RegionalSettings.h"
#include "qtedge/FileNames.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int PathRole = Qt::UserRole;

void Describe(const orvale::TextEdge& edge, QTreeWidgetItem* item,
              const caddis::TArchiveFile& file) {
    item->setText(0, orvale::PathToQt(file.Name));
    item->setText(1, QString::number(file.Size));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(2, edge.ToQt(orvale::RegionalSettings::Current().FormatDateTime(file.Modified)));
}

} // namespace

TCaddisWindow::TCaddisWindow(std::string folder, orvale::Prompter& prompter,
                             const orvale::TextEdge& edge, QWidget* parent)
    : QDialog(parent), Edge(edge), Folder(std::move(folder)), Prompter(prompter) {
    setWindowTitle("Caddis - Program Repository");
    resize(640, 400);

    LabelFolder = new QLabel(this);
    LabelFolder->setObjectName("LabelFolder");
    TreeArchive = new QTreeWidget(this);
    TreeArchive->setObjectName("TreeArchive");
    TreeArchive->setHeaderLabels({"Program", "Size", "Modified"});
    TreeArchive->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    BtnRefresh = new QPushButton("&Refresh", this);
    BtnRefresh->setObjectName("BtnRefresh");
    BtnExchange = new QPushButton("&Exchange with Backup", this);
    BtnExchange->setObjectName("BtnExchange");
    BtnClose = new QPushButton("&Close", this);
    BtnClose->setObjectName("BtnClose");
    BtnClose->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnRefresh);
    buttons->addWidget(BtnExchange);
    buttons->addStretch();
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelFolder);
    layout->addWidget(TreeArchive, 1);
    layout->addLayout(buttons);

    connect(BtnRefresh, &QPushButton::clicked, this, &TCaddisWindow::Refresh);
    connect(BtnExchange, &QPushButton::clicked, this, &TCaddisWindow::BtnExchangeClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(TreeArchive, &QTreeWidget::currentItemChanged, this, &TCaddisWindow::SelectionChanged);
    Refresh();
}

void TCaddisWindow::Refresh() {
    LabelFolder->setText("Programs of " + orvale::PathToQt(Folder));
    TreeArchive->clear();
    for (const caddis::TArchiveEntry& entry : caddis::ScanArchive(Folder)) {
        auto* item = new QTreeWidgetItem(TreeArchive);
        item->setData(0, PathRole, QByteArray::fromStdString(entry.Program.Path));
        if (entry.HasProgram) {
            Describe(Edge, item, entry.Program);
        } else {
            item->setText(0, orvale::PathToQt(entry.Program.Name));
            item->setText(2, "missing");
        }
        if (entry.HasBackup)
            Describe(Edge, new QTreeWidgetItem(item), entry.Backup);
        item->setExpanded(true);
    }
    TreeArchive->resizeColumnToContents(1);
    TreeArchive->resizeColumnToContents(2);
    SelectionChanged();
}

void TCaddisWindow::SelectionChanged() {
    QTreeWidgetItem* item = TreeArchive->currentItem();
    if (item && item->parent())
        item = item->parent();
    BtnExchange->setEnabled(item && item->childCount() > 0);
}

void TCaddisWindow::BtnExchangeClick() {
    QTreeWidgetItem* item = TreeArchive->currentItem();
    if (item && item->parent())
        item = item->parent();
    if (!item)
        return;
    // The archive is read again so that the exchange acts on the files as they are now.
    std::string program = item->data(0, PathRole).toByteArray().toStdString();
    for (const caddis::TArchiveEntry& entry : caddis::ScanArchive(Folder)) {
        if (entry.Program.Path != program)
            continue;
        std::string question = entry.HasProgram
                                   ? "Exchange " + entry.Program.Name + " with its backup " +
                                         entry.Backup.Name +
                                         "? A window that has the program open keeps its own copy."
                                   : "Bring " + entry.Program.Name + " back from its backup " +
                                         entry.Backup.Name + "?";
        if (Prompter.Show(orvale::Prompter::Kind::Confirmation, question,
                          orvale::Prompter::Buttons::YesNo) != orvale::Prompter::Answer::Yes)
            return;
        std::string error;
        if (!caddis::ExchangeWithBackup(entry, &error))
            Prompter.Error(error);
        break;
    }
    Refresh();
}
