#include "ui/FormConvProgress.h"

#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TFormConvProgress::TFormConvProgress(TRPGProgram& document, QWidget* parent)
    : QDialog(parent), Document(document) {
    setWindowTitle("Convert from RPG Source");

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setRange(0, 0);
    ProgressBar->setValue(0);
    ProgressBar->setMinimumWidth(280);
    LabelLines = new QLabel("0", this);
    LabelLines->setObjectName("LabelLines");
    BtnCancel = new QPushButton("&Cancel", this);
    BtnCancel->setObjectName("BtnCancel");

    auto* figures = new QGridLayout;
    figures->addWidget(new QLabel("Conversion Progress:", this), 0, 0);
    figures->addWidget(ProgressBar, 0, 1);
    figures->addWidget(new QLabel("Lines converted:", this), 1, 0);
    figures->addWidget(LabelLines, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnCancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(figures);
    layout->addLayout(buttons);

    connect(BtnCancel, &QPushButton::clicked, this, &TFormConvProgress::RequestCancel);
}

void TFormConvProgress::SetMaximum(int maximum) {
    // An empty member still shows a bar that can be full.
    ProgressBar->setRange(0, maximum > 0 ? maximum : 1);
}

void TFormConvProgress::SetPosition(int position) {
    ProgressBar->setValue(std::clamp(position, 0, ProgressBar->maximum()));
}

void TFormConvProgress::SetCaption(const std::string& caption) {
    LabelLines->setText(Edge.ToQt(caption));
}

void TFormConvProgress::ProcessMessages() {
    QApplication::processEvents();
}

void TFormConvProgress::RequestCancel() {
    Document.ImportCancelled = true;
    QApplication::processEvents();
}

void TFormConvProgress::reject() {
    RequestCancel();
}

void TFormConvProgress::closeEvent(QCloseEvent* event) {
    // The import ends at its next step and then frees this window.
    RequestCancel();
    event->ignore();
}
