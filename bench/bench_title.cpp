// The title of 20 × 60 cells: a full repaint of the editor's grid, and the title drawn at
// 600 dpi (recorded into a picture, as a printer driver would take it); against filling the
// same pixels.
#include "bench/BenchApplication.h"
#include "platform/PainterCanvas.h"
#include "printing/Q7CellGridShape.h"
#include "printing/Q7CellsArray.h"
#include "printing/TitleGrid.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <benchmark/benchmark.h>

namespace {

constexpr int Cols = 20;
constexpr int Rows = 60;

struct Title {
    TQ7CellsArray cells;
    TQ7GridShape shape;

    Title()
    {
        shape.SetDefaultRowHeight(20);
        shape.SetColCount(Cols + 1);
        shape.SetRowCount(Rows + 1);
        cells.Resize(shape.ColCount(), shape.RowCount());
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Cols; ++c) {
                TQ7DrawGridCell& cell = cells.Cell(c, r);
                cell.Content.Text = (c + r) % 3 == 0 ? "" : "Скважина " + std::to_string(r * 100 + c);
                cell.Format.Borders = TQ7CellFormat::AllSides;
                cell.Format.HorzAlign = c % 3;
            }
    }
};

void BM_GridRepaint(benchmark::State& state)
{
    EnsureApplication();
    Title title;
    TTitleGrid grid;
    grid.SetTable(&title.cells, &title.shape);
    grid.resize(Cols * 64 + 100, Rows * 20 + 60);
    QImage image(grid.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        grid.viewport()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_GridRepaint)->Unit(benchmark::kMillisecond);

void BM_DrawTitle600Dpi(benchmark::State& state)
{
    EnsureApplication();
    Title title;
    const double px = 600 / 2.54;
    const TCellRange range{1, 1, Cols, Rows};
    for (auto _ : state) {
        QPicture picture;
        QPainter painter(&picture);
        platform::PainterCanvas canvas(painter, 600, 600);
        const int height = title.cells.DrawTitle(canvas, title.shape, 0, 0, static_cast<int>(19 * px),
                                                 static_cast<int>(27 * px), 0, 2, true, px, px, range);
        benchmark::DoNotOptimize(height);
    }
}
BENCHMARK(BM_DrawTitle600Dpi)->Unit(benchmark::kMillisecond);

// Baseline: filling the grid's pixels once.
void BM_FillSamePixels(benchmark::State& state)
{
    EnsureApplication();
    QImage image(Cols * 64 + 100, Rows * 20 + 60, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_FillSamePixels)->Unit(benchmark::kMillisecond);

}  // namespace
