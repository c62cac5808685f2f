#include "ui/LibraryPanel.h"

#include "qtedge/FileNames.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <set>

using namespace orvale::library;

namespace {

enum Column { SourceFileColumn, MemberColumn, TypeColumn, TextColumn, LinesColumn, ChangedColumn };
constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;

QString ShownPath(const std::string& path) {
    return orvale::PathToQt(path);
}

// Reports a refresh's progress to the panel from the worker's thread.
class PanelProgress : public IndexProgress {
public:
    PanelProgress(QPointer<QProgressBar> bar, std::atomic<bool>& cancel)
        : Bar(std::move(bar)), Cancel(cancel) {}
    void Progress(size_t done, size_t total) override {
        QMetaObject::invokeMethod(
            Bar.data(),
            [bar = Bar, done, total] {
                if (!bar)
                    return;
                bar->setMaximum(static_cast<int>(total));
                bar->setValue(static_cast<int>(done));
            },
            Qt::QueuedConnection);
    }
    bool Cancelled() override { return Cancel; }

private:
    QPointer<QProgressBar> Bar;
    std::atomic<bool>& Cancel;
};

} // namespace

// The members as a table the view sorts and filters.
class TMemberTableModel : public QAbstractTableModel {
public:
    TMemberTableModel(const orvale::TextEdge& edge, QObject* parent)
        : QAbstractTableModel(parent), Edge(edge) {}

