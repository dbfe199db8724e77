// A multi-page PDF document drawn through the canvas. Each finished page goes straight to a
// temporary file beside the target, which is renamed over the target when the document is
// finished; a cancelled or failed document leaves neither it nor a change to the target.
#pragma once

#include "platform/AtomicFileDevice.h"
#include "platform/PainterCanvas.h"

#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <string>

namespace platform {

class PdfCanvas {
public:
    // Pages of the given size in cm; device pixels at `dpi` in both directions; `title` is
    // the document's.
    PdfCanvas(std::string path, double pageWidthCm, double pageHeightCm, int dpi = 600, const QString& title = {});
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
    // Ends the document without writing the target; the temporary file is removed.
    void Cancel();
    // Where the pages go until the document is finished ("" when none could be made).
    const std::string& TempPath() const { return output_.TempPath(); }

private:
    std::string path_;
    AtomicFileDevice output_;
    QPdfWriter writer_;
    QPainter painter_;
    std::unique_ptr<PainterCanvas> canvas_;
    int pages_ = 1;
    bool finished_ = false;
    bool cancelled_ = false;
    std::string error_;
};

}  // namespace platform
