// Template editor: construction, menus, binding, columns, template files, show and close.
#include "printing/FormCurveTemplate.h"

#include "core/SettingsFile.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "platform/Folders.h"
#include "platform/Help.h"
#include "platform/ToolIcons.h"
#include "printing/FormGridParams.h"
#include "printing/TemplateVariables.h"
#include "ui_FormCurveTemplate.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolBar>
#include <cmath>
#include <filesystem>

namespace {

const QString TemplateFilter = QStringLiteral("Файлы шаблонов вывода кривых (*.ctl)");

platform::FileDialogOptions SaveOptions(const QString& directory)
{
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Сохранение шаблона");
    options.filter = TemplateFilter;
    options.defaultSuffix = QStringLiteral("ctl");
    options.directory = directory;
    options.kind = platform::FileKind::CurveTemplate;
    return options;
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

TFormCurveTemplate::TFormCurveTemplate(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormCurveTemplate>())
{
    ui->setupUi(this);
    FormGridParams = new TFormGridParams(this);
    ui->ComboBoxDeptScale->hide();
    ui->PaintBoxCurrentColumn->setAttribute(Qt::WA_OpaquePaintEvent);
    ui->PaintBoxCurrentColumn->setMouseTracking(true);
    ui->PaintBoxCurrentColumn->installEventFilter(this);
    ui->EdDeptScale->installEventFilter(this);
    ui->EdDeptScale->setContextMenuPolicy(Qt::PreventContextMenu);
    ui->FormattingBar->SetBGColor(Qt::white);
    ui->FormattingBar->SetWidthInSm(23.0f);
    ui->RadioGroupBlikModeItem1->setChecked(true);
    ui->RadioGroupTitleTypeItem0->setChecked(true);
    ui->RadioGroupTitlesItem0->setChecked(true);
    ui->Splitter->setStretchFactor(0, 1);
    ui->Splitter->setStretchFactor(1, 0);
    // The curve controls scroll when the window is too low for them, never sideways: the pane
    // is as wide as they need, whatever they come to hold.
    curvePane_ = new QScrollArea(this);
    curvePane_->setWidgetResizable(true);
    curvePane_->setFrameShape(QFrame::NoFrame);
    curvePane_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    curvePane_->setWidget(CurveColumns(ui->Splitter->replaceWidget(1, curvePane_)));
    curvePane_->widget()->installEventFilter(this);
    FitCurvePane();
    ui->Splitter->setCollapsible(1, false);
    ui->Splitter->setSizes({400, 255});
    ui->TabCtrlColumns->setMinimumHeight(22);
    ui->PanelColumnClient->setMinimumSize(200, 200);
    ui->TabCtrlColumns->DrawTab = [](QPainter& p, int index, const QRect& r, bool selected, bool hovered) {
        // Selected white, hovered light grey with blue text, others silver.
        p.fillRect(r, selected ? QColor(Qt::white) : hovered ? QColor(0xDF, 0xDF, 0xDF) : QColor(0xC0, 0xC0, 0xC0));
        p.setPen(hovered && !selected ? QColor(0, 0, 0xFF) : QColor(Qt::black));
        const QString caption = QString::number(index + 1);
        const QFontMetrics fm(p.font());
        p.drawText(r.left() + r.width() / 2 - fm.horizontalAdvance(caption) / 2,
                   r.top() + r.height() / 2 - fm.height() / 2 + 1 + fm.ascent(), caption);
    };
    BuildMenus();
    ConnectControls();
    SetPrintWidth(static_cast<float>(pageSize_.PageWidth), static_cast<float>(pageSize_.PageHeight));
    ui->ComboBoxCurrentCurve->setEnabled(false);
}

TFormCurveTemplate::~TFormCurveTemplate() = default;

std::string TFormCurveTemplate::DefaultTemplatePath()
{
    return platform::ProgramDir() + "DefaultTempl.ctl";
}

void TFormCurveTemplate::BuildMenus()
{
    auto* menuBar = new QMenuBar(this);
    QMenu* templ = menuBar->addMenu(QStringLiteral("&Шаблон"));
    templ->addActions({ui->TBSelectTempl, ui->TBSaveTemplate, ui->N2, ui->TBLoadLastTemplate});
    templ->addSeparator();
    templ->addAction(ui->TBClose);
    QMenu* edit = menuBar->addMenu(QStringLiteral("&Правка"));
    edit->addActions({ui->TBAddColumn, ui->TBDelColumn});
    QMenu* format = menuBar->addMenu(QStringLiteral("Формат шкалы"));
    scaleFormats_ = new QActionGroup(this);
    for (QAction* a : {ui->MMIScaleSimple, ui->MMIScaleHM, ui->MMIScaleMS, ui->MMIScaleHMS}) {
        scaleFormats_->addAction(a);
        format->addAction(a);
    }
    ui->MMIScaleSimple->setChecked(true);
    menuBar->addMenu(QStringLiteral("Настройки"))->addAction(ui->MMIGrid);
    menuBar->addAction(ui->MMIHelp);
    auto* toolBar = new QToolBar(this);
    platform::ShowToolIcons(*toolBar);
    toolBar->addActions({ui->TBSelectTempl, ui->TBSaveTemplate, ui->TBLoadLastTemplate});
    toolBar->addSeparator();
    toolBar->addActions({ui->TBAddColumn, ui->TBDelColumn});
    toolBar->addSeparator();
    toolBar->addActions({ui->TBZoomIn, ui->TBZoomOut, ui->TBZoomPagein, ui->TBZoomPageOut, ui->TBZoomPageFit});
    toolBar->addSeparator();
    toolBar->addAction(ui->TBClose);
    ui->layoutMain->insertWidget(0, toolBar);
    ui->layoutMain->setMenuBar(menuBar);
}

QWidget* TFormCurveTemplate::CurveColumns(QWidget* fields)
{
    auto* pane = new QWidget;
    auto* columns = new QHBoxLayout(pane);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(fields);
    auto* second = new QVBoxLayout;
    for (QWidget* moved : {static_cast<QWidget*>(ui->GroupBoxBlik), static_cast<QWidget*>(ui->PageControlCurveScale)}) {
        ui->layoutRight->removeWidget(moved);
        second->addWidget(moved);
    }
    second->addStretch();
    columns->addLayout(second);
    return pane;
}

void TFormCurveTemplate::FitCurvePane()
{
    curvePane_->setMinimumWidth(curvePane_->widget()->minimumSizeHint().width() +
                                curvePane_->verticalScrollBar()->sizeHint().width());
}

void TFormCurveTemplate::ConnectControls()
{
    using platform::Guarded;
    const auto on = [this](QAction* a, auto handler) { connect(a, &QAction::triggered, this, Guarded([handler] { handler(); })); };
    on(ui->TBSelectTempl, [this] { TBSelectTemplClick(); });
    on(ui->TBSaveTemplate, [this] { TBSaveTemplateClick(); });
    on(ui->N2, [this] { N2Click(); });
    on(ui->TBLoadLastTemplate, [this] { TBLoadLastTemplateClick(); });
    on(ui->TBClose, [this] { reject(); });
    on(ui->TBAddColumn, [this] { ButtonAddColumnClick(); });
    on(ui->TBDelColumn, [this] { ButtonDeleteColumnClick(); });
    on(ui->TBZoomIn, [this] { TBZoomInClick(); });
    on(ui->TBZoomOut, [this] { TBZoomOutClick(); });
    on(ui->TBZoomPagein, [this] { TBZoomPageClick(1.2); });
    on(ui->TBZoomPageOut, [this] { TBZoomPageClick(0.8); });
    on(ui->TBZoomPageFit, [this] { TBZoomPageClick(0.0); });
    on(ui->MMIScaleSimple, [this] { ScaleFormatClick(0); });
    on(ui->MMIScaleHM, [this] { ScaleFormatClick(1); });
    on(ui->MMIScaleMS, [this] { ScaleFormatClick(2); });
    on(ui->MMIScaleHMS, [this] { ScaleFormatClick(3); });
    on(ui->MMIGrid, [this] { GridSettingsClick(); });
    on(ui->MMIHelp, [] { platform::ShowHelpTopic(5); });

    connect(ui->ButtonAddCurve, &QPushButton::clicked, this, Guarded([this] { ButtonAddCurveClick(); }));
    connect(ui->ListBoxAllCurves, &QListWidget::itemDoubleClicked, this, Guarded([this](QListWidgetItem*) { ButtonAddCurveClick(); }));
    connect(ui->ButtonDeleteCurve, &QPushButton::clicked, this, Guarded([this] { ButtonDeleteCurveClick(); }));
    connect(ui->TabCtrlColumns, &QTabBar::currentChanged, this, Guarded([this](int) { TabCtrlColumnsChange(); }));
    connect(ui->FormattingBar, &TFormattingBar::TrackPosEndChange, this,
            Guarded([this](int track, float position) { FormattingBarTrackPosEndChange(track, position); }));
    connect(ui->EdDeptScale, &QSpinBox::valueChanged, this, Guarded([this](int) { EdDeptScaleChange(); }));
    connect(ui->EdUpDeptLimit, &QDoubleSpinBox::valueChanged, this, Guarded([this](double) { EdUpDeptLimitChange(); }));
    connect(ui->EdLowDeptLimit, &QDoubleSpinBox::valueChanged, this, Guarded([this](double) { EdLowDeptLimitChange(); }));
    connect(ui->SButtonDefaultDept, &QToolButton::clicked, this, Guarded([this] { SButtonDefaultDeptClick(); }));
    connect(ui->ComboBoxDeptScale, &QComboBox::activated, this, Guarded([this](int item) { ComboBoxDeptScaleSelect(item); }));
    connect(ui->EditPageNumber, &QSpinBox::valueChanged, this, [this](int) { Repaint(); });
    connect(ui->ScrollBarColumns, &QScrollBar::valueChanged, this, Guarded([this](int p) { ScrollBarColumnsScroll(p); }));
    connect(ui->ScrollBarVertColumns, &QScrollBar::valueChanged, this, Guarded([this](int p) { ScrollBarVertColumnsScroll(p); }));

    // Every current-curve control shares one handler that knows which control changed.
    const auto curve = [this](QObject* sender) { return Guarded([this, sender] { ComboBoxCurrentCurveChange(sender); }); };
    connect(ui->ComboBoxCurrentCurve, &QComboBox::currentIndexChanged, this, curve(ui->ComboBoxCurrentCurve));
    connect(ui->ColorCBCurve, &platform::ColorComboBox::ColorChanged, this, curve(ui->ColorCBCurve));
    connect(ui->SpEdcurveWidth, &QDoubleSpinBox::valueChanged, this, curve(ui->SpEdcurveWidth));
    connect(ui->SpEdLeftValue, &QDoubleSpinBox::valueChanged, this, curve(ui->SpEdLeftValue));
    connect(ui->SpEdCurrentCurveScale, &QDoubleSpinBox::valueChanged, this, curve(ui->SpEdCurrentCurveScale));
    connect(ui->SpEdBlikScale, &QDoubleSpinBox::valueChanged, this, curve(ui->SpEdBlikScale));
    connect(ui->EdLogModule, &QSpinBox::valueChanged, this, curve(ui->EdLogModule));
    connect(ui->EdLogOffset, &QDoubleSpinBox::valueChanged, this, curve(ui->EdLogOffset));
    connect(ui->PageControlCurveScale, &QTabWidget::currentChanged, this, curve(ui->PageControlCurveScale));
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(ui->CheckBoxShowTitle), static_cast<QAbstractButton*>(ui->CheckBoxShowUnits),
                               static_cast<QAbstractButton*>(ui->CheckBoxShowComment)})
        connect(b, &QAbstractButton::toggled, this, curve(b));
    for (QGroupBox* g : {ui->RadioGroupBlikMode, ui->RadioGroupTitles, ui->RadioGroupTitleType})
        for (QRadioButton* r : g->findChildren<QRadioButton*>())
            connect(r, &QRadioButton::toggled, this, [this, g, curveOf = curve(g)](bool on) {
                if (on)
                    curveOf();
            });
    connect(ui->SpEdColWidth, &QDoubleSpinBox::valueChanged, this, Guarded([this](double v) {
        const int c = SelectedColumn();
        if (loading_ || c < 0)
            return;
        const float width = static_cast<float>(std::max(1.0, v));
        if (width != Model.Columns[static_cast<size_t>(c)]->Width) {
            Model.Columns[static_cast<size_t>(c)]->SetWidth(width);
            UpdateBarTracks();
            Repaint();
        }
    }));
    connect(ui->ColumnSpace, &QDoubleSpinBox::valueChanged, this, Guarded([this](double v) {
        const int c = SelectedColumn();
        if (loading_ || c < 0)
            return;
        const float space = static_cast<float>(std::max(0.1, v));
        if (space != Model.Columns[static_cast<size_t>(c)]->ColumnSpace) {
            Model.Columns[static_cast<size_t>(c)]->ColumnSpace = space;
            UpdateBarTracks();
            Repaint();
        }
    }));
}

