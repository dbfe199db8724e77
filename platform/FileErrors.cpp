#include "platform/FileErrors.h"

#include "core/SaveJournal.h"
#include "platform/FileNames.h"

#include <cerrno>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

namespace {

// Below this much free space a failed write is put down to a full disk.
constexpr unsigned long long kNearlyFull = 1ull << 20;
// The probe's code for an existing file the user may not write.
constexpr int kFileNotWritable = -1;

int ProbeFolder(const QString& path)
{
    const QString folderName = FolderOfFile(path);
    const std::string file = FileNameToBytes(AbsoluteFileName(path));
    const std::string folder = FileNameToBytes(folderName);
    if (KindOfPath(folderName) != PathKind::Folder)
        return ENOENT;
    const PathKind kind = KindOfPath(path);
    if (kind == PathKind::Folder)
        return EISDIR;
    if (kind == PathKind::Other)
        return EINVAL;
    // An existing file is written in place when its folder may not be written.
    if (kind == PathKind::File && access(file.c_str(), W_OK) != 0)
        return errno == EROFS ? EROFS : kFileNotWritable;
    if (kind == PathKind::Missing && access(folder.c_str(), W_OK) != 0)
        return errno == EROFS ? EROFS : EACCES;
    struct statvfs space {};
    if (statvfs(folder.c_str(), &space) == 0 &&
        static_cast<unsigned long long>(space.f_bavail) * space.f_frsize < kNearlyFull)
        return ENOSPC;
    return 0;
}

}  // namespace

QString WriteErrorReason(int errorCode)
{
    switch (errorCode) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("Нет места на диске");
    case kFileNotWritable: return QStringLiteral("У вас нет прав на запись в этот файл");
    case EACCES:
    case EPERM: return QStringLiteral("Нет доступа к файлу или папке");
    case EROFS: return QStringLiteral("Диск доступен только для чтения");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("Папка не существует");
    case EISDIR: return QStringLiteral("На месте файла находится папка");
    case EINVAL: return QStringLiteral("На месте файла находится не обычный файл (канал или устройство)");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("Файл занят другой программой");
    case ENAMETOOLONG: return QStringLiteral("Слишком длинное имя файла");
    case EFBIG: return QStringLiteral("Файл больше, чем допускает система");
    case ELOOP: return QStringLiteral("Символические ссылки образуют петлю");
    case EIO: return QStringLiteral("Ошибка ввода-вывода");
    case savejournal::kJournalDiskFull:
        return QStringLiteral("Нет места на диске профиля программы (%1)").arg(ShownFileName(savejournal::Folder()));
    case 0: return QStringLiteral("Ошибка записи");
    default: return QStringLiteral("Ошибка записи (код %1)").arg(errorCode);
    }
}

QString WriteFailureReason(const QString& path, int errorCode)
{
    const int probed = ProbeFolder(path);
    return WriteErrorReason(probed != 0 ? probed : errorCode);
}

QString WriteFailureText(const QString& path, int errorCode)
{
    return QStringLiteral("Не удалось записать файл\n") + ShownFileName(path) + QStringLiteral("\n") +
           WriteFailureReason(path, errorCode);
}

}  // namespace platform
