// Recent files list.
#include "app/RecentFiles.h"

#include "core/SettingsFile.h"
#include "platform/FileNames.h"

namespace {
const char* const kSection = "RecentFiles";

std::string KeyName(int i)
{
    return "File" + std::to_string(i);
}
}  // namespace

void TRecentFiles::Add(const QString& path)
{
    items_.removeAll(path);
    items_.prepend(path);
    while (items_.size() > MaxCount)
        items_.removeLast();
}

void TRecentFiles::Remove(const QString& path)
{
    items_.removeAll(path);
}

QString TRecentFiles::First() const
{
    return items_.isEmpty() ? QString() : items_.first();
}

void TRecentFiles::Load(const TRxIniFile& settings)
{
    items_.clear();
    for (int i = 0; i < MaxCount; ++i) {
        const QString path = platform::FileNameFromStored(settings.ReadString(kSection, KeyName(i), ""));
        if (!path.isEmpty() && !items_.contains(path))
            items_.append(path);
    }
}

void TRecentFiles::Save(TRxIniFile& settings) const
{
    settings.EraseSection(kSection);
    for (int i = 0; i < items_.size(); ++i)
        settings.WriteString(kSection, KeyName(i), platform::StoredFileName(items_[i]));
}
