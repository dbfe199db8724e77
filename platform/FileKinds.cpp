// Recognising a file by its content.
#include "platform/FileKinds.h"

#include "core/CodePages.h"
#include "core/IniStore.h"
#include "core/StringUtils.h"
#include "platform/DialogRunner.h"
#include "platform/FileNames.h"

#include <fstream>

namespace platform {
namespace {

std::function<QString()>& OpenDocumentSource()
{
    static std::function<QString()> source;
    return source;
}

// Enough of a file to know it: every signature and the first sections of a settings text.
constexpr qint64 kHeadBytes = 64 * 1024;

bool IniHas(const IniStore& ini, const char* section, const char* key, const char* value)
{
    const std::string* found = ini.FindValue(section, key);
    return found && (!value || EqualIgnoringAsciiCase(Trim(*found), value));
}

// The head as text with ASCII kept: UTF-16 decoded (a cut last unit dropped), a UTF-8 byte order
// mark removed, any other bytes as they are.
std::string HeadText(const QByteArray& head)
{
    std::string_view bytes(head.constData(), static_cast<size_t>(head.size()));
    TextEncoding encoding = TextEncoding::Utf8;
    if (!LooksLikeUtf16(bytes, &encoding))
        return std::string(bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0));
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
        bytes.remove_prefix(2);
    std::string text;
    DecodeUtf16(bytes.substr(0, bytes.size() & ~size_t(1)), encoding, text);
    return text;
}

// A LAS text opens a section ('~') on its first line that is neither blank nor a comment ('#').
bool IsLasText(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view line = Trim(text.substr(pos, end - pos));
        if (!line.empty() && line.front() != '#')
            return line.front() == '~';
        pos = end + 1;
    }
    return false;
}

FileKind KindOf(const QByteArray& head)
{
    if (head.startsWith("%PDF-"))
        return FileKind::Pdf;
    // An EMF header record (type 1) carries " EMF" at offset 40.
    if (head.size() >= 44 && head.startsWith(QByteArray("\x01\x00\x00\x00", 4)) && head.mid(40, 4) == " EMF")
        return FileKind::Emf;
    const bool bitmap = head.size() >= 14 && head.startsWith("BM") && head.mid(6, 4) == QByteArray(4, '\0');
    if (head.startsWith("\x89PNG") || head.startsWith("\xFF\xD8\xFF") || bitmap)
        return FileKind::Picture;
    if (head.startsWith(QByteArray("Q7GRIDV01\0", 10)))
        return FileKind::TitleTemplate;
    const std::string text = HeadText(head);
    if (IsLasText(text))
        return FileKind::Las;
    IniStore ini;
    ini.Parse(text);
    if (IniHas(ini, "TemlateInfo", "Version", nullptr))
        return FileKind::CurveTemplate;
    if (IniHas(ini, "Settings", "Version", "Q7MacroFile_V_1"))
        return FileKind::MacroFile;
    return FileKind::Unchecked;
}

QString KindName(FileKind kind)
{
    switch (kind) {
    case FileKind::Las: return QStringLiteral("LAS файл");
    case FileKind::CurveTemplate: return QStringLiteral("шаблон вывода кривых");
    case FileKind::TitleTemplate: return QStringLiteral("шаблон заголовка");
    case FileKind::MacroFile: return QStringLiteral("файл макроподстановок");
    case FileKind::Pdf: return QStringLiteral("PDF файл");
    case FileKind::Emf: return QStringLiteral("рисунок EMF");
    case FileKind::Picture: return QStringLiteral("рисунок");
    default: return {};
    }
}

}  // namespace

void SetOpenDocumentSource(std::function<QString()> source)
{
    OpenDocumentSource() = std::move(source);
}

QString OtherKindAt(const QString& path, FileKind kind)
{
    if (kind == FileKind::Unchecked || KindOfPath(path) != PathKind::File)
        return {};
    const QString document = OpenDocumentSource() ? OpenDocumentSource()() : QString();
    if (!document.isEmpty() && SameFile(document, path))
        return QStringLiteral("открытый документ");
    std::ifstream file(FileNameToBytes(path), std::ios::binary);
    QByteArray head(kHeadBytes, '\0');
    file.read(head.data(), kHeadBytes);
    head.truncate(static_cast<qsizetype>(file.gcount()));
    const FileKind found = KindOf(head);
    return found == kind ? QString() : KindName(found);
}

bool MayWriteOver(QWidget* owner, const QString& path, FileKind kind, const QString& title)
{
    const QString other = OtherKindAt(path, kind);
    return other.isEmpty() ||
           MessageBox(owner, QStringLiteral("Файл\n") + ShownFileName(path) + QStringLiteral("\n- ") + other +
                                 QStringLiteral(". Записать поверх него?"),
                      title, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace platform
