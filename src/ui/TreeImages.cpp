#include "ui/TreeImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

enum class Shape { Book, OpenBook, Page, Folder, Flag, Disk, Screen, Printer, Key, Clock };

struct ImageSpec {
    Shape Kind;
    QColor Colour;
    const char* Mark; // one or two letters drawn over the shape
};

// One entry per image number; 24 is not used by the tree and gets a plain page.
const ImageSpec kSpecs[kTreeImageCount] = {
    {Shape::Book, QColor(0x1f, 0x4e, 0x9a), ""},     // 0 program
    {Shape::OpenBook, QColor(0x1f, 0x4e, 0x9a), ""}, // 1 program, selected
    {Shape::Page, QColor(0x6b, 0x6b, 0x6b), "P"},    // 2 properties
    {Shape::Page, QColor(0x2e, 0x7d, 0x32), "D"},    // 3 description
    {Shape::Clock, QColor(0x8d, 0x5b, 0x24), ""},    // 4 history
    {Shape::Page, QColor(0x7b, 0x1f, 0xa2), "#"},    // 5 pre-compiler
    {Shape::Page, QColor(0xc6, 0x28, 0x28), "H"},    // 6 header
    {Shape::Page, QColor(0x15, 0x65, 0xc0), "M"},    // 7 main routine
    {Shape::Folder, QColor(0xe0, 0xa8, 0x00), "S"},  // 8 sub routines folder
    {Shape::Page, QColor(0x00, 0x83, 0x8f), "S"},    // 9 sub routine
    {Shape::Folder, QColor(0xe0, 0xa8, 0x00), "F"},  // 10 files
    {Shape::Folder, QColor(0xe0, 0xa8, 0x00), "A"},  // 11 arrays folder
    {Shape::Page, QColor(0x00, 0x69, 0x5c), "I"},    // 12 init subroutine
    {Shape::Disk, QColor(0x45, 0x5a, 0x64), ""},     // 13 disk files
    {Shape::Page, QColor(0x5d, 0x40, 0x37), "Sp"},   // 14 special files
    {Shape::Screen, QColor(0x28, 0x35, 0x93), ""},   // 15 workstation files
    {Shape::Printer, QColor(0x42, 0x42, 0x42), ""},  // 16 printer files
    {Shape::Page, QColor(0xad, 0x14, 0x57), "E"},    // 17 extension
    {Shape::Page, QColor(0xef, 0x6c, 0x00), "I"},    // 18 input
    {Shape::Page, QColor(0x55, 0x8b, 0x2f), "O"},    // 19 line count, output section
    {Shape::Page, QColor(0x6a, 0x1b, 0x9a), "A"},    // 20 array
    {Shape::Key, QColor(0x8d, 0x6e, 0x63), ""},      // 21 command keys
    {Shape::Flag, QColor(0xd3, 0x2f, 0x2f), "In"},   // 22 indicators
    {Shape::Folder, QColor(0xe0, 0xa8, 0x00), "O"},  // 23 output folder
    {Shape::Page, QColor(0x9e, 0x9e, 0x9e), ""},     // 24 (unused)
    {Shape::Flag, QColor(0x37, 0x47, 0x4f), "*"},    // 25 all flags
    {Shape::Flag, QColor(0x30, 0x3f, 0x9f), "L"},    // 26 break levels
    {Shape::Flag, QColor(0x00, 0x79, 0x6b), "U"},    // 27 system flags
    {Shape::Flag, QColor(0xf5, 0x7c, 0x00), "O"},    // 28 output flags
};

void DrawMark(QPainter& p, const QRectF& box, const char* mark, const QColor& colour) {
    if (!*mark)
        return;
    QFont font("Sans Serif");
    font.setBold(true);
    font.setPixelSize(qstrlen(mark) > 1 ? 6 : 8);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, QString::fromLatin1(mark));
}

