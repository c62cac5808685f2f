#include "ui/LibraryFindDock.h"

#include "ui/LibraryEdge.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace orvale::library;

namespace {

constexpr int kMemberRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

} // namespace

TLibraryFindDock::TLibraryFindDock(QWidget* parent) : QDockWidget("Find in Library", parent) {
    setObjectName("LibraryFindDock");
    auto* body = new QWidget(this);
    EditText = new QLineEdit(body);
    EditText->setObjectName("EditText");
    EditText->setPlaceholderText("Text to find");
    CheckCase = new QCheckBox("&Match case", body);
    CheckCase->setObjectName("CheckCase");
    CheckCase->setChecked(true);
    CheckWord = new QCheckBox("&Whole word", body);
    CheckWord->setObjectName("CheckWord");
    SpinFrom = new QSpinBox(body);
    SpinFrom->setObjectName("SpinFrom");
    SpinFrom->setRange(1, 9999);
    SpinFrom->setValue(1);
    SpinTo = new QSpinBox(body);
    SpinTo->setObjectName("SpinTo");
    SpinTo->setRange(0, 9999);
    SpinTo->setSpecialValueText("end");
    SpinTo->setValue(0);
    ComboScope = new QComboBox(body);
    ComboScope->setObjectName("ComboScope");
    ComboScope->addItem("Whole library");
    ComboScope->addItem("Source file of the selected member");
    ComboScope->addItem("Member types");
    EditTypes = new QLineEdit(body);
    EditTypes->setObjectName("EditTypes");
    EditTypes->setPlaceholderText("RPG SQLRPG COPY*");
    EditTypes->setEnabled(false);
    BtnFind = new QPushButton("&Find", body);
    BtnFind->setObjectName("BtnFind");
    BtnFind->setDefault(true);
    TreeResults = new QTreeWidget(body);
    TreeResults->setObjectName("TreeResults");
    TreeResults->setHeaderLabels({"Member / line", "Text"});
    TreeResults->setUniformRowHeights(true);
    TreeResults->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    TreeResults->header()->setStretchLastSection(true);
    LabelCounts = new QLabel(body);
    LabelCounts->setObjectName("LabelCounts");

    auto* columns = new QHBoxLayout;
    columns->addWidget(new QLabel("Columns", body));
    columns->addWidget(SpinFrom);
    columns->addWidget(new QLabel("to", body));
    columns->addWidget(SpinTo);
    columns->addStretch();
    auto* options = new QHBoxLayout;
    options->addWidget(CheckCase);
    options->addWidget(CheckWord);
    options->addLayout(columns);
    auto* scope = new QHBoxLayout;
    scope->addWidget(ComboScope);
    scope->addWidget(EditTypes, 1);
    auto* find = new QHBoxLayout;
    find->addWidget(EditText, 1);
    find->addWidget(BtnFind);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(find);
    layout->addLayout(options);
    layout->addLayout(scope);
    layout->addWidget(TreeResults, 1);
    layout->addWidget(LabelCounts);
    setWidget(body);

    connect(BtnFind, &QPushButton::clicked, this, [this] { Running ? Stop() : (void)Start(); });
    connect(EditText, &QLineEdit::returnPressed, this, [this] { Start(); });
    connect(ComboScope, &QComboBox::currentIndexChanged, this,
            [this](int index) { EditTypes->setEnabled(index == TypesScope); });
    connect(TreeResults, &QTreeWidget::itemActivated, this, &TLibraryFindDock::ItemActivated);
}

TLibraryFindDock::~TLibraryFindDock() {
    Cancel = true;
    if (Worker.joinable())
        Worker.join();
}

void TLibraryFindDock::SetLibrary(const std::string& root) {
    Stop();
    WaitForSearch();
    Root = root;
    TreeResults->clear();
    LabelCounts->clear();
}

void TLibraryFindDock::SetCurrentSourceFile(const std::string& sourceFile) {
    SourceFile = sourceFile;
    ComboScope->setItemText(SourceFileScope, sourceFile.empty()
                                                 ? QString("Source file of the selected member")
                                                 : "Source file " + LibraryEdge().ToQt(sourceFile));
}