void TFormCurveTemplate::SetSettings(TRxIniFile* settings)
{
    Model.Settings = settings;
    Model.ReadCurvePrnSettings();
}

void TFormCurveTemplate::SetSource(const std::vector<const float*>& curveArrays,
                                   const std::vector<std::string>& curveInfo, const float* depthArray, float nullValue,
                                   float step, float bottom, float top, int pointCount)
{
    Model.SetSource(curveArrays, curveInfo, depthArray, nullValue, step, bottom, top, pointCount);
    SourceChanged();
}

void TFormCurveTemplate::SourceChanged()
{
    if (Model.Dept)
        Model.Dept->SetRatio(ui->EdDeptScale->value());
    TemplatePath.clear();
    draggedCurve_ = nullptr;
    RebuildColumnControls();
    if (Model.Dept) {
        const QSignalBlocker up(ui->EdUpDeptLimit);
        const QSignalBlocker low(ui->EdLowDeptLimit);
        for (QDoubleSpinBox* spin : {ui->EdUpDeptLimit, ui->EdLowDeptLimit})
            spin->setRange(Model.Dept->PrintTop, Model.Dept->PrintBottom);
        ui->EdUpDeptLimit->setValue(Model.Dept->PrintTop);
        ui->EdLowDeptLimit->setValue(Model.Dept->PrintBottom);
    }
    ui->ListBoxAllCurves->clear();
    for (size_t i = 0; i < Model.CurveArrays.size() && i < Model.CurveInfo.size(); ++i)
        ui->ListBoxAllCurves->addItem(QString::fromStdString(Model.CurveInfo[i]));
    Repaint();
}

