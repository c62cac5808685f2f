#include "ui/ButtonBarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 20;

const QColor kInk(0x37, 0x47, 0x4f);
const QColor kPaper(0xfa, 0xfa, 0xfa);
const QColor kBlue(0x15, 0x65, 0xc0);
const QColor kGreen(0x2e, 0x7d, 0x32);
const QColor kAmber(0xe0, 0xa8, 0x00);
const QColor kRed(0xc6, 0x28, 0x28);

// A sheet with a folded top-right corner.
void Page(QPainter& p, const QRectF& box) {
    QPainterPath sheet;
    const qreal fold = box.width() * 0.35;
    sheet.moveTo(box.topLeft());
    sheet.lineTo(box.right() - fold, box.top());
    sheet.lineTo(box.right(), box.top() + fold);
    sheet.lineTo(box.bottomRight());
    sheet.lineTo(box.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawLine(QPointF(box.right() - fold, box.top()),
               QPointF(box.right() - fold, box.top() + fold));
    p.drawLine(QPointF(box.right() - fold, box.top() + fold),
               QPointF(box.right(), box.top() + fold));
}

void TextLines(QPainter& p, const QRectF& box, int count) {
    p.setPen(QPen(kInk.lighter(160), 1));
    for (int i = 0; i < count; ++i) {
        qreal y = box.top() + box.height() * (0.4 + 0.15 * i);
        p.drawLine(QPointF(box.left() + 2.5, y), QPointF(box.right() - 2.5, y));
    }
}

// An arrow from From to To with a filled head.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    QLineF shaft(from, to);
    p.drawLine(shaft);
    QLineF back(to, from);
    back.setLength(5.5);
    QLineF left = back;
    left.setAngle(back.angle() + 35);
    QLineF right = back;
    right.setAngle(back.angle() - 35);
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(left.p2());
    head.lineTo(right.p2());
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
}

void Draw(QPainter& p, ButtonImage image) {
    switch (image) {
    case ButtonImage::New:
        Page(p, QRectF(4, 2, 12, 16));
        p.setPen(QPen(kGreen, 2));
        p.drawLine(QPointF(10, 9), QPointF(10, 15));
        p.drawLine(QPointF(7, 12), QPointF(13, 12));
        break;
    case ButtonImage::Open: {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(kAmber);
        p.drawRect(QRectF(2, 5, 15, 11));
        QPainterPath flap;
        flap.moveTo(2, 16);
        flap.lineTo(5, 9);
        flap.lineTo(19, 9);
        flap.lineTo(16.5, 16);
        flap.closeSubpath();
        p.setBrush(kAmber.lighter(130));
        p.drawPath(flap);
        break;
    }
    case ButtonImage::Save:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(3, 3, 14, 14), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(6, 3, 8, 5));
        p.drawRect(QRectF(5.5, 11, 9, 6));
        break;
    case ButtonImage::Find:
        Page(p, QRectF(2, 2, 11, 14));
        TextLines(p, QRectF(2, 2, 11, 14), 3);
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(0xbb, 0xde, 0xfb));
        p.drawEllipse(QPointF(12, 11), 3.8, 3.8);
        p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14.8, 13.8), QPointF(18, 17));
        break;
    case ButtonImage::Cut:
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(6, 15), 2.6, 2.6);
        p.drawEllipse(QPointF(14, 15), 2.6, 2.6);
        p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7.5, 12.8), QPointF(14, 2.5));
        p.drawLine(QPointF(12.5, 12.8), QPointF(6, 2.5));
        break;
    case ButtonImage::Copy:
        Page(p, QRectF(2, 2, 10, 13));
        Page(p, QRectF(8, 5, 10, 13));
        TextLines(p, QRectF(8, 5, 10, 13), 3);
        break;
    case ButtonImage::Paste:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(0xa1, 0x88, 0x7f));
        p.drawRoundedRect(QRectF(2, 3, 12, 15), 1.5, 1.5);
        p.setBrush(kInk.lighter(200));
        p.drawRect(QRectF(5, 1.5, 6, 3));
        Page(p, QRectF(8, 7, 10, 12));
        TextLines(p, QRectF(8, 7, 10, 12), 3);
        break;
    case ButtonImage::Undo: {
        p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath curve;
        curve.moveTo(15, 16);
        curve.cubicTo(19, 10, 14, 5, 7, 7);
        p.drawPath(curve);
        Arrow(p, QPointF(8, 7), QPointF(3, 8), kBlue);
        break;
    }
    case ButtonImage::Import:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(0x45, 0x5a, 0x64));
        p.drawRect(QRectF(11, 2, 7, 16));
        p.setPen(QPen(kPaper, 1));
        p.drawLine(QPointF(12.5, 5), QPointF(16.5, 5));
        p.drawLine(QPointF(12.5, 7.5), QPointF(16.5, 7.5));
        Arrow(p, QPointF(10, 12), QPointF(1.5, 12), kGreen);
        break;
    case ButtonImage::Generate:
        Page(p, QRectF(2, 2, 12, 16));
        TextLines(p, QRectF(2, 2, 12, 16), 4);
        p.setPen(Qt::NoPen);
        p.setBrush(kAmber);
        {
            QPainterPath bolt;
            bolt.moveTo(15, 5);
            bolt.lineTo(10.5, 12);
            bolt.lineTo(14, 12);
            bolt.lineTo(12, 19);
            bolt.lineTo(18.5, 10);
            bolt.lineTo(15, 10);
            bolt.lineTo(17.5, 5);
            bolt.closeSubpath();
            p.setPen(QPen(kInk, 0.8));
            p.drawPath(bolt);
        }
        break;
    case ButtonImage::Export:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(0x45, 0x5a, 0x64));
        p.drawRect(QRectF(11, 2, 7, 16));
        p.setPen(QPen(kPaper, 1));
        p.drawLine(QPointF(12.5, 5), QPointF(16.5, 5));
        p.drawLine(QPointF(12.5, 7.5), QPointF(16.5, 7.5));
        Arrow(p, QPointF(1.5, 12), QPointF(10, 12), kRed);
        break;
    }
}

} // namespace

QIcon ButtonBarImage(ButtonImage image) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(kSize * scale, kSize * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        Draw(p, image);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
