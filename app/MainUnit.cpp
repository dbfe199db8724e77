// Main window: construction, commands wiring, settings, templates set-up, drops, keys and close.
#include "app/MainUnit.h"

#include "app/AboutBox.h"
#include "app/ChooseCurves.h"
#include "app/CurveNameDlg.h"
#include "app/DepthOverview.h"
#include "app/DlgSessions.h"
#include "app/StrativProfileManager.h"
#include "app/HelpWindow.h"
#include "printing/FormCurveTemplate.h"
#include "printing/MacroSettingsDlg.h"
#include "printing/TemplateSelectMacroValInput.h"
#include "printing/TitleTemplate.h"
#include "view/NumberInput.h"
#include "datawin/LasEditorRecovery.h"
#include "datawin/SaveToLas.h"
#include "app/StrativApplication.h"
#include "printing/TemplateVariables.h"
#include "editing/DlgCurveNames.h"
#include "editing/MetkaInfo.h"
#include "editing/FormIntervals.h"
#include "editing/IntervalParams.h"
#include "editing/SelectIntervalPart.h"
#include "core/Lasfile.h"
#include "core/MathExpression.h"
#include "core/SettingsFile.h"
#include "library/DlgLogFileHeaderEditor.h"
#include "library/FormLasBrowserColumns.h"
#include "library/FormSQLiteEditor.h"
#include "library/LasBrowser.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"
#include "platform/Help.h"
#include "platform/Folders.h"
#include "platform/NumberText.h"
#include "platform/ToolIcons.h"
#include "platform/UnattendedDialogs.h"
#include "platform/WorkStop.h"
#include "platform/WindowFit.h"
#include "printing/MacroLists.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QAbstractSpinBox>
#include <QActionGroup>
#include <QBoxLayout>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <filesystem>

struct TFormMain::Ending {
    platform::UnattendedDialogs dialogs;
    platform::WorkStop work;
};

namespace {
TFormMain* mainWindow = nullptr;

const char* const kWindowSection = "MainWindow";
const char* const kViewSection = "View";
const char* const kMacrosSection = "Macros";

// The profile folder, ending with "/".
QString ProfileFolder()
{
    return platform::FileNameFromBytes(StrativProfileManager::Instance().GetProfileDir());
}

// The main settings file, beside the program.
std::string SettingsPath()
{
    return platform::ProgramDir() + "strativ.ini";
}

std::string TemplatesFolder()
{
    return platform::ProgramDir() + "templates/";
}

// The settings files of the program that are damaged, each kept as a backup and removed before
// anything reads it, so that the program starts from its defaults.
std::vector<std::pair<std::string, std::string>> SetAsideDamagedSettingsFiles()
{
    std::vector<std::pair<std::string, std::string>> damaged;
    for (const std::string& path : {SettingsPath(), TFormLasBrowser::GetSettingsFileName(),
                                    TemplatesFolder() + "templates.ini", TFormCurveTemplate::DefaultTemplatePath()})
        if (const std::string backup = SetAsideDamagedSettings(path); !backup.empty())
            damaged.emplace_back(path, backup);
    return damaged;
}

// The names of a drop on the main window: the first existing LAS file is opened, and every other
// name, the other LAS files among them, is left with its reason.
struct DroppedFiles {
    QString open;
    int lasFiles = 0;
    QStringList refused;

