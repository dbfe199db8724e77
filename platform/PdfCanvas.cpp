// PDF output through the canvas.
#include "platform/PdfCanvas.h"

#include "platform/FileErrors.h"
#include "platform/FileNames.h"

#include <QPageLayout>
#include <QPageSize>

namespace platform {

PdfCanvas::PdfCanvas(std::string path, double pageWidthCm, double pageHeightCm, int dpi, const QString& title)
    : path_(std::move(path)), output_(path_), writer_(&output_)
{
    if (!output_.isOpen())
        error_ = WriteFailureText(FileNameFromBytes(path_), output_.SystemError()).toStdString();
    writer_.setResolution(dpi);
    // Exactly the size asked for, not a standard size that lies close to it.
    writer_.setPageLayout(QPageLayout(QPageSize(QSizeF(pageWidthCm * 10.0, pageHeightCm * 10.0),
                                                QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer_.setCreator(QStringLiteral("Strativ"));
    writer_.setTitle(title);
    painter_.begin(&writer_);
    canvas_ = std::make_unique<PainterCanvas>(painter_, dpi, dpi);
}

PdfCanvas::~PdfCanvas()
{
    if (!finished_)
        Cancel();
}

void PdfCanvas::Cancel()
{
    finished_ = true;
    cancelled_ = true;
    canvas_.reset();
    if (painter_.isActive())
        painter_.end();
    output_.Discard();
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
        return error_.empty() && !cancelled_;
    finished_ = true;
    canvas_.reset();
    const bool ended = painter_.end();
    if (!error_.empty() || !ended) {
        if (error_.empty())
            error_ = WriteFailureText(FileNameFromBytes(path_)).toStdString();
        output_.Discard();
        return false;
    }
    if (!output_.Commit()) {
        error_ = WriteFailureText(FileNameFromBytes(path_), output_.SystemError()).toStdString();
        return false;
    }
    return true;
}

}  // namespace platform
