#pragma once

// The progress window of an import of RPG/400 source: a bar and the number of lines
// converted so far. Cancel, Escape and the close box ask the import to stop (the document's
// ImportCancelled); the window itself stays until the import has returned.

#include "qtedge/TextEdge.h"
#include "rpgprogram/ImportProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class TRPGProgram;

class TFormConvProgress : public QDialog, public orvale::ImportProgress {
    Q_OBJECT
public:
    // The code page of the texts it shows.
    orvale::TextEdge Edge;

    explicit TFormConvProgress(TRPGProgram& document, QWidget* parent = nullptr);

    QProgressBar* ProgressBar = nullptr;
    // The number of lines converted, in decimal.
    QLabel* LabelLines = nullptr;
    QPushButton* BtnCancel = nullptr;

    // The import's progress: the bar's range and position, the count's text, and a pause
    // that lets pending input (a click on Cancel) through.
    void SetMaximum(int maximum) override;
    void SetPosition(int position) override;
    void SetCaption(const std::string& caption) override;
    void ProcessMessages() override;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RequestCancel();

    TRPGProgram& Document;
};
