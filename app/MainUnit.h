// The main window: owns the open LAS document, shows its curves in the panel, the curve list
// and the depth overview, and carries the commands of the program.
#pragma once

#include "app/RecentFiles.h"
#include "core/ExprList.h"
#include "core/CoreTypes.h"
#include "datawin/SaveToLas.h"
#include "datawin/SynchSingleWindows.h"
#include "core/data_dump_restore.h"
#include "editing/IntervalManager.h"
#include "editing/CalcPickTool.h"
#include "editing/PanelTool.h"
#include "platform/Colors.h"
#include "platform/ErrorReport.h"

#include <QMainWindow>
#include <QPoint>
#include <QStringList>
#include <cstdint>
#include <map>
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
class QGroupBox;
class QMenu;
class QToolBar;
class QPushButton;
class TAboutBox;
class TDlgMetkaInfo;
class TDlgIntervalLimiter;
class TDlgCalcBarEdit;

class QPainter;
class StrativSession;
class TCurveNameDlg;
class TDepthOverview;
class QGroupBox;
class QMenu;
class TDialogCurveNames;
class TDlgSelectIntervalPart;
class TFormIntervals;
class TFormIntervalParams;
class TDlgLogFileHeaderEditor;
class TDlgSessions;
class TDeptRecalcDlg;
class TFormChooseCurves;
class TFormLasBrowser;
class TFormSQLiteEditor;
class TFormCreateCurveByValues;
class TFormCurveTemplate;
class TFormDetailStatistics;
class TFormEditor;
class TDlgNewLasWizard;
class TFormViewValuesAtInterval;
class TFormLasBrowserColumns;
class TFormMacroSettings;
class TFormTemplSelMacroValInput;
class TFormPrnParams;
class TFormTitleTemplate;
class TFormSaveToLas;
class TFormAddData;
class TFormExport;
class TLASFile;
class TNumberInputBox;
class TPanelWithCurves;
class TRxIniFile;
class TSettingsFile;
enum TRasterOp : std::uint32_t;