    // One message for the whole drop; "" when there is nothing to say.
    QString Message() const
    {
        QString text;
        if (!refused.isEmpty())
            text = QStringLiteral("Не открыты:\n") + refused.join(QLatin1Char('\n'));
        if (lasFiles > 1)
            text += QStringLiteral("\n\nОткрывается файл\n") + platform::ShownFileName(open);
        return text;
    }
};

DroppedFiles SortDroppedFiles(const QMimeData* data)
{
    DroppedFiles dropped;
    if (!data || !data->hasUrls())
        return dropped;
    for (const QUrl& url : data->urls()) {
        const QString path = platform::LocalFileOfUrl(url);
        const QFileInfo info(path);
        const platform::PathKind kind = platform::KindOfPath(path);
        QString reason;
        if (path.isEmpty())
            reason = QStringLiteral("не файл этого компьютера");
        else if (kind == platform::PathKind::Folder)
            reason = QStringLiteral("папка");
        else if (kind != platform::PathKind::File)
            reason = QStringLiteral("файл не найден");
        else if (info.suffix().compare(QStringLiteral("las"), Qt::CaseInsensitive) != 0)
            reason = QStringLiteral("не LAS файл");
        else if (++dropped.lasFiles > 1)
            reason = QStringLiteral("открытым может быть только один документ");
        if (!reason.isEmpty())
            dropped.refused << (path.isEmpty() ? url.toString() : platform::ShownFileName(path)) +
                                   QStringLiteral(" - ") + reason;
        else
            dropped.open = path;
    }
    return dropped;
}
}  // namespace

const platform::ColorRef TFormMain::CurveColors[10] = {0x0000FF, 0xFF0000, 0x008000, 0xFF00FF, 0x808000,
                                                       0x004080, 0x800000, 0x008080, 0x800080, 0x000000};

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TFormMain>())
{
    ui->setupUi(this);
    platform::ShowToolIcons(*ui->ToolBar1);
    damagedSettings_ = SetAsideDamagedSettingsFiles();
    settings_ = std::make_unique<TRxIniFile>(SettingsPath());
    CreateView();
    FormChooseCurves = new TFormChooseCurves(this);
    FormSaveToLas = new TFormSaveToLas(this);
    AboutBox = new TAboutBox(this);
    NumberInput = new TNumberInputBox(this);
    CurveNameDlg = new TCurveNameDlg(this);
    DlgSessions = new TDlgSessions(this);
    SetUpDataWindows();
    SetUpTransferCommands();
    SetUpExportCommand();
    FormIntervalParams = new TFormIntervalParams(this);
    DlgSelectIntervalPart = new TDlgSelectIntervalPart(this);
    FormIntervals = new TFormIntervals(this, *FormIntervalParams);
    DialogCurveNames = new TDialogCurveNames(this);
    FormSQLiteEditor = new TFormSQLiteEditor(this);
    DlgLogFileHeaderEditor = new TDlgLogFileHeaderEditor(this);
    FormLasBrowserColumns = new TFormLasBrowserColumns(this);
    FormMacroSettings = new TFormMacroSettings(this);
    FormTitleTemplate = new TFormTitleTemplate(this);
    FormTemplSelMacroValInput = new TFormTemplSelMacroValInput(this);
    SetUpCurveTemplate();
    SessionsDir = StrativProfileManager::Instance().GetSessionsDir();
    CreateTools();
    SetUpPrintCommands();
    CreateMenus();
    SetUpSingleWindows();
    CreateShiftCommands();
    CreateIntervalCutCommands();
    ConnectCommands();
    SetUpLibraryCommands();
    CreateCalcCommands();
    SetUpTemplates();
    LoadSettings();
    UpdateStatusBar();
    UpdateUndoRedoState();
    UpdateCaption();
    if (mainWindow)
        return;
    // The program's one main window feeds the print-title file name and core's number prompts.
    mainWindow = this;
    const auto document = [this] { return lasFile_ ? platform::FileNameFromBytes(lasFile_->GetFileName()) : QString(); };
    SetDocumentNameSource(document);
    platform::SetOpenDocumentSource(document);
    SetDocumentPlaceSource([this] { return DocumentPlace(); });
    SetMarkValueSource([this](int code) { return DlgMetkaInfo->GetMetkaValue(code); });
    SetTemplateVariableHook(
        [](const std::string& name) { return GetTemplateVariableValue(QString::fromStdString(name)).toStdString(); });
    SetAskNumberHook([](const std::string& title, const std::string& prompt, int decimals, double min, double max,
                        double& value) {
        if (!InputNumberBoxEx(decimals, QString::fromStdString(title), QString::fromStdString(prompt), min, max,
                              value))
            return false;
        value = static_cast<double>(NumberInputBox()->GetValue());
        return true;
    });
    platform::SetHelpHandler(ShowHelpWindow);
}

