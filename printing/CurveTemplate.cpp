// Column model and page composition of the curve diagram.
#include "printing/CurveTemplate.h"

#include "core/SettingsFile.h"
#include "platform/DepthUnit.h"
#include "printing/GridParams.h"
#include "printing/IniFloat.h"
#include "printing/PixelMath.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <filesystem>
#include <limits>

using platform::Canvas;
using platform::CanvasRect;

namespace {

// Numbers beyond these limits would overflow the drawing and refuse the template; any other
// number the loader does not take is held or left at its default as the key is read. A left value
// and a scale take what any curve's range gives, as far as the right end of a 1000 cm column stays
// a float.
struct KeyLimit {
    const char* key;
    double lowest;
    double highest;
};

constexpr double Unbounded = std::numeric_limits<double>::infinity();
constexpr KeyLimit ColumnKeys[] = {{"Width", -Unbounded, 1000.0}, {"ColumnSpace", -50.0, 50.0}};
constexpr KeyLimit CurveKeys[] = {
    {"LeftValue", -1e37, 1e37},        {"ScaleValue", -Unbounded, 1e34},         {"Width", -Unbounded, 2.0},
    {"BlikScale", -Unbounded, 1000.0}, {"LogLeftValue", -Unbounded, Unbounded},
};
// A positive scale this small puts the trace beyond any page; zero and below are not taken.
constexpr double SmallestScale = 1e-6;

// The first number of the section that cannot be drawn, as a message; empty when all can.
// Text that is no number reads as the key's default, so it passes.
template <size_t N>
std::string CheckNumbers(const TRxIniFile& ini, const std::string& section, const KeyLimit (&keys)[N])
{
    for (const KeyLimit& k : keys) {
        if (!ini.ValueExists(section, k.key))
            continue;
        const double v = ini.ReadFloat(section, k.key, 0.0);
        const bool tinyScale = std::strcmp(k.key, "ScaleValue") == 0 && v > 0.0 && v < SmallestScale;
        if (!std::isfinite(v) || v < k.lowest || v > k.highest || tinyScale)
            return "Шаблон не загружен: недопустимое значение ключа " + std::string(k.key) + " в разделе [" +
                   section + "]";
    }
    return std::string();
}

}  // namespace

void TCurveTemplate::SetSource(const std::vector<const float*>& curveArrays,
                               const std::vector<std::string>& curveInfo, const float* depthArray,
                               float nullValue, float step, float bottom, float top, int pointCount)
{
    CurveArrays.clear();
    Dept.reset();
    Columns.clear();
    NullValue = nullValue;
    Dept = std::make_unique<TPrintingDept>(top, bottom, step);
    Dept->PageHeight = PageHeightCm;
    CurveArrays = curveArrays;
    CurveInfo = curveInfo;
    PointCount = pointCount;
    DepthArray = depthArray;
    Dept->Depths = depthArray;
    Dept->DepthCount = depthArray ? pointCount : 0;
    DepthUnit.clear();
}

void TCurveTemplate::SetDepthUnit(const std::string& unit)
{
    DepthUnit = unit;
    const double metres = platform::DepthUnitMetres(QString::fromStdString(unit));
    if (Dept)
        Dept->UnitMetres = metres > 0.0 ? metres : 1.0;
}

void TCurveTemplate::ReleaseSource()
{
    Columns.clear();
    CurveArrays.clear();
    CurveInfo.clear();
    Dept.reset();
    DepthArray = nullptr;
    PointCount = 0;
    DepthUnit.clear();
}

int TCurveTemplate::AddColumn()
{
    Columns.push_back(std::make_unique<TPrintingColumn>());
    return static_cast<int>(Columns.size()) - 1;
}

TCurveForPrinting* TCurveTemplate::AddCurveToColumn(int i, int& column)
{
    const int n = static_cast<int>(CurveArrays.size());
    if (i < 0 || i >= n || column >= static_cast<int>(Columns.size()))
        return nullptr;
    if (column < 0)
        column = AddColumn();
    TPrintingColumn& target = *Columns[static_cast<size_t>(column)];
    auto curve = std::make_unique<TCurveForPrinting>(CurveArrays[static_cast<size_t>(i)], &target, NullValue,
                                                     PointCount);
    const auto line = [this](size_t index) {
        return index < CurveInfo.size() ? CurveInfo[index] : std::string();
    };
    curve->Mnemonic = line(static_cast<size_t>(i));
    curve->Unit = line(static_cast<size_t>(n + i));
    curve->Comment = line(static_cast<size_t>(2 * n + i));
    target.Curves.push_back(std::move(curve));
    return target.Curves.back().get();
}

