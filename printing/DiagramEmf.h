// The curve diagram as one EMF picture: the whole printed depth range on one page, at least
// as wide as the printable width of a sheet, drawn for the screen as reference device.
#pragma once

#include "platform/EmfCanvas.h"

#include <functional>
#include <string>

class TCurveTemplate;

// Page margins in cm.
struct PrintMargins {
    double left = 1.0;
    double right = 1.0;
    double top = 1.0;
    double bottom = 1.0;
};

// Draws a title at (left, top) cm, `width` cm wide, above `bottom` cm, with the horizontal and
// vertical pixels per cm; returns its height in cm. `height` gives that height beforehand.
struct DiagramEmfTitle {
    std::function<double(platform::Canvas&, double left, double top, double width, double bottom, double pxX,
                         double pxY)>
        draw;
    std::function<double(double pxY)> height;
};

struct DiagramEmfResult {
    bool ok = false;
    std::string error;
    platform::CanvasRect frame;  // 0.01 mm
};

// Lays the template out as one page (its page width and height are left so) and writes the
// picture; `sheetWidthCm` is the printer's sheet width. Nothing is written on failure.
DiagramEmfResult ExportDiagramEmf(TCurveTemplate& diagram, const std::string& path,
                                  const platform::EmfReference& screen, double sheetWidthCm,
                                  const PrintMargins& margins, const DiagramEmfTitle& title = {});
