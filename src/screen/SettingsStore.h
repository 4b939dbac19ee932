#pragma once

#include "ScoreStore.h"

#include <QSettings>
#include <QString>
#include <memory>

// The best time in the per-user QSettings file, key "highScore".
class SettingsStore final : public ScoreStore
{
public:
    // The application's own settings file (organisation and application names must be set).
    SettingsStore();
    // A settings file at an explicit path; tests use this to stay out of the user's files.
    explicit SettingsStore(const QString &filePath);

    double load() override;
    bool saveBest(double seconds) override;
    void saveReset() override;
    QString location() const override;

private:
    std::unique_ptr<QSettings> open() const;

    QString m_filePath;
};