void TCurveTemplate::ClearColumns() { Columns.clear(); }

float TCurveTemplate::ColumnRightEdge(int i) const
{
    if (i < 0 || i >= static_cast<int>(Columns.size()))
        return 0.0f;
    float edge = 0.0f;
    for (int c = 0; c <= i; ++c)
        edge += Columns[static_cast<size_t>(c)]->ColumnSpace + Columns[static_cast<size_t>(c)]->Width - 0.02f;
    return edge - Columns[static_cast<size_t>(i)]->ColumnSpace + DepthTrackWidth;
}

float TCurveTemplate::DiagramWidth() const
{
    return Columns.empty() ? DepthTrackWidth : ColumnRightEdge(static_cast<int>(Columns.size()) - 1);
}

bool TCurveTemplate::HasCurves() const
{
    return std::any_of(Columns.begin(), Columns.end(), [](const auto& column) { return !column->Curves.empty(); });
}

void TCurveTemplate::SetPageWidthCm(float w) { PageWidthCm = w; }

void TCurveTemplate::SetPageHeightCm(float h)
{
    PageHeightCm = h;
    if (Dept)
        Dept->PageHeight = h;
}

void TCurveTemplate::ReadCurvePrnSettings()
{
    if (!Settings) {
        SetDefaultLineSettings();
        return;
    }
    TGridLineValues& g = GridLineValues();
    ReadGridParams(*Settings, "CurvePrnSec", g.DashedLineWidth, g.DashLen, g.DashColor, g.SpaceLen, g.SolidWidth,
                   g.SolidColor, g.DefaultColumnSpace);
}

void TCurveTemplate::SetDefaultLineSettings()
{
    TGridLineValues& g = GridLineValues();
    g.DashLen = 1.0f;
    g.DashColor = 0xC0C0C0;
    g.SpaceLen = 1.0f;
    g.SolidWidth = 0.2f;
    g.SolidColor = 0;
    g.DefaultColumnSpace = 0.1f;
}

double TCurveTemplate::LayOutFirstPage(Canvas& canvas, const CanvasRect& rect, float pxY)
{
    const double room = rect.Height() / static_cast<double>(pxY);
    double header = 0.0;
    for (const auto& column : Columns)
        header = std::max(header, static_cast<double>(column->GetHeaderHeight(canvas, pxY)));
    HeaderPages = 0;
    headerPagesLength_ = 0.0;
    headerBands_ = {header};
    headerStarts_.clear();
    for (const auto& column : Columns)
        headerStarts_.push_back({0, static_cast<int>(column->Curves.size())});
    const double dataRoom = header > room && pxY > 0.0f ? SpreadHeaders(canvas, room, pxY) : room;
    if (Dept)
        Dept->SetFirstPageHeight(static_cast<float>(dataRoom - headerBands_.back()));
    return headerBands_.front();
}

double TCurveTemplate::SpreadHeaders(Canvas& canvas, double firstRoom, float pxY)
{
    // Blocks are stacked as the columns draw them; one that would pass the page's bottom
    // starts the next page, unless it is the first of its page.
    const auto roomOf = [&](size_t page) { return page == 0 ? firstRoom : static_cast<double>(PageHeightCm); };
    const int top = TruncToInt(0.1 * pxY);
    std::vector<std::vector<int>> ends(Columns.size());  // pixels each page's blocks take
    size_t pages = 1;
    for (size_t c = 0; c < Columns.size(); ++c) {
        const auto& curves = Columns[c]->Curves;
        std::vector<int>& starts = headerStarts_[c];
        starts = {0};
        ends[c] = {0};
        int y = top;
        for (int j = 0; j < static_cast<int>(curves.size()); ++j) {
            const TCurveForPrinting& curve = *curves[static_cast<size_t>(j)];
            if (j > starts.back() && y + curve.HeaderHeight(canvas, y, pxY) > roomOf(starts.size() - 1) * pxY) {
                starts.push_back(j);
                ends[c].push_back(0);
                y = top;
            }
            y = TruncToInt(y + curve.HeaderHeight(canvas, y, pxY) + 0.3 * pxY);
            ends[c].back() = y;
        }
        pages = std::max(pages, starts.size());
    }
    headerBands_.assign(pages, 0.0);
    for (size_t c = 0; c < Columns.size(); ++c)
        for (size_t p = 0; p < ends[c].size(); ++p)
            headerBands_[p] = std::max(headerBands_[p], ends[c][p] / static_cast<double>(pxY));
    // The data follow the last blocks when a useful length of page is left below them.
    constexpr double MinDataCm = 1.0;
    double dataRoom = roomOf(pages - 1);
    if (dataRoom - headerBands_.back() < MinDataCm) {
        headerBands_.push_back(0.0);
        dataRoom = PageHeightCm;
    }
    HeaderPages = static_cast<int>(headerBands_.size()) - 1;
    for (size_t c = 0; c < Columns.size(); ++c) {
        const int count = static_cast<int>(Columns[c]->Curves.size());
        headerStarts_[c].resize(headerBands_.size() + 1, count);
    }
    for (int p = 0; p < HeaderPages; ++p)
        headerPagesLength_ += roomOf(static_cast<size_t>(p));
    return dataRoom;
}

