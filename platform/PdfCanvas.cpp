// PDF output through the canvas.
#include "platform/PdfCanvas.h"

#include "core/AtomicFile.h"
#include "platform/FileErrors.h"

#include <QPageLayout>
#include <QPageSize>

namespace platform {

PdfCanvas::PdfCanvas(std::string path, double pageWidthCm, double pageHeightCm, int dpi)
    : path_(std::move(path)), writer_(&buffer_)
{
    buffer_.open(QIODevice::WriteOnly);
    writer_.setResolution(dpi);
    // Exactly the size asked for, not a standard size that lies close to it.
    writer_.setPageLayout(QPageLayout(QPageSize(QSizeF(pageWidthCm * 10.0, pageHeightCm * 10.0),
                                                QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer_.setCreator(QStringLiteral("Strativ"));
    painter_.begin(&writer_);
    canvas_ = std::make_unique<PainterCanvas>(painter_, dpi, dpi);
}

PdfCanvas::~PdfCanvas()
{
    canvas_.reset();
    if (painter_.isActive())
        painter_.end();
}

CanvasRect PdfCanvas::PageRect() const
{
    const QRect r = writer_.pageLayout().paintRectPixels(writer_.resolution());
    return {0, 0, r.width(), r.height()};
}

void PdfCanvas::NewPage()
{
    canvas_->Flush();
    writer_.newPage();
    ++pages_;
}

bool PdfCanvas::Finish()
{
    if (finished_)
        return error_.empty();
    finished_ = true;
    canvas_.reset();
    if (!painter_.end()) {
        error_ = WriteFailureText(QString::fromStdString(path_)).toStdString();
        return false;
    }
    AtomicFileWriter file(path_);
    file.Write(std::string_view(buffer_.data().constData(), static_cast<size_t>(buffer_.data().size())));
    if (!file.Commit()) {
        error_ = WriteFailureText(QString::fromStdString(path_), file.SystemError()).toStdString();
        return false;
    }
    return true;
}

}  // namespace platform