class TFormMain : public QMainWindow, public TToolHost
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
    // The single-curve windows, sharing the document, the undo store and the intervals
    // (app/MainSingle.cpp).
    TSynchSingleWindows SingleWindows{&UndoStore, &Intervals};
    QAction* MICurveToWindow = nullptr;
    void MICurveToWindowClick();
    // The tick of the hidden "Использовать новые интервалы": the interval commands work only while it is set.
    bool UseNewIntervals() const;
    // Intervals under the last press or release in the panel, and the range a new interval is
    // proposed for from the gap pop-up.
    std::vector<int> ClickIntervals;
    float NewIntervalTop = 0.0f;
    float NewIntervalBottom = 0.0f;
    // Interval commands.
    void MMIIntervalSetClick();
    void PMIMergeCurrentIntWithNextClick();
    void PMIAddFillIntervalClick();
    void MIRemoveIntervalClick();
    void MMIIntervalsShowClick();
    void MMINewIntEnabledClick();
    TFormIntervals* FormIntervals = nullptr;
    // Hidden commands over the panel's selected range (app/MainIntervalCut.cpp).
    QMenu* MMIInterval = nullptr;
    QAction* MMIIntervalSet = nullptr;
    QAction* MMIIntervalRemove = nullptr;
    QAction* MMIIntervalOnlyInterval = nullptr;
    QAction* PMIIntervalCut = nullptr;
    TDlgIntervalLimiter* DlgIntervalLimiter = nullptr;
    void MMIIntervalRemoveClick();
    // Cuts the document down to the panel's range, through the range dialog.
    void MMIIntervalOnlyIntervalClick();
    QMenu* PMenuBound = nullptr;
    QMenu* PMenuAddInterval = nullptr;

    // Curve pop-up menu: the curve (document index) and the depth index under it when it opened.
    QMenu* PMenuCurves = nullptr;
    int FPopupCurve = 0;
    int FPopupDepthIndex = -1;
    // Opens PMenuCurves at a global position, over the panel or over the curve list.
    void PMenuCurvesPopup(bool overList, QPoint globalPos);
    // Renames document curve `index` under the name rules; false when the name was refused.
    bool RenameCurve(int index, const QString& name);
    void MICurveNameClick();
    void MICurveNamesClick();
    void PMenuCurveCloneClick();
    void MIInverseCurveClick();
    void MIEnlargeCurveWidthClick();
    void MIDecrCurveWidthClick();
    void MICutTopClick();
    void MICutBottomClick();
    TDialogCurveNames* DialogCurveNames = nullptr;

    // Depth shifts typed as a value. FPendingShift: the shift the next curve click makes
    // (0 none, 1 with cut, 2 keeping values).
    int FPendingShift = 0;
    QMenu* PMenuShiftModes = nullptr;
    QMenu* PMenuCurveGroup = nullptr;
    QGroupBox* PanelShiftValue = nullptr;
    QLabel* LabelShiftValue = nullptr;
    // A value in metres typed in a box with this caption; 0 when cancelled or empty.
    double InputDepthShift(const QString& caption);
    void TBShiftDeptClick();
    void MIShiftAndCutClick();
    void MIShiftAndNullClick();
    void MIShiftGroupClick();
    void ShiftCurveCut(int curve);
    void ShiftCurveKeep(int curve);
    // The depth-marker tool: its panel and the perforation-mark dialog, made once (app/MainMetka.cpp).
    QGroupBox* PanelMetka = nullptr;
    QPushButton* ButtonMetkaParams = nullptr;
    TDlgMetkaInfo* DlgMetkaInfo = nullptr;
    // Hides the marker panel and releases TBMetka; with `showDialog` the mark dialog follows.
    void CloseMetkaPanel(bool showDialog);
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
    // Where the user's files made from the document (a PDF, an EMF, a template) go by default:
    // the document's path; for a session's copy, which lies among the profile's files, the
    // session's name in the folder a file was last opened from. "" without a document.
    QString DocumentPlace() const;
    // The name of the session whose LAS copy the document is; "" for any other document.
    QString DocumentSession() const;
    // The name of the session whose LAS copy `file` is; "" for any other file.
    QString SessionOfCopy(const QString& file) const;

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
    // Data windows: the LAS editor and the new-file wizard (made in SetUpDataWindows, app/MainDataWindows.cpp).
    TFormEditor* FormEditor = nullptr;
    QAction* MIEditLas = nullptr;
    void MIEditLasClick();
    TDlgNewLasWizard* NewLasWizard = nullptr;
    QAction* MMIFileCreateNew = nullptr;
    void MMIFileCreateNewClick();
    TDlgSelectIntervalPart* DlgSelectIntervalPart = nullptr;
    TFormIntervalParams* FormIntervalParams = nullptr;
    TFormSQLiteEditor* FormSQLiteEditor = nullptr;
    TDlgLogFileHeaderEditor* DlgLogFileHeaderEditor = nullptr;
    TFormLasBrowserColumns* FormLasBrowserColumns = nullptr;
    // The library browser, made on first use; destroyed with the window, which saves its settings.
    std::unique_ptr<TFormLasBrowser> LasBrowser;
    void MILasBrowseClick();
    // Shows the SQLite editor (the menu item is hidden).
    void MMIFileSQliteEditClick();
    TFormMacroSettings* FormMacroSettings = nullptr;
    TFormTitleTemplate* FormTitleTemplate = nullptr;
    TFormTemplSelMacroValInput* FormTemplSelMacroValInput = nullptr;
    // The curve print template editor, holding the template (app/MainTemplate.cpp).
    TFormCurveTemplate* FormCurveTemplate = nullptr;
    void BindCurveTemplate();
    void AddSelectedCurvesToTemplate(bool newColumn);
    void MMIClearTemplateClick();
    // Printing: the print parameters dialog and the print command (app/MainPrint.cpp).
    TFormPrnParams* FormPrnParams = nullptr;
    QAction* MIPrint = nullptr;
    QAction* TBPrint = nullptr;
    void MIPrintClick();

    // Macros of title templates: the manager made with the templates set-up, its settings
    // window ("Настройка макроподстановок...").
    void MMIToolsMacroClick();
    // The title template editor ("Редактор шаблонов заголовков...").
    void MMITilteTmplateClick();

    // Document life cycle. Every road of opening ends in OpenLasFile (empty path: the open
    // dialog); true when the file became the document.
    bool OpenLasFile(const QString& path);
    // Adds curves of another LAS file to the document through the add-curves dialog, starting at
    // `path` (empty: the document's folder); true when curves were added.
    bool AddCurvesFromFile(const QString& path);
    TFormAddData* FormAddData = nullptr;
    // Export of chosen curves to a text table or a LAS file (app/MainExport.cpp).
    TFormExport* FormExport = nullptr;
    QAction* TBExport = nullptr;
    QAction* MMIFileExport = nullptr;
    void TBExportClick();
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
    void SetDepthScale(int n) override;
    // Panel of one curve's horizontal scale and offset, opened by a double click on the curve.
    void ShowCurveCoords(int curveIndex);
    void HideCurveCoords();
    int GetSelectedCurveCount() const;
    int GetSelectedCurveIndex(int n) const;
    // Document curve numbers (panel index + 1) of the selected curves, ascending.
    std::vector<int> GetSelectedCurvesList() const;
    // The depth ranges an operation works on: the whole document when there are no intervals,
    // else the user's choice (empty when cancelled or without a document).
    FloatPairList SelectOperationIntervals(const QString& message, int preselect) override;

    // Tools and editing. The checked button of the tool group chooses the current tool (none
    // when every button is up); the panel's events reach it after the window's own part.
    void TBPencilClick();
    // Ends every pending pick and mode.
    void CancelMode();
    void ShowModePrompt();
    TPanelTool* CurrentTool() const { return currentTool_; }
    TPanelTool* ToolOf(QAction* button) const;
    void PanelCurvesCurveClick(TPanelWithCurves* sender, int curveIndex);
    void PanelCurvesClick(QMouseEvent& event);
    void PanelCurvesMouseDown(QMouseEvent& event);
    void PanelCurvesMouseMove(QMouseEvent& event);
    void PanelCurvesMouseUp(QMouseEvent& event);
    // Runs the document-changed routine when the document's arrays were replaced since the view
    // was attached.
    void CheckDocumentGeneration();
    // Adds an interval after the interval parameters dialog.
    void AddInterval(float top, float bottom) override;
    void UpdateUndoRedoState(bool fromWindow = false);
    void TBUndoClick();
    void TBRedoClick();
    void MIAboutClick();

    // Reports, depth step recalculation and new curves from typed values (MainCalc.cpp).
    TFormDetailStatistics* FormDetailStatistics = nullptr;
    TFormViewValuesAtInterval* FormViewValuesAtInterval = nullptr;
    TDeptRecalcDlg* DeptRecalcDlg = nullptr;
    TFormCreateCurveByValues* FormCreateCurveByValues = nullptr;
    void MMIDetailStatClick();
    void MMIViewValuesAtIntervalsClick();
    void PMIIntViewValuesClick();
    void MenuStepRecalcClick();
    void MMICurvesAddNewClick();
    void WriteSmoothedSegments(int curve, const ListOfFloatValuesWithIndex& list) override;

    // Calculation scripts: the bar of their buttons, their menus, picking the arguments of a new
    // curve and the group operations over intervals (MainCalcBar.cpp).
    TExprList ExprList;
    QToolBar* CoolBarExp = nullptr;
    QMenu* PMenuCalcBar = nullptr;
    QAction* MICalcBarEdit = nullptr;
    QAction* N1 = nullptr;
    QAction* MainMICalcSettings = nullptr;
    QMenu* MICurveCalculations = nullptr;
    QMenu* PMICurveGroupCalc = nullptr;
    QMenu* PMICurvesOperations = nullptr;
    QAction* PMICurvesOperMult = nullptr;
    QAction* PMICurvesOperShift = nullptr;
    QMenu* MMICurvesCalc = nullptr;
    QMenu* MMIIntCalc = nullptr;
    TDlgCalcBarEdit* DlgCalcBarEdit = nullptr;
    void LoadCalcScripts();
    void BuildCalcBar();
    void BuildCalcMenus();
    void SpBtnMathExprClick(QAction* button);
    // Every calculation button but `except` goes up; without one the pick ends too.
    void ReleaseCalcButtons(QAction* except);
    void ListCurveNamesClick(QListWidgetItem* item);
    void MICalcBarEditClick();
    void MMICurvesOperMultClick();
    void MMICurvesOperShiftClick();
    void GroupCalcItemClick(QAction* item);
    void CurveCalcItemClick(QAction* item);
    // op: -2 multiply, -1 shift, 0.. the script of that index; curves: document indexes.
    void RunCurveGroupOperation(int op, int preselect, const std::vector<int>& curves);
    TCalcPickTool* CalcPickTool() const { return calcTool_.get(); }
    const std::vector<QAction*>& CalcButtons() const { return calcButtons_; }

    // Services for the tools.
    TPanelWithCurves& Panel() override { return *PanelCurves; }
    TLASFile* Document() override { return lasFile_.get(); }
    QWidget* DialogOwner() override { return this; }
    IntervalManager& IntervalList() override { return Intervals; }
    void Snapshot(const std::string& operation) override;
    void DiscardSnapshot() override;
    void ShowShiftValue(bool shown, const QString& text) override;
    void RecordOffsetChange(int curve, int delta) override;
    void MarkModified() override { SetModified(); }
    void DocumentChanged() override { ReattachView(); }
    void PromptChanged() override { ShowModePrompt(); }
    void ToolDone() override;
    void ShowNewCurve(int index, std::uint32_t color) override;

    // The session manager's save request: what a close keeps is written without a question and
    // without closing anything; a failure goes to the error output, never into a dialog.
    void KeepWorkUnasked();
    // A logout, a shutdown or kill: running long work stops, the work is kept as by KeepWorkUnasked
    // and the LAS editor's unsaved edits in the profile, no dialog is shown from then on, and the
    // window ends as when it is closed (Closed is emitted).
    void EndSession();

