#include "HoldButtonNSView.h"

#include <QFocusEvent>
#include <QFont>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QQuickWindow>
#include <QTouchEvent>
#include <cmath>
#include <utility>

HoldButtonNSView::HoldButtonNSView(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    // Fingers come as themselves, not as a mouse: a finger is a source of its own, and a finger
    // still down elsewhere (one whose drag moved the window) does not keep this one from holding.
    setAcceptTouchEvents(true);
    setActiveFocusOnTab(true);
    setAntialiasing(true);
    setImplicitSize(naturalSize, naturalSize);
}

void HoldButtonNSView::setIsHolding(bool value)
{
    if (m_isHolding == value)
        return;
    m_isHolding = value;
    update();
    emit isHoldingChanged();
}

QString HoldButtonNSView::caption() const
{
    return m_isHolding ? QStringLiteral("HOLDING...") : QStringLiteral("HOLD ME");
}

void HoldButtonNSView::setTextScale(qreal scale)
{
    if (m_textScale == scale)
        return;
    m_textScale = scale;
    // The circle grows only when the longer caption, its corners a few pixels clear, would not fit inside it.
    const QFontMetricsF metrics(captionFont());
    const qreal caption = std::hypot(metrics.horizontalAdvance(QStringLiteral("HOLDING...")), metrics.height());
    const qreal side = qMax(naturalSize, std::ceil(caption + 8));
    setImplicitSize(side, side);
    update();
    emit lookChanged();
}

QFont HoldButtonNSView::captionFont() const
{
    QFont font;
    font.setPixelSize(qRound(20 * m_textScale));
    font.setBold(true);
    return font;
}

QRectF HoldButtonNSView::circleRect(const QSizeF &bounds)
{
    const qreal d = qMin(bounds.width(), bounds.height());
    return QRectF((bounds.width() - d) * 0.5, (bounds.height() - d) * 0.5, d, d);
}

void HoldButtonNSView::paint(QPainter *painter)
{
    const QSizeF bounds = size();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);

    painter->setPen(Qt::NoPen);
    painter->setBrush(fillColor());
    painter->drawEllipse(circleRect(bounds));

    const QFont font = captionFont();
    const QFontMetricsF metrics(font);
    const QString text = caption();
    const qreal textWidth = metrics.horizontalAdvance(text);
    const QPointF origin(bounds.width() * 0.5 - textWidth * 0.5, bounds.height() * 0.5 - metrics.height() * 0.5);
    painter->setFont(font);
    painter->setPen(m_captionColor);
    painter->drawText(origin + QPointF(0, metrics.ascent()), text);
}

void HoldButtonNSView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    // Accepted even during a Space hold, so that the press does not fall through to the window.
    event->accept();
    setVisualFocus(false);
    beginPress(Source::Mouse);
}

void HoldButtonNSView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    endPress(Source::Mouse);
}

void HoldButtonNSView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click already came as a press of its own.
    event->accept();
}

void HoldButtonNSView::mouseUngrabEvent()
{
    outlastUngrab(Source::Mouse);
}

void HoldButtonNSView::touchEvent(QTouchEvent *event)
{
    // Every finger on the button is taken, so that none reaches the window's drag; the first holds.
    event->accept();
    if (event->type() == QEvent::TouchCancel) {
        endPress(Source::Finger);
        return;
    }
    for (const QEventPoint &point : event->points()) {
        if (point.state() == QEventPoint::Pressed && m_pressedBy == Source::None) {
            setVisualFocus(false);
            m_finger = point.id();
            beginPress(Source::Finger);
        } else if (point.state() == QEventPoint::Released && point.id() == m_finger) {
            endPress(Source::Finger);
        }
    }
}

void HoldButtonNSView::touchUngrabEvent()
{
    outlastUngrab(Source::Finger);
}

void HoldButtonNSView::outlastUngrab(Source source)
{
    // The display server sends the pointer and the fingers to the window that took the press until they are
    // let go, whichever window has the focus meanwhile. Any other grab lost (another item's, a compositor's
    // gesture) must not leave the game holding.
    if (m_pressedBy != source || m_ungrabbed)
        return;
    if (!window() || window()->isActive() || !window()->isVisible()) {
        endPress(source);
        return;
    }
    m_ungrabbed = true;
    window()->installEventFilter(this);
}

bool HoldButtonNSView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window() || !m_ungrabbed)
        return false;
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        endPress(Source::Mouse);
    } else if (event->type() == QEvent::TouchCancel) {
        endPress(Source::Finger);
    } else if (event->type() == QEvent::TouchUpdate || event->type() == QEvent::TouchEnd) {
        for (const QEventPoint &point : static_cast<QTouchEvent *>(event)->points()) {
            if (point.id() == m_finger && point.state() == QEventPoint::Released)
                endPress(Source::Finger);
        }
    }
    return false;
}

void HoldButtonNSView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space) {
        event->ignore();
        return;
    }
    event->accept();
    setVisualFocus(true);
    // A held key repeats as press/release pairs; only the first press counts.
    if (!event->isAutoRepeat())
        beginPress(Source::Key);
}

void HoldButtonNSView::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space) {
        event->ignore();
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        endPress(Source::Key);
}

void HoldButtonNSView::padPressed(int pad)
{
    // Played like the keyboard, by moving the focus: the ring shows where it is.
    setVisualFocus(true);
    if (m_pressedBy == Source::None) {
        m_pad = pad;
        beginPress(Source::Pad);
    }
}

void HoldButtonNSView::padReleased(int pad)
{
    if (pad == m_pad)
        endPress(Source::Pad);
}

void HoldButtonNSView::focusInEvent(QFocusEvent *event)
{
    QQuickPaintedItem::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        setVisualFocus(true);
}

void HoldButtonNSView::focusOutEvent(QFocusEvent *event)
{
    QQuickPaintedItem::focusOutEvent(event);
    // Another window raised, or Tab: the key's release will come to someone else, if at all.
    endPress(Source::Key);
}

void HoldButtonNSView::itemChange(ItemChange change, const ItemChangeData &data)
{
    QQuickPaintedItem::itemChange(change, data);
    // A window closed mid-press keeps its grab but will never see the release; nor does a minimised one,
    // whose grab the display server ends.
    if (change == ItemSceneChange && data.window) {
        connect(data.window, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible)
                endPress(m_pressedBy);
        });
        connect(data.window, &QWindow::windowStateChanged, this, [this](Qt::WindowState state) {
            if (state == Qt::WindowMinimized && m_pressedBy != Source::Pad)
                endPress(m_pressedBy);
        });
    }
}

void HoldButtonNSView::beginPress(Source source)
{
    if (m_pressedBy != Source::None)
        return;
    m_pressedBy = source;
    emit press();
}

void HoldButtonNSView::endPress(Source source)
{
    if (m_pressedBy == Source::None || m_pressedBy != source)
        return;
    m_pressedBy = Source::None;
    if (std::exchange(m_ungrabbed, false) && window())
        window()->removeEventFilter(this);
    emit release();
}

void HoldButtonNSView::setVisualFocus(bool value)
{
    if (m_visualFocus == value)
        return;
    m_visualFocus = value;
    emit visualFocusChanged();
}
