#include "ColSortListView.h"

#include "platform/RegionalSettings.h"
#include "qtedge/TextEdge.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

constexpr int DataRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;

// The report view, which knows the list it belongs to so that its items can ask for the kind
// of the column being sorted.
class SortTree : public QTreeWidget {
public:
    SortTree(const TColSortListView* owner, QWidget* parent) : QTreeWidget(parent), Owner(owner) {}
    const TColSortListView* Owner;
};

class SortItem : public QTreeWidgetItem {
public:
    SortItem() : QTreeWidgetItem(QTreeWidgetItem::UserType) {}

    bool operator<(const QTreeWidgetItem& other) const override {
        const auto* tree = dynamic_cast<const SortTree*>(treeWidget());
        if (!tree)
            return QTreeWidgetItem::operator<(other);
        int column = tree->sortColumn();
        return TColSortListView::CompareItems(*this, other, column,
                                              tree->Owner->ColumnSortKind(column),
                                              tree->Owner->Edge) < 0;
    }
};

int CompareIntegers(const QString& a, const QString& b) {
    // A missing or unreadable number counts as -1, below every line count.
    auto valueOf = [](const QString& text) {
        bool ok = false;
        int value = text.trimmed().toInt(&ok);
        return ok ? value : -1;
    };
    int x = valueOf(a);
    int y = valueOf(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

std::optional<orvale::DateTime> MomentOf(const QString& text, TColumnSortKind kind,
                                         const orvale::TextEdge& edge) {
    std::string value = edge.FromQt(text.trimmed());
    if (value.empty())
        return std::nullopt;
    const orvale::RegionalSettings& regional = orvale::RegionalSettings::Current();
    // A time alone is read as the time of day of a fixed date.
    if (kind == TColumnSortKind::Time)
        value = regional.FormatDate(orvale::DateTime{}) + " " + value;
    return regional.ParseDateTime(value);
}

int CompareMoments(const QString& a, const QString& b, TColumnSortKind kind,
                   const orvale::TextEdge& edge) {
    // Unreadable text sorts with the empty values rather than stopping the sort.
    std::optional<orvale::DateTime> x = MomentOf(a, kind, edge);
    std::optional<orvale::DateTime> y = MomentOf(b, kind, edge);
    if (!x || !y)
        return x ? 1 : (y ? -1 : 0);
    return *x < *y ? -1 : (*y < *x ? 1 : 0);
}

} // namespace

TColSortListView::TColSortListView(QWidget* parent)
    : QWidget(parent), Pages(new QStackedWidget(this)), Report(new SortTree(this, Pages)),
      Icons(new QListView(Pages)) {
    Kinds.fill(TColumnSortKind::Text);

    Report->setRootIsDecorated(false);
    Report->setUniformRowHeights(true);
    Report->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Report->setSelectionBehavior(QAbstractItemView::SelectRows);
    Report->setAllColumnsShowFocus(true);
    Report->header()->setSectionsClickable(true);
    Report->header()->setSortIndicatorShown(false);
    Report->headerItem()->setText(0, QString());

    // The icon view shows the same items and the same selection as the report.
    Icons->setModel(Report->model());
    QItemSelectionModel* ownSelection = Icons->selectionModel();
    Icons->setSelectionModel(Report->selectionModel());
    delete ownSelection;
    Icons->setViewMode(QListView::IconMode);
    Icons->setIconSize(QSize(32, 32));
    Icons->setMovement(QListView::Static);
    Icons->setResizeMode(QListView::Adjust);
    Icons->setWordWrap(true);
    Icons->setSpacing(8);
    Icons->setEditTriggers(QAbstractItemView::NoEditTriggers);

    Pages->addWidget(Report);
    Pages->addWidget(Icons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Pages);
    setFocusProxy(Report);

    connect(Report->header(), &QHeaderView::sectionClicked, this, &TColSortListView::ColumnClick);
    connect(Report, &QTreeWidget::itemSelectionChanged, this, &TColSortListView::SelectionChanged);
    connect(Report, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { emit ItemDoubleClicked(item); });
    connect(Icons, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (QTreeWidgetItem* item = Report->itemFromIndex(index))
            emit ItemDoubleClicked(item);
    });
}

void TColSortListView::ClearColumns() {
    Report->clear();
    Report->setColumnCount(1);
    Report->headerItem()->setText(0, QString());
    Report->setColumnHidden(0, false);
    ColumnCount_ = 0;
    Kinds.fill(TColumnSortKind::Text);
    Alignments.clear();
}

int TColSortListView::AddColumn(const QString& caption, int width, Qt::Alignment alignment,
                                TColumnSortKind kind) {
    int column = ColumnCount_;
    if (column > 0)
        Report->setColumnCount(column + 1);
    Report->headerItem()->setText(column, caption);
    Report->headerItem()->setTextAlignment(column, alignment | Qt::AlignVCenter);
    Report->setColumnWidth(column, width);
    Report->setColumnHidden(column, width <= 0);
    Alignments.append(alignment);
    ++ColumnCount_;
    SetColumnSortKind(column, kind);
    return column;
}

QString TColSortListView::ColumnCaption(int column) const {
    if (column < 0 || column >= ColumnCount_)
        return QString();
    return Report->headerItem()->text(column);
}