void TFormCurveTemplate::ReleaseSource()
{
    draggedCurve_ = nullptr;
    Model.ReleaseSource();
    ui->ListBoxAllCurves->clear();
    RebuildColumnControls();
}

// Tabs and ruler tracks anew, one per column, the last column selected.
void TFormCurveTemplate::RebuildColumnControls()
{
    {
        const QSignalBlocker block(ui->TabCtrlColumns);
        while (ui->TabCtrlColumns->count() > 0)
            ui->TabCtrlColumns->removeTab(0);
        for (size_t c = 0; c < Model.Columns.size(); ++c)
            ui->TabCtrlColumns->addTab(QString::number(c + 1));
    }
    while (ui->FormattingBar->GetTrackCount() > 0)
        ui->FormattingBar->DeleteTrack(0);
    for (size_t c = 0; c < Model.Columns.size(); ++c)
        ui->FormattingBar->AddTrack(Model.ColumnRightEdge(static_cast<int>(c)));
    UpdateBarTracks();
    TabCtrlColumnsChange();
}

int TFormCurveTemplate::AddColumn()
{
    const int index = Model.AddColumn();
    {
        const QSignalBlocker block(ui->TabCtrlColumns);
        ui->TabCtrlColumns->addTab(QString::number(index + 1));
    }
    const float edge = Model.ColumnRightEdge(index);
    if (static_cast<int>(Model.Columns.size()) > ui->FormattingBar->GetTrackCount())
        ui->FormattingBar->AddTrack(edge);
    else
        ui->FormattingBar->GetTrack(ui->FormattingBar->GetTrackCount() - 1)->Position = edge;
    UpdateBarTracks();
    return ui->TabCtrlColumns->count() - 1;
}

