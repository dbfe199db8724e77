// A multi-page PDF document drawn through the canvas; the file is written whole, through a
// temporary file renamed over the target, when the document is finished.
#pragma once

#include "platform/PainterCanvas.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <string>

namespace platform {

class PdfCanvas {
public:
    // Pages of the given size in cm; device pixels at `dpi` in both directions.
    PdfCanvas(std::string path, double pageWidthCm, double pageHeightCm, int dpi = 600);
    ~PdfCanvas();
    PdfCanvas(const PdfCanvas&) = delete;
    PdfCanvas& operator=(const PdfCanvas&) = delete;

    Canvas& Page() { return *canvas_; }
    // Device-pixel rectangle of the whole page.
    CanvasRect PageRect() const;
    void NewPage();
    int PageCount() const { return pages_; }

    // Ends the document and writes the file; false, with the reason in Error(), on failure
    // (an existing file is then left as it was).
    bool Finish();
    const std::string& Error() const { return error_; }

private:
    std::string path_;
    QBuffer buffer_;
    QPdfWriter writer_;
    QPainter painter_;
    std::unique_ptr<PainterCanvas> canvas_;
    int pages_ = 1;
    bool finished_ = false;
    std::string error_;
};

}  // namespace platform
