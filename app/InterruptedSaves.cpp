// The start-up question about saves in place that were cut short.
#include "app/InterruptedSaves.h"

#include "core/SaveJournal.h"
#include "platform/DialogRunner.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"

#include <cerrno>

void StartSaveJournal(const std::string& profileDir)
{
    savejournal::SetFolder(profileDir + "journal/");
    for (const InterruptedSave& save : savejournal::InterruptedSaves()) {
        const QString target = platform::ShownFileName(save.target);
        const QString copy = platform::ShownFileName(save.copy);
        const int answer = platform::MessageBox(
            nullptr,
            QStringLiteral("Сохранение файла %1 было прервано. Старое содержимое сохранено в %2. Восстановить его?")
                .arg(target, copy),
            platform::ApplicationTitle(), platform::MB_YESNO | platform::MB_ICONQUESTION);
        if (answer == platform::IDYES) {
            if (savejournal::Restore(save))
                continue;
            const int error = errno;
            platform::MessageBox(nullptr,
                                 platform::WriteFailureText(platform::FileNameFromBytes(save.target), error) +
                                     QStringLiteral("\nСтарое содержимое осталось в %1.").arg(copy),
                                 QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
            continue;
        }
        // The copy stays where it is: the clean-up of temporaries removes only what is recorded as one.
        savejournal::Forget(save);
        platform::MessageBox(nullptr, QStringLiteral("Файл %1 оставлен как есть. Старое содержимое сохранено в %2.")
                                          .arg(target, copy),
                             platform::ApplicationTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
    }
}
