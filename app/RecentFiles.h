// The most recently opened files, most recent first, kept in the main settings file.
#pragma once

#include <QString>
#include <QStringList>

class TRxIniFile;

class TRecentFiles
{
public:
    static constexpr int MaxCount = 8;

    // Puts the path in front (moving it when listed); the oldest beyond the limit drops out.
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& Items() const { return items_; }
    // The most recent path, "" when none.
    QString First() const;

    // Section "RecentFiles", keys File0 .. File7, each name in its stored form (platform/FileNames).
    void Load(const TRxIniFile& settings);
    void Save(TRxIniFile& settings) const;

private:
    QStringList items_;
};