HeaderRange TCurveTemplate::HeadersOn(size_t column, int page) const
{
    if (column >= headerStarts_.size() || page < 0 || page > HeaderPages)
        return {};
    const std::vector<int>& starts = headerStarts_[column];
    return {starts[static_cast<size_t>(page)], starts[static_cast<size_t>(page) + 1]};
}

double TCurveTemplate::HeaderBandOn(int page) const
{
    return page >= 0 && page <= HeaderPages ? headerBands_[static_cast<size_t>(page)] : 0.0;
}

std::vector<int> TCurveTemplate::SplitHeaderColumns() const
{
    std::vector<int> split;
    for (size_t c = 0; c < headerStarts_.size() && HeaderPages > 0; ++c)
        if (headerStarts_[c][1] < static_cast<int>(Columns[c]->Curves.size()))
            split.push_back(static_cast<int>(c));
    return split;
}

int TCurveTemplate::DrawCurvesPage(Canvas& canvas, int page, const CanvasRect& rect, float pxY, float pxX)
{
    if (!Dept || !(pxY > 0.0f) || !(pxX > 0.0f))
        return 0;
    canvas.brush.color = 0xFFFFFF;
    canvas.brush.style = platform::BrushStyle::Solid;
    canvas.FillRect(rect);

    // Horizontal quantities use the horizontal factor only, so a corrected page height
    // or unequal device resolutions stretch nothing sideways.
    int x = TruncToInt(DepthTrackWidth * static_cast<double>(pxX));
    if (page <= 0)
        LayOutFirstPage(canvas, rect, pxY);
    // Pages before the data's first carry header blocks only; the data's first carries the
    // last of them, later pages none.
    const int dataPage = page - HeaderPages;
    const double header = HeaderBandOn(page);
    const int headerPx = TruncToInt(header * pxY);
    const bool headersOnly = dataPage < 0;

    float top = 0.0f;
    float bottom = 0.0f;
    Dept->GetPageRange(std::max(0, dataPage), top, bottom);
    const bool last = !headersOnly && dataPage == Dept->GetPageCount() - 1;
    // On the last page the data end early; the header band comes on top. Nothing reaches
    // below the rectangle, not even the one page of a strip without a page height.
    const int dataBottom =
        headersOnly ? std::min(rect.bottom, rect.top + headerPx)
        : last      ? std::min(rect.bottom, TruncToInt(rect.top + (header + Dept->GetLastPageLength()) * pxY))
                    : rect.bottom;

    if (!headersOnly) {
        const CanvasRect track{rect.left, rect.top + headerPx, rect.left + x,
                               last ? dataBottom
                                    : std::min(rect.bottom, TruncToInt(rect.top + PageHeightCm * static_cast<double>(pxY)))};
        Dept->DrawDepthTrack(canvas, dataPage, pxY, track, pxX);
    }

    for (size_t c = 0; c < Columns.size(); ++c) {
        const auto& column = Columns[c];
        const double left = static_cast<double>(rect.left) + x;
        if (left >= rect.right)
            break;  // this column and the ones after it lie beyond the page
        const int w = RoundToPixels(column->Width, pxX);
        const CanvasRect r{TruncToInt(left), rect.top, TruncToInt(left + w), dataBottom};
        if (headersOnly)
            column->DrawHeaders(canvas, r, pxY, pxX, HeadersOn(c, page));
        else
            column->Draw(canvas, r, top, bottom, pxY, pxX, headerPx, *Dept, dataPage, HeadersOn(c, page));

        canvas.pen.color = 0;
        canvas.pen.width = std::max(1, TruncToInt(0.02 * pxY));
        canvas.pen.style = platform::PenStyle::Solid;
        canvas.MoveTo(r.left, r.top);
        canvas.LineTo(r.left, r.bottom);
        canvas.MoveTo(r.right, r.top);
        canvas.LineTo(r.right, r.bottom);
        if (page == 0) {
            canvas.MoveTo(r.left, r.top);
            canvas.LineTo(r.right, r.top);
        }
        if (last) {
            canvas.MoveTo(r.left, r.bottom);
            canvas.LineTo(r.right, r.bottom);
        }
        x = TruncToInt(x + (static_cast<double>(column->Width) + column->ColumnSpace) * pxX);
    }
    return 0;
}