TCurveForPrinting* TFormCurveTemplate::AddCurveToColumn(int i, int& column)
{
    if (i < 0 || i >= static_cast<int>(Model.CurveArrays.size()) || column >= static_cast<int>(Model.Columns.size()))
        return nullptr;
    if (column < 0)
        column = AddColumn();
    else if (ui->TabCtrlColumns->currentIndex() < 0)
        return nullptr;
    return Model.AddCurveToColumn(i, column);
}

void TFormCurveTemplate::ClearColumns()
{
    draggedCurve_ = nullptr;
    Model.ClearColumns();
    RebuildColumnControls();
}

int TFormCurveTemplate::SelectedColumn() const
{
    const int c = ui->TabCtrlColumns->currentIndex();
    return c >= 0 && c < static_cast<int>(Model.Columns.size()) ? c : -1;
}

void TFormCurveTemplate::SelectColumn(int column) { ui->TabCtrlColumns->setCurrentIndex(column); }

void TFormCurveTemplate::UpdateBarTracks()
{
    for (int i = 0; i < ui->FormattingBar->GetTrackCount() && i < static_cast<int>(Model.Columns.size()); ++i)
        ui->FormattingBar->GetTrack(i)->Position = Model.ColumnRightEdge(i);
    const int c = SelectedColumn();
    if (c >= 0 && ui->SpEdColWidth->value() != Model.Columns[static_cast<size_t>(c)]->Width) {
        const QSignalBlocker block(ui->SpEdColWidth);
        ui->SpEdColWidth->setValue(Model.Columns[static_cast<size_t>(c)]->Width);
    }
    ui->FormattingBar->update();
}

