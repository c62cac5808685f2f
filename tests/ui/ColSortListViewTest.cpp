#include "ui/ColSortListView.h"

#include "platform/RegionalSettings.h"
#include "support/QtApp.h"

#include <QHeaderView>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The program window's object list: name, line count, modified flag, two moments.
class ObjectList : public ::testing::Test {
protected:
    void SetUp() override {
        orvale::test::QtApp();
        Saved = std::make_unique<orvale::RegionalSettings>(orvale::RegionalSettings::Current());
        orvale::RegionalSettings::SetCurrent(orvale::RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        List = std::make_unique<TColSortListView>();
        List->resize(600, 300);
        List->AddColumn("Name", 100);
        List->AddColumn("Lines", 40, Qt::AlignRight, TColumnSortKind::Integer);
        List->AddColumn("Modified", 55, Qt::AlignCenter);
        List->AddColumn("Created On", 110, Qt::AlignLeft, TColumnSortKind::DateTime);
    }
    void TearDown() override { orvale::RegionalSettings::SetCurrent(*Saved); }

    QStringList Captions() const {
        QStringList out;
        for (int i = 0; i < List->ItemCount(); ++i)
            out << List->Item(i)->text(0);
        return out;
    }

    std::unique_ptr<orvale::RegionalSettings> Saved;
    std::unique_ptr<TColSortListView> List;
};

} // namespace

TEST_F(ObjectList, ClickDirectionRule) {
    List->AddItem(QString("B"));
    List->AddItem(QString("C"));
    List->AddItem(QString("A"));
    QSignalSpy sorted(List.get(), &TColSortListView::ColumnSorted);
    // The first column counts as sorted already, so its first click sorts it descending.
    List->ColumnClick(0);
    EXPECT_EQ(Captions(), (QStringList{"C", "B", "A"}));
    List->ColumnClick(0);
    EXPECT_EQ(Captions(), (QStringList{"A", "B", "C"}));
    // Another column starts ascending; back on the first it is ascending again.
    List->ColumnClick(2);
    EXPECT_EQ(List->SortDirection(), 1);
    List->ColumnClick(0);
    EXPECT_EQ(List->SortDirection(), 1);
    EXPECT_EQ(Captions(), (QStringList{"A", "B", "C"}));
    ASSERT_EQ(sorted.count(), 4);
    EXPECT_EQ(sorted.at(0).at(0).toString(), "Name");
    EXPECT_EQ(sorted.at(2).at(0).toString(), "Modified");
}

TEST_F(ObjectList, LinesSortAsNumbersWithMissingOnesFirst) {
    List->AddItem(QString("TEN"), {"10"});
    List->AddItem(QString("NONE"), {""});
    List->AddItem(QString("TWO"), {"2"});
    List->AddItem(QString("BAD"), {"x7"});
    List->AddItem(QString("FOLDER")); // no sub-items at all
    List->ColumnClick(1);
    EXPECT_EQ(Captions(), (QStringList{"NONE", "BAD", "FOLDER", "TWO", "TEN"}));
    List->ColumnClick(1);
    EXPECT_EQ(Captions().mid(0, 2), (QStringList{"TEN", "TWO"}));
    // As text the same column would put 10 before 2.
    List->SetColumnSortKind(1, TColumnSortKind::Text);
    List->ColumnClick(3);
    List->ColumnClick(1);
    EXPECT_LT(Captions().indexOf("TEN"), Captions().indexOf("TWO"));
}

TEST_F(ObjectList, MomentsSortByTheirValueWithEmptyFirst) {
    // Day first: the text order would differ from the time order.
    List->AddItem(QString("NEW"), {"", "", "02/01/2024 10:00:00"});
    List->AddItem(QString("FOLDER"), {"", "", ""});
    List->AddItem(QString("OLD"), {"", "", "31/12/2023 23:59:59"});
    List->AddItem(QString("MIDDAY"), {"", "", "02/01/2024 09:30:00"});
    List->AddItem(QString("DAMAGED"), {"", "", "31/02/2024 10:00:00"});
    List->ColumnClick(3);
    EXPECT_EQ(Captions(), (QStringList{"FOLDER", "DAMAGED", "OLD", "MIDDAY", "NEW"}));
    List->ColumnClick(3);
    EXPECT_EQ(Captions().mid(0, 3), (QStringList{"NEW", "MIDDAY", "OLD"}));
}

TEST_F(ObjectList, DatesAndTimesAlone) {
    List->SetColumnSortKind(1, TColumnSortKind::Date);
    List->SetColumnSortKind(2, TColumnSortKind::Time);
    List->AddItem(QString("A"), {"10/03/2023", "23:00:00"});
    List->AddItem(QString("B"), {"09/04/2023", "08:15:00"});
    List->AddItem(QString("C"), {"01/01/2023", "12:00:00"});
    List->ColumnClick(1);
    EXPECT_EQ(Captions(), (QStringList{"C", "A", "B"}));
    List->ColumnClick(2);
    EXPECT_EQ(Captions(), (QStringList{"B", "C", "A"}));
}