int TCurveTemplate::GetPageCount() const { return Dept ? Dept->GetPageCount() + HeaderPages : 0; }

int TCurveTemplate::GetPrintSize(float& width, float& length) const
{
    if (!Dept)
        return 0;
    width = DiagramWidth();
    const int pages = Dept->GetPageCount();
    length = static_cast<float>(headerPagesLength_) + Dept->FirstPageHeight;
    if (pages >= 2)
        length += Dept->GetLastPageLength();
    if (pages > 2)
        length += (pages - 2) * Dept->PageHeight;
    return pages + HeaderPages;
}

std::string TCurveTemplate::LoadTemplate(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return "Файл не найден: " + path;
    // Nothing is written: the file is rewritten only when its content changes.
    TRxIniFile ini(path);
    if (ini.ReadInteger("TemlateInfo", "Version", -1) != 1)
        return "Версия шаблона не поддерживается";
    const int count = ini.ReadInteger("TemlateInfo", "ColumnCount", 0);
    // The whole file is checked before the current columns are given up.
    for (int c = 0; c < count && ini.SectionExists("Col" + std::to_string(c)); ++c) {
        const std::string section = "Col" + std::to_string(c);
        std::string message = CheckNumbers(ini, section, ColumnKeys);
        for (const std::string& key : ini.ReadSection(section))
            if (message.empty() && key.size() > 3 && key.compare(0, 3, "Col") == 0)
                message = CheckNumbers(ini, key, CurveKeys);
        if (!message.empty())
            return message;
    }
    ClearColumns();
    const size_t curveCount = CurveArrays.size();
    for (int c = 0; c < count; ++c) {
        const std::string section = "Col" + std::to_string(c);
        // Every saved column has its section: a count beyond them is damage, and must not
        // make billions of columns.
        if (!ini.SectionExists(section))
            break;
        std::vector<std::string> keys = ini.ReadSection(section);
        std::erase_if(keys, [](const std::string& k) { return k.size() <= 3 || k.compare(0, 3, "Col") != 0; });
        const float width = std::max(1.0f, ReadIniFloat(ini, section, "Width", 5.0f));
        const float space = ReadIniFloat(ini, section, "ColumnSpace", GridLineValues().DefaultColumnSpace);
        int column = AddColumn();
        Columns.back()->SetWidth(width);
        Columns.back()->ColumnSpace = space;
        for (const std::string& key : keys) {
            const std::string name = ini.ReadString(section, key, "");
            const auto end = CurveInfo.begin() + static_cast<std::ptrdiff_t>(std::min(curveCount, CurveInfo.size()));
            const auto found = std::find(CurveInfo.begin(), end, name);
            if (name.empty() || found == end)
                continue;
            if (TCurveForPrinting* curve = AddCurveToColumn(static_cast<int>(found - CurveInfo.begin()), column))
                curve->LoadFromIni(ini, key);
        }
    }
    return std::string();
}

bool TCurveTemplate::SaveTemplate(const std::string& path, std::string& error) const
{
    if (Columns.empty())
        return true;
    TRxIniFile ini(path);
    for (const std::string& section : ini.ReadSections())
        ini.EraseSection(section);
    ini.WriteInteger("TemlateInfo", "Version", 1);
    ini.WriteInteger("TemlateInfo", "ColumnCount", static_cast<int>(Columns.size()));
    for (size_t c = 0; c < Columns.size(); ++c) {
        const std::string section = "Col" + std::to_string(c);
        WriteIniFloat(ini, section, "Width", Columns[c]->Width);
        WriteIniFloat(ini, section, "ColumnSpace", Columns[c]->ColumnSpace);
        for (size_t j = 0; j < Columns[c]->Curves.size(); ++j) {
            const std::string key = section + "Curve" + std::to_string(j);
            ini.WriteString(section, key, Columns[c]->Curves[j]->Mnemonic);
            Columns[c]->Curves[j]->SaveToIni(ini, key);
        }
    }
    if (ini.UpdateFile())
        return true;
    error = std::strerror(ini.SystemError());
    return false;
}