    void SetMembers(std::vector<TMemberInfo> members) {
        beginResetModel();
        Members = std::move(members);
        endResetModel();
    }
    const std::vector<TMemberInfo>& All() const { return Members; }
    const TMemberInfo& At(int row) const { return Members[static_cast<size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(Members.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 6;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* names[] = {"Source File", "Member", "Type", "Text", "Lines", "Changed"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 6)
            return QString(names[section]);
        return {};
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const TMemberInfo& m = At(index.row());
        if (role == kPathRole)
            return QByteArray::fromStdString(m.Path);
        if (role == Qt::ToolTipRole)
            return ShownPath(m.Path) + " - " + MemberKindText(m.Kind);
        if (role == Qt::TextAlignmentRole && index.column() == LinesColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole && role != kSortRole)
            return {};
        switch (index.column()) {
        case SourceFileColumn:
            return ShownPath(m.SourceFile);
        case MemberColumn:
            return ShownPath(m.Name);
        case TypeColumn:
            return Edge.ToQt(m.Type);
        case TextColumn:
            return Edge.ToQt(m.Text);
        case LinesColumn:
            return role == kSortRole ? QVariant(m.Lines) : QVariant(QString::number(m.Lines));
        case ChangedColumn: {
            QDateTime time = QDateTime::fromMSecsSinceEpoch(m.Time / 1000000);
            return role == kSortRole ? QVariant(static_cast<qlonglong>(m.Time))
                                     : QVariant(time.toString("yyyy-MM-dd HH:mm"));
        }
        default:
            return {};
        }
    }

private:
    const orvale::TextEdge& Edge;
    std::vector<TMemberInfo> Members;
};

// The filter of the list: a name pattern with * and ?, a type, a text within the member's text.
class TMemberFilterModel : public QSortFilterProxyModel {
public:
    TMemberFilterModel(const orvale::TextEdge& edge, QObject* parent)
        : QSortFilterProxyModel(parent), Edge(edge) {}

    void Set(const QString& pattern, const QString& type, const QString& text) {
        QString p = pattern.trimmed();
        Name = p.isEmpty()
                   ? QRegularExpression()
                   : QRegularExpression(QRegularExpression::wildcardToRegularExpression(
                                            p, QRegularExpression::UnanchoredWildcardConversion),
                                        QRegularExpression::CaseInsensitiveOption);
        if (!p.isEmpty())
            Name.setPattern("^(?:" + Name.pattern() + ")$");
        Type = type;
        Text = text.trimmed();
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override {
        auto* model = static_cast<const TMemberTableModel*>(sourceModel());
        const TMemberInfo& m = model->At(row);
        if (!Type.isEmpty() && Edge.ToQt(m.Type) != Type)
            return false;
        if (Name.isValid() && !Name.pattern().isEmpty() &&
            !Name.match(ShownPath(m.Name)).hasMatch())
            return false;
        if (!Text.isEmpty() && !Edge.ToQt(m.Text).contains(Text, Qt::CaseInsensitive))
            return false;
        return true;
    }

private:
    const orvale::TextEdge& Edge;
    QRegularExpression Name;
    QString Type;
    QString Text;
};

TLibraryPanel::TLibraryPanel(QWidget* parent)
    : QDockWidget("Library", parent), Idx(std::make_unique<LibraryIndex>()) {
    setObjectName("LibraryPanel");
    auto* body = new QWidget(this);
    EditFilter = new QLineEdit(body);
    EditFilter->setObjectName("EditFilter");
    EditFilter->setPlaceholderText("Member (* ?)");
    EditFilter->setClearButtonEnabled(true);
    ComboType = new QComboBox(body);
    ComboType->setObjectName("ComboType");
    ComboType->setToolTip("Member type");
    EditText = new QLineEdit(body);
    EditText->setObjectName("EditText");
    EditText->setPlaceholderText("Text");
    EditText->setClearButtonEnabled(true);
    BtnRefresh = new QToolButton(body);
    BtnRefresh->setObjectName("BtnRefresh");
    BtnRefresh->setText("Refresh");
    BtnRefresh->setToolTip("Read again the members changed since the index was made");
    ListMembers = new QTreeView(body);
    ListMembers->setObjectName("ListMembers");
    ListMembers->setRootIsDecorated(false);
    ListMembers->setUniformRowHeights(true);
    ListMembers->setSortingEnabled(true);
    ListMembers->setAlternatingRowColors(true);
    ListMembers->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListMembers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Progress = new QProgressBar(body);
    Progress->setObjectName("Progress");
    Progress->setTextVisible(true);
    Progress->setFormat("indexing %v of %m members");
    Progress->hide();
    LabelStatus = new QLabel("No library is open (File > Open Library...).", body);
    LabelStatus->setObjectName("LabelStatus");
    LabelStatus->setWordWrap(true);

    Model = new TMemberTableModel(Edge, this);
    Filter = new TMemberFilterModel(Edge, this);
    Filter->setSourceModel(Model);
    Filter->setSortRole(kSortRole);
    Filter->setSortCaseSensitivity(Qt::CaseInsensitive);
    ListMembers->setModel(Filter);
    ListMembers->sortByColumn(SourceFileColumn, Qt::AscendingOrder);
    ListMembers->header()->setStretchLastSection(false);
    ListMembers->header()->setSectionResizeMode(QHeaderView::Interactive);

    auto* filters = new QHBoxLayout;
    filters->addWidget(EditFilter, 2);
    filters->addWidget(ComboType, 1);
    filters->addWidget(EditText, 2);
    filters->addWidget(BtnRefresh);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(filters);
    layout->addWidget(ListMembers, 1);
    layout->addWidget(Progress);
    layout->addWidget(LabelStatus);
    setWidget(body);

    auto apply = [this] { ApplyFilter(); };
    connect(EditFilter, &QLineEdit::textChanged, this, apply);
    connect(EditText, &QLineEdit::textChanged, this, apply);
    connect(ComboType, &QComboBox::currentIndexChanged, this, apply);
    connect(BtnRefresh, &QToolButton::clicked, this, &TLibraryPanel::Refresh);
    connect(ListMembers, &QTreeView::activated, this, [this](const QModelIndex& index) {
        emit MemberActivated(index.data(kPathRole).toByteArray());
    });
    // Back from another program (an editor, a transfer): the members may have changed.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive && HasLibrary() && !Running)
                    Refresh();
            });
}

TLibraryPanel::~TLibraryPanel() {
    Cancel = true;
    if (Worker.joinable())
        Worker.join();
}

bool TLibraryPanel::OpenLibrary(const std::string& folder, std::string& error) {
    WaitForRefresh();
    auto index = std::make_unique<LibraryIndex>();
    if (!index->Open(folder, error))
        return false;
    Idx = std::move(index);
    setWindowTitle("Library - " + ShownPath(Idx->Root()));
    Model->SetMembers({});
    Reload();
    Refresh();
    return true;
}

bool TLibraryPanel::HasLibrary() const {
    return Idx->IsOpen();
}

const std::string& TLibraryPanel::Root() const {
    return Idx->Root();
}

LibraryIndex& TLibraryPanel::Index() {
    return *Idx;
}

const std::vector<TMemberInfo>& TLibraryPanel::Members() const {
    return Model->All();
}

std::string TLibraryPanel::CurrentMember() const {
    QModelIndex index = ListMembers->currentIndex();
    return index.isValid() ? index.data(kPathRole).toByteArray().toStdString() : std::string();
}

void TLibraryPanel::Refresh() {
    if (!HasLibrary())
        return;
    if (Running) {
        Again = true;
        return;
    }
    if (Worker.joinable())
        Worker.join();
    Running = true;
    Cancel = false;
    Progress->setValue(0);
    Progress->show();
    BtnRefresh->setEnabled(false);
    std::string root = Idx->Root();
    QPointer<TLibraryPanel> self(this);
    auto progress = std::make_shared<PanelProgress>(QPointer<QProgressBar>(Progress), Cancel);
    // The worker writes the index through an index object of its own; the panel's reads the
    // result once it is done.
    Worker = std::thread([self, root, progress] {
        LibraryIndex index;
        std::string error;
        TRefreshReport report;
        bool ok = index.Open(root, error) && index.Refresh(report, error, progress.get());
        std::vector<std::string> notices = index.TakeNotices();
        QMetaObject::invokeMethod(
            qApp,
            [self, ok, error, report, notices] {
                if (!self)
                    return;
                self->Report = report;
                self->Notices.clear();
                for (const std::string& n : notices)
                    self->Notices << self->Edge.ToQt(n);
                self->RefreshDone(ok, self->Edge.ToQt(error));
            },
            Qt::QueuedConnection);
    });
}

void TLibraryPanel::WaitForRefresh() {
    while (Running) {
        if (Worker.joinable())
            Worker.join();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void TLibraryPanel::RefreshDone(bool ok, const QString& error) {
    Running = false;
    Progress->hide();
    BtnRefresh->setEnabled(true);
    if (!ok) {
        LabelStatus->setText("The index could not be made: " + error);
        return;
    }
    Reload();
    emit IndexRefreshed();
    if (Again) {
        Again = false;
        Refresh();
    }
}

void TLibraryPanel::Reload() {
    std::string current = CurrentMember();
    Model->SetMembers(Idx->Ready() ? Idx->Members() : std::vector<TMemberInfo>());
    // The types on offer are those the library holds.
    QString type = ComboType->currentText();
    std::set<QString> types;
    for (const TMemberInfo& m : Model->All())
        if (!m.Type.empty())
            types.insert(Edge.ToQt(m.Type));
    ComboType->blockSignals(true);
    ComboType->clear();
    ComboType->addItem("All types", QString());
    for (const QString& t : types)
        ComboType->addItem(t, t);
    int at = ComboType->findText(type);
    ComboType->setCurrentIndex(at >= 0 ? at : 0);
    ComboType->blockSignals(false);
    ApplyFilter();
    for (int c : {SourceFileColumn, MemberColumn, TypeColumn, LinesColumn, ChangedColumn})
        ListMembers->resizeColumnToContents(c);
    ListMembers->setColumnWidth(TextColumn, std::max(ListMembers->columnWidth(TextColumn), 240));
    if (!current.empty())
        for (int row = 0; row < Filter->rowCount(); ++row)
            if (Filter->index(row, 0).data(kPathRole).toByteArray().toStdString() == current) {
                ListMembers->setCurrentIndex(Filter->index(row, 0));
                break;
            }
}

void TLibraryPanel::ApplyFilter() {
    Filter->Set(EditFilter->text(), ComboType->currentData().toString(), EditText->text());
    QString status = QString("%1 of %2 members").arg(Filter->rowCount()).arg(Model->rowCount());
    if (Report.Lines > 0)
        status += QString(", %1 lines").arg(Report.Lines);
    if (!Report.Skipped.empty())
        status += QString("; %1 files skipped").arg(Report.Skipped.size());
    if (!Notices.isEmpty())
        status += "\n" + Notices.join("\n");
    LabelStatus->setText(status);
}