TEST_F(ObjectList, EqualValuesKeepTheirOrder) {
    for (const char* name : {"P", "Q", "R", "S"})
        List->AddItem(QString(name), {"5", "", "01/01/2024"});
    List->ColumnClick(1);
    EXPECT_EQ(Captions(), (QStringList{"P", "Q", "R", "S"}));
    List->ColumnClick(3);
    EXPECT_EQ(Captions(), (QStringList{"P", "Q", "R", "S"}));
}

TEST_F(ObjectList, ItemsCarryDataAndImageThroughSorts) {
    int first = 0;
    int second = 0;
    List->SetImages({QIcon(), QIcon()});
    List->AddItem(std::string_view("\xC4RGER"), StringList{"3"}, &first, 1);
    QTreeWidgetItem* b = List->AddItem(QString("B"), {"1"}, &second, 4);
    List->ReportView()->setCurrentItem(b);
    EXPECT_EQ(List->Item(0)->text(0), QString::fromLatin1("\xC4RGER"));
    List->ColumnClick(1);
    EXPECT_EQ(List->Item(0), b);
    EXPECT_EQ(TColSortListView::ItemData(List->Item(0)), &second);
    EXPECT_EQ(TColSortListView::ItemImageIndex(List->Item(0)), 4);
    EXPECT_EQ(TColSortListView::ItemData(List->Item(1)), &first);
    EXPECT_EQ(List->SelectedItem(), b);
    EXPECT_EQ(TColSortListView::ItemData(nullptr), nullptr);
}

TEST_F(ObjectList, SortByCaptionKeepsItemsInOrderAsTheyCome) {
    List->AddItem(QString("ZETA"));
    List->AddItem(QString("ALPHA"));
    List->SetSorting(TColSortListView::SortMode::ByCaption);
    EXPECT_EQ(Captions(), (QStringList{"ALPHA", "ZETA"}));
    List->AddItem(QString("MU"));
    List->AddItem(QString("BETA"));
    List->AddItem(QString("ZZ"));
    EXPECT_EQ(Captions(), (QStringList{"ALPHA", "BETA", "MU", "ZETA", "ZZ"}));
    List->SetSorting(TColSortListView::SortMode::None);
    List->AddItem(QString("AA"));
    EXPECT_EQ(Captions().last(), "AA");
}

TEST_F(ObjectList, ClearingColumnsResetsKindsAndItems) {
    List->AddItem(QString("X"), {"1"});
    List->ClearColumns();
    EXPECT_EQ(List->ItemCount(), 0);
    EXPECT_EQ(List->ColumnCount(), 0);
    EXPECT_EQ(List->ColumnSortKind(1), TColumnSortKind::Text);
    EXPECT_EQ(List->AddColumn("Object", 100), 0);
    List->AddColumn("", 0); // the history's hidden column
    EXPECT_TRUE(List->ReportView()->isColumnHidden(1));
    // Only the first 21 columns have a kind of their own.
    List->SetColumnSortKind(21, TColumnSortKind::Integer);
    EXPECT_EQ(List->ColumnSortKind(21), TColumnSortKind::Text);
    List->SetColumnSortKind(20, TColumnSortKind::Integer);
    EXPECT_EQ(List->ColumnSortKind(20), TColumnSortKind::Integer);
}

TEST_F(ObjectList, HeaderClickSortsAndNamesTheColumn) {
    List->show();
    List->AddItem(QString("A"), {"10"});
    List->AddItem(QString("B"), {"2"});
    QSignalSpy sorted(List.get(), &TColSortListView::ColumnSorted);
    QHeaderView* header = List->ReportView()->header();
    QPoint onLines(header->sectionViewportPosition(1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, onLines);
    ASSERT_EQ(sorted.count(), 1);
    EXPECT_EQ(sorted.at(0).at(0).toString(), "Lines");
    EXPECT_EQ(Captions(), (QStringList{"B", "A"}));
}

TEST_F(ObjectList, LargeIconsShowTheSameItemsAndSelection) {
    List->show();
    QTreeWidgetItem* a = List->AddItem(QString("A"));
    QTreeWidgetItem* b = List->AddItem(QString("B"));
    List->SetStyle(TColSortListView::ViewStyle::LargeIcon);
    EXPECT_TRUE(List->IconView()->isVisible());
    EXPECT_FALSE(List->ReportView()->isVisible());
    EXPECT_EQ(List->IconView()->model()->rowCount(), 2);
    QSignalSpy changed(List.get(), &TColSortListView::SelectionChanged);
    List->IconView()->setCurrentIndex(List->IconView()->model()->index(1, 0));
    EXPECT_EQ(List->SelectedItem(), b);
    EXPECT_GE(changed.count(), 1);
    List->ColumnClick(0); // sorting shows in both
    EXPECT_EQ(List->IconView()->model()->index(0, 0).data().toString(), "B");
    List->SetStyle(TColSortListView::ViewStyle::Report);
    EXPECT_TRUE(List->ReportView()->isVisible());
    EXPECT_NE(a, nullptr);
}
