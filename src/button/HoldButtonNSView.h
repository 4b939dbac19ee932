#pragma once

#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The round hold button, drawn by hand. It makes no decisions: its look follows
// isHolding alone, and presses and releases of the primary button become signals.
class HoldButtonNSView : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isHolding READ isHolding WRITE setIsHolding NOTIFY isHoldingChanged)
    Q_PROPERTY(QString caption READ caption NOTIFY isHoldingChanged)

public:
    static constexpr qreal naturalSize = 180.0;

    explicit HoldButtonNSView(QQuickItem *parent = nullptr);

    bool isHolding() const { return m_isHolding; }
    void setIsHolding(bool value);

    QString caption() const;
    QColor fillColor() const;
    // The circle's rectangle for given bounds: the largest square, centred, no margin.
    static QRectF circleRect(const QSizeF &bounds);

    void paint(QPainter *painter) override;

signals:
    void isHoldingChanged();
    void press();
    void release();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseUngrabEvent() override;
    void itemChange(ItemChange change, const ItemChangeData &data) override;

private:
    void endPress();

    bool m_isHolding = false;
    bool m_pressPending = false;
};
