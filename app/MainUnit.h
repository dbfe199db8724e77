// The main window: owns the open LAS document, shows its curves in the panel, the curve list
// and the depth overview, and carries the commands of the program.
#pragma once

#include "app/RecentFiles.h"
#include "datawin/SaveToLas.h"
#include "core/data_dump_restore.h"
#include "editing/IntervalManager.h"
#include "platform/Colors.h"

#include <QMainWindow>
#include <QPoint>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ui { class TFormMain; }
class QAction;
class QActionGroup;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QKeyEvent;
class QMouseEvent;
class QScrollBar;
class QTimer;
class TAboutBox;
class QPainter;
class StrativSession;
class TCurveNameDlg;
class TDepthOverview;
class TDlgLogFileHeaderEditor;
class TDlgSessions;
class TFormChooseCurves;
class TFormLasBrowserColumns;
class TFormSaveToLas;
class TLASFile;
class TNumberInputBox;
class TPanelWithCurves;
class TRxIniFile;
class TSettingsFile;
enum TRasterOp : std::uint32_t;

class TFormMain : public QMainWindow
{
    Q_OBJECT
public:
    // Colours of curves added to the view, by document index modulo 10 (0x00BBGGRR).
    static const platform::ColorRef CurveColors[10];
    // Depth scale the program starts with.
    static constexpr int DefaultDepthScale = 200;

    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    Ui::TFormMain& Form() const { return *ui; }

    // The view.
    TPanelWithCurves* PanelCurves = nullptr;
    TDepthOverview* PBoxAllDepth = nullptr;
    QListWidget* ListCurveNames = nullptr;
    QScrollBar* ScrollBarDepths = nullptr;

    // The open document, null when none.
    TLASFile* LasFile() const { return lasFile_.get(); }
    DumpRestoreCurveData UndoStore;
    // N of the current depth scale 1:N.
    int DepthScale = DefaultDepthScale;
    // Named depth intervals, drawn as bands over the panel and the depth overview.
    IntervalManager Intervals;
    bool UseNewIntervals = true;
    // Repaints everything that shows the intervals.
    void RefreshIntervals();
    // The panel's drawing-area layer: the interval bands, merged by exclusive or.
    void PanelCurvesDrawingAreaPaint(QPainter& canvas, const QRect& area, double firstDepth, double lastDepth,
                                     TRasterOp& op);

    // Sessions: the folder (ending with "/"), the dialog, and saving and loading one session.
    std::string SessionsDir;
    TDlgSessions* DlgSessions = nullptr;
    void MMISessionsClick();
    // Asks to save a modified document, then replaces the document, the view and the intervals.
    bool LoadSession(const QString& path);
    // Writes the LAS copy beside the session file, then the session file.
    bool SaveSession(const QString& path);

    // Modified: the undo store's state differs from the one last opened or saved, or a change the
    // store does not record was made since. SetModified(false) marks the current state as saved.
    bool IsModified() const;
    void SetModified(bool modified = true);

    // Templates set-up: folder (ending with "/"), its settings file (null when it could not be
    // made) and the current title file name.
    std::string TemplatesDir;
    std::unique_ptr<TSettingsFile> TemplatesIni;
    std::string TitleFileName;
    // The main settings file ("strativ.ini" beside the program).
    TRxIniFile& Settings() const { return *settings_; }
    const TRecentFiles& RecentFiles() const { return recent_; }

    // Dialogs made once with the window; they keep their state between uses.
    TFormChooseCurves* FormChooseCurves = nullptr;
    TFormSaveToLas* FormSaveToLas = nullptr;
    TAboutBox* AboutBox = nullptr;
    TNumberInputBox* NumberInput = nullptr;
    TCurveNameDlg* CurveNameDlg = nullptr;
    TDlgLogFileHeaderEditor* DlgLogFileHeaderEditor = nullptr;
    TFormLasBrowserColumns* FormLasBrowserColumns = nullptr;

