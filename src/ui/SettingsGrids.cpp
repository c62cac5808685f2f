#include "ui/SettingsGrids.h"

#include "qtedge/TextEdge.h"
#include "ui/KeyTextValidator.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

namespace {

constexpr int kDesignRows = 20;
constexpr int kRowHeight = 20;
constexpr int kNameWidth = 96;

// The value grid's editor: tells the grids when an edit starts and when it is stored, and
// keeps the text within what a single-byte property line can hold.
class ValueDelegate : public QStyledItemDelegate {
public:
    ValueDelegate(std::function<void(int)> started, std::function<void(int)> finished,
                  QObject* parent)
        : QStyledItemDelegate(parent), Started(std::move(started)), Finished(std::move(finished)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setValidator(new TKeyTextValidator(false, line));
        Started(index.row());
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QStyledItemDelegate::setModelData(editor, model, index);
        Finished(index.row());
    }

private:
    std::function<void(int)> Started;
    std::function<void(int)> Finished;
};

QTableWidget* NewGrid(QWidget* parent, const char* name) {
    auto* grid = new QTableWidget(kDesignRows, 1, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    return grid;
}

} // namespace

TSettingsGrids::TSettingsGrids(QWidget* parent) : QWidget(parent) {
    StringGridName = NewGrid(this, "StringGridName");
    StringGridName->setFixedWidth(kNameWidth);
    StringGridName->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGridName->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont bold = StringGridName->font();
    bold.setBold(true);
    StringGridName->setFont(bold);

    StringGridValue = NewGrid(this, "StringGridValue");
    StringGridValue->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGridValue->setEditTriggers(QAbstractItemView::DoubleClicked |
                                     QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed);
    StringGridValue->setItemDelegate(new ValueDelegate([this](int row) { EditStarted(row); },
                                                       [this](int row) { EditFinished(row); },
                                                       StringGridValue));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(StringGridName);
    layout->addWidget(StringGridValue);

    // Both grids show the same rows: whichever scrolls, the other follows.
    connect(StringGridValue->verticalScrollBar(), &QScrollBar::valueChanged,
            StringGridName->verticalScrollBar(), &QScrollBar::setValue);
    connect(StringGridName->verticalScrollBar(), &QScrollBar::valueChanged,
            StringGridValue->verticalScrollBar(), &QScrollBar::setValue);
    connect(StringGridName, &QTableWidget::currentCellChanged, this,
            [this](int row) { FollowRow(StringGridName, StringGridValue, row); });
    connect(StringGridValue, &QTableWidget::currentCellChanged, this,
            [this](int row) { FollowRow(StringGridValue, StringGridName, row); });
}

void TSettingsGrids::FollowRow(QTableWidget* from, QTableWidget* to, int row) {
    if (Following || row < 0 || !from->hasFocus())
        return;
    Following = true;
    to->setCurrentCell(row, 0);
    to->verticalScrollBar()->setValue(from->verticalScrollBar()->value());
    Following = false;
}

int TSettingsGrids::RowCount() const {
    return StringGridValue->rowCount();
}

void TSettingsGrids::SetRowCount(int rows) {
    rows = std::max(rows, 0);
    StringGridName->setRowCount(rows);
    StringGridValue->setRowCount(rows);
}

void TSettingsGrids::SetRow(int row, const std::string& name, const std::string& value) {
    if (row < 0)
        return;
    if (row >= RowCount())
        SetRowCount(row + 1);
    auto* nameItem = new QTableWidgetItem(Edge.ToQt(name));
    nameItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    StringGridName->setItem(row, 0, nameItem);
    StringGridValue->setItem(row, 0, new QTableWidgetItem(Edge.ToQt(value)));
}

std::string TSettingsGrids::Name(int row) const {
    QTableWidgetItem* item = row >= 0 ? StringGridName->item(row, 0) : nullptr;
    return item ? Edge.FromQt(item->text()) : std::string();
}

std::string TSettingsGrids::Value(int row) const {
    QTableWidgetItem* item = row >= 0 ? StringGridValue->item(row, 0) : nullptr;
    return item ? Edge.FromQt(item->text()) : std::string();
}

void TSettingsGrids::EditStarted(int row) {
    QTableWidgetItem* item = StringGridValue->item(row, 0);
    CellTextBefore = item ? item->text() : QString();
}

void TSettingsGrids::EditFinished(int row) {
    QTableWidgetItem* item = StringGridValue->item(row, 0);
    QString text = item ? item->text() : QString();
    if (text != CellTextBefore)
        emit ValueEdited(row);
}