void TFormCurveTemplate::ButtonAddColumnClick()
{
    const int index = AddColumn();
    {
        const QSignalBlocker block(ui->TabCtrlColumns);
        ui->TabCtrlColumns->setCurrentIndex(index);
    }
    TabCtrlColumnsChange();
}

void TFormCurveTemplate::ButtonDeleteColumnClick()
{
    const int c = SelectedColumn();
    if (c < 0)
        return;
    draggedCurve_ = nullptr;
    Model.Columns.erase(Model.Columns.begin() + c);
    ui->FormattingBar->DeleteTrack(c);
    ui->TabCtrlColumns->removeTab(c);
    UpdateBarTracks();
    TabCtrlColumnsChange();
}

void TFormCurveTemplate::ButtonAddCurveClick()
{
    const int i = ui->ListBoxAllCurves->currentRow();
    int column = ui->TabCtrlColumns->currentIndex();
    if (i < 0 || column < 0)
        return;
    if (AddCurveToColumn(i, column))
        FillCurveList();
    ui->TabCtrlColumns->update();
    Repaint();
}

void TFormCurveTemplate::ButtonDeleteCurveClick()
{
    const int c = SelectedColumn();
    TCurveForPrinting* curve = CurrentCurve();
    if (c < 0 || !curve)
        return;
    auto& curves = Model.Columns[static_cast<size_t>(c)]->Curves;
    if (draggedCurve_ == curve)
        draggedCurve_ = nullptr;
    curves.erase(std::find_if(curves.begin(), curves.end(), [curve](const auto& p) { return p.get() == curve; }));
    FillCurveList();
    Repaint();
}

void TFormCurveTemplate::TabCtrlColumnsChange()
{
    Repaint();
    const int c = SelectedColumn();
    if (c < 0) {
        const QSignalBlocker block(ui->ComboBoxCurrentCurve);
        ui->ComboBoxCurrentCurve->clear();
        return;
    }
    loading_ = true;
    ui->SpEdColWidth->setValue(Model.Columns[static_cast<size_t>(c)]->Width);
    ui->ColumnSpace->setValue(Model.Columns[static_cast<size_t>(c)]->ColumnSpace);
    loading_ = false;
    FillCurveList();
}

void TFormCurveTemplate::FillCurveList()
{
    const int c = SelectedColumn();
    {
        const QSignalBlocker block(ui->ComboBoxCurrentCurve);
        ui->ComboBoxCurrentCurve->clear();
        if (c >= 0)
            for (const auto& curve : Model.Columns[static_cast<size_t>(c)]->Curves)
                ui->ComboBoxCurrentCurve->addItem(QString::fromStdString(curve->Mnemonic));
        ui->ComboBoxCurrentCurve->setCurrentIndex(ui->ComboBoxCurrentCurve->count() - 1);
    }
    ui->ComboBoxCurrentCurve->setEnabled(ui->ComboBoxCurrentCurve->count() > 0);
    ComboBoxCurrentCurveChange(ui->ComboBoxCurrentCurve);
}

bool TFormCurveTemplate::LoadTemplate(const std::string& path)
{
    draggedCurve_ = nullptr;
    const std::string message = Model.LoadTemplate(path);
    RebuildColumnControls();
    if (!message.empty())
        platform::ShowMessage(QString::fromStdString(message));
    return message.empty();
}

