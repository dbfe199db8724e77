// Main window: sessions (the document, the view and the intervals saved together) and the
// interval bands over the panel and the depth overview.
#include "app/MainUnit.h"

#include "app/DepthOverview.h"
#include "app/DlgSessions.h"
#include "app/StrativSession.h"
#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

const QSize kPreviewSize(320, 240);

void ShowSessionError(QWidget* owner, const QString& text)
{
    platform::MessageBox(owner, text, QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
}

std::string PreviewPng(const QImage& panel)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    panel.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(&buffer, "PNG");
    return bytes.toStdString();
}

// A name for a session's LAS copy that no file in its folder has yet.
QString FreshCopyName(const QString& session)
{
    const QString stem = QFileInfo(session).completeBaseName() + QStringLiteral("-") +
                         QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddhhmmsszzz"));
    const QString folder = platform::FolderOfFile(session);
    QString name = stem + QStringLiteral(".las");
    for (int n = 2; platform::KindOfPath(platform::FileInFolder(folder, name)) != platform::PathKind::Missing; ++n)
        name = stem + QStringLiteral("-") + QString::number(n) + QStringLiteral(".las");
    return name;
}

// The session's name in the name FreshCopyName gave its copy.
QString SessionNameOfCopy(const QString& copy)
{
    static const QRegularExpression stamp(QStringLiteral("-\\d{17}(-\\d+)?$"));
    return QFileInfo(copy).completeBaseName().remove(stamp);
}

// The copy is whole: its last row lies at the STOP of its ~W and every row has a value for every
// curve.
bool IsWholeSessionCopy(const TLASFile& copy)
{
    const TLasParsParsedString* stop = copy.GetParser().GetWellSection().FindLineByCode(kLineStop);
    bool ok = false;
    const double stopDepth = stop ? QString::fromUtf8(stop->Value()).trimmed().toDouble(&ok) : 0.0;
    // The last row of a file written bottom up holds the top depth.
    const double last = copy.GetParser().IsDescending() ? copy.GetTopDepth() : copy.GetBottomDepth();
    const double tolerance = 0.5 * std::pow(10.0, -copy.GetDepthDecimals()) + std::abs(last) * 1e-6;
    return ok && std::abs(stopDepth - last) <= tolerance && copy.GetParser().GetDataSource().rowsComplete;
}

} // namespace

void TFormMain::PanelCurvesDrawingAreaPaint(QPainter& canvas, const QRect& area, double firstDepth,
                                            double lastDepth, TRasterOp& op)
{
    canvas.fillRect(area, Qt::black);
    if (UseNewIntervals())
        Intervals.DrawIntervals(canvas, area, static_cast<float>(firstDepth), static_cast<float>(lastDepth));
    op = SRCINVERT;
}

void TFormMain::MMISessionsClick()
{
    TDlgSessions::Actions actions;
    actions.load = [this](const QString& path) { return LoadSession(path); };
    actions.save = [this](const QString& path) { return SaveSession(path); };
    actions.canSave = [this] { return lasFile_ != nullptr; };
    actions.documentFile = [this] { return lasFile_ ? platform::FileNameFromBytes(lasFile_->GetFileName()) : QString(); };
    actions.detachDocument = [this] {
        if (!lasFile_)
            return;
        lasFile_->SetFileName({});
        workFile_.clear();
        SetModified();
        UpdateCaption();
    };
    DlgSessions->Execute(platform::FileNameFromBytes(SessionsDir), std::move(actions));
}

StrativSession TFormMain::CaptureSession(const std::string& lasCopyName) const
{
    StrativSession session;
    session.LasCopyName = lasCopyName;
    session.PreviewPng = PreviewPng(PanelCurves->Bitmap());
    session.View.DepthScale = DepthScale;
    session.View.DepthOffset = PanelCurves->YAxisInfo.Offset();
    session.View.ValueOffset = PanelCurves->XAxisInfo.Offset();
    session.View.CaptionsShown = ui->MIShowCurveCaptions->isChecked();
    for (int i = 0; i < PanelCurves->GetCurvesCount(); ++i) {
        const TCurve* curve = PanelCurves->GetCurve(i);
        session.Curves.push_back({i + 1, curve->Color(), curve->LineWidth(), curve->PixelsPerUnit(), curve->XOffset(),
                                  curve->IsVisible(), curve->IsSelected()});
    }
    return session;
}

