// Russian wording of a failed file write: the file and the reason.
#pragma once

#include <QString>

namespace platform {

// The reason for a system error code (errno) of a write; a general text for unknown codes.
QString WriteErrorReason(int errorCode);
// Why a write of the file failed: found from the target and its folder (missing, not writable,
// a folder in the file's place, full), else from `errorCode`, else a general reason.
QString WriteFailureReason(const QString& path, int errorCode = 0);
// "Не удалось записать файл\n<path>\n<reason>".
QString WriteFailureText(const QString& path, int errorCode = 0);

}  // namespace platform
