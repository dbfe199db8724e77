// Page and view sizes of the template editor.
#include "printing/PrintPageSize.h"

TPrintPageSize::TPrintPageSize(double width, double height)
    : PageWidth(width > 0.0 ? width : 21.0), PageHeight(height > 0.0 ? height : 29.7)
{
    ViewWidth = PageWidth <= MaxWholeWidth ? PageWidth : 42.0;
    ViewHeight = PageHeight <= MaxWholeHeight ? PageHeight : 59.4;
    WidthRatio = PageWidth / ViewWidth;
    HeightRatio = PageHeight / ViewHeight;
}

void TPrintPageSize::Zoom(double factor)
{
    ViewWidth *= factor;
    if (ViewWidth > MaxWholeWidth)
        ViewWidth = 42.0;
    WidthRatio = PageWidth / ViewWidth;
}

void TPrintPageSize::Fit()
{
    ViewWidth = PageWidth <= MaxWholeWidth ? PageWidth : 42.0;
    WidthRatio = PageWidth / ViewWidth;
}
