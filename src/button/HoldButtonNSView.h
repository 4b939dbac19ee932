#pragma once

#include <QColor>
#include <QFont>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The round hold button, drawn by hand. It makes no decisions: its look follows isHolding
// alone, and presses and releases of the primary button, of a finger, or of Space or a game
// pad's button while it has focus, become signals. One hold has one source: only what started
// it ends it.
class HoldButtonNSView : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isHolding READ isHolding WRITE setIsHolding NOTIFY isHoldingChanged)
    Q_PROPERTY(QString caption READ caption NOTIFY isHoldingChanged)
    // The two fills and the caption's colour, which high contrast changes, and the text size the desktop asks for.
    Q_PROPERTY(QColor idleColor READ idleColor WRITE setIdleColor NOTIFY lookChanged)
    Q_PROPERTY(QColor heldColor READ heldColor WRITE setHeldColor NOTIFY lookChanged)
    Q_PROPERTY(QColor captionColor READ captionColor WRITE setCaptionColor NOTIFY lookChanged)
    Q_PROPERTY(qreal textScale READ textScale WRITE setTextScale NOTIFY lookChanged)
    // True while the keyboard is in use, so that a focus ring is only shown to keyboard players.
    Q_PROPERTY(bool visualFocus READ visualFocus NOTIFY visualFocusChanged)

public:
    static constexpr qreal naturalSize = 180.0;

    explicit HoldButtonNSView(QQuickItem *parent = nullptr);

    bool isHolding() const { return m_isHolding; }
    void setIsHolding(bool value);

    // A game pad's bottom face button while this has the focus (see Gamepads); `pad` is SDL's
    // instance id of the pad. A pad's hold is its own: only that pad's release ends it.
    void padPressed(int pad);
    void padReleased(int pad);

    bool visualFocus() const { return m_visualFocus; }

    QColor idleColor() const { return m_idleColor; }
    void setIdleColor(const QColor &color) { setLook(m_idleColor, color); }
    QColor heldColor() const { return m_heldColor; }
    void setHeldColor(const QColor &color) { setLook(m_heldColor, color); }
    QColor captionColor() const { return m_captionColor; }
    void setCaptionColor(const QColor &color) { setLook(m_captionColor, color); }
    qreal textScale() const { return m_textScale; }
    void setTextScale(qreal scale);

    QString caption() const;
    QColor fillColor() const { return m_isHolding ? m_heldColor : m_idleColor; }
    // The circle's rectangle for given bounds: the largest square, centred, no margin.
    static QRectF circleRect(const QSizeF &bounds);

    void paint(QPainter *painter) override;

signals:
    void isHoldingChanged();
    void lookChanged();
    void visualFocusChanged();
    void press();
    void release();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseUngrabEvent() override;
    void touchEvent(QTouchEvent *event) override;
    void touchUngrabEvent() override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void itemChange(ItemChange change, const ItemChangeData &data) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Source { None, Mouse, Finger, Key, Pad };

    void beginPress(Source source);
    void endPress(Source source);
    // Another window took the focus, and Qt Quick the grab with it; the release still comes to this window.
    void outlastUngrab(Source source);
    void setVisualFocus(bool value);
    template <typename T>
    void setLook(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        update();
        emit lookChanged();
    }
    QFont captionFont() const;

    bool m_isHolding = false;
    QColor m_idleColor = QColor::fromRgbF(0.2f, 0.4f, 0.95f, 1.0f);
    QColor m_heldColor = QColor::fromRgbF(0.2f, 0.78f, 0.5f, 1.0f);
    QColor m_captionColor = Qt::white;
    qreal m_textScale = 1.0;
    bool m_visualFocus = false;
    Source m_pressedBy = Source::None;
    // The finger that holds, of all those on the button.
    int m_finger = -1;
    // The pad that holds, of all those connected.
    int m_pad = -1;
    // A mouse or finger hold that lost its grab to another window: its release is read off the window.
    bool m_ungrabbed = false;
};
