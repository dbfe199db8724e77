// Template editor: the page view (size, zoom, scroll, painting, mouse), the ruler's drags and
// the depth scale and range.
#include "printing/FormCurveTemplate.h"

#include "platform/ErrorReport.h"
#include "platform/PainterCanvas.h"
#include "printing/PixelMath.h"
#include "printing/PrintedNumbers.h"
#include "ui_FormCurveTemplate.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QSignalBlocker>
#include <algorithm>

namespace {

constexpr double CmPerInch = 0.39370078740157477;

}  // namespace

int TFormCurveTemplate::PixelsPerInch() const { return std::max(1, ui->PaintBoxCurrentColumn->logicalDpiX()); }

float TFormCurveTemplate::VerticalPixelsPerCm() const { return static_cast<float>(PixelsPerInch() * CmPerInch); }

void TFormCurveTemplate::SetPrintWidth(float width, float height)
{
    pageSize_ = TPrintPageSize(width, height);
    SetPageWidthCm(static_cast<float>(pageSize_.ViewWidth));
    SetPageHeightCm(static_cast<float>(pageSize_.ViewHeight));
    pixelsPerCm_ = PixelsPerInch() * CmPerInch / pageSize_.WidthRatio;
    ui->FormattingBar->SetPixelsPerSm(static_cast<float>(pixelsPerCm_));
}

void TFormCurveTemplate::SetPageWidthCm(float w)
{
    Model.SetPageWidthCm(w);
    QWidget* view = ui->PaintBoxCurrentColumn;
    view->setGeometry(0, view->y(), std::max(1, TruncToInt(PixelsPerInch() * w * CmPerInch)), view->height());
}

void TFormCurveTemplate::SetPageHeightCm(float h)
{
    Model.SetPageHeightCm(h);
    QWidget* view = ui->PaintBoxCurrentColumn;
    view->setGeometry(view->x(), 0, view->width(), std::max(1, TruncToInt(PixelsPerInch() * h * CmPerInch)));
}

void TFormCurveTemplate::TBZoomPageClick(double factor)
{
    if (factor > 0.0)
        pageSize_.Zoom(factor);
    else
        pageSize_.Fit();
    pixelsPerCm_ = PixelsPerInch() * CmPerInch / pageSize_.WidthRatio;
    ui->FormattingBar->SetPixelsPerSm(static_cast<float>(pixelsPerCm_));
    SetPageWidthCm(static_cast<float>(pageSize_.ViewWidth));
    UpdateBarTracks();
    Repaint();
}

void TFormCurveTemplate::ScrollBarColumnsScroll(int position)
{
    QWidget* view = ui->PaintBoxCurrentColumn;
    const int left = TruncToInt(-position * (view->width() - ui->PanelColumnClient->width()) * 0.01);
    view->move(std::min(0, left), view->y());
    ui->FormattingBar->SetOffset(ui->FormattingBar->x() - ui->PanelColumnClient->x() - view->x());
}

void TFormCurveTemplate::ScrollBarVertColumnsScroll(int position)
{
    QWidget* view = ui->PaintBoxCurrentColumn;
    const int top = TruncToInt(-position * (view->height() - ui->PanelColumnClient->height()) * 0.01);
    view->move(view->x(), std::min(0, top));
}

void TFormCurveTemplate::Repaint() { ui->PaintBoxCurrentColumn->update(); }

void TFormCurveTemplate::PaintPreview()
{
    QWidget* view = ui->PaintBoxCurrentColumn;
    QImage image(view->size(), QImage::Format_RGB32);
    DrawEditorPage(image);
    QPainter painter(view);
    painter.fillRect(view->rect(), Qt::white);
    painter.drawImage(1, 1, image);
}

// The page is drawn with the ruler's pixels per cm across and the screen's down, so that the
// ruler, the frame and the mouse all agree with what is shown.
bool TFormCurveTemplate::DrawEditorPage(QImage& image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::PainterCanvas canvas(painter, PixelsPerInch(), PixelsPerInch());
    return DrawEditorPage(canvas, image.width(), image.height());
}