TFormMain::~TFormMain()
{
    SingleWindows.SetLasFile(nullptr);
    if (mainWindow == this) {
        mainWindow = nullptr;
        SetDocumentNameSource({});
        platform::SetOpenDocumentSource({});
        SetDocumentPlaceSource({});
        SetMarkValueSource({});
        SetTemplateVariableHook({});
        SetAskNumberHook({});
        platform::SetHelpHandler(nullptr);
    }
    // The print-value sources read this window's template editor, which goes with it.
    ClearPrintValueSources();
    // The panel borrows the document's arrays and the macro manager its header: they let go first.
    if (lasFile_)
        ForgetMacroDocument(&lasFile_->GetParser());
    ClearView();
    UndoStore.SetLasFile(nullptr);
}

void TFormMain::CreateView()
{
    PanelCurves = new TPanelWithCurves(ui->PanelCurvesHost);
    // The curve's scale bar opens below the curves, never over them.
    static_cast<QBoxLayout*>(ui->PanelCurvesHost->layout())->insertWidget(0, PanelCurves, 1);
    PanelCurves->installEventFilter(this);
    qApp->installEventFilter(this);  // the scrolling keys, wherever the focus is
    PBoxAllDepth = ui->PBoxAllDepth;
    PBoxAllDepth->installEventFilter(this);
    ListCurveNames = ui->ListCurveNames;
    ScrollBarDepths = ui->ScrollBarDepths;
    ui->SplitterMain->setStretchFactor(0, 0);
    ui->SplitterMain->setStretchFactor(1, 1);
    ui->SplitterMain->setSizes({120, 800});
    statusPanels_[0] = new QLabel(this);
    statusBar()->addWidget(statusPanels_[0], 1);
    for (int i = 1; i < 4; ++i) {
        statusPanels_[i] = new QLabel(this);
        statusBar()->addPermanentWidget(statusPanels_[i]);
    }
    timerKeyControl_ = new QTimer(this);
    connect(timerKeyControl_, &QTimer::timeout, this, Command([this] { TimerKeyControlTimer(); }));
}

