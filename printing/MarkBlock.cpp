// The perforation-mark block.
#include "printing/MarkBlock.h"

#include "printing/LabelText.h"
#include "printing/PixelMath.h"

#include <algorithm>
#include <string>

namespace {

std::string Fmt(double value) { return FormatFixedPoint(value, 7, 2, LabelDecimalSeparator()); }

}  // namespace

double DrawMarkBlock(const TKontrOsnMetkaInfo& info, platform::Canvas& canvas, double top, double left,
                     double right, double kx, double ky)
{
    const auto x = [kx](double cm) { return TruncToInt(cm * kx); };
    const auto y = [ky](double cm) { return TruncToInt(cm * ky); };
    canvas.font.color = 0;
    canvas.font.size = 10;
    canvas.font.bold = true;
    canvas.font.italic = canvas.font.underline = canvas.font.strikeOut = false;
    canvas.font.name = "MS Sans Serif";
    canvas.pen = {0, std::max(1, TruncToInt(ky * 0.02)), platform::PenStyle::Solid};
    canvas.brush.style = platform::BrushStyle::Clear;

    double at = top;
    canvas.MoveTo(x(left), y(at));
    canvas.LineTo(x(right), y(at));
    const std::string caption =
        info.TitleText.empty() ? std::string("Расстояние между контрольной и основной меткой:") : info.TitleText;
    canvas.TextOut(x(left + 2.5), y(at + 0.3), caption + "    " + Fmt(info.GetDistance()));
    at += 0.4 + canvas.TextHeight("A") / ky;

    canvas.font.bold = false;
    const std::string control = "Глубина контрольной метки: " + Fmt(info.KontrMetka);
    canvas.TextOut(x(left + 2.0), y(at), control + "     Подошва интервала перфорации: " + Fmt(info.Podoshva));
    // The second item of the last line starts under the "Подошва" item.
    const int w = canvas.TextWidth("     " + control);
    at += 0.1 + canvas.TextHeight("A") / ky;

    canvas.TextOut(x(left + 2.0), y(at), "Точка записи ГК: " + Fmt(info.GK));
    canvas.TextOut(TruncToInt((left + 2.0) * kx + w), y(at), "Нижняя точка отверстия перфоратора: " + Fmt(info.Perf));
    at += 0.3 + canvas.TextHeight("A") / ky;

    canvas.MoveTo(x(left), y(at));
    canvas.LineTo(x(right), y(at));
    return at;
}
