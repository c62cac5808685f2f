#pragma once

// A drop-down list of the sixteen basic colours, shown as swatches, that reads and writes the
// colour as the integer the options file keeps: blue in the high byte, green in the middle
// byte, red in the low byte.

#include <QColor>
#include <QComboBox>

// The options file's integer colour as a QColor; only the low three bytes count.
QColor ColorFromValue(int value);
// The integer the options file keeps for a colour.
int ValueFromColor(const QColor& color);

class TColorComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(int ColorValue READ ColorValue WRITE SetColorValue)

public:
    static constexpr int AquaValue = 0xFFFF00;

    explicit TColorComboBox(QWidget* parent = nullptr);

    // The value of the selected swatch; aqua when nothing is selected.
    int ColorValue() const;
    // Selects the swatch of Value; a value that is not one of the sixteen selects aqua.
    void SetColorValue(int value);

    // Height of one swatch in the list: the font's text height, at least 8 pixels.
    int ItemHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