void TFormMain::ConnectCommands()
{
    Ui::TFormMain& f = *ui;
    connect(f.MMIFileOpen, &QAction::triggered, this, Command([this] { OpenLasFile({}); }));
    connect(f.TBOpen, &QAction::triggered, this, Command([this] { OpenLasFile({}); }));
    connect(f.MMIFileSaveAs, &QAction::triggered, this, Command([this] { SaveDocument(); }));
    connect(f.TBSave, &QAction::triggered, this, Command([this] { SaveDocument(); }));
    connect(f.MMIFileSessions, &QAction::triggered, this, Command([this] { MMISessionsClick(); }));
    connect(f.MMIFileExit, &QAction::triggered, this, &QWidget::close);
    connect(f.MIUndo, &QAction::triggered, this, Command([this] { TBUndoClick(); }));
    connect(f.TBUndo, &QAction::triggered, this, Command([this] { TBUndoClick(); }));
    connect(f.MIRedo, &QAction::triggered, this, Command([this] { TBRedoClick(); }));
    connect(f.TBRedo, &QAction::triggered, this, Command([this] { TBRedoClick(); }));
    connect(f.MIShowCurveCaptions, &QAction::triggered, this, Command([this] { MIShowCurveCaptionsClick(); }));
    connect(f.MIHelp, &QAction::triggered, this, Command([] { platform::ShowHelpTopic(20); }));
    connect(f.MIAbout, &QAction::triggered, this, Command([this] { MIAboutClick(); }));

    scaleGroup_ = new QActionGroup(this);
    const std::pair<QAction*, int> scales[] = {{f.MIScale10, 10},     {f.MIScale20, 20},     {f.MIScale50, 50},
                                               {f.MIScale100, 100},   {f.MIScale200, 200},   {f.MIScale500, 500},
                                               {f.MIScale1000, 1000}, {f.MIScale2000, 2000}, {f.MIScale5000, 5000},
                                               {f.MIScale10000, 10000}};
    for (const auto& [action, tag] : scales) {
        action->setData(tag);  // the Tag of the scale item
        scaleGroup_->addAction(action);
        connect(action, &QAction::triggered, this, Command([this, action] { MIScale100Click(action); }));
    }
    scaleGroup_->addAction(f.MIAnotherScale);
    connect(f.MIAnotherScale, &QAction::triggered, this, Command([this] { MIAnotherScaleClick(); }));

    PanelCurves->OnDrawingAreaPaint = [this](QPainter& canvas, const QRect& area, double first, double last,
                                             TRasterOp& op) { PanelCurvesDrawingAreaPaint(canvas, area, first, last, op); };
    PBoxAllDepth->SetIntervals(&Intervals);
    PanelCurves->OnCheckData = [this] { CheckDocumentGeneration(); };
    // Panel curve i is curve i + 1 of the document.
    PanelCurves->ValueText = [this](int curve, float value) {
        return platform::CurveValueText(*lasFile_, curve + 1, value);
    };
    PanelCurves->RowDepthText = [this](int row) { return platform::RowDepthText(*lasFile_, row); };
    PanelCurves->OnPaintOverlay = [this](QPainter& painter, const PanelCoordinates& coordinates) {
        if (currentTool_)
            currentTool_->PaintOverlay(painter, coordinates);
    };
    PanelCurves->OnCurveClick = Command([this](TPanelWithCurves* sender, int curve) { PanelCurvesCurveClick(sender, curve); });
    PanelCurves->OnClick = Command([this](QMouseEvent& event) { PanelCurvesClick(event); });
    PanelCurves->OnMouseDown = Command([this](QMouseEvent& event) { PanelCurvesMouseDown(event); });
    PanelCurves->OnMouseMove = Command([this](QMouseEvent& event) { PanelCurvesMouseMove(event); });
    PanelCurves->OnMouseUp = Command([this](QMouseEvent& event) { PanelCurvesMouseUp(event); });
    PanelCurves->OnYOffsetChange = platform::Guarded([this](int) { SyncDepthControls(); });
    PanelCurves->OnDblClick = Command([this](QMouseEvent&) {
        if (const int current = PanelCurves->GetCurrentCurve(); lasFile_ && current > 0)
            ShowCurveCoords(current - 1);
    });
    connect(f.SpinCoordsScale, &QDoubleSpinBox::valueChanged, this, Command([this](double) { CurveCoordsChanged(); }));
    connect(f.SpinCoordsOffset, &QSpinBox::valueChanged, this, Command([this](int) { CurveCoordsChanged(); }));
    connect(f.ButtonHideCurveCoords, &QToolButton::clicked, this, Command([this] { HideCurveCoords(); }));
    connect(ScrollBarDepths, &QScrollBar::valueChanged, this, Command([this](int) { ScrollBarDepthsScroll(); }));
    connect(PBoxAllDepth, &TDepthOverview::DepthClicked, this, Command([this](double depth) {
                if (lasFile_) {
                    PanelCurves->GotoDepth(depth);
                    SyncDepthControls();
                }
            }));
    connect(ListCurveNames, &QListWidget::itemChanged, this,
            Command([this](QListWidgetItem* item) { ListItemChanged(item); }));
}

void TFormMain::SetUpTemplates()
{
    TemplatesDir = TemplatesFolder();
    std::error_code error;
    std::filesystem::create_directories(TemplatesDir, error);
    try {
        TemplatesIni = std::make_unique<TSettingsFile>(TemplatesDir + "templates.ini");
    } catch (const std::exception&) {
        TemplatesIni.reset();
    }
    std::string title;
    if (TemplatesIni && TemplatesIni->ReadString(kMacrosSection, "TitleFile", title))
        TitleFileName = platform::FileNameBytesFromStored(title);
    SetUpMacroManager();
}

