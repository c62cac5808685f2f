#pragma once

// The column ruler above the RPG/400 page: the column numbers and the format line of the form
// type of the line under the caret, lined up with the text and following its horizontal
// scrolling, as host editors show it.

#include <QWidget>

class TExtRichEdit;

class TColumnRuler : public QWidget {
    Q_OBJECT
public:
    explicit TColumnRuler(TExtRichEdit& editor, QWidget* parent = nullptr);

    // The format line on show (empty when the caret's line has no known form type).
    const QString& FormatText() const { return Format; }
    // Follows the caret's line; also run when the text was replaced.
    void Refresh();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TExtRichEdit& Editor;
    QString Format;
};
