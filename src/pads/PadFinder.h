#pragma once

#include <QFileSystemWatcher>
#include <QObject>

// Whether the machine has a game pad, as udev decides (ID_INPUT_JOYSTICK): an input device with a
// button in the joystick and gamepad range. Reads only sysfs, so that nothing of SDL is loaded
// before a pad is there.
class PadFinder : public QObject
{
    Q_OBJECT

public:
    // `classes` stands for /sys/class/input, `devices` for /dev/input, which is watched.
    explicit PadFinder(const QString &classes = QStringLiteral("/sys/class/input"),
                       const QString &devices = QStringLiteral("/dev/input"), QObject *parent = nullptr);

    // Looks at every input device now.
    bool hasPad() const;
    // `keys`: a device's capabilities/key, hex words of a long each, the highest first.
    static bool hasPadButtons(const QByteArray &keys);

signals:
    void devicesChanged();

private:
    QString m_classes;
    QFileSystemWatcher m_devices;
};
