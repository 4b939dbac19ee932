#pragma once

#include "ScoreStore.h"

#include <QSettings>
#include <QString>
#include <memory>

class QFileSystemWatcher;

// The best time in the per-user QSettings file, key "highScore".
class SettingsStore final : public ScoreStore
{
public:
    // The application's own settings file (organisation and application names must be set).
    SettingsStore();
    // A settings file at an explicit path; tests use this to stay out of the user's files.
    explicit SettingsStore(const QString &filePath);
    ~SettingsStore() override;

    double load() override;
    bool saveBest(double seconds) override;
    bool saveReset() override;
    QString location() const override;
    void watch(std::function<void()> changed) override;

private:
    std::unique_ptr<QSettings> open() const;
    bool written(QSettings &settings);
    void keepWatching();

    QString m_filePath;
    QString m_location;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
};
