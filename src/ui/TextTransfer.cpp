#include "ui/TextTransfer.h"

#include "platform/SafeSave.h"
#include "platform/TextFile.h"
#include "qtedge/FileNames.h"
#include "qtedge/TextEdge.h"

#include <QFileDialog>
#include <QStringDecoder>

namespace {

// "*.RPG" also finds "payroll.rpg"; "*.*" also finds names without a dot.
QString PatternsOf(const QString& pattern) {
    if (pattern == "*.*")
        return "*";
    QString lower = pattern.toLower();
    QString upper = pattern.toUpper();
    return lower == upper ? pattern : upper + " " + lower;
}

// "Text Files (*.TXT *.txt)" without " (*.TXT *.txt)".
QString WithoutPatterns(const QString& filter) {
    qsizetype open = filter.lastIndexOf(" (");
    return open > 0 && filter.endsWith(')') ? filter.left(open) : filter;
}

std::optional<std::string> Choose(QFileDialog& dialog, const TRunFileDialog& run) {
    bool confirmed = run ? run(dialog) : dialog.exec() == QDialog::Accepted;
    QStringList chosen = dialog.selectedFiles();
    if (!confirmed || chosen.isEmpty() || chosen.front().isEmpty())
        return std::nullopt;
    return orvale::PathFromQt(chosen.front());
}

} // namespace

QStringList NameFiltersOf(const std::string& filterList) {
    QStringList parts = QString::fromLatin1(filterList.c_str()).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(parts[i] + " (" + PatternsOf(parts[i + 1]) + ")");
    return filters;
}

void ApplyMainFilter(QFileDialog& dialog) {
    dialog.setNameFilters(NameFiltersOf(kMainDialogFilter));
    dialog.setDefaultSuffix("RPG");
}

int FilterIndex(const QFileDialog& dialog) {
    // A dialog that hides the patterns names its selected filter without them.
    QString selected = dialog.selectedNameFilter();
    QStringList filters = dialog.nameFilters();
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (filters[i] == selected || WithoutPatterns(filters[i]) == selected)
            return static_cast<int>(i) + 1;
    return 0;
}

void SetFilterIndex(QFileDialog& dialog, int index) {
    QStringList filters = dialog.nameFilters();
    if (index >= 1 && index <= filters.size())
        dialog.selectNameFilter(filters[index - 1]);
}

std::optional<std::string> ChooseTextFileToImport(QFileDialog& mainOpenDialog,
                                                  const TRunFileDialog& run) {
    mainOpenDialog.setWindowTitle(kImportTextTitle);
    SetFilterIndex(mainOpenDialog, kAllFilesFilter);
    std::optional<std::string> path = Choose(mainOpenDialog, run);
    SetFilterIndex(mainOpenDialog, 1);
    return path;
}

std::optional<std::string> ChooseTextFileToExport(QFileDialog& mainSaveDialog,
                                                  const TRunFileDialog& run) {
    mainSaveDialog.setWindowTitle(kExportTextTitle);
    SetFilterIndex(mainSaveDialog, kAllFilesFilter);
    mainSaveDialog.setDefaultSuffix("TXT");
    std::optional<std::string> path = Choose(mainSaveDialog, run);
    SetFilterIndex(mainSaveDialog, 1);
    mainSaveDialog.setDefaultSuffix("RPG");
    return path;
}

// -- Section text files

std::string CharacterNotHeldMessage(char32_t character, int line, std::string_view of) {
    std::string where = "line " + std::to_string(line);
    if (!of.empty())
        where += " of " + std::string(of);
    return where + " holds " + orvale::CharacterName(character) +
           ", which a section's text cannot hold.";
}

bool DecodeSectionText(std::string_view bytes, StringList& lines, std::string* error,
                       const orvale::TextEdge& edge) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError()) {
        // Not UTF-8: every byte is a Latin-1 character, as the section holds it.
        lines = orvale::SplitTextLines(bytes);
        return true;
    }
    int line = 0;
    if (char32_t wide = edge.FirstUnmappable(text, &line)) {
        if (error)
            *error = CharacterNotHeldMessage(wide, line);
        return false;
    }
    lines = orvale::SplitTextLines(edge.FromQt(text));
    return true;
}

bool ReadSectionTextFile(const std::string& path, StringList& lines, std::string* error,
                         const orvale::TextEdge& edge) {
    std::string bytes;
    if (!orvale::ReadFileBytes(path, bytes, error))
        return false;
    if (DecodeSectionText(bytes, lines, error, edge))
        return true;
    if (error)
        *error = path + ": " + *error;
    return false;
}

bool WriteSectionTextFile(const std::string& path, const StringList& lines,
                          TTextFileEncoding encoding, std::string* error,
                          const orvale::TextEdge& edge) {
    if (encoding == TTextFileEncoding::Latin1CrLf)
        return orvale::WriteFileSafely(path, orvale::JoinTextLines(lines), {}, error);
    std::string text;
    for (const std::string& line : lines) {
        QByteArray utf8 = edge.ToQt(line).toUtf8();
        text.append(utf8.constData(), static_cast<size_t>(utf8.size()));
        text += '\n';
    }
    return orvale::WriteFileSafely(path, text, {}, error);
}
