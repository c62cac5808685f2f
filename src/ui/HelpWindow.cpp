#include "ui/HelpWindow.h"

#include "qtedge/FileNames.h"
#include "qtedge/TextEdge.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle("Orvale Help");
    resize(720, 560);
    Browser = new QTextBrowser(this);
    Browser->setObjectName("Browser");
    Browser->setOpenExternalLinks(true);
    BtnContents = new QPushButton("&Contents", this);
    BtnContents->setObjectName("BtnContents");
    BtnBack = new QPushButton("&Back", this);
    BtnBack->setObjectName("BtnBack");
    BtnBack->setEnabled(false);
    BtnForward = new QPushButton("&Forward", this);
    BtnForward->setObjectName("BtnForward");
    BtnForward->setEnabled(false);
    LabelStatus = new QLabel(this);
    LabelStatus->setObjectName("LabelStatus");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnContents);
    buttons->addWidget(BtnBack);
    buttons->addWidget(BtnForward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Browser, 1);
    layout->addWidget(LabelStatus);

    connect(BtnContents, &QPushButton::clicked, this, &THelpWindow::ShowContents);
    connect(BtnBack, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(BtnForward, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, BtnBack, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, BtnForward, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, LabelStatus, &QLabel::clear);
}

bool THelpWindow::OpenHelpFile(const std::string& helpFile) {
    HelpFile = helpFile;
    std::string error;
    if (Index.Load(helpFile, &error))
        return true;
    Browser->setPlainText(Edge.ToQt(error));
    return false;
}

bool THelpWindow::ShowKeyword(const std::string& keyword) {
    Raise();
    if (!Index.Loaded()) {
        LabelStatus->setText("No help file: " + orvale::PathToQt(HelpFile));
        return false;
    }
    THelpTarget target;
    if (Index.Find(keyword, target)) {
        Show(target);
        return true;
    }
    if (!THelpIndex::IsOpCodeKeyword(keyword) || !Index.Find(kRPGOpCodesKeyword, target))
        target = Index.Contents();
    Show(target);
    LabelStatus->setText("No help topic for " + Edge.ToQt(keyword) + ".");
    return false;
}

void THelpWindow::ShowContents() {
    if (!Index.Loaded())
        return;
    Show(Index.Contents());
}

std::string THelpWindow::CurrentPage() const {
    return orvale::PathFromQt(Browser->source().toLocalFile());
}

std::string THelpWindow::CurrentAnchor() const {
    return Edge.FromQt(Browser->source().fragment());
}

void THelpWindow::Show(const THelpTarget& target) {
    QUrl url = QUrl::fromLocalFile(orvale::PathToQt(target.Page));
    if (!target.Anchor.empty())
        url.setFragment(Edge.ToQt(target.Anchor));
    Browser->setSource(url);
}

void THelpWindow::Raise() {
    show();
    raise();
    activateWindow();
}