signals:
    // The window accepted its close: every window of its own has saved its settings.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateView();
    void SetUpLibraryCommands();
    void SetUpDataWindows();
    void SetUpSingleWindows();
    // The add-curves command (app/MainTransfer.cpp).
    void SetUpTransferCommands();
    void SetUpExportCommand();
    // The data windows' questions about their unsaved edits; false keeps the program open.
    bool QueryCloseDataWindows();
    void ConnectCommands();
    void CreateTools();
    void CreateMetkaTool();
    void CreateMenus();
    void CreateShiftCommands();
    void CreateIntervalCutCommands();
    bool TakePendingShift(int curve);
    void ShiftCurvesByDepth(const std::vector<int>& curves, double d);
    // Right button released over the panel: the curve menu, or the interval or gap menu.
    void PanelCurvesPopup(QMouseEvent& event);
    // The curve of a pop-up command: a data curve's document index, 0 when none.
    int PopupDataCurve() const;
    void CutPopupCurve(bool top);
    void RefreshCurveNames();
    void CreateCalcCommands();
    void CreateCalcBar();
    // A command handler, followed by the document-changed routine when it replaced arrays.
    template <class Handler>
    auto Command(Handler handler);
    void TimerKeyControlTimer();
    void StopKeyRepeat();
    void SetUpTemplates();
    void SetUpMacroManager();
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
    void SetUpCurveTemplate();
    void SetUpPrintCommands();
    // The view's curves or the document's arrays changed: the template is bound anew before
    // its next use; with `release` it lets go of the arrays at once.
    void ClearTemplateBinding(bool release);
    void SyncDepthControls();
    void ScrollByRows(int rows);
    // A screen of rows less a small overlap.
    int PageRows() const;
    bool TakesNavigationKey(QObject* watched, const QKeyEvent& event) const;
    void ListItemChanged(QListWidgetItem* item);
    void SyncCurveListTicks();
    void CurveCoordsChanged();
    void UpdateCaption();
    // "last.vxs" of the loaded document, written when the program closes.
    void SaveLastSession();
    // What a close keeps: the last session with the document as it is, the settings of the
    // program, the browser and the templates, the macro file.
    void KeepWork();
    StrativSession CaptureSession(const std::string& lasCopyName) const;
    void ApplySessionView(const StrativSession& session);

    std::unique_ptr<Ui::TFormMain> ui;
    std::unique_ptr<TRxIniFile> settings_;
    std::unique_ptr<TLASFile> lasFile_;
    // Set once the session ends: no dialog waits for an answer, and long work stops.
    struct Ending;
    std::unique_ptr<Ending> ending_;
    TRecentFiles recent_;
    LoadedFileInfo loadedFrom_;  // what the document's file held when it was read
    // The file the work belongs to: the one opened or saved, or for a session's document the one
    // its session recorded ("" when unknown). Sessions keep it; saving a copy proposes it.
    QString workFile_;
    bool unrecordedChange_ = false;
    std::uint64_t savedState_ = 0;
    QString startupFile_;
    // Settings files set aside at start, each with the path of its copy, told once the window shows.
    std::vector<std::pair<std::string, std::string>> damagedSettings_;
    bool shownOnce_ = false;
    bool scrollingByBar_ = false;
    int wheelDelta_ = 0;  // wheel turn not yet scrolled, in eighths of a degree
    QLabel* statusPanels_[4] = {};
    QActionGroup* toolGroup_ = nullptr;
    QActionGroup* scaleGroup_ = nullptr;

    std::map<QAction*, std::unique_ptr<TPanelTool>> tools_;
    std::unique_ptr<TCalcPickTool> calcTool_;
    std::vector<QAction*> calcButtons_;
    bool tickChanged_ = false;  // a tick of the curve list changed in the click being handled
    TPanelTool* currentTool_ = nullptr;
    int coordsCurve_ = -1;  // panel curve shown in PanelCurveCoords
    bool popupOverList_ = false;  // PMenuCurves was opened over ListCurveNames
    // Sideways moves of panel curves made by undo steps, by the store's state after the step.
    std::map<std::uint64_t, std::map<int, int>> stepOffsets_;
    void MoveCurvesOfStep(std::uint64_t state, int sign);
    // The document's generation the view was attached at, and its first depth then.
    unsigned long long attachedGeneration_ = 0;
    double attachedFirstDepth_ = 0.0;
    // Navigation key being held (0: none) and its repeat.
    int FHeldKey = 0;
    QTimer* timerKeyControl_ = nullptr;
};

template <class Handler>
auto TFormMain::Command(Handler handler)
{
    return [this, handler = std::move(handler)](auto&&... args)
               -> decltype(std::declval<Handler&>()(std::forward<decltype(args)>(args)...), void()) {
        platform::Guarded(this, [&] { handler(std::forward<decltype(args)>(args)...); });
        UndoStore.ReleaseDropped();  // the command is over: applied or taken back
        platform::Guarded(this, [this] { CheckDocumentGeneration(); });
    };
}