bool TFormCurveTemplate::DrawEditorPage(platform::Canvas& canvas, int width, int height)
{
    UsePlatformDecimalSeparator();
    // The count needs the first page's headers laid out on this sheet, whatever page is shown.
    Model.LayOutFirstPage(canvas, {0, 0, width, height}, VerticalPixelsPerCm());
    const int pages = std::max(1, Model.GetPageCount());
    {
        const QSignalBlocker block(ui->EditPageNumber);
        ui->EditPageNumber->setMaximum(pages);
    }
    ui->EditPageNumber->setToolTip(QStringLiteral("Номер текущей страницы\nВсего страниц: ") + QString::number(pages));
    ui->LabelPageCount->setText(QString::number(pages));
    const int number = ui->EditPageNumber->value();
    if (number < 1 || number > pages) {
        ui->EditPageNumber->setValue(std::clamp(number, 1, pages));
        return false;
    }
    const float sx = static_cast<float>(pixelsPerCm_);
    Model.DrawCurvesPage(canvas, number - 1, {0, 0, width, height}, VerticalPixelsPerCm(), sx);
    const int c = SelectedColumn();
    if (c >= 0) {
        int x = TruncToInt(Model.DepthTrackWidth * sx);
        for (int i = 0; i < c; ++i)
            x = TruncToInt(x + (Model.Columns[static_cast<size_t>(i)]->Width + Model.Columns[static_cast<size_t>(i)]->ColumnSpace) * sx);
        canvas.pen = {0x00FFFF, 2, platform::PenStyle::Solid};
        canvas.brush.style = platform::BrushStyle::Clear;
        canvas.Rectangle({x, 0, x + TruncToInt(Model.Columns[static_cast<size_t>(c)]->Width * sx), height});
    }
    return true;
}

int TFormCurveTemplate::ColumnAtX(int x) const
{
    const double cm = x / pixelsPerCm_;
    if (Model.Columns.empty() || cm < Model.DepthTrackWidth ||
        cm > Model.ColumnRightEdge(static_cast<int>(Model.Columns.size()) - 1))
        return -1;
    for (size_t c = 0; c < Model.Columns.size(); ++c)
        if (Model.ColumnRightEdge(static_cast<int>(c)) >= cm)
            return static_cast<int>(c);
    return -1;
}

int TFormCurveTemplate::CurveHeaderHeight(const TCurveForPrinting& curve, platform::Canvas& canvas, float px) const
{
    return curve.HeaderHeight(canvas, 0, px);
}

// Header blocks stacked as the header drawing stacks them; y in page-view pixels.
int TFormCurveTemplate::CurveHeaderAt(int column, int y) const
{
    if (column < 0 || column >= static_cast<int>(Model.Columns.size()))
        return -1;
    const float px = VerticalPixelsPerCm();
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    platform::PainterCanvas canvas(painter, PixelsPerInch(), PixelsPerInch());
    const auto& curves = Model.Columns[static_cast<size_t>(column)]->Curves;
    int start = TruncToInt(0.1 * px);
    int end = start + (curves.empty() ? 0 : CurveHeaderHeight(*curves[0], canvas, px));
    for (size_t j = 0; j < curves.size(); ++j) {
        if (j > 0) {
            start = end;
            end = TruncToInt(end + 0.3 * px) + CurveHeaderHeight(*curves[j], canvas, px);
        }
        if (start <= y && y < end)
            return static_cast<int>(j);
    }
    return -1;
}

int TFormCurveTemplate::ScaleOfItem(int item)
{
    static const int scales[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};
    return scales[std::clamp(item, 0, 9)];
}

