// render_page: draws a page of the curve diagram of a LAS file laid out by a curve print
// template (.ctl) into a PNG, PDF or EMF file.
//
//   render_page FILE.las TEMPLATE.ctl PAGE OUT.png|OUT.pdf|OUT.emf [--scale N] [--width CM] [--height CM] [--dpi N]
//
// PAGE counts from 0; "all" writes every page (PDF only). Prints the page count. Scale 1:N from
// 1 to 100000, page sizes from 1 to 300 cm, 10 to 1200 dpi.
#include "core/AtomicFile.h"
#include "core/Lasfile.h"
#include "platform/EmfCanvas.h"
#include "platform/PainterCanvas.h"
#include "printing/BindDocument.h"
#include "printing/CurveTemplate.h"
#include "printing/DiagramPdf.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string las;
    std::string templ;
    int page = 0;  // -1: all
    std::string output;
    double scale = 200.0;
    double widthCm = 19.0;
    double heightCm = 27.7;
    double dpi = 300;
};

// A whole number or a decimal within [low, high].
bool ParseNumber(const std::string& text, double low, double high, double& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// Limits that keep the image and the page count within reason.
struct Option {
    const char* name;
    double Options::*field;
    double low;
    double high;
};
constexpr Option NumberOptions[] = {
    {"--scale", &Options::scale, 1.0, 100000.0},
    {"--width", &Options::widthCm, 1.0, 300.0},
    {"--height", &Options::heightCm, 1.0, 300.0},
    {"--dpi", &Options::dpi, 10.0, 1200.0},
};

bool ParseArgs(int argc, char** argv, Options& o)
{
    std::vector<std::string> plain;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) == 0) {
            const auto option = std::find_if(std::begin(NumberOptions), std::end(NumberOptions),
                                             [&arg](const Option& n) { return arg == n.name; });
            if (option == std::end(NumberOptions) || i + 1 >= argc ||
                !ParseNumber(argv[++i], option->low, option->high, o.*(option->field)))
                return false;
        } else {
            plain.push_back(arg);
        }
    }
    if (plain.size() != 4)
        return false;
    o.las = plain[0];
    o.templ = plain[1];
    o.output = plain[3];
    if (plain[2] == "all") {
        o.page = -1;
        return true;
    }
    double page = 0;
    if (!ParseNumber(plain[2], 0.0, 1e6, page) || page != static_cast<int>(page))
        return false;
    o.page = static_cast<int>(page);
    return true;
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Lays the diagram out on a page of the options' size and draws the page asked for; false
// when the diagram has no such page.
bool DrawPage(TCurveTemplate& t, const Options& o, platform::Canvas& canvas, const platform::CanvasRect& rect)
{
    const float px = static_cast<float>(o.dpi / 2.54);
    t.SetPageWidthCm(static_cast<float>(o.widthCm));
    t.SetPageHeightCm(static_cast<float>(o.heightCm));
    t.LayOutFirstPage(canvas, rect, px);
    if (o.page >= t.GetPageCount()) {
        std::fprintf(stderr, "render_page: page %d does not exist: the diagram has %d page(s)\n", o.page,
                     t.GetPageCount());
        return false;
    }
    t.DrawCurvesPage(canvas, o.page, rect, px, px);
    return true;
}

int RenderPng(TCurveTemplate& t, const Options& o)
{
    const double px = o.dpi / 2.54;
    QImage image(static_cast<int>(o.widthCm * px), static_cast<int>(o.heightCm * px), QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "render_page: the image is too large\n");
        return 1;
    }
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(o.dpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(o.dpi / 0.0254));
    {
        QPainter painter(&image);
        const int dpi = static_cast<int>(o.dpi);
        platform::PainterCanvas canvas(painter, dpi, dpi);
        if (!DrawPage(t, o, canvas, {0, 0, image.width(), image.height()}))
            return 1;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG") ||
        !WriteFileAtomically(o.output, std::string_view(buffer.data().constData(), buffer.data().size()))) {
        std::fprintf(stderr, "render_page: cannot write %s\n", o.output.c_str());
        return 1;
    }
    std::printf("%d\n", t.GetPageCount());
    return 0;
}

// One picture of the page, for a reference device of the page's size at the options' dpi.
int RenderEmf(TCurveTemplate& t, const Options& o)
{
    const double px = o.dpi / 2.54;
    const int dpi = static_cast<int>(o.dpi);
    const platform::CanvasRect rect{0, 0, static_cast<int>(o.widthCm * px), static_cast<int>(o.heightCm * px)};
    const platform::EmfReference reference{dpi, dpi, rect.right, rect.bottom,
                                           static_cast<int>(o.widthCm * 10.0), static_cast<int>(o.heightCm * 10.0)};
    platform::EmfCanvas canvas(o.output, reference,
                               {0, 0, static_cast<int>(o.widthCm * 1000.0), static_cast<int>(o.heightCm * 1000.0)});
    if (!DrawPage(t, o, canvas, rect))
        return 1;
    if (!canvas.Finish()) {
        std::fprintf(stderr, "render_page: %s: %s\n", o.output.c_str(), canvas.Error().c_str());
        return 1;
    }
    std::printf("%d\n", t.GetPageCount());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    Options o;
    if (!ParseArgs(argc, argv, o) || !(EndsWith(o.output, ".png") || EndsWith(o.output, ".pdf") || EndsWith(o.output, ".emf")) ||
        (o.page < 0 && !EndsWith(o.output, ".pdf"))) {
        std::fprintf(stderr,
                     "usage: render_page FILE.las TEMPLATE.ctl PAGE|all OUT.png|OUT.pdf|OUT.emf "
                     "[--scale N] [--width CM] [--height CM] [--dpi N]\n");
        return 2;
    }
    TLASFile las(o.las, 4);
    if (!las.IsLoaded()) {
        std::fprintf(stderr, "render_page: %s: %s\n", o.las.c_str(), las.GetLoadError().c_str());
        return 1;
    }
    TCurveTemplate t;
    t.ReadCurvePrnSettings();
    BindAllCurves(t, las);
    t.Dept->SetScale(o.scale * 0.01);
    const std::string message = t.LoadTemplate(o.templ);
    if (!message.empty()) {
        std::fprintf(stderr, "render_page: %s\n", message.c_str());
        return 1;
    }
    if (EndsWith(o.output, ".png"))
        return RenderPng(t, o);
    if (EndsWith(o.output, ".emf"))
        return RenderEmf(t, o);

    const DiagramPdfResult r =
        WriteDiagramPdf(t, o.output, o.widthCm, o.heightCm, static_cast<int>(o.dpi), o.page);
    if (!r.ok) {
        std::fprintf(stderr, "render_page: %s: %s\n", o.output.c_str(), r.error.c_str());
        return 1;
    }
    std::printf("%d\n", t.GetPageCount());
    return 0;
}
