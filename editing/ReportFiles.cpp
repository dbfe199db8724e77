// Writing the text files of the report windows.
#include "editing/ReportFiles.h"

#include "core/AtomicFile.h"
#include "platform/DialogRunner.h"

#include <QFile>

bool SaveReportText(QWidget* owner, const QString& path, const QString& text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray bytes = crlf.toUtf8();
    if (WriteFileAtomically(QFile::encodeName(path).toStdString(), std::string_view(bytes.constData(), bytes.size())))
        return true;
    platform::MessageBox(owner, QStringLiteral("Не удалось записать файл\n'") + path + QStringLiteral("'"),
                         QStringLiteral("Ошибка"), platform::MB_ICONERROR);
    return false;
}
