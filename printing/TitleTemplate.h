// The title template editor ("Редактор шаблонов заголовка"): a title table of cells with its
// ".ttm" file, and, as a second instance, the applied title that printing draws.
#pragma once

#include "printing/Q7CellGridShape.h"
#include "printing/Q7CellsArray.h"
#include "printing/TitleMacroLists.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui { class TFormTitleTemplate; }
namespace platform { class Canvas; }
class QMenu;
class TTitleGrid;

class TFormTitleTemplate : public QDialog
{
    Q_OBJECT
public:
    // The grid's default row height in screen pixels (the engine's shape starts at 24).
    static constexpr int kDefaultRowHeight = 20;

    explicit TFormTitleTemplate(QWidget* parent = nullptr);
    ~TFormTitleTemplate() override;

    Ui::TFormTitleTemplate& Form() const { return *ui; }
    TTitleGrid* DrawGrid = nullptr;
    QMenu* PMenuGrid = nullptr;
    QMenu* PMGIMacroMenu = nullptr;

    // The templates folder (ending with "/") and the current title file name, both the main
    // window's.
    std::string TemplatesDir;
    std::string* TitleFileName = nullptr;

    bool Updating = false;
    bool FormatControlsReady = false;
    int ResultMode = 0;
    TQ7CellsArray Cells;
    TQ7GridShape Shape;
    TAllMacroList AllMacros;

    // Mode 1 shows the applied title held in the cells; mode 0 loads the current template
    // (an empty title when it cannot be loaded). Shown modally when asked.
    void Open(int resultMode, bool showModal);
    // Draws the title's non-fixed cells into the area (caller's unit, scales in device
    // pixels per unit); the height drawn in that unit, 0 for a scale not above 0.
    double DrawTitle(platform::Canvas* canvas, float left, float top, float width, float bottom, double xScale,
                     double yScale);
    double GetTitleHeight(double scale) const;
    void ReplaceMacro(const std::string& pattern, const std::string& value);
    void CalcExpressions();
    // Macros replaced and expressions computed in one pass (values are never computed).
    void ApplyMacros(const std::vector<std::pair<std::string, std::string>>& macros);
    // The non-fixed cells: from the first non-fixed column and row to the last ones.
    TCellRange TitleRange() const;
    // The applied-title instance takes the editor's cells, grid layout and state.
    void TakeTitleFrom(const TFormTitleTemplate& editor);
    // Whether a title is there to draw (false after a template that could not be loaded).
    bool HasTitle() const { return hasTitle_; }

    void UpdateCaption();
    void UpdateModeControls();
    void RebuildMacroMenu();
    void ShowCellFormat(const TQ7DrawGridCell& cell);
    void ApplyFormatControls(TQ7DrawGridCell& cell);
    void SetSideBorder(int side);

    // File commands; false when nothing was written or read (the user was told why).
    bool FileOpenClick();
    bool FileSaveClick();
    bool FileSaveAsClick();
    // The close question in edit mode, asked when the table differs from its file: true when
    // the window may close.
    bool CanClose();

    // Rows and columns.
    void AddRowClick();
    void InsertRowClick();
    void RemoveRowClick();
    void AddColClick();
    void InsertColClick();
    void RemoveColClick();
    void ClearAllClick();
    void FontClick();
    void FillColorClick();
    void BorderWidthDone();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateBars();
    void ConnectCommands();
    void MacroMenuItemClick(int index);
    void ShowCurrentCell();
    void FormatControlChanged();
    void SetAlignment(int alignment);
    void GridSelecting(int col, int row);
    void LoadCurrent();
    void ReportLoadFailure(const std::string& path, int code);
    // The table as last loaded or saved, against which a close asks about changes.
    void MarkUnchanged();
    bool Changed() const;
    // Writes the cells to `path` after the code-page check; reports what stopped it.
    bool SaveTo(const std::string& path);
    bool TableFull(bool rows);
    void Repaint();

    std::unique_ptr<Ui::TFormTitleTemplate> ui;
    bool hasTitle_ = true;
    QString openFolder_;  // where the last template was opened from
    TQ7CellsArray savedCells_;
    TQ7GridShape savedShape_;
};

// A name for `name` in `folder` that no file has yet: "base.ext", then "base_1.ext", ...
std::string MakeUniqueTemplateName(const std::string& folder, const std::string& name);
// Whether the clipboard holds text.
bool ClipboardHasData(QWidget* window);