void TFormMain::LoadSettings()
{
    const TRxIniFile& s = *settings_;
    recent_.Load(s);
    RebuildRecentMenu();
    if (s.SectionExists(kWindowSection)) {
        const QRect saved(s.ReadInteger(kWindowSection, "Left", x()), s.ReadInteger(kWindowSection, "Top", y()),
                          s.ReadInteger(kWindowSection, "Width", width()),
                          s.ReadInteger(kWindowSection, "Height", height()));
        // A placement from another screen layout or scaling is kept only where it still fits.
        if (platform::FitsAvailableArea(*this, saved) && saved.width() >= 200 && saved.height() >= 150)
            setGeometry(saved);  // the inner geometry, as saved: the frame is not added again
        if (s.ReadBool(kWindowSection, "Maximized", false))
            setWindowState(windowState() | Qt::WindowMaximized);
        const int listWidth = s.ReadInteger(kWindowSection, "ListWidth", 120);
        ui->SplitterMain->setSizes({std::max(60, listWidth), 800});
    }
    const int scale = s.ReadInteger(kViewSection, "DepthScale", DefaultDepthScale);
    SetDepthScale(scale >= 1 && scale <= 100000 ? scale : DefaultDepthScale);
    ui->MIShowCurveCaptions->setChecked(s.ReadBool(kViewSection, "ShowCaptions", true));
}

