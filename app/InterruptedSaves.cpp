// The start-up question about saves in place that were cut short.
#include "app/InterruptedSaves.h"

#include "core/SaveJournal.h"
#include "platform/DialogRunner.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"
#include "platform/RussianTexts.h"

#include <QDateTime>
#include <cerrno>

namespace {

QString DateAndSize(long long time, long long size)
{
    return platform::DateTimeText(QDateTime::fromSecsSinceEpoch(time)) + QStringLiteral(", ") +
           platform::FileSizeText(size);
}

// Over a file changed since, "Нет" is the default: the newer content would be lost.
int AskToRestore(const InterruptedSave& save, const QString& target, const QString& copy)
{
    QString text = QStringLiteral("Сохранение файла %1 было прервано. ").arg(target);
    if (save.changed) {
        const QString now = save.fileSize < 0
                                ? QStringLiteral("файла сейчас нет")
                                : QStringLiteral("файл сейчас — ") + DateAndSize(save.fileTime, save.fileSize);
        text += QStringLiteral("После этого файл изменился: сохранённая копия — %1; %2. ")
                    .arg(DateAndSize(save.copyTime, save.oldSize), now);
    }
    text += QStringLiteral("Старое содержимое сохранено в %1. Восстановить его?").arg(copy);
    return platform::MessageBox(nullptr, text, platform::ApplicationTitle(),
                                platform::MB_YESNO | platform::MB_ICONQUESTION |
                                    (save.changed ? platform::MB_DEFBUTTON2 : 0));
}

}  // namespace

void StartSaveJournal(const std::string& profileDir)
{
    savejournal::SetFolder(profileDir + "journal/");
    savejournal::RemoveLeftTemporaries();
    for (const InterruptedSave& save : savejournal::InterruptedSaves()) {
        const QString target = platform::ShownFileName(save.target);
        const QString copy = platform::ShownFileName(save.copy);
        if (AskToRestore(save, target, copy) == platform::IDYES) {
            if (savejournal::Restore(save))
                continue;
            const int error = errno;
            platform::MessageBox(nullptr,
                                 platform::WriteFailureText(platform::FileNameFromBytes(save.target), error) +
                                     QStringLiteral("\nСтарое содержимое осталось в %1.").arg(copy),
                                 QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
            continue;
        }
        // The copy stays where it is: no clean-up takes a copy for a temporary.
        savejournal::Forget(save);
        platform::MessageBox(nullptr, QStringLiteral("Файл %1 оставлен как есть. Старое содержимое сохранено в %2.")
                                          .arg(target, copy),
                             platform::ApplicationTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
    }
}
