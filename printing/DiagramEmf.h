// The curve diagram as one EMF picture: the whole printed depth range on one page, at least
// as wide as the printable width of a sheet, drawn for the screen as reference device.
#pragma once

#include "platform/EmfCanvas.h"

#include <cstdint>
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

// What a picture is made for: the reference screen, the printer's sheet (the picture is at
// least its printable width; its length is drawn, and counted, in sheets), the margins and
// the title.
struct DiagramEmfSetup {
    platform::EmfReference screen;
    double sheetWidthCm = 21.0;
    double sheetHeightCm = 29.7;
    PrintMargins margins;
    DiagramEmfTitle title;
};

struct DiagramEmfPlan {
    int pages = 0;                // sheets the diagram's length takes
    std::uint64_t bytes = 0;      // the picture's size, estimated from a few of its pages
    platform::CanvasRect frame;   // 0.01 mm
};

struct DiagramEmfResult {
    bool ok = false;
    bool cancelled = false;
    std::string error;
    platform::CanvasRect frame;  // 0.01 mm
};

// The size of the picture an export would write, measured without writing anything.
DiagramEmfPlan PlanDiagramEmf(TCurveTemplate& diagram, const DiagramEmfSetup& setup);

// Lays the template out as one page (its page width and height are left so) and writes the
// picture a sheet's length at a time, with the progress of long work and its cancel. Nothing is written on failure or
// cancel, nor for a picture beyond the format's size.
DiagramEmfResult ExportDiagramEmf(TCurveTemplate& diagram, const std::string& path, const DiagramEmfSetup& setup);