void TFormMain::SaveSettings()
{
    TRxIniFile& s = *settings_;
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    s.WriteInteger(kWindowSection, "Left", normal.x());
    s.WriteInteger(kWindowSection, "Top", normal.y());
    s.WriteInteger(kWindowSection, "Width", normal.width());
    s.WriteInteger(kWindowSection, "Height", normal.height());
    s.WriteBool(kWindowSection, "Maximized", isMaximized());
    s.WriteInteger(kWindowSection, "ListWidth", ui->SplitterMain->sizes().value(0));
    s.WriteInteger(kViewSection, "DepthScale", DepthScale);
    s.WriteBool(kViewSection, "ShowCaptions", ui->MIShowCurveCaptions->isChecked());
    recent_.Save(s);
    if (!s.UpdateFile())
        platform::MessageBox(this,
                             QStringLiteral("Не удалось сохранить настройки программы\n") +
                                 platform::ShownFileName(SettingsPath()) +
                                 QStringLiteral("\n") +
                                 platform::WriteFailureReason(platform::FileNameFromBytes(SettingsPath()),
                                                              s.SystemError()),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
}

void TFormMain::RebuildRecentMenu()
{
    QMenu* menu = ui->MMIRecent;
    menu->clear();
    for (const QString& path : recent_.Items()) {
        QAction* item = menu->addAction(platform::ShownFileName(path));
        connect(item, &QAction::triggered, this, platform::Guarded([this, path] { OpenRecentFile(path); }));
    }
    menu->setEnabled(!recent_.Items().isEmpty());
}

void TFormMain::OpenRecentFile(const QString& path)
{
    if (platform::KindOfPath(path) != platform::PathKind::File) {
        platform::MessageBox(this, QStringLiteral("Файл не найден:\n") + platform::ShownFileName(path), QStringLiteral("Ошибка"),
                             platform::MB_OK | platform::MB_ICONERROR);
        recent_.Remove(path);
        RebuildRecentMenu();
        return;
    }
    OpenLasFile(path);
}

void TFormMain::SetStartupFile(const QString& path)
{
    startupFile_ = path;
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (!damagedSettings_.empty())
        QTimer::singleShot(0, this, platform::Guarded([this] {
            QString text = QStringLiteral("Файлы настроек повреждены или другого формата и не прочитаны:");
            for (const auto& [path, backup] : damagedSettings_)
                text += QLatin1Char('\n') + platform::ShownFileName(path) +
                        QStringLiteral(" - сохранен как ") + platform::ShownFileName(backup);
            platform::MessageBox(this, text, platform::ApplicationTitle(), platform::MB_OK | platform::MB_ICONWARNING);
        }));
    QTimer::singleShot(0, this, platform::Guarded([this] { OfferKeptLasEditorEdits(*FormEditor, ProfileFolder()); }));
    if (!startupFile_.isEmpty())
        QTimer::singleShot(0, this, platform::Guarded([this] { OpenLasFile(startupFile_); }));
}

void TFormMain::HandOverMessage(const QString& message)
{
    platform::Guarded(this, [&] {
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
        if (!message.startsWith(QStringLiteral("OPEN ")))
            return;
        // An open dialog may hold the document (the save dialog does): the file waits until it closes.
        if (QApplication::activeModalWidget()) {
            QTimer::singleShot(250, this, [this, message] { HandOverMessage(message); });
            return;
        }
        const QString path = message.mid(5);
        if (!lasFile_) {
            OpenLasFile(path);
            return;
        }
        const int answer = platform::MessageBox(
            this, QStringLiteral("Получен файл\n") + platform::ShownFileName(path) + QStringLiteral("\n\nДа - открыть файл\nНет - добавить кривые к загруженному файлу"),
            platform::ApplicationTitle(), platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
        if (answer == platform::IDYES)
            OpenLasFile(path);
        else if (answer == platform::IDNO)
            AddCurvesFromFile(path);
    });
}

void TFormMain::MIAboutClick()
{
    platform::ExecDialog(*AboutBox);
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    bool close = true;
    platform::Guarded(this, [&] {
        if (!QueryCloseDataWindows() || !AskSaveChanges()) {
            close = false;
            return;
        }
        KeepWork();
        SingleWindows.CloseAll();
        LasBrowser.reset();  // stops its scan
        DeleteMacroManager();  // KeepWork wrote its changes or told why it could not
        TemplatesIni.reset();
    });
    event->setAccepted(close);
    if (close)
        emit Closed();
}

void TFormMain::KeepWork()
{
    platform::Guarded(this, [this] {
        SaveLastSession();
        SaveSettings();
        if (LasBrowser)
            LasBrowser->SaveSettings();
        if (TemplatesIni) {
            TemplatesIni->WriteString(kMacrosSection, "TitleFile", platform::StoredFileNameBytes(TitleFileName));
            TemplatesIni->SaveChanges();
        }
        SaveMacroFile(this);
    });
}

void TFormMain::KeepWorkUnasked()
{
    if (ending_)
        return;
    platform::Guarded(this, [this] {
        const platform::UnattendedDialogs unattended;
        KeepWork();
    });
}

void TFormMain::EndSession()
{
    if (ending_)
        return;
    // Nobody is there to answer: a dialog open now, or one that a command left on the stack
    // opens while the program ends, gives its Esc answer at once.
    // Work running below this call (a scan, a report) stops at its next step.
    platform::Guarded(this, [this] { ending_ = std::make_unique<Ending>(); });
    KeepWork();
    platform::Guarded(this, [this] { KeepLasEditorEdits(*FormEditor, ProfileFolder()); });
    emit Closed();
}

// Any list of names is taken, so that those that cannot be opened are named.
void TFormMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event)
{
    const DroppedFiles dropped = SortDroppedFiles(event->mimeData());
    if (dropped.open.isEmpty() && dropped.refused.isEmpty())
        return;
    event->acceptProposedAction();
    // Told and opened after the drop has finished: both run modal dialogs.
    QTimer::singleShot(0, this, platform::Guarded([this, dropped] {
        if (const QString message = dropped.Message(); !message.isEmpty())
            platform::MessageBox(this, message, QStringLiteral("Открытие файла"),
                                 platform::MB_OK | (dropped.refused.isEmpty() ? platform::MB_ICONINFORMATION
                                                                               : platform::MB_ICONWARNING));
        if (!dropped.open.isEmpty())
            OpenLasFile(dropped.open);
    }));
}

void TFormMain::keyPressEvent(QKeyEvent* event)
{
    platform::Guarded(this, [&] {
        if (event->key() == Qt::Key_Escape) {
            StopKeyRepeat();
            CancelMode();
            HideCurveCoords();
            for (QAction* tool : toolGroup_->actions())
                tool->setChecked(false);
            TBPencilClick();
            event->accept();
            return;
        }
        if (currentTool_ && currentTool_->KeyPress(*event)) {
            event->accept();
            return;
        }
        static constexpr int kNavigation[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                                              Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        const bool navigation = std::find(std::begin(kNavigation), std::end(kNavigation), event->key()) !=
                                std::end(kNavigation);
        if (!lasFile_ || !navigation) {
            QMainWindow::keyPressEvent(event);
            return;
        }
        event->accept();
        // The key acts at once and then every 10 ms while held; the system's auto-repeat is ignored.
        if (event->isAutoRepeat() || FHeldKey != 0)
            return;
        FHeldKey = event->key();
        TimerKeyControlTimer();
        if (FHeldKey != 0)
            timerKeyControl_->start(10);
    });
    CheckDocumentGeneration();
}

void TFormMain::keyReleaseEvent(QKeyEvent* event)
{
    bool used = false;
    platform::Guarded(this, [&] { used = currentTool_ && currentTool_->KeyRelease(*event); });
    if (used) {
        event->accept();
        return;
    }
    if (!event->isAutoRepeat() && event->key() == FHeldKey)
        StopKeyRepeat();
    QMainWindow::keyReleaseEvent(event);
}

// A key released while another window has the keyboard never reaches the release handler.
void TFormMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        StopKeyRepeat();
    QMainWindow::changeEvent(event);
}

void TFormMain::StopKeyRepeat()
{
    FHeldKey = 0;
    timerKeyControl_->stop();
}

void TFormMain::TimerKeyControlTimer()
{
    if (!lasFile_) {
        StopKeyRepeat();
        return;
    }
    switch (FHeldKey) {
    case Qt::Key_PageUp: ScrollByRows(-PageRows()); break;
    case Qt::Key_PageDown: ScrollByRows(PageRows()); break;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const int direction = FHeldKey == Qt::Key_Home ? -1 : 1;
        StopKeyRepeat();
        ScrollByRows(direction * (PanelCurves->YAxisInfo.MaxOffset() + 1));
        break;
    }
    case Qt::Key_Up: ScrollByRows(-15); break;
    case Qt::Key_Down: ScrollByRows(15); break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        PanelCurves->XAxisInfo.SetOffset(PanelCurves->XAxisInfo.Offset() + (FHeldKey == Qt::Key_Right ? 10 : -10));
        PanelCurves->Repaint();
        break;
    default: StopKeyRepeat(); break;
    }
}

