// Writing the text files of the report windows.
#include "editing/ReportFiles.h"

#include "core/AtomicFile.h"
#include "platform/DialogRunner.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"

bool SaveReportText(QWidget* owner, const QString& path, const QString& text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray bytes = crlf.toUtf8();
    AtomicFileWriter writer(platform::FileNameToBytes(path));
    writer.Write(std::string_view(bytes.constData(), bytes.size()));
    if (writer.Commit())
        return true;
    platform::MessageBox(owner, platform::WriteFailureText(path, writer.SystemError()), QStringLiteral("Ошибка"),
                         platform::MB_ICONERROR);
    return false;
}
