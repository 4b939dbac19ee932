#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// Whether the desktop asks for a dark appearance, kept up to date while the game runs.
// Qt 6.4 has no colour-scheme API: ask the freedesktop settings portal where one answers,
// otherwise judge by the lightness of the palette's window colour.
class Appearance : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool dark READ isDark NOTIFY darkChanged)

public:
    explicit Appearance(QObject *parent = nullptr);

    bool isDark() const;

signals:
    void darkChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void portalSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    enum class Scheme { Unknown, Dark, Light };

    void readPortal();
    void setState(Scheme portalScheme, bool paletteDark);
    static Scheme schemeFromPortal(const QVariant &value);

    Scheme m_portalScheme = Scheme::Unknown;
    bool m_paletteDark = false;
};
