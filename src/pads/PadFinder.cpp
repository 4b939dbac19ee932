#include "PadFinder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>

PadFinder::PadFinder(const QString &classes, const QString &devices, QObject *parent)
    : QObject(parent)
    , m_classes(classes)
{
    if (QFileInfo(devices).isDir())
        m_devices.addPath(devices);
    connect(&m_devices, &QFileSystemWatcher::directoryChanged, this, &PadFinder::devicesChanged);
}

bool PadFinder::hasPad() const
{
    // No name filter: QDir's wildcards compile a regular expression, a few hundred kB of peak memory for a prefix.
    const QDir classes(m_classes);
    for (const QString &device : classes.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!device.startsWith(QLatin1String("event")))
            continue;
        QFile keys(classes.filePath(device + QStringLiteral("/device/capabilities/key")));
        if (keys.open(QIODevice::ReadOnly) && hasPadButtons(keys.readAll()))
            return true;
    }
    return false;
}

bool PadFinder::hasPadButtons(const QByteArray &keys)
{
    constexpr int wordBits = sizeof(unsigned long) * CHAR_BIT;
    constexpr int first = 0x120, last = 0x13f; // BTN_JOYSTICK to the last gamepad button
    const QList<QByteArray> words = keys.simplified().split(' ');
    for (const QByteArray &word : words) { // a damaged file is no pad, whatever bits it seems to have
        bool ok = false;
        word.toULong(&ok, 16);
        if (!ok)
            return false;
    }
    for (int bit = first; bit <= last; ++bit) {
        const qsizetype word = words.size() - 1 - bit / wordBits;
        if (word >= 0 && (words[word].toULong(nullptr, 16) >> bit % wordBits & 1))
            return true;
    }
    return false;
}