bool TFormMain::SaveSession(const QString& path)
{
    if (!lasFile_)
        return false;
    // The session being replaced stays whole until the new one is: the new LAS copy goes under a
    // fresh name, the session file naming it replaces the old one, and only then is the old copy
    // removed.
    const QString folder = platform::FolderOfFile(path);
    StrativSession previous;
    std::string error;
    const bool replacing = previous.Load(platform::FileNameToBytes(path), error);
    const QString lasCopy = FreshCopyName(path);
    const QString copyPath = platform::FileInFolder(folder, lasCopy);
    // The copy holds every value of every row, or it would be taken for a damaged one.
    if (!lasFile_->WriteLas(platform::FileNameToBytes(copyPath), true)) {
        ShowSessionError(this, platform::WriteFailureText(copyPath, lasFile_->GetWriteError()));
        return false;
    }
    StrativSession session = CaptureSession(platform::FileNameToBytes(lasCopy));
    if (SessionOfCopy(workFile_).isEmpty())  // a copy opened as a file is no place for the work
        session.OriginalFile = platform::FileNameToBytes(workFile_);
    if (!session.Save(platform::FileNameToBytes(path), Intervals, error)) {
        platform::RemoveFile(copyPath);
        ShowSessionError(this, QString::fromStdString(error));
        return false;
    }
    if (replacing && previous.LasCopyName != platform::FileNameToBytes(lasCopy)) {
        const QString oldCopy = platform::FileInFolder(folder, platform::FileNameFromBytes(previous.LasCopyName));
        // A document opened from the old copy now lives in the new one.
        if (platform::SameFile(platform::FileNameFromBytes(lasFile_->GetFileName()), oldCopy)) {
            lasFile_->SetFileName(platform::FileNameToBytes(platform::AbsoluteFileName(copyPath)));
            UpdateCaption();
        }
        platform::RemoveFile(oldCopy);
    }
    return true;
}

bool TFormMain::LoadSession(const QString& path)
{
    if (!AskSaveChanges())
        return false;
    StrativSession session;
    std::string error;
    if (!session.Load(platform::FileNameToBytes(path), error)) {
        ShowSessionError(this, QString::fromStdString(error));
        return false;
    }
    const QString lasPath =
        platform::FileInFolder(platform::FolderOfFile(path), platform::FileNameFromBytes(session.LasCopyName));
    auto document = std::make_unique<TLASFile>(platform::FileNameToBytes(lasPath), 2);
    if (!document->IsLoaded() || document->GetCurvesCount() < 2) {
        ShowSessionError(this, QStringLiteral("Не удалось загрузить файл\n") + platform::ShownFileName(lasPath) +
                                   QStringLiteral("\n") +
                                   QString::fromStdString(document->GetLoadError()));
        return false;
    }
    if (!IsWholeSessionCopy(*document)) {
        ShowSessionError(this, QString::fromUtf8(StrativSession::kDamaged));
        return false;
    }
    ReplaceDocument(std::move(document));
    workFile_ = platform::FileNameFromBytes(session.OriginalFile);
    ApplySessionView(session);
    session.RestoreIntervals(Intervals, lasFile_->GetTopDepth(), lasFile_->GetBottomDepth());
    SetModified(false);
    RefreshIntervals();
    return true;
}

void TFormMain::ApplySessionView(const StrativSession& session)
{
    for (const SessionCurve& stored : session.Curves) {
        TCurve* curve = PanelCurves->GetCurve(stored.DocumentIndex - 1);
        if (!curve)
            continue;
        curve->SetColor(stored.Color & 0xFFFFFFu);
        curve->SetLineWidth(stored.PenWidth);
        curve->SetPixelsPerUnit(stored.PixelsPerUnit);
        curve->SetXOffset(stored.XOffset);
        curve->SetVisible(stored.Visible);
        curve->SetSelected(stored.Selected);
    }
    ui->MIShowCurveCaptions->setChecked(session.View.CaptionsShown);
    FillCurveList(session.View.CaptionsShown);
    SetDepthScale(session.View.DepthScale);
    PanelCurves->XAxisInfo.SetOffset(session.View.ValueOffset);
    PanelCurves->YAxisInfo.SetOffset(session.View.DepthOffset);
    PanelCurves->UpdateCurves();
    SyncDepthControls();
}

QString TFormMain::SessionOfCopy(const QString& file) const
{
    if (SessionsDir.empty() || file.isEmpty())
        return {};
    return platform::SameFile(platform::FolderOfFile(file), platform::FileNameFromBytes(SessionsDir))
               ? SessionNameOfCopy(file)
               : QString();
}

QString TFormMain::DocumentSession() const
{
    return lasFile_ ? SessionOfCopy(platform::FileNameFromBytes(lasFile_->GetFileName())) : QString();
}

QString TFormMain::DocumentPlace() const
{
    if (!lasFile_)
        return {};
    const QString session = DocumentSession();
    if (session.isEmpty())
        return platform::AbsoluteFileName(platform::FileNameFromBytes(lasFile_->GetFileName()));
    const QString recent = RecentFiles().First();
    const QString folder = recent.isEmpty() ? QDir::homePath() : platform::FolderOfFile(recent);
    return platform::FileInFolder(folder, session + QStringLiteral(".las"));
}

void TFormMain::SaveLastSession()
{
    if (lasFile_ && !SessionsDir.empty())
        SaveSession(platform::FileInFolder(platform::FileNameFromBytes(SessionsDir),
                                           QString::fromLatin1(TDlgSessions::kLastSessionName) +
                                               QString::fromLatin1(StrativSession::kExtension)));
}