// The scrolling keys belong to the view wherever the focus is in this window, except in a field
// that edits text or numbers, and never while a dialog is open.
bool TFormMain::TakesNavigationKey(QObject* watched, const QKeyEvent& event) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!lasFile_ || !widget || widget == this || widget->window() != this || QApplication::activeModalWidget() ||
        event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
        qobject_cast<QTextEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
        (qobject_cast<QComboBox*>(widget) && static_cast<QComboBox*>(widget)->isEditable()))
        return false;
    switch (event.key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right: return true;
    default: return false;
    }
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        TakesNavigationKey(watched, *static_cast<QKeyEvent*>(event))) {
        QCoreApplication::sendEvent(this, event);
        return true;
    }
    if (watched == PanelCurves && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, platform::Guarded([this] { SyncDepthControls(); }));
    if ((watched == PanelCurves || watched == PBoxAllDepth) && event->type() == QEvent::Wheel) {
        // Touchpads and fine wheels send parts of a notch: they add up to whole notches.
        wheelDelta_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int notches = wheelDelta_ / 120;
        wheelDelta_ -= notches * 120;
        platform::Guarded([this, notches] {
            for (int i = 0; i < std::abs(notches); ++i)
                notches > 0 ? FormMouseWheelUp() : FormMouseWheelDown();
        })();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
