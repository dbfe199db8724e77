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
QString ShownFileName(const std::string& bytes);
// The file a name read off the screen stands for: Qt's file dialog gives names with their
// undecodable bytes as U+FFFD. Each part that does not exist is matched to the one entry of its
// folder shown so; a part matching none or several is kept as it is (a new file's name).
QString FileNameOfShown(const QString& shown);
// The name made absolute from the current folder and cleaned (QFileInfo would decode it lossily).
QString AbsoluteFileName(const QString& name);
// The local file a URL names (empty for other URLs), its bytes kept.
QString LocalFileOfUrl(const QUrl& url);
// The file URL of an absolute name, its bytes percent-encoded (QUrl::fromLocalFile would lose them).
QUrl UrlOfLocalFile(const QString& name);
// The folder holding `name`, made absolute, its bytes kept (QFileInfo would decode them lossily).
QString FolderOfFile(const QString& name);
// `name` inside `folder`; an absolute `name` stays as it is, an empty `folder` leaves it relative.
QString FileInFolder(const QString& folder, const QString& name);

// A name as kept in a settings or session text, which stays UTF-8: a name whose bytes are UTF-8
// with no control byte is kept as it is, so entries written before read as they were; any other
// name is kept as "file://" and its bytes percent-encoded (for an absolute name a file URL), as is
// a UTF-8 name that itself begins with "file://", so every text reads back one way.
std::string StoredFileName(const QString& name);
QString FileNameFromStored(const std::string& text);
// The same for a name held as its bytes.
std::string StoredFileNameBytes(const std::string& bytes);
std::string FileNameBytesFromStored(const std::string& text);

enum class PathKind { Missing, File, Folder, Other };
PathKind KindOfPath(const QString& name);
// Removes the file (QFile::remove would look for the name decoded lossily); false when it stays.
bool RemoveFile(const QString& name);
// Both names lead to one file (links followed), or (where one is missing) are one absolute name.
bool SameFile(const QString& a, const QString& b);

}  // namespace platform
