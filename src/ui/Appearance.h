#pragma once

#include <QDBusVariant>
#include <QHash>
#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

// What the desktop asks of the game's look, followed while the game runs: light or dark, high
// contrast, the size of text and whether things may move. Qt 6.4 has no API for these: they come
// from the freedesktop settings portal where one answers (freedesktop's, GNOME's and KDE's keys),
// and light or dark otherwise from the lightness of the palette's window colour. A key the portal
// lacks, or gives as another type than its own, leaves the look as it is by default.
class Appearance : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool dark READ isDark NOTIFY changed)
    Q_PROPERTY(bool highContrast READ highContrast NOTIFY changed)
    Q_PROPERTY(double textScale READ textScale NOTIFY changed)
    Q_PROPERTY(bool reducedMotion READ reducedMotion NOTIFY changed)

public:
    explicit Appearance(QObject *parent = nullptr);

    bool isDark() const { return look().dark; }
    bool highContrast() const { return look().highContrast; }
    double textScale() const { return look().textScale; }
    bool reducedMotion() const { return look().reducedMotion; }

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void portalSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    struct Look {
        bool dark = false;
        bool highContrast = false;
        double textScale = 1.0;
        bool reducedMotion = false;
        bool operator==(const Look &) const = default;
    };

    Look look() const;
    template <typename T>
    std::optional<T> setting(const QString &group, const QString &key) const;
    void readPortal();
    // Makes a change, and tells QML when the look is different for it.
    void change(const std::function<void()> &what);

    // The portal's answers by "group/key"; a key it has not answered is absent.
    QHash<QString, QVariant> m_portal;
    bool m_paletteDark = false;
};
