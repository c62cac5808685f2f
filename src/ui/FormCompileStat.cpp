#include "ui/FormCompileStat.h"

#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kOkCaption = "Ok";
constexpr int kSectionRole = Qt::UserRole + 1;
constexpr int kStatementRole = Qt::UserRole + 2;
constexpr const char* kWarningsLabel = "Warnings: ";

QLabel* Figure(QWidget* parent, const char* name) {
    auto* label = new QLabel("0", parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(70);
    return label;
}

} // namespace

TFormCompileStat::TFormCompileStat(TRPGProgram& document, const QString& programName,
                                   QWidget* parent)
    : QDialog(parent), Document(document) {
    setWindowTitle("Compiling");

    LabelProgram = new QLabel(programName, this);
    LabelProgram->setObjectName("LabelProgram");
    LabelSectionLines = Figure(this, "LabelSectionLines");
    LabelTotalLines = Figure(this, "LabelTotalLines");
    LabelWarnings = Figure(this, "LabelWarnings");
    LabelErrors = Figure(this, "LabelErrors");
    ListErrors = new QListWidget(this);
    ListErrors->setObjectName("ListErrors");
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    ListErrors->setFont(fixed);
    ListErrors->setMinimumSize(420, 140);
    BtnCancel = new QPushButton("&Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setDefault(true);

    auto* figures = new QGridLayout;
    figures->addWidget(new QLabel("Program:", this), 0, 0);
    figures->addWidget(LabelProgram, 0, 1, 1, 3);
    figures->addWidget(new QLabel("Last Section Lines:", this), 1, 0);
    figures->addWidget(LabelSectionLines, 1, 1);
    figures->addWidget(new QLabel("Total Lines:", this), 2, 0);
    figures->addWidget(LabelTotalLines, 2, 1);
    figures->addWidget(new QLabel("Warnings:", this), 1, 2);
    figures->addWidget(LabelWarnings, 1, 3);
    figures->addWidget(new QLabel("Errors:", this), 2, 2);
    figures->addWidget(LabelErrors, 2, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnCancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(figures);
    layout->addWidget(ListErrors);
    layout->addLayout(buttons);

    connect(BtnCancel, &QPushButton::clicked, this, &TFormCompileStat::BtnCancelClick);
    connect(ListErrors, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        emit RowActivated(RowSection(item), RowStatement(item));
    });
    ListErrors->installEventFilter(this);
}

bool TFormCompileStat::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a line goes to its place; it must not reach the default button, which would
    // close the window.
    if (watched == ListErrors && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            ListErrors->currentItem()) {
            QListWidgetItem* item = ListErrors->currentItem();
            emit RowActivated(RowSection(item), RowStatement(item));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormCompileStat::AddFindingLine(const QString& section, int statement, const QString& text) {
    auto* item = new QListWidgetItem("    " + text);
    item->setData(kSectionRole, section);
    item->setData(kStatementRole, statement);
    // Under the last line of its section.
    int row = ListErrors->count();
    for (int i = 0; i < ListErrors->count(); ++i)
        if (RowSection(ListErrors->item(i)) == section)
            row = i + 1;
    ListErrors->insertItem(row, item);
}

QString TFormCompileStat::RowSection(const QListWidgetItem* item) {
    return item ? item->data(kSectionRole).toString() : QString();
}

int TFormCompileStat::RowStatement(const QListWidgetItem* item) {
    QVariant statement = item ? item->data(kStatementRole) : QVariant();
    return statement.isValid() ? statement.toInt() : -1;
}

void TFormCompileStat::SetSectionLines(const std::string& text) {
    LabelSectionLines->setText(Edge.ToQt(text));
}

void TFormCompileStat::SetTotalLines(const std::string& text) {
    LabelTotalLines->setText(Edge.ToQt(text));
}

void TFormCompileStat::SetWarnings(const std::string& text) {
    LabelWarnings->setText(Edge.ToQt(text));
}

void TFormCompileStat::SetErrors(const std::string& text) {
    LabelErrors->setText(Edge.ToQt(text));
}

void TFormCompileStat::AddErrorLine(const std::string& line) {
    auto* item = new QListWidgetItem(Edge.ToQt(line));
    // The line starts with the section's name, padded to the column of the counts.
    size_t counts = line.rfind(kWarningsLabel);
    std::string name = line.substr(0, counts == std::string::npos ? line.size() : counts);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    item->setData(kSectionRole, Edge.ToQt(name));
    ListErrors->addItem(item);
    ListErrors->scrollToBottom();
}

void TFormCompileStat::ProcessMessages() {
    QApplication::processEvents();
}

void TFormCompileStat::Finish() {
    BtnCancel->setText(kOkCaption);
}

bool TFormCompileStat::Finished() const {
    return BtnCancel->text() == kOkCaption;
}

void TFormCompileStat::BtnCancelClick() {
    if (Finished()) {
        accept();
        return;
    }
    Document.CompileStopRequested = true;
    QApplication::processEvents();
}

void TFormCompileStat::reject() {
    if (Finished()) {
        QDialog::reject();
        return;
    }
    Document.CompileStopRequested = true;
}

void TFormCompileStat::closeEvent(QCloseEvent* event) {
    if (Finished()) {
        QDialog::closeEvent(event);
        return;
    }
    Document.CompileStopRequested = true;
    event->ignore();
}