bool TFormCurveTemplate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->PaintBoxCurrentColumn) {
        switch (event->type()) {
        case QEvent::Paint:
            platform::Guarded(this, [this] { PaintPreview(); });
            return true;
        case QEvent::MouseButtonPress:
            platform::Guarded(this, [this, event] { PageViewMouseDown(*static_cast<QMouseEvent*>(event)); });
            return true;
        case QEvent::MouseMove:
            platform::Guarded(this, [this, event] { PageViewMouseMove(*static_cast<QMouseEvent*>(event)); });
            return true;
        case QEvent::MouseButtonRelease:
            platform::Guarded(this, [this] { PageViewMouseUp(); });
            return true;
        default: break;
        }
    }
    if (curvePane_ && watched == curvePane_->widget() && event->type() == QEvent::LayoutRequest)
        FitCurvePane();
    if (watched == ui->EdDeptScale && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        platform::Guarded(this, [this] { ShowStandardScales(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormCurveTemplate::PageViewMouseDown(QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton)
        return;
    const int x = static_cast<int>(event.position().x());
    const int y = static_cast<int>(event.position().y());
    const int column = ColumnAtX(x);
    if (column >= 0 && column != ui->TabCtrlColumns->currentIndex())
        ui->TabCtrlColumns->setCurrentIndex(column);
    ui->EditPageNumber->setValue(std::clamp(ui->EditPageNumber->value(), 1, ui->EditPageNumber->maximum()));
    if (column < 0 || ui->EditPageNumber->value() != 1)
        return;
    const int hit = CurveHeaderAt(column, y);
    if (hit < 0)
        return;
    FillCurveList();
    ui->ComboBoxCurrentCurve->setCurrentIndex(hit);
    draggedCurve_ = Model.Columns[static_cast<size_t>(column)]->Curves[static_cast<size_t>(hit)].get();
    lastMouseY_ = y;
    ui->PaintBoxCurrentColumn->setCursor(Qt::SplitHCursor);
}

void TFormCurveTemplate::PageViewMouseMove(QMouseEvent& event)
{
    const int x = static_cast<int>(event.position().x());
    const int y = static_cast<int>(event.position().y());
    if ((event.buttons() & Qt::LeftButton) && draggedCurve_) {
        // One centimetre of the view up raises the left value by one scale step.
        draggedCurve_->SetLeftValue(static_cast<float>(draggedCurve_->LeftValue +
                                                       (lastMouseY_ - y) * draggedCurve_->ScaleValue / VerticalPixelsPerCm()));
        lastMouseY_ = y;
        Repaint();
        loading_ = true;
        ui->SpEdLeftValue->setValue(draggedCurve_->LeftValue);
        ui->EdLogOffset->setValue(draggedCurve_->LogLeftValue);
        loading_ = false;
        return;
    }
    if (event.buttons() != Qt::NoButton || event.modifiers() != Qt::NoModifier)
        return;
    const int column = ColumnAtX(x);
    const bool overHeader = ui->EditPageNumber->value() == 1 && column >= 0 && CurveHeaderAt(column, y) >= 0;
    ui->PaintBoxCurrentColumn->setCursor(overHeader ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TFormCurveTemplate::PageViewMouseUp()
{
    draggedCurve_ = nullptr;
    lastMouseY_ = -1;
    ui->PaintBoxCurrentColumn->setCursor(Qt::ArrowCursor);
}

void TFormCurveTemplate::FormattingBarTrackPosEndChange(int track, float position)
{
    if (track < 0 || track >= static_cast<int>(Model.Columns.size()))
        return;
    TPrintingColumn& column = *Model.Columns[static_cast<size_t>(track)];
    if (track == 0) {
        column.SetWidth(position - Model.DepthTrackWidth);
    } else {
        const float room = position - Model.ColumnRightEdge(track - 1);
        column.SetWidth(room > 1.0f ? room - Model.Columns[static_cast<size_t>(track - 1)]->ColumnSpace : 1.0f);
    }
    UpdateBarTracks();
    Repaint();
}

void TFormCurveTemplate::EdDeptScaleChange()
{
    if (Model.Dept)
        Model.Dept->SetRatio(ui->EdDeptScale->value());
    Repaint();
}

void TFormCurveTemplate::ShowStandardScales()
{
    QComboBox* list = ui->ComboBoxDeptScale;
    list->setGeometry(QRect(ui->EdDeptScale->mapTo(this, QPoint(0, 0)), ui->EdDeptScale->size()));
    int item = 9;
    for (int i = 0; i < 10; ++i)
        if (ScaleOfItem(i) >= ui->EdDeptScale->value()) {
            item = i;
            break;
        }
    list->setCurrentIndex(item);
    list->show();
    list->raise();
    list->setFocus();
    list->showPopup();
}

void TFormCurveTemplate::ComboBoxDeptScaleSelect(int item)
{
    if (!ui->ComboBoxDeptScale->isVisible())
        return;
    ui->EdDeptScale->setValue(ScaleOfItem(item));
    ui->ComboBoxDeptScale->hide();
    ui->EdDeptScale->setFocus();
}

void TFormCurveTemplate::EdUpDeptLimitChange()
{
    const double low = ui->EdLowDeptLimit->value();
    if (ui->EdUpDeptLimit->value() >= low) {
        ui->EdUpDeptLimit->setValue(low - 1.0);  // runs this handler again with the value taken
        return;
    }
    if (Model.Dept)
        Model.Dept->SetPrintTop(static_cast<float>(ui->EdUpDeptLimit->value()));
    Repaint();
}

void TFormCurveTemplate::EdLowDeptLimitChange()
{
    const double up = ui->EdUpDeptLimit->value();
    if (ui->EdLowDeptLimit->value() <= up) {
        ui->EdLowDeptLimit->setValue(up + 1.0);
        return;
    }
    if (Model.Dept)
        Model.Dept->SetPrintBottom(static_cast<float>(ui->EdLowDeptLimit->value()));
    Repaint();
}

void TFormCurveTemplate::SButtonDefaultDeptClick()
{
    if (!Model.Dept)
        return;
    ui->EdUpDeptLimit->setValue(Model.Dept->DataTop);
    ui->EdLowDeptLimit->setValue(Model.Dept->DataBottom);
}

void TFormCurveTemplate::ScaleFormatClick(int format)
{
    if (!Model.Dept)
        return;
    Model.Dept->ScaleFormat = static_cast<std::int8_t>(format);
    Repaint();
}
