#include "ColorComboBox.h"

#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

struct Swatch {
    const char* Name;
    int Value;
};

// The order of the list and the values the options file stores.
constexpr Swatch Swatches[] = {
    {"Aqua", 0xFFFF00},   {"Black", 0x000000}, {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF},
    {"Gray", 0x808080},   {"Green", 0x008000}, {"Lime", 0x00FF00},   {"Maroon", 0x000080},
    {"Navy", 0x800000},   {"Olive", 0x008080}, {"Purple", 0x800080}, {"Red", 0x0000FF},
    {"Silver", 0xC0C0C0}, {"Teal", 0x808000},  {"White", 0xFFFFFF},  {"Yellow", 0x00FFFF},
};

void PaintSwatch(QPainter& painter, const QRect& area, const QColor& color) {
    QRect inner = area.adjusted(2, 2, -2, -2);
    painter.fillRect(inner, color);
    painter.setPen(Qt::black);
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
}

// Draws each item as a swatch filling its row; the colour's name stays as the item text for
// keyboard search and screen readers.
class SwatchDelegate : public QStyledItemDelegate {
public:
    SwatchDelegate(const TColorComboBox* box, QObject* parent)
        : QStyledItemDelegate(parent), Box(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.highlight());
        PaintSwatch(*painter, option.rect, ColorFromValue(index.data(Qt::UserRole).toInt()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), Box->ItemHeight());
    }

private:
    const TColorComboBox* Box;
};

} // namespace

QColor ColorFromValue(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int ValueFromColor(const QColor& color) {
    QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

TColorComboBox::TColorComboBox(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new SwatchDelegate(this, this));
    for (const Swatch& swatch : Swatches)
        addItem(QString::fromLatin1(swatch.Name), swatch.Value);
    setCurrentIndex(0);
}

int TColorComboBox::ColorValue() const {
    int index = currentIndex();
    if (index < 0 || index >= count())
        return AquaValue;
    return itemData(index).toInt();
}

void TColorComboBox::SetColorValue(int value) {
    int index = findData(value);
    setCurrentIndex(index < 0 ? 0 : index);
}

int TColorComboBox::ItemHeight() const {
    return std::max(8, fontMetrics().height());
}

void TColorComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    PaintSwatch(painter, field, ColorFromValue(ColorValue()));
}
