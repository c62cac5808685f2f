#pragma once

// Compare: two members (or a program's source and a member) side by side, scrolled together,
// the changed lines and the characters that changed within them highlighted, with the next and
// previous difference a click away and an option to leave columns 1-5 and 75-80 out.

#include "library/TextCompare.h"
#include "platform/StringList.h"

#include "qtedge/TextEdge.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class TCompareWindow : public QDialog {
    Q_OBJECT
public:
    // Left Edge shows the left side (a program's source is in the program's code page); the
    // right side is a member of the library.
    TCompareWindow(const QString& leftTitle, StringList left, const QString& rightTitle,
                   StringList right, QWidget* parent = nullptr,
                   const orvale::TextEdge& leftEdge = orvale::TextEdge());

    // Compares again with the option shown, and shows the first difference.
    void Recompare();
    // Goes to the next (Step 1) or previous (Step -1) difference; false when there is none.
    bool GoToDifference(int step);
    int DifferenceCount() const { return static_cast<int>(Starts.size()); }
    // The difference shown (0-based), -1 before the first.
    int CurrentDifference() const { return Current; }
    const std::vector<orvale::library::TDiffRow>& Rows() const { return DiffRows; }

    QLabel* LabelLeft = nullptr;
    QLabel* LabelRight = nullptr;
    QPlainTextEdit* EditLeft = nullptr;
    QPlainTextEdit* EditRight = nullptr;
    QCheckBox* CheckColumns = nullptr;
    QPushButton* BtnPrevious = nullptr;
    QPushButton* BtnNext = nullptr;
    QLabel* LabelDifferences = nullptr;

private:
    void Fill();
    void ShowRow(size_t row);

    StringList Left, Right;
    orvale::TextEdge LeftEdge;
    std::vector<orvale::library::TDiffRow> DiffRows;
    std::vector<size_t> Starts;
    int Current = -1;
};
