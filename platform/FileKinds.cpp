// Recognising a file by its first bytes.
#include "platform/FileKinds.h"

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
    QByteArray text = head.startsWith("\xEF\xBB\xBF") ? head.mid(3) : head;
    if (text.trimmed().startsWith('~'))
        return FileKind::Las;
    IniStore ini;
    ini.Parse(std::string_view(text.constData(), static_cast<size_t>(text.size())));
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
