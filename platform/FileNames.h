// File names as the system holds them: bytes, not always UTF-8 (names unpacked from Windows
// archives hold CP1251 or CP866 bytes). A QString path keeps every byte: valid UTF-8 reads as
// usual, each byte of an invalid sequence as the lone surrogate U+DC80 + byte.
#pragma once

#include <QString>
#include <QUrl>
#include <string>

namespace platform {

QString FileNameFromBytes(const std::string& bytes);
// Gives back the bytes FileNameFromBytes read; plain UTF-8 for any ordinary name.
std::string FileNameToBytes(const QString& name);
// The name as shown to the user: undecodable bytes as U+FFFD.
QString ShownFileName(const QString& name);
// The name made absolute from the current folder and cleaned (QFileInfo would decode it lossily).
QString AbsoluteFileName(const QString& name);
// The local file a URL names (empty for other URLs), its bytes kept.
QString LocalFileOfUrl(const QUrl& url);

enum class PathKind { Missing, File, Folder, Other };
PathKind KindOfPath(const QString& name);
// Both names lead to one file (links followed), or (where one is missing) are one absolute name.
bool SameFile(const QString& a, const QString& b);

}  // namespace platform