void TColSortListView::SetColumnSortKind(int column, TColumnSortKind kind) {
    if (column < 0 || column >= MaxSortColumns)
        return;
    Kinds[static_cast<size_t>(column)] = kind;
}

TColumnSortKind TColSortListView::ColumnSortKind(int column) const {
    if (column < 0 || column >= MaxSortColumns)
        return TColumnSortKind::Text;
    return Kinds[static_cast<size_t>(column)];
}

void TColSortListView::SetImages(const QList<QIcon>& images) {
    Images = images;
    for (int i = 0; i < ItemCount(); ++i) {
        QTreeWidgetItem* item = Item(i);
        item->setIcon(0, Images.value(ItemImageIndex(item)));
    }
}

QTreeWidgetItem* TColSortListView::AddItem(const QString& caption, const QStringList& subItems,
                                           const void* data, int imageIndex) {
    auto* item = new SortItem();
    item->setText(0, caption);
    for (int i = 0; i < subItems.size(); ++i)
        item->setText(i + 1, subItems.at(i));
    for (int i = 0; i < Alignments.size(); ++i)
        item->setTextAlignment(i, Alignments.at(i) | Qt::AlignVCenter);
    item->setData(0, DataRole, QVariant::fromValue(reinterpret_cast<quintptr>(data)));
    item->setData(0, ImageRole, imageIndex);
    if (imageIndex >= 0 && imageIndex < Images.size())
        item->setIcon(0, Images.at(imageIndex));
    if (SortMode_ == SortMode::ByCaption)
        Report->insertTopLevelItem(CaptionInsertIndex(*item), item);
    else
        Report->addTopLevelItem(item);
    return item;
}

QTreeWidgetItem* TColSortListView::AddItem(std::string_view caption, const StringList& subItems,
                                           const void* data, int imageIndex) {
    return AddItem(Edge.ToQt(caption), Edge.ToQt(subItems), data, imageIndex);
}

void TColSortListView::Clear() {
    Report->clear();
}

int TColSortListView::ItemCount() const {
    return Report->topLevelItemCount();
}

QTreeWidgetItem* TColSortListView::Item(int index) const {
    return Report->topLevelItem(index);
}

QTreeWidgetItem* TColSortListView::SelectedItem() const {
    QList<QTreeWidgetItem*> selected = Report->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

const void* TColSortListView::ItemData(const QTreeWidgetItem* item) {
    if (!item)
        return nullptr;
    return reinterpret_cast<const void*>(item->data(0, DataRole).value<quintptr>());
}

int TColSortListView::ItemImageIndex(const QTreeWidgetItem* item) {
    if (!item)
        return -1;
    QVariant index = item->data(0, ImageRole);
    return index.isValid() ? index.toInt() : -1;
}

void TColSortListView::SetStyle(ViewStyle style) {
    Style_ = style;
    QWidget* shown = style == ViewStyle::Report ? static_cast<QWidget*>(Report) : Icons;
    bool hadFocus = hasFocus();
    Pages->setCurrentWidget(shown);
    setFocusProxy(shown);
    if (hadFocus)
        shown->setFocus();
}

void TColSortListView::SetSorting(SortMode mode) {
    SortMode_ = mode;
    if (mode != SortMode::ByCaption || ItemCount() < 2)
        return;
    QTreeWidgetItem* current = Report->currentItem();
    QList<QTreeWidgetItem*> items;
    while (Report->topLevelItemCount() > 0)
        items.append(Report->takeTopLevelItem(0));
    std::stable_sort(items.begin(), items.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return CompareItems(*a, *b, 0, TColumnSortKind::Text) < 0;
    });
    Report->addTopLevelItems(items);
    if (current)
        Report->setCurrentItem(current);
}

int TColSortListView::CaptionInsertIndex(const QTreeWidgetItem& item) const {
    // After every item with the same caption, so that equal captions keep their order.
    int low = 0;
    int high = ItemCount();
    while (low < high) {
        int middle = (low + high) / 2;
        if (CompareItems(*Item(middle), item, 0, TColumnSortKind::Text) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void TColSortListView::ColumnClick(int column) {
    if (column < 0)
        return;
    if (column != LastSortedColumn_) {
        LastSortedColumn_ = column;
        SortDirection_ = 1;
    } else {
        SortDirection_ = -SortDirection_;
    }
    Sort(column, SortDirection_);
    emit ColumnSorted(ColumnCaption(column));
}

void TColSortListView::Sort(int column, int direction) {
    Report->header()->setSortIndicatorShown(true);
    // A stable sort: items that compare equal keep the order they had.
    Report->sortItems(column, direction > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

int TColSortListView::CompareItems(const QTreeWidgetItem& a, const QTreeWidgetItem& b, int column,
                                   TColumnSortKind kind, const orvale::TextEdge& edge) {
    const QString x = a.text(column);
    const QString y = b.text(column);
    switch (kind) {
    case TColumnSortKind::Integer:
        return CompareIntegers(x, y);
    case TColumnSortKind::Date:
    case TColumnSortKind::Time:
    case TColumnSortKind::DateTime:
        return CompareMoments(x, y, kind, edge);
    case TColumnSortKind::Text:
        break;
    }
    int order = QString::localeAwareCompare(x, y);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}