bool TFormCurveTemplate::SaveTemplate(const std::string& path)
{
    std::string error;
    if (Model.SaveTemplate(path, error))
        return true;
    platform::MessageBox(this, QStringLiteral("Не удалось сохранить шаблон\n") + platform::ShownFileName(path),
                         QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
    return false;
}

void TFormCurveTemplate::RememberTemplatePath(bool alsoLast)
{
    Settings()->WriteString("Templates", "CurveTemplate", platform::StoredFileNameBytes(TemplatePath));
    if (alsoLast)
        Settings()->WriteString("LastCurveTemplate", "TemplName", platform::StoredFileNameBytes(TemplatePath));
}

void TFormCurveTemplate::TBSelectTemplClick()
{
    if (!Settings())
        return;
    TemplatePath = platform::FileNameBytesFromStored(
        Settings()->ReadString("Templates", "CurveTemplate", platform::StoredFileNameBytes(TemplatePath)));
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Выбор шаблона вывода кривых");
    options.filter = TemplateFilter;
    options.defaultSuffix = QStringLiteral("ctl");
    const QString current = platform::FileNameFromBytes(TemplatePath);
    options.directory = FileExists(TemplatePath) ? platform::FolderOfFile(current) : StartFolder();
    options.fileName = QFileInfo(current).fileName();
    const QString chosen = platform::GetOpenFileName(this, options);
    // A file that is no template is forgotten: a later save asks for a name rather than write over it.
    if (!chosen.isEmpty() && !LoadTemplate(platform::FileNameToBytes(chosen))) {
        TemplatePath.clear();
        return;
    }
    TemplatePath = platform::FileNameToBytes(chosen);
    RememberTemplatePath(true);
}

void TFormCurveTemplate::TBSaveTemplateClick()
{
    if (!Settings())
        return;
    if (TemplatePath.empty()) {
        TemplatePath = platform::FileNameToBytes(platform::GetSaveFileName(this, SaveOptions(StartFolder())));
        if (TemplatePath.empty())
            return;
    } else if (!platform::MayWriteOver(this, platform::FileNameFromBytes(TemplatePath), platform::FileKind::CurveTemplate,
                                       QStringLiteral("Сохранение шаблона"))) {
        return;
    }
    if (SaveTemplate(TemplatePath))
        RememberTemplatePath(true);
}

void TFormCurveTemplate::N2Click()
{
    if (!Settings())
        return;
    const QString current = platform::FileNameFromBytes(TemplatePath);
    platform::FileDialogOptions options =
        SaveOptions(TemplatePath.empty() ? StartFolder() : platform::FolderOfFile(current));
    options.fileName = QFileInfo(current).fileName();
    const QString chosen = platform::GetSaveFileName(this, options);
    if (chosen.isEmpty())
        return;
    TemplatePath = platform::FileNameToBytes(chosen);
    if (SaveTemplate(TemplatePath))
        RememberTemplatePath(false);
}

void TFormCurveTemplate::TBLoadLastTemplateClick()
{
    Bound = 0;
    FormShow();
}

void TFormCurveTemplate::GridSettingsClick()
{
    if (!Settings() || !FormGridParams->Execute(*Settings(), "CurvePrnSec"))
        return;
    Model.ReadCurvePrnSettings();
    Repaint();
}

void TFormCurveTemplate::FormShow()
{
    ui->FormattingBar->SetPixelsPerSm(static_cast<float>(pixelsPerCm_));
    draggedCurve_ = nullptr;
    lastMouseY_ = -1;
    const bool bound = Bound != 0;
    ui->TBLoadLastTemplate->setEnabled(bound);
    if (bound) {
        Bound = 0;
    } else if (Settings()) {
        const std::string defaultPath =
            platform::FileNameBytesFromStored(Settings()->ReadString("LastCurveTemplate", "DefaultTempl", ""));
        const std::string lastPath =
            platform::FileNameBytesFromStored(Settings()->ReadString("LastCurveTemplate", "TemplName", ""));
        if (FileExists(defaultPath))
            LoadTemplate(defaultPath);
        else if (FileExists(lastPath))
            LoadTemplate(lastPath);
    }
    TabCtrlColumnsChange();
}

void TFormCurveTemplate::FormClose()
{
    if (!Model.Columns.empty()) {
        const std::string path = DefaultTemplatePath();
        if (SaveTemplate(path) && Settings())
            Settings()->WriteString("LastCurveTemplate", "DefaultTempl", platform::StoredFileNameBytes(path));
    }
    if (OnClosed)
        OnClosed();
}

void TFormCurveTemplate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    platform::Guarded(this, [this] { FormShow(); });
}

void TFormCurveTemplate::done(int result)
{
    platform::Guarded(this, [this] { FormClose(); });
    QDialog::done(result);
}

void TFormCurveTemplate::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        platform::ShowHelpTopic(5);
        return;
    }
    QDialog::keyPressEvent(event);
}

float TFormCurveTemplate::GetPrintTopValue() const { return Model.Dept ? Model.Dept->PrintTop : 0.0f; }

float TFormCurveTemplate::GetPrintBottomValue() const { return Model.Dept ? Model.Dept->PrintBottom : 0.0f; }

int TFormCurveTemplate::GetScaleDenominator() const
{
    return Model.Dept ? static_cast<int>(std::round(Model.Dept->Ratio())) : 0;
}
