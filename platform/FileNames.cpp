#include "platform/FileNames.h"

#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <string_view>

namespace platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr std::string_view kStoredBytesMark = "file://";

// Length of the valid UTF-8 sequence at `at`, 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(const std::string& bytes, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;  // no encoded surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

bool IsEscapedByte(char16_t c)
{
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF;
}

std::filesystem::path NativePath(const QString& name)
{
    return std::filesystem::path(FileNameToBytes(name));
}

}  // namespace

QString FileNameFromBytes(const std::string& bytes)
{
    QString name;
    std::size_t plain = 0;  // start of the valid run not yet decoded
    const auto flush = [&](std::size_t end) {
        name += QString::fromUtf8(bytes.data() + plain, static_cast<qsizetype>(end - plain));
    };
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        flush(at);
        name += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[at])));
        plain = ++at;
    }
    flush(bytes.size());
    return name;
}

std::string FileNameToBytes(const QString& name)
{
    std::string bytes;
    qsizetype plain = 0;  // start of the run not yet converted
    const auto flush = [&](qsizetype end) {
        bytes += QStringView(name).mid(plain, end - plain).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        // A high surrogate followed by a low one is a character beyond the BMP, never an escape.
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (IsEscapedByte(c)) {
            flush(i);
            bytes += static_cast<char>(c - kEscapeBase);
            plain = i + 1;
        }
    }
    flush(name.size());
    return bytes;
}

QString ShownFileName(const QString& name)
{
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate())
            ++i;
        else if (shown[i].isSurrogate())
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

QString ShownFileName(const std::string& bytes)
{
    return ShownFileName(FileNameFromBytes(bytes));
}

QString FileNameOfShown(const QString& shown)
{
    if (!shown.contains(QChar::ReplacementCharacter) || KindOfPath(shown) != PathKind::Missing)
        return shown;
    std::filesystem::path found;
    for (const std::filesystem::path& part : NativePath(shown)) {
        std::filesystem::path next = found / part;
        std::error_code error;
        if (!std::filesystem::exists(next, error)) {
            const QString wanted = FileNameFromBytes(part.string());
            int matches = 0;
            for (std::filesystem::directory_iterator entry(found.empty() ? "." : found, error), end;
                 !error && entry != end; entry.increment(error))
                if (ShownFileName(entry->path().filename().string()) == wanted && ++matches == 1)
                    next = found / entry->path().filename();
            if (matches != 1)
                next = found / part;
        }
        found = next;
    }
    return FileNameFromBytes(found.string());
}

QString AbsoluteFileName(const QString& name)
{
    if (name.isEmpty())
        return name;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(NativePath(name), error);
    return error ? name : FileNameFromBytes(absolute.lexically_normal().string());
}

QString LocalFileOfUrl(const QUrl& url)
{
    if (!url.isLocalFile())
        return QString();
    // The percent-encoded path holds the name's bytes; toLocalFile() would decode them lossily.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    const QString path = FileNameFromBytes(bytes.toStdString());
    const QString host = url.host();
    return host.isEmpty() || host == QStringLiteral("localhost") ? path : QStringLiteral("//") + host + path;
}

QUrl UrlOfLocalFile(const QString& name)
{
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(FileNameToBytes(name)).toPercentEncoding("/"));
}

QString FolderOfFile(const QString& name)
{
    return FileNameFromBytes(NativePath(AbsoluteFileName(name)).parent_path().string());
}

QString FileInFolder(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? name : FileNameFromBytes((NativePath(folder) / NativePath(name)).string());
}

std::string StoredFileName(const QString& name)
{
    const std::string bytes = FileNameToBytes(name);
    // A settings text holds a control byte (a line break above all) only as a blank.
    const bool control = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    if (!control && !bytes.starts_with(kStoredBytesMark) && FileNameFromBytes(bytes) == QString::fromUtf8(bytes))
        return bytes;
    return std::string(kStoredBytesMark) + QByteArray::fromStdString(bytes).toPercentEncoding("/").toStdString();
}

QString FileNameFromStored(const std::string& text)
{
    if (!text.starts_with(kStoredBytesMark))
        return FileNameFromBytes(text);
    const QByteArray encoded = QByteArray::fromStdString(text.substr(kStoredBytesMark.size()));
    return FileNameFromBytes(QByteArray::fromPercentEncoding(encoded).toStdString());
}

std::string StoredFileNameBytes(const std::string& bytes)
{
    return StoredFileName(FileNameFromBytes(bytes));
}

std::string FileNameBytesFromStored(const std::string& text)
{
    return FileNameToBytes(FileNameFromStored(text));
}

PathKind KindOfPath(const QString& name)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(NativePath(name), error);
    if (error || !std::filesystem::exists(status))
        return PathKind::Missing;
    if (std::filesystem::is_regular_file(status))
        return PathKind::File;
    return std::filesystem::is_directory(status) ? PathKind::Folder : PathKind::Other;
}

bool RemoveFile(const QString& name)
{
    std::error_code error;
    return std::filesystem::remove(NativePath(name), error);
}

bool SameFile(const QString& a, const QString& b)
{
    if (KindOfPath(a) != PathKind::Missing && KindOfPath(b) != PathKind::Missing) {
        std::error_code firstError;
        std::error_code secondError;
        const std::filesystem::path first = std::filesystem::canonical(NativePath(a), firstError);
        const std::filesystem::path second = std::filesystem::canonical(NativePath(b), secondError);
        return !firstError && !secondError && first == second;
    }
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace platform
