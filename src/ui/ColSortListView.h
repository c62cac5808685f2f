#pragma once

// A list of objects shown as a report (one row per item, one column per property) or as large
// icons, that sorts by any column when its header is clicked: text, numbers, dates and times
// each in their own order.

#include "platform/StringList.h"
#include "qtedge/TextEdge.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <string_view>

class QListView;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

// How the values of a column compare. Dates and times are read with the regional settings
// they were written with.
enum class TColumnSortKind : int { Text = 1, Integer = 2, Date = 3, Time = 4, DateTime = 5 };

class TColSortListView : public QWidget {
    Q_OBJECT

public:
    // The code page of the texts of its items.
    orvale::TextEdge Edge;

    enum class ViewStyle { Report, LargeIcon };
    // None keeps the items in the order they were added; ByCaption keeps them sorted by the
    // first column as they are added.
    enum class SortMode { None, ByCaption };
    // Columns past this many always sort as text.
    static constexpr int MaxSortColumns = 21;

    explicit TColSortListView(QWidget* parent = nullptr);

    // Columns. Clearing them also removes the items and sets every column's kind back to text.
    void ClearColumns();
    // Appends a column and returns its index. A width of 0 hides the column.
    int AddColumn(const QString& caption, int width, Qt::Alignment alignment = Qt::AlignLeft,
                  TColumnSortKind kind = TColumnSortKind::Text);
    int ColumnCount() const { return ColumnCount_; }
    QString ColumnCaption(int column) const;
    void SetColumnSortKind(int column, TColumnSortKind kind);
    TColumnSortKind ColumnSortKind(int column) const;

    // Icons that items refer to by index; each may hold a small and a large size.
    void SetImages(const QList<QIcon>& images);

    // Items. The caption is the first column, the sub-items the following ones (missing ones
    // are empty). Data is an opaque reference to the object the item stands for; the list
    // never looks at it.
    QTreeWidgetItem* AddItem(const QString& caption, const QStringList& subItems = {},
                             const void* data = nullptr, int imageIndex = -1);
    QTreeWidgetItem* AddItem(std::string_view caption, const StringList& subItems,
                             const void* data = nullptr, int imageIndex = -1);
    void Clear();
    int ItemCount() const;
    QTreeWidgetItem* Item(int index) const;
    QTreeWidgetItem* SelectedItem() const;
    static const void* ItemData(const QTreeWidgetItem* item);
    static int ItemImageIndex(const QTreeWidgetItem* item);

    ViewStyle Style() const { return Style_; }
    void SetStyle(ViewStyle style);
    SortMode Sorting() const { return SortMode_; }
    void SetSorting(SortMode mode);

    // What a click on a column header does: another column than the last sorted one sorts
    // ascending, the last sorted one reverses its direction. Emits ColumnSorted.
    void ColumnClick(int column);
    int LastSortedColumn() const { return LastSortedColumn_; }
    // +1 ascending, -1 descending.
    int SortDirection() const { return SortDirection_; }

    // The order of two items by Column read as Kind: negative, 0 or positive as A sorts before,
    // with or after B in ascending order. Empty or unreadable numbers, dates and times come
    // first. Edge: the code page the items' texts were shown from.
    static int CompareItems(const QTreeWidgetItem& a, const QTreeWidgetItem& b, int column,
                            TColumnSortKind kind, const orvale::TextEdge& edge = {});

    QTreeWidget* ReportView() const { return Report; }
    QListView* IconView() const { return Icons; }

signals:
    // After a column click sorted the list; carries the column's caption.
    void ColumnSorted(const QString& caption);
    void SelectionChanged();
    void ItemDoubleClicked(QTreeWidgetItem* item);

private:
    void Sort(int column, int direction);
    int CaptionInsertIndex(const QTreeWidgetItem& item) const;

    QStackedWidget* Pages;
    QTreeWidget* Report;
    QListView* Icons;
    int ColumnCount_ = 0;
    std::array<TColumnSortKind, MaxSortColumns> Kinds;
    QList<Qt::Alignment> Alignments;
    QList<QIcon> Images;
    ViewStyle Style_ = ViewStyle::Report;
    SortMode SortMode_ = SortMode::None;
    int LastSortedColumn_ = 0;
    int SortDirection_ = 1;
};
