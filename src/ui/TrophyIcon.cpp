#include "TrophyIcon.h"

#include <QPainter>
#include <QPainterPath>

TrophyIcon::TrophyIcon(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setImplicitSize(16, 16);
}

void TrophyIcon::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
    emit colorChanged();
}

void TrophyIcon::paint(QPainter *painter)
{
    // Drawn on a 24-unit grid, scaled to the item.
    const qreal unit = qMin(width(), height()) / 24.0;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate((width() - 24 * unit) / 2, (height() - 24 * unit) / 2);
    painter->scale(unit, unit);

    QPainterPath cup;
    cup.moveTo(6, 2);
    cup.lineTo(18, 2);
    cup.lineTo(18, 9);
    cup.cubicTo(18, 12.5, 15.5, 15, 12, 15);
    cup.cubicTo(8.5, 15, 6, 12.5, 6, 9);
    cup.closeSubpath();
    cup.addRect(10.75, 14, 2.5, 4);
    cup.addRoundedRect(QRectF(7, 18, 10, 4), 1, 1);

    painter->setPen(Qt::NoPen);
    painter->setBrush(m_color);
    painter->drawPath(cup.simplified());

    QPen handle(m_color, 2);
    handle.setCapStyle(Qt::RoundCap);
    painter->setPen(handle);
    painter->setBrush(Qt::NoBrush);
    painter->drawArc(QRectF(2, 4, 6, 7), 90 * 16, 180 * 16);
    painter->drawArc(QRectF(16, 4, 6, 7), -90 * 16, 180 * 16);
}
