// The main frame's printing: the program's sections (File > Print...) and the RPG/400 member
// (Program > Print Source), each through the print dialog, a print preview or into a PDF
// file; the print dialog the editor windows ask for.

#include "ui/MainForm.h"

#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "qtedge/FileNames.h"
#include "qtedge/TextEdge.h"
#include "rpgprogram/RPGProgram.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

TPrintJob JobOf(TEditorsHolder& window, TPrintContent content) {
    TRPGProgram& doc = *window.Document;
    doc.CommitCurrent();
    TPrintJob job;
    if (content == TPrintContent::Program) {
        job = ProgramStatementsJob(doc);
    } else {
        // The member as the source file would hold it: sections changed since their last
        // compilation are compiled first, as the RPG/400 page does.
        doc.CompileAllSections(false);
        job = MemberJob(doc);
    }
    job.Edge = window.Edge;
    return job;
}

} // namespace

void TMainForm::FilePrintItemClick() {
    PrintActive(TPrintContent::Program, TPrintWay::Printer);
}

void TMainForm::ProgPrintItemClick() {
    PrintActive(TPrintContent::Member, TPrintWay::Printer);
}

bool TMainForm::ExecPrintDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("PrintDialog");
    return RunModal(dialog);
}

std::optional<std::string> TMainForm::ChoosePdfFile(const TRPGProgram& doc) {
    QFileDialog dialog(this, "Orvale - Export to PDF");
    dialog.setObjectName("PdfSaveDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter("PDF files (*.pdf *.PDF)");
    dialog.setDefaultSuffix("pdf");
    if (!doc.FilePath.empty())
        dialog.setDirectory(orvale::PathToQt(doc.FilePath));
    dialog.selectFile(orvale::PathToQt(orvale::ChangeFileExt(doc.FileName, ".pdf")));
    return RunFile(dialog);
}

bool TMainForm::PrintActive(TPrintContent content, TPrintWay way) {
    TEditorsHolder* window = ActiveWindow();
    if (!window)
        return false;
    TRPGProgram& doc = *window->Document;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Edge.ToQt(doc.FileName));
    switch (way) {
    case TPrintWay::Printer: {
        if (!ExecPrintDialog(printer))
            return false;
        if (PrintPages(printer, JobOf(*window, content)) > 0)
            return true;
        Box.Error("The pages could not be printed on " + Edge.FromQt(printer.printerName()) + ".");
        return false;
    }
    case TPrintWay::Preview: {
        TPrintJob job = JobOf(*window, content);
        QPrintPreviewDialog preview(&printer, this);
        preview.setObjectName("PrintPreview");
        preview.setWindowTitle(Edge.ToQt("Print Preview - " + doc.FileName));
        connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                [&job](QPrinter* target) { PrintPages(*target, job); });
        RunModal(preview);
        return true;
    }
    case TPrintWay::Pdf: {
        std::optional<std::string> path = ChoosePdfFile(doc);
        if (!path)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(orvale::PathToQt(*path));
        if (PrintPages(printer, JobOf(*window, content)) > 0)
            return true;
        Box.Error("The PDF file " + *path + " could not be written.");
        return false;
    }
    }
    return false;
}