TFindOptions TLibraryFindDock::Options() const {
    TFindOptions o;
    o.Text = LibraryEdge().FromQt(EditText->text());
    o.IgnoreCase = !CheckCase->isChecked();
    o.Word = CheckWord->isChecked();
    if (SpinFrom->value() > 1 || SpinTo->value() > 0) {
        o.FromColumn = SpinFrom->value();
        o.ToColumn = SpinTo->value() > 0 ? SpinTo->value() : 0;
    }
    if (ComboScope->currentIndex() == SourceFileScope && !SourceFile.empty())
        o.SourceFiles = {SourceFile};
    if (ComboScope->currentIndex() == TypesScope)
        for (const QString& t : EditTypes->text().split(' ', Qt::SkipEmptyParts))
            o.Types.push_back(LibraryEdge().FromQt(t));
    return o;
}

bool TLibraryFindDock::Start() {
    if (Running)
        return false;
    if (Worker.joinable())
        Worker.join();
    TFindOptions options = Options();
    std::string error;
    if (Root.empty())
        error = "no library is open (File > Open Library...)";
    else
        CheckFindOptions(options, error);
    if (!error.empty()) {
        LabelCounts->setText(LibraryEdge().ToQt(error));
        return false;
    }
    TreeResults->clear();
    Lines = 0;
    Running = true;
    Cancel = false;
    BtnFind->setText("&Stop");
    LabelCounts->setText("Searching...");
    QPointer<TLibraryFindDock> self(this);
    std::string root = Root;
    Worker = std::thread([self, root, options, this] {
        TFindSummary summary;
        std::string error;
        // Hits go to the window in batches of a member each, as the search finds them.
        FindInLibrary(
            root, options,
            [&](const std::string& member, std::vector<TFindHit>& hits) {
                QList<QPair<int, QString>> rows;
                for (const TFindHit& h : hits)
                    rows.append({h.Line, LibraryEdge().ToQt(h.Text)});
                QByteArray path = QByteArray::fromStdString(member);
                QMetaObject::invokeMethod(
                    qApp,
                    [self, path, rows] {
                        if (self)
                            self->AddHits(path, rows);
                    },
                    Qt::QueuedConnection);
                return !Cancel.load();
            },
            summary, error);
        QMetaObject::invokeMethod(
            qApp,
            [self, summary, error] {
                if (self)
                    self->Finished(summary, LibraryEdge().ToQt(error));
            },
            Qt::QueuedConnection);
    });
    return true;
}

void TLibraryFindDock::Stop() {
    Cancel = true;
}

void TLibraryFindDock::WaitForSearch() {
    while (Running) {
        if (Worker.joinable())
            Worker.join();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void TLibraryFindDock::AddHits(const QByteArray& member, const QList<QPair<int, QString>>& hits) {
    auto* group = new QTreeWidgetItem(TreeResults);
    group->setText(0, QString("%1 (%2)").arg(QFile::decodeName(member)).arg(hits.size()));
    group->setData(0, kMemberRole, member);
    group->setData(0, kLineRole, hits.isEmpty() ? 1 : hits.front().first);
    QList<QTreeWidgetItem*> children;
    for (const auto& [line, text] : hits) {
        auto* item = new QTreeWidgetItem({QString::number(line), text});
        item->setData(0, kMemberRole, member);
        item->setData(0, kLineRole, line);
        item->setTextAlignment(0, Qt::AlignRight);
        children.append(item);
    }
    group->addChildren(children);
    Lines += static_cast<int>(hits.size());
    if (TreeResults->topLevelItemCount() <= 20)
        group->setExpanded(true);
}

void TLibraryFindDock::Finished(const TFindSummary& summary, const QString& error) {
    if (Worker.joinable())
        Worker.join();
    Running = false;
    BtnFind->setText("&Find");
    if (!error.isEmpty()) {
        LabelCounts->setText(error);
    } else {
        QString text = QString("%1 lines in %2 of %3 members")
                           .arg(summary.Hits)
                           .arg(summary.WithHits)
                           .arg(summary.Searched);
        if (Cancel)
            text += " (stopped)";
        if (!summary.Skipped.empty())
            text += QString("; %1 files passed over").arg(summary.Skipped.size());
        LabelCounts->setText(text);
    }
    TreeResults->resizeColumnToContents(0);
    emit SearchFinished();
}

void TLibraryFindDock::ItemActivated(QTreeWidgetItem* item) {
    if (!item)
        return;
    emit PlaceActivated(item->data(0, kMemberRole).toByteArray(), item->data(0, kLineRole).toInt());
}
