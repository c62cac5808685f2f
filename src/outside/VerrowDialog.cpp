#include "outside/VerrowDialog.h"

#include "outside/ProgramPreview.h"
#include "platform/TextFile.h"
#include "qtedge/FileNames.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

constexpr int PathRole = Qt::UserRole;

} // namespace

TVerrowDialog::TVerrowDialog(const std::string& folder, const orvale::TextEdge& edge,
                             QWidget* parent)
    : QDialog(parent), Edge(edge) {
    setWindowTitle("Verrow - Browse RPG Programs");
    resize(720, 420);

    EditFolder = new QLineEdit(this);
    EditFolder->setObjectName("EditFolder");
    BtnFolder = new QPushButton("...", this);
    BtnFolder->setObjectName("BtnFolder");
    BtnFolder->setAutoDefault(false);
    ListPrograms = new QListWidget(this);
    ListPrograms->setObjectName("ListPrograms");
    LabelCaption = new QLabel(this);
    LabelCaption->setObjectName("LabelCaption");
    MemoDescription = new QPlainTextEdit(this);
    MemoDescription->setObjectName("MemoDescription");
    MemoDescription->setReadOnly(true);
    MemoDescription->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoDescription->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    BtnOK = new QPushButton("&Open", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton("&Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAutoDefault(false);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel("Folder:", this));
    folderRow->addWidget(EditFolder, 1);
    folderRow->addWidget(BtnFolder);
    auto* preview = new QWidget(this);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->addWidget(LabelCaption);
    previewLayout->addWidget(MemoDescription, 1);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(ListPrograms);
    splitter->addWidget(preview);
    splitter->setStretchFactor(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folderRow);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(BtnFolder, &QPushButton::clicked, this, &TVerrowDialog::BtnFolderClick);
    connect(EditFolder, &QLineEdit::editingFinished, this,
            [this] { SetFolder(orvale::PathFromQt(EditFolder->text())); });
    connect(ListPrograms, &QListWidget::currentRowChanged, this, &TVerrowDialog::ProgramChanged);
    connect(ListPrograms, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    SetFolder(folder);
}

std::string TVerrowDialog::SelectedPath() const {
    QListWidgetItem* item = ListPrograms->currentItem();
    if (result() != QDialog::Accepted || !item)
        return {};
    return item->data(PathRole).toByteArray().toStdString();
}

std::string TVerrowDialog::Folder() const {
    return Folder_;
}

void TVerrowDialog::SetFolder(const std::string& folder) {
    if (folder == Folder_ && ListPrograms->count() > 0)
        return;
    Folder_ = folder;
    EditFolder->setText(orvale::PathToQt(folder));
    Reload();
}

void TVerrowDialog::Reload() {
    ListPrograms->clear();
    for (const std::string& path : verrow::ListProgramFiles(Folder_)) {
        auto* item =
            new QListWidgetItem(orvale::PathToQt(orvale::ExtractFileName(path)), ListPrograms);
        item->setData(PathRole, QByteArray::fromStdString(path));
    }
    if (ListPrograms->count() > 0)
        ListPrograms->setCurrentRow(0);
    else
        ProgramChanged();
}

void TVerrowDialog::BtnFolderClick() {
    QString chosen = QFileDialog::getExistingDirectory(this, "Verrow - Program Folder",
                                                       orvale::PathToQt(Folder_));
    if (!chosen.isEmpty())
        SetFolder(orvale::PathFromQt(chosen));
}

void TVerrowDialog::ProgramChanged() {
    QListWidgetItem* item = ListPrograms->currentItem();
    BtnOK->setEnabled(item != nullptr);
    MemoDescription->clear();
    if (!item) {
        LabelCaption->setText(ListPrograms->count() == 0 ? "No program in this folder."
                                                         : QString());
        return;
    }
    verrow::TProgramDescription description;
    std::string error;
    if (!verrow::ReadProgramDescription(item->data(PathRole).toByteArray().toStdString(),
                                        description, &error)) {
        LabelCaption->setText(orvale::PathToQt(error));
        return;
    }
    LabelCaption->setText(Edge.ToQt(description.Caption));
    QString text;
    for (const std::string& line : description.Lines)
        text += Edge.ToQt(line) + '\n';
    MemoDescription->setPlainText(text);
}
