// Print-title variables: date, time, file, printed interval and scale, program data, markers.
#include "printing/TemplateVariables.h"

#include "platform/FileNames.h"
#include "platform/NumberText.h"

#include <QDateTime>
#include <QFileInfo>
#include <array>
#include <utility>

namespace {

struct Sources
{
    TDepthSource top;
    TDepthSource bottom;
    TScaleSource scale;
    TMarkValueSource mark;
    TDocumentNameSource document;
    TDocumentNameSource place;
    QString version;
    QString mail;
    QString web;
};

Sources& sources()
{
    static Sources s;
    return s;
}

QString Fixed2(double value)
{
    return platform::FloatToStrF(value, 7, 2);
}

int MarkCode(const QString& name)
{
    static const std::array<std::pair<const char*, int>, 5> codes{
        {{"metGK", 1}, {"metPERF", 2}, {"metKM", 3}, {"metPODOSHVA", 4}, {"metDIST", 5}}};
    for (const auto& [text, code] : codes)
        if (name == QLatin1String(text))
            return code;
    return 0;
}

}  // namespace

QString GetTemplateVariableValue(const QString& name)
{
    const Sources& s = sources();
    if (name == QLatin1String("sdate"))
        return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (name == QLatin1String("stime"))
        return QTime::currentTime().toString(QStringLiteral("hh:mm"));
    if (name == QLatin1String("lasfile"))
        return platform::ShownFileName(QFileInfo(DocumentPath()).fileName());
    if (name == QLatin1String("interval"))
        return s.top && s.bottom ? Fixed2(s.top()) + QStringLiteral(" - ") + Fixed2(s.bottom()) : QString();
    if (name == QLatin1String("prnscale"))
        return s.scale ? QStringLiteral("1:") + QString::number(s.scale()) : QString();
    if (name == QLatin1String("progver"))
        return s.version;
    if (name == QLatin1String("progmail"))
        return s.mail;
    if (name == QLatin1String("progweb"))
        return s.web;
    if (const int code = MarkCode(name))
        return s.mark ? Fixed2(s.mark(code)) : QString();
    return {};
}

void SetPrintValueSources(TDepthSource top, TDepthSource bottom, TScaleSource scale)
{
    Sources& s = sources();
    s.top = std::move(top);
    s.bottom = std::move(bottom);
    s.scale = std::move(scale);
}

void ClearPrintValueSources()
{
    SetPrintValueSources({}, {}, {});
}

void SetMarkValueSource(TMarkValueSource source)
{
    sources().mark = std::move(source);
}

void SetProgramValues(const QString& version, const QString& mail, const QString& web)
{
    Sources& s = sources();
    s.version = version;
    s.mail = mail;
    s.web = web;
}

void SetDocumentNameSource(TDocumentNameSource source)
{
    sources().document = std::move(source);
}

QString DocumentPath()
{
    const Sources& s = sources();
    return s.document ? s.document() : QString();
}

void SetDocumentPlaceSource(TDocumentNameSource source)
{
    sources().place = std::move(source);
}

QString DocumentPlace()
{
    const Sources& s = sources();
    return s.place ? s.place() : DocumentPath();
}

QString StartFolder(const QString& otherwise)
{
    const QString document = DocumentPlace();
    return document.isEmpty() ? otherwise : platform::FolderOfFile(document);
}
