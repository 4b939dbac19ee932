#include "SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <cmath>

namespace {
const QString highScoreKey = QStringLiteral("highScore");

double toFiniteSeconds(const QVariant &value)
{
    bool ok = false;
    const double seconds = value.toDouble(&ok);
    return ok && std::isfinite(seconds) ? seconds : 0.0;
}
} // namespace

SettingsStore::SettingsStore()
    : m_location(open()->fileName())
{
}

SettingsStore::SettingsStore(const QString &filePath)
    : m_filePath(filePath)
    , m_location(open()->fileName())
{
}

SettingsStore::~SettingsStore() = default;

std::unique_ptr<QSettings> SettingsStore::open() const
{
    if (m_filePath.isEmpty())
        return std::make_unique<QSettings>();
    return std::make_unique<QSettings>(m_filePath, QSettings::IniFormat);
}

double SettingsStore::load()
{
    return toFiniteSeconds(open()->value(highScoreKey));
}

bool SettingsStore::saveBest(double seconds)
{
    auto settings = open();
    // QSettings locks each write, but not a read followed by a write: a second
    // game that still shows an older best must not lower a better one stored since.
    QLockFile lock(settings->fileName() + QStringLiteral(".best-lock"));
    lock.tryLock(2000);
    settings->sync();
    if (settings->contains(highScoreKey) && toFiniteSeconds(settings->value(highScoreKey)) >= seconds)
        return true;
    settings->setValue(highScoreKey, seconds);
    return written(*settings);
}

bool SettingsStore::written(QSettings &settings)
{
    // On disk now, so a crash right after the release cannot lose the record.
    settings.sync();
    // The first write makes the folder there was nothing to watch in.
    if (m_watcher)
        keepWatching();
    // A FormatError only says that the old contents were damaged; they are replaced now.
    return settings.status() != QSettings::AccessError;
}

QString SettingsStore::location() const
{
    return m_location;
}

bool SettingsStore::saveReset()
{
    auto settings = open();
    settings->setValue(highScoreKey, 0);
    return written(*settings);
}

void SettingsStore::watch(std::function<void()> changed)
{
    m_watcher.reset();
    if (!changed)
        return;
    m_watcher = std::make_unique<QFileSystemWatcher>();
    const auto seen = [this, changed] {
        keepWatching();
        changed();
    };
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::fileChanged, seen);
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, seen);
    keepWatching();
}

void SettingsStore::keepWatching()
{
    // Every write replaces the file, which ends a watch on it: the folder's watch sees the new one arrive.
    // Before the first write anywhere there may be no folder either: the nearest one that exists sees it
    // made, and is let go once it is.
    const QFileInfo file(m_location);
    QStringList wanted = {file.absoluteFilePath()};
    for (QDir folder = file.absoluteDir();; folder.setPath(QFileInfo(folder.absolutePath()).path())) {
        wanted << folder.absolutePath();
        if (folder.exists() || folder.isRoot())
            break;
    }
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    for (const QString &path : watched) {
        if (!wanted.contains(path) || !QFileInfo::exists(path))
            m_watcher->removePath(path);
    }
    for (const QString &path : std::as_const(wanted)) {
        if (!watched.contains(path) && QFileInfo::exists(path))
            m_watcher->addPath(path);
    }
}
