// The curve print template editor "Шаблон вывода кривых": columns of the diagram beside the
// depth track, the document's curves in them, the depth scale and range, one page at screen
// size under a centimetre ruler, and template files. It wraps the template model and keeps
// no second copy of it.
#pragma once

#include "printing/CurveTemplate.h"
#include "printing/PrintPageSize.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ui { class TFormCurveTemplate; }
class QActionGroup;
class QImage;
class QScrollArea;
class TFormGridParams;
class TRxIniFile;

class TFormCurveTemplate : public QDialog {
    Q_OBJECT
public:
    explicit TFormCurveTemplate(QWidget* parent = nullptr);
    ~TFormCurveTemplate() override;
    // The columns kept when the editor closes, beside the program.
    static std::string DefaultTemplatePath();
    Ui::TFormCurveTemplate& Form() const { return *ui; }

    TCurveTemplate Model;
    // Set by the main window when it has filled the template; the next show keeps it.
    int Bound = 0;
    std::string TemplatePath;
    // Runs on every close (the main window registers the print-title value sources there).
    std::function<void()> OnClosed;
    TFormGridParams* FormGridParams = nullptr;

    // The program's settings (not owned); reads the grid-line values through them.
    void SetSettings(TRxIniFile* settings);
    TRxIniFile* Settings() const { return Model.Settings; }

    // Model operations that keep the tabs, the ruler and the lists in step.
    void SetSource(const std::vector<const float*>& curveArrays, const std::vector<std::string>& curveInfo,
                   const float* depthArray, float nullValue, float step, float bottom, float top, int pointCount);
    // After the model was bound: the curve list, the depth limits and the tabs follow it.
    void SourceChanged();
    void ReleaseSource();
    int AddColumn();
    TCurveForPrinting* AddCurveToColumn(int i, int& column);
    void ClearColumns();
    // Loads a template file; its message is shown. False when it was refused.
    bool LoadTemplate(const std::string& path);
    // Saves the columns; a failure is reported. False when nothing could be written.
    bool SaveTemplate(const std::string& path);

    // Page size: the printable size for the page view, or the sizes a print lays out.
    void SetPrintWidth(float width, float height);
    void SetPageWidthCm(float w);
    void SetPageHeightCm(float h);
    const TPrintPageSize& PageSize() const { return pageSize_; }
    double PixelsPerCm() const { return pixelsPerCm_; }
    int PixelsPerInch() const;

    void UpdateBarTracks();
    void FillCurveList();
    int SelectedColumn() const;
    void SelectColumn(int column);

    // Print-title values.
    float GetPrintTopValue() const;
    float GetPrintBottomValue() const;
    int GetScaleDenominator() const;

    // Page-view geometry: the column under x, the curve whose header block is under y.
    int ColumnAtX(int x) const;
    int CurveHeaderAt(int column, int y) const;
    int CurveHeaderHeight(const TCurveForPrinting& curve, platform::Canvas& canvas, float px) const;
    static int ScaleOfItem(int item);

    // Draws the current page onto a canvas of the page view's size (or into an image); false
    // when only the page number was corrected.
    bool DrawEditorPage(platform::Canvas& canvas, int width, int height);
    bool DrawEditorPage(QImage& image);

    // Handlers.
    void ButtonAddColumnClick();
    void ButtonDeleteColumnClick();
    void ButtonAddCurveClick();
    void ButtonDeleteCurveClick();
    void TabCtrlColumnsChange();
    void TBSelectTemplClick();
    void TBSaveTemplateClick();
    void N2Click();
    void TBLoadLastTemplateClick();
    void TBZoomInClick();
    void TBZoomOutClick();
    void TBZoomPageClick(double factor);  // 0: fit
    void FormattingBarTrackPosEndChange(int track, float position);
    void ComboBoxCurrentCurveChange(QObject* sender);
    void EdDeptScaleChange();
    void EdUpDeptLimitChange();
    void EdLowDeptLimitChange();
    void SButtonDefaultDeptClick();
    void ScaleFormatClick(int format);
    void GridSettingsClick();
    void ShowStandardScales();
    void ComboBoxDeptScaleSelect(int item);
    void ScrollBarColumnsScroll(int position);
    void ScrollBarVertColumnsScroll(int position);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildMenus();
    // The curve's pane in two columns, its list and fields beside its flares and scale, so that
    // it shows whole in a window of ordinary height; `fields` is the first.
    QWidget* CurveColumns(QWidget* fields);
    void FitCurvePane();
    void ConnectControls();
    void FormShow();
    void FormClose();
    void RebuildColumnControls();
    void LoadCurveControls(const TCurveForPrinting& curve);
    TCurveForPrinting* CurrentCurve() const;
    void Repaint();
    void PaintPreview();
    void PageViewMouseDown(QMouseEvent& event);
    void PageViewMouseMove(QMouseEvent& event);
    void PageViewMouseUp();
    void RememberTemplatePath(bool alsoLast);
    float VerticalPixelsPerCm() const;

    std::unique_ptr<Ui::TFormCurveTemplate> ui;
    QActionGroup* scaleFormats_ = nullptr;
    QScrollArea* curvePane_ = nullptr;
    TPrintPageSize pageSize_;
    double pixelsPerCm_ = 0.0;
    TCurveForPrinting* draggedCurve_ = nullptr;
    int lastMouseY_ = -1;
    bool loading_ = false;  // controls being filled from the model
};