// Draws one picture on a 16 by 16 grid; larger pictures scale the painter.
void DrawShape(QPainter& p, const ImageSpec& spec) {
    const QColor dark = spec.Colour.darker(160);
    p.setPen(QPen(dark, 1));
    switch (spec.Kind) {
    case Shape::Book:
        p.setBrush(spec.Colour);
        p.drawRoundedRect(QRectF(3.5, 1.5, 10, 13), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 3.5, 6, 3));
        break;
    case Shape::OpenBook: {
        p.setBrush(Qt::white);
        QPolygonF left({{1.5, 3.5}, {7.5, 4.5}, {7.5, 14.5}, {1.5, 13.5}});
        QPolygonF right({{14.5, 3.5}, {8.5, 4.5}, {8.5, 14.5}, {14.5, 13.5}});
        p.drawPolygon(left);
        p.drawPolygon(right);
        p.setPen(QPen(spec.Colour, 1));
        for (double y = 6.5; y < 13; y += 2) {
            p.drawLine(QPointF(2.5, y), QPointF(6.5, y + 0.5));
            p.drawLine(QPointF(9.5, y + 0.5), QPointF(13.5, y));
        }
        break;
    }
    case Shape::Page: {
        QPolygonF page({{2.5, 0.5}, {10.5, 0.5}, {13.5, 3.5}, {13.5, 15.5}, {2.5, 15.5}});
        p.setBrush(Qt::white);
        p.drawPolygon(page);
        p.setBrush(spec.Colour);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(4, 5, 8, 9));
        DrawMark(p, QRectF(4, 5, 8, 9), spec.Mark, Qt::white);
        break;
    }
    case Shape::Folder: {
        p.setBrush(spec.Colour.darker(115));
        p.drawRect(QRectF(0.5, 2.5, 6, 3));
        p.setBrush(spec.Colour);
        p.drawRect(QRectF(0.5, 4.5, 15, 10));
        DrawMark(p, QRectF(0.5, 4.5, 15, 10), spec.Mark, dark);
        break;
    }
    case Shape::Flag: {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
        p.drawLine(QPointF(2.5, 1), QPointF(2.5, 15.5));
        p.setPen(QPen(dark, 1));
        p.setBrush(spec.Colour);
        p.drawRect(QRectF(3.5, 1.5, 11, 8));
        DrawMark(p, QRectF(3.5, 1.5, 11, 8), spec.Mark, Qt::white);
        break;
    }
    case Shape::Disk:
        p.setBrush(spec.Colour);
        p.drawRect(QRectF(2.5, 4, 11, 9));
        p.setBrush(spec.Colour.lighter(150));
        p.drawEllipse(QRectF(2.5, 1.5, 11, 5));
        p.drawArc(QRectF(2.5, 10.5, 11, 5), 180 * 16, 180 * 16);
        break;
    case Shape::Screen:
        p.setBrush(QColor(0x20, 0x20, 0x20));
        p.drawRect(QRectF(1.5, 1.5, 13, 10));
        p.setBrush(QColor(0x00, 0xc8, 0x53));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(3, 3, 10, 7));
        p.setBrush(dark);
        p.drawRect(QRectF(5, 12, 6, 3));
        break;
    case Shape::Printer:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 0.5, 7, 6));
        p.setBrush(spec.Colour.lighter(180));
        p.drawRect(QRectF(1.5, 5.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 9.5, 7, 6));
        break;
    case Shape::Key:
        p.setBrush(QColor(0xff, 0xc1, 0x07));
        p.drawEllipse(QRectF(1.5, 4.5, 7, 7));
        p.drawRect(QRectF(8, 7, 7, 2));
        p.drawRect(QRectF(12, 9, 2, 3));
        break;
    case Shape::Clock:
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(spec.Colour, 1.5));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 10));
        break;
    }
}

QPixmap Picture(const ImageSpec& spec, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    DrawShape(p, spec);
    return pixmap;
}

} // namespace

const QList<QIcon>& ProgramTreeImages() {
    static const QList<QIcon> images = [] {
        QList<QIcon> list;
        for (const ImageSpec& spec : kSpecs) {
            QIcon icon;
            icon.addPixmap(Picture(spec, 16));
            icon.addPixmap(Picture(spec, 32));
            list.append(icon);
        }
        return list;
    }();
    return images;
}
