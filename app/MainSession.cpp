// Main window: sessions (the document, the view and the intervals saved together) and the
// interval bands over the panel and the depth overview.
#include "app/MainUnit.h"

#include "app/DepthOverview.h"
#include "app/DlgSessions.h"
#include "app/StrativSession.h"
#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace {

constexpr const char* kLastSession = "last.vxs";
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

} // namespace

void TFormMain::RefreshIntervals()
{
    PanelCurves->Repaint();
    PBoxAllDepth->update();
}

void TFormMain::PanelCurvesDrawingAreaPaint(QPainter& canvas, const QRect& area, double firstDepth,
                                            double lastDepth, TRasterOp& op)
{
    canvas.fillRect(area, Qt::black);
    if (UseNewIntervals)
        Intervals.DrawIntervals(canvas, area, static_cast<float>(firstDepth), static_cast<float>(lastDepth));
    op = SRCINVERT;
}

void TFormMain::MMISessionsClick()
{
    TDlgSessions::Actions actions;
    actions.load = [this](const QString& path) { return LoadSession(path); };
    actions.save = [this](const QString& path) { return SaveSession(path); };
    actions.canSave = [this] { return lasFile_ != nullptr; };
    DlgSessions->Execute(QString::fromStdString(SessionsDir), std::move(actions));
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
    const QFileInfo file(path);
    const QString lasCopy = file.completeBaseName() + QStringLiteral(".las");
    if (!lasFile_->WriteLas(file.dir().filePath(lasCopy).toStdString())) {
        ShowSessionError(this, QStringLiteral("Не удалось записать файл ") + file.dir().filePath(lasCopy));
        return false;
    }
    StrativSession session = CaptureSession(lasCopy.toStdString());
    std::string error;
    if (!session.Save(path.toStdString(), Intervals, error)) {
        ShowSessionError(this, QString::fromStdString(error));
        return false;
    }
    return true;
}

bool TFormMain::LoadSession(const QString& path)
{
    if (!AskSaveChanges())
        return false;
    StrativSession session;
    std::string error;
    if (!session.Load(path.toStdString(), error)) {
        ShowSessionError(this, QString::fromStdString(error));
        return false;
    }
    const QString lasPath = QFileInfo(path).dir().filePath(QString::fromStdString(session.LasCopyName));
    auto document = std::make_unique<TLASFile>(lasPath.toStdString(), 2);
    if (!document->IsLoaded() || document->GetCurvesCount() < 2) {
        ShowSessionError(this, QStringLiteral("Не удалось загрузить файл\n") + lasPath + QStringLiteral("\n") +
                                   QString::fromStdString(document->GetLoadError()));
        return false;
    }
    ReplaceDocument(std::move(document));
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

void TFormMain::SaveLastSession()
{
    if (lasFile_ && !SessionsDir.empty())
        SaveSession(QDir(QString::fromStdString(SessionsDir)).filePath(QString::fromLatin1(kLastSession)));
}
