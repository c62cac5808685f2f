#include "outside/LumbroWindow.h"

#include "outside/PrintLayout.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Width of the column before the printed text that says what each line is.
constexpr int NoteWidth = 22;

QString Gutter(const orvale::TextEdge& edge, const std::string& note) {
    std::string text = note.substr(0, NoteWidth - 2);
    text.resize(NoteWidth - 2, ' ');
    return edge.ToQt(text) + "| ";
}

QString LayoutText(const orvale::TextEdge& edge, const lumbro::TPrintLayout& layout) {
    QString text;
    for (const std::string& ruler : lumbro::ColumnRuler(layout.Width))
        text += QString(NoteWidth, ' ') + edge.ToQt(ruler) + '\n';
    for (const lumbro::TPrintedLine& line : layout.Lines) {
        if (line.LineKind == lumbro::TPrintedLine::Kind::Skip)
            text += Gutter(edge, line.Note) + QString(layout.Width, '=') + '\n';
        else
            text += Gutter(edge, line.Note) + edge.ToQt(line.Text) + '\n';
    }
    return text;
}

} // namespace

TLumbroWindow::TLumbroWindow(const StringList& statements, const orvale::TextEdge& edge,
                             QWidget* parent)
    : QDialog(parent), Edge(edge) {
    setWindowTitle("Lumbro - Print Layout");
    resize(900, 600);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    EditStatements = new QPlainTextEdit(this);
    EditStatements->setObjectName("EditStatements");
    EditStatements->setFont(fixed);
    EditStatements->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString text;
    for (size_t i = 0; i < statements.size(); ++i)
        text += (i ? "\n" : "") + Edge.ToQt(statements[i]);
    EditStatements->setPlainText(text);
    OriginalText = EditStatements->toPlainText();

    MemoLayout = new QPlainTextEdit(this);
    MemoLayout->setObjectName("MemoLayout");
    MemoLayout->setFont(fixed);
    MemoLayout->setReadOnly(true);
    MemoLayout->setLineWrapMode(QPlainTextEdit::NoWrap);
    LabelStatus = new QLabel(this);
    LabelStatus->setObjectName("LabelStatus");
    LabelStatus->setWordWrap(true);
    BtnPreview = new QPushButton("&Preview", this);
    BtnPreview->setObjectName("BtnPreview");
    BtnPreview->setAutoDefault(false);
    BtnOK = new QPushButton("&OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setAutoDefault(false);
    BtnCancel = new QPushButton("&Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAutoDefault(false);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(EditStatements);
    splitter->addWidget(MemoLayout);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LabelStatus, 1);
    buttons->addWidget(BtnPreview);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    // Typing redraws the page once the user pauses.
    PreviewTimer = new QTimer(this);
    PreviewTimer->setSingleShot(true);
    PreviewTimer->setInterval(400);
    connect(PreviewTimer, &QTimer::timeout, this, &TLumbroWindow::Preview);
    connect(EditStatements, &QPlainTextEdit::textChanged, PreviewTimer,
            qOverload<>(&QTimer::start));
    connect(BtnPreview, &QPushButton::clicked, this, &TLumbroWindow::Preview);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    Preview();
}

StringList TLumbroWindow::Statements() const {
    StringList lines;
    QString text = EditStatements->toPlainText();
    if (text.isEmpty())
        return lines;
    for (const QString& line : text.split('\n'))
        lines.push_back(Edge.FromQt(line));
    return lines;
}

bool TLumbroWindow::Changed() const {
    return result() == QDialog::Accepted && EditStatements->toPlainText() != OriginalText;
}

void TLumbroWindow::Preview() {
    PreviewTimer->stop();
    lumbro::TCompiledOutput compiled = lumbro::CompileOutputStatements(Statements());
    lumbro::TPrintLayout layout = lumbro::BuildPrintLayout(compiled.Lines);
    QString text = LayoutText(Edge, layout);
    QStringList status;
    if (compiled.Errors + compiled.Warnings > 0) {
        status
            << QString("%1 error(s), %2 warning(s):").arg(compiled.Errors).arg(compiled.Warnings);
        for (const std::string& line : compiled.Lines)
            if (line.find("**ERROR:") != std::string::npos ||
                line.find("**WARNING:") != std::string::npos)
                status << Edge.ToQt(line).trimmed();
    }
    for (const std::string& message : layout.Messages)
        status << Edge.ToQt(message);
    if (status.isEmpty()) {
        auto printed = std::count_if(layout.Lines.begin(), layout.Lines.end(), [](const auto& l) {
            return l.LineKind != lumbro::TPrintedLine::Kind::Skip;
        });
        status << QString("%1 printed line(s).").arg(printed);
    }
    LabelStatus->setText(status.join('\n'));
    MemoLayout->setPlainText(text);
}
