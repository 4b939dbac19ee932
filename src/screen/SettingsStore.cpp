#include "SettingsStore.h"

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

SettingsStore::SettingsStore() = default;

SettingsStore::SettingsStore(const QString &filePath)
    : m_filePath(filePath)
{
}

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
    // On disk now, so a crash right after the release cannot lose the record.
    settings->sync();
    // A FormatError only says that the old contents were damaged; they are replaced now.
    return settings->status() != QSettings::AccessError;
}

QString SettingsStore::location() const
{
    return open()->fileName();
}

void SettingsStore::saveReset()
{
    auto settings = open();
    settings->setValue(highScoreKey, 0);
    settings->sync();
}