    // Document life cycle. Every road of opening ends in OpenLasFile (empty path: the open
    // dialog); true when the file became the document.
    bool OpenLasFile(const QString& path);
    // Save question for a modified document; false when the user cancelled or the save wrote nothing.
    bool AskSaveChanges();
    // The save dialog on the document; clears the modified flag when it wrote the files.
    bool SaveDocument();
    // Opened when the window is first shown.
    void SetStartupFile(const QString& path);
    // "OPEN path" or "SHOW" from a second instance.
    void HandOverMessage(const QString& message);

    // View.
    void AddCurveToView(int index, platform::ColorRef color, bool repaint, int xOffset, const QString& caption);
    void UpdateStatusBar();
    QString StatusText(int panel) const;
    void UnselectCurve(int index);
    void InvalidateCurveList();
    void FillCurveList(bool captions);
    void FormMouseWheelUp();
    void FormMouseWheelDown();
    void ScrollBarDepthsScroll();
    void MIScale100Click(QAction* sender);
    void MIAnotherScaleClick();
    void MIShowCurveCaptionsClick();
    void SetDepthScale(int n);
    // Panel of one curve's horizontal scale and offset, opened by a double click on the curve.
    void ShowCurveCoords(int curveIndex);
    void HideCurveCoords();
    int GetSelectedCurveCount() const;
    int GetSelectedCurveIndex(int n) const;

    // Tools and editing.
    void TBPencilClick();
    void CancelMode();
    void PanelCurvesMouseDown(QMouseEvent& event);
    void PanelCurvesMouseMove(QMouseEvent& event);
    void PanelCurvesMouseUp(QMouseEvent& event);
    void UpdateUndoRedoState(bool fromWindow = false);
    void TBUndoClick();
    void TBRedoClick();
    void MIAboutClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateView();
    void ConnectCommands();
    void SetUpTemplates();
    void LoadSettings();
    void SaveSettings();
    void RebuildRecentMenu();
    void OpenRecentFile(const QString& path);
    // Steps of opening: the chosen curves kept in the new document, the old one replaced.
    bool ChooseCurves(TLASFile& document);
    void ReplaceDocument(std::unique_ptr<TLASFile> document);
    void AttachDepthAxis();
    void ReattachView();
    void ClearView();
    void SyncDepthControls();
    void ScrollByRows(int rows);
    // A screen of rows less a small overlap.
    int PageRows() const;
    bool NavigationKey(int key);
    bool TakesNavigationKey(QObject* watched, const QKeyEvent& event) const;
    void ListItemChanged(QListWidgetItem* item);
    void SyncCurveListTicks();
    void CurveCoordsChanged();
    void UpdateCaption();
    bool AnyToolDown() const;
    // "last.vxs" of the loaded document, written when the program closes.
    void SaveLastSession();
    StrativSession CaptureSession(const std::string& lasCopyName) const;
    void ApplySessionView(const StrativSession& session);
    // Tools acting on panel presses.
    void ZoomTrack();
    void RestoreLineCopy();

    std::unique_ptr<Ui::TFormMain> ui;
    std::unique_ptr<TRxIniFile> settings_;
    std::unique_ptr<TLASFile> lasFile_;
    TRecentFiles recent_;
    LoadedFileInfo loadedFrom_;  // what the document's file held when it was read
    bool unrecordedChange_ = false;
    std::uint64_t savedState_ = 0;
    QString startupFile_;
    bool shownOnce_ = false;
    bool scrollingByBar_ = false;
    int wheelDelta_ = 0;  // wheel turn not yet scrolled, in eighths of a degree
    QLabel* statusPanels_[4] = {};
    QActionGroup* toolGroup_ = nullptr;
    QActionGroup* scaleGroup_ = nullptr;

    // Pencil, line and track-width tools: the panel curve being worked (-1 none).
    int toolCurve_ = -1;
    QPoint toolStart_;
    QPoint toolLast_;
    std::vector<float> lineCopy_;  // values of the line tool's curve before the drag
    int lineXOffset_ = 0;          // and its horizontal offset
    bool toolChanged_ = false;
    int coordsCurve_ = -1;  // panel curve shown in PanelCurveCoords
    double zoomFactor_ = 1.0;
    QTimer* zoomTimer_ = nullptr;
};
