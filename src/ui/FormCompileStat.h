#pragma once

// The statistics window of a compile: the program, the lines of the section compiled last,
// the running totals of lines, warnings and errors, and one line per section that reported
// any. While the compile runs its button reads "&Cancel": the button, Escape and the close
// box then only ask the compile to stop (the document's CompileStopRequested) and the window
// stays. Finish turns the button into "Ok", which closes it. A double click or Enter on a
// section line or on one of its finding lines asks for that place (RowActivated).

#include "qtedge/TextEdge.h"
#include "rpgprogram/CompileStatistics.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TRPGProgram;

class TFormCompileStat : public QDialog, public orvale::CompileStatistics {
    Q_OBJECT
public:
    // The code page of the program's names and lines it lists.
    orvale::TextEdge Edge;

    TFormCompileStat(TRPGProgram& document, const QString& programName, QWidget* parent = nullptr);

    QLabel* LabelProgram = nullptr;
    QLabel* LabelSectionLines = nullptr;
    QLabel* LabelTotalLines = nullptr;
    QLabel* LabelWarnings = nullptr;
    QLabel* LabelErrors = nullptr;
    QListWidget* ListErrors = nullptr;
    QPushButton* BtnCancel = nullptr;

    // The compile's figures and error lines, and a pause for pending input (a click on Cancel).
    void SetSectionLines(const std::string& text) override;
    void SetTotalLines(const std::string& text) override;
    void SetWarnings(const std::string& text) override;
    void SetErrors(const std::string& text) override;
    void AddErrorLine(const std::string& line) override;
    void ProcessMessages() override;
    // A line under the section's line: one error or warning and the statement it came from
    // (0-based; -1 when not known).
    void AddFindingLine(const QString& section, int statement, const QString& text);
    // The section and statement a line of the list leads to (statement -1: the section).
    static QString RowSection(const QListWidgetItem* item);
    static int RowStatement(const QListWidgetItem* item);

    // The compile has ended: the button becomes "Ok" and closing is allowed.
    void Finish();
    bool Finished() const;

signals:
    void RowActivated(const QString& section, int statement);

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BtnCancelClick();

    TRPGProgram& Document;
};
