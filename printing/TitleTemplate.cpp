// The title template editor window.
#include "printing/TitleTemplate.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "platform/Help.h"
#include "platform/ToolIcons.h"
#include "printing/MacroLists.h"
#include "printing/TemplateVariables.h"
#include "printing/TitleGrid.h"
#include "ui_TitleTemplate.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QVBoxLayout>
#include <filesystem>

namespace {

constexpr int kHelpTopic = 16;
const QString kLoadTitle = QStringLiteral("Загрузка шаблона");
const QString kSaveTitle = QStringLiteral("Сохранение шаблона");
const QString kFilter = QStringLiteral("Шаблоны заголовков (*.ttm)");

QString Q(const std::string& text) { return QString::fromStdString(text); }
// A file name held as bytes, as a path (N) and as shown (Shown).
QString N(const std::string& name) { return platform::FileNameFromBytes(name); }
QString Shown(const std::string& name) { return platform::ShownFileName(N(name)); }

// The window library's sixteen colours (0x00BBGGRR) and their names.
const std::pair<platform::ColorRef, const char*> kColors[] = {
    {0x000000, "Черный"},     {0x000080, "Бордовый"},  {0x008000, "Зеленый"},   {0x008080, "Оливковый"},
    {0x800000, "Темно-синий"}, {0x800080, "Фиолетовый"}, {0x808000, "Сине-зеленый"}, {0x808080, "Серый"},
    {0xC0C0C0, "Серебристый"}, {0x0000FF, "Красный"},   {0x00FF00, "Салатовый"}, {0x00FFFF, "Желтый"},
    {0xFF0000, "Синий"},      {0xFF00FF, "Розовый"},    {0xFFFF00, "Голубой"},   {0xFFFFFF, "Белый"},
};

std::string CanonicalFolder(const std::string& path)
{
    std::error_code error;
    std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::path(path), error);
    std::string folder = (error ? std::filesystem::path(path) : p).string();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

}  // namespace

std::string MakeUniqueTemplateName(const std::string& folder, const std::string& name)
{
    const std::filesystem::path given(name.empty() ? "1.ttm" : name);
    const std::string base = given.stem().string();
    const std::string extension = given.extension().string();
    const std::string ext = extension.size() == 4 ? extension.substr(1) : "ttm";
    std::string candidate = base;
    std::error_code error;
    for (int n = 1; std::filesystem::exists(std::filesystem::path(folder) / (candidate + "." + ext), error); ++n)
        candidate = base + "_" + std::to_string(n);
    return candidate + "." + ext;
}

bool ClipboardHasData(QWidget*)
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

TFormTitleTemplate::TFormTitleTemplate(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormTitleTemplate>())
{
    ui->setupUi(this);
    Shape.SetDefaultRowHeight(kDefaultRowHeight);  // a fresh table only: loaded rows keep theirs
    Cells.Resize(Shape.ColCount(), Shape.RowCount());
    DrawGrid = new TTitleGrid(ui->GridHost);
    auto* gridLayout = new QVBoxLayout(ui->GridHost);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->addWidget(DrawGrid);
    DrawGrid->SetTable(&Cells, &Shape);
    for (const auto& [color, name] : kColors) {
        QPixmap swatch(12, 12);
        swatch.fill(platform::ToQColor(color));
        ui->ColorComboBox->addItem(QIcon(swatch), QString::fromUtf8(name), QVariant::fromValue<uint>(color));
    }
    CreateBars();
    ConnectCommands();
    UpdateCaption();
    UpdateModeControls();
}

TFormTitleTemplate::~TFormTitleTemplate() = default;

void TFormTitleTemplate::CreateBars()
{
    Ui::TFormTitleTemplate& f = *ui;
    auto* bars = new QVBoxLayout(f.BarsHost);
    bars->setContentsMargins(0, 0, 0, 0);
    auto* menu = new QMenuBar(f.BarsHost);
    QMenu* file = menu->addMenu(QStringLiteral("&Файл"));
    file->addActions({f.MMIFileOpen, f.MMIFileSave, f.MMIFileSaveAs});
    file->addSeparator();
    file->addAction(f.MMIFileClose);
    // Rows and columns are grouped under "Таблица", each in its own sub-menu.
    QMenu* table = menu->addMenu(QStringLiteral("Таблица"));
    QMenu* rows = table->addMenu(QStringLiteral("Строки"));
    rows->addActions({f.MMIRowAdd, f.MMIRowInsert, f.MMIRowDelete});
    QMenu* cols = table->addMenu(QStringLiteral("Столбцы"));
    cols->addActions({f.MMIColAdd, f.MMIColInsert, f.MMIColDelete});
    table->addSeparator();
    table->addAction(f.MMIClearAll);
    QMenu* cell = menu->addMenu(QStringLiteral("Ячейка"));
    cell->addActions({f.MMIFont, f.MMIFillColor});
    QMenu* align = cell->addMenu(QStringLiteral("Выравнивание"));
    align->addActions({f.MMIAlignLeft, f.MMIAlignRight, f.MMIAlignCenter});
    QMenu* borders = cell->addMenu(QStringLiteral("Границы"));
    borders->addActions({f.MMIBorderAll, f.MMIBorderNone});
    borders->addSeparator();
    borders->addActions({f.MMIBorderLeft, f.MMIBorderRight, f.MMIBorderTop, f.MMIBorderBottom});
    menu->addMenu(QStringLiteral("?"))->addAction(f.MMIHelp);
    bars->addWidget(menu);

    auto* tools = new QToolBar(f.BarsHost);
    tools->addActions({f.TBFileOpen, f.TBFileSave, f.TBClose});
    tools->addSeparator();
    tools->addActions({f.TBAddRow, f.TBInsertRow, f.TBRemoveRow, f.TBAddCol, f.TBInsertCol, f.TBRemoveCol});
    platform::ShowToolIcons(*tools);
    bars->addWidget(tools);
    auto* format = new QToolBar(f.BarsHost);
    format->addActions({f.TBBold, f.TBItalic, f.TBUnderline});
    format->addSeparator();
    format->addActions({f.TBAlignLeft, f.TBAlignCenter, f.TBAlignRight});
    format->addSeparator();
    format->addActions({f.TBFont, f.TBFillColor});
    format->addSeparator();
    format->addActions({f.TBBorderAll, f.TBBorderNone, f.TBBorderLeft, f.TBBorderRight, f.TBBorderTop,
                        f.TBBorderBottom});
    platform::ShowToolIcons(*format);
    bars->addWidget(format);

    PMenuGrid = new QMenu(this);
    PMGIMacroMenu = new QMenu(QStringLiteral("Подстановки"), PMenuGrid);
    f.PMGIMacroList->setMenu(PMGIMacroMenu);
    PMenuGrid->addAction(f.PMGIMacroList);
    PMenuGrid->addSeparator();
    PMenuGrid->addActions({f.PMGICopy, f.PMGIPaste, f.PMGICut, f.PMGIDelete});
    DrawGrid->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TFormTitleTemplate::ConnectCommands()
{
    Ui::TFormTitleTemplate& f = *ui;
    const auto on = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, platform::Guarded([this, handler] { handler(); }));
    };
    on(f.MMIFileOpen, [this] { FileOpenClick(); });
    on(f.TBFileOpen, [this] { FileOpenClick(); });
    on(f.MMIFileSave, [this] { FileSaveClick(); });
    on(f.TBFileSave, [this] { FileSaveClick(); });
    on(f.MMIFileSaveAs, [this] { FileSaveAsClick(); });
    on(f.MMIFileClose, [this] { close(); });
    on(f.TBClose, [this] { close(); });
    on(f.MMIRowAdd, [this] { AddRowClick(); });
    on(f.TBAddRow, [this] { AddRowClick(); });
    on(f.MMIRowInsert, [this] { InsertRowClick(); });
    on(f.TBInsertRow, [this] { InsertRowClick(); });
    on(f.MMIRowDelete, [this] { RemoveRowClick(); });
    on(f.TBRemoveRow, [this] { RemoveRowClick(); });
    on(f.MMIColAdd, [this] { AddColClick(); });
    on(f.TBAddCol, [this] { AddColClick(); });
    on(f.MMIColInsert, [this] { InsertColClick(); });
    on(f.TBInsertCol, [this] { InsertColClick(); });
    on(f.MMIColDelete, [this] { RemoveColClick(); });
    on(f.TBRemoveCol, [this] { RemoveColClick(); });
    on(f.MMIClearAll, [this] { ClearAllClick(); });
    on(f.MMIFont, [this] { FontClick(); });
    on(f.TBFont, [this] { FontClick(); });
    on(f.MMIFillColor, [this] { FillColorClick(); });
    on(f.TBFillColor, [this] { FillColorClick(); });
    const auto borders = [this](int mode) {
        Cells.SetBorders(DrawGrid->Selection(), mode, -1);
        Repaint();
    };
    on(f.MMIBorderAll, [borders] { borders(bmAll); });
    on(f.TBBorderAll, [borders] { borders(bmAll); });
    on(f.MMIBorderNone, [borders] { borders(bmNone); });
    on(f.TBBorderNone, [borders] { borders(bmNone); });
    const std::pair<QAction*, int> sides[] = {{f.MMIBorderLeft, 1},  {f.TBBorderLeft, 1},  {f.MMIBorderRight, 2},
                                              {f.TBBorderRight, 2},  {f.MMIBorderTop, 4},  {f.TBBorderTop, 4},
                                              {f.MMIBorderBottom, 8}, {f.TBBorderBottom, 8}};
    for (const auto& [action, side] : sides)
        on(action, [this, side = side] { SetSideBorder(side); });
    on(f.MMIHelp, [] { platform::ShowHelpTopic(kHelpTopic); });
    for (QAction* style : {f.TBBold, f.TBItalic, f.TBUnderline})
        on(style, [this] { FormatControlChanged(); });
    const std::pair<QAction*, int> aligns[] = {
        {f.TBAlignLeft, TQ7CellFormat::AlignLeft},     {f.MMIAlignLeft, TQ7CellFormat::AlignLeft},
        {f.TBAlignRight, TQ7CellFormat::AlignRight},   {f.MMIAlignRight, TQ7CellFormat::AlignRight},
        {f.TBAlignCenter, TQ7CellFormat::AlignCenter}, {f.MMIAlignCenter, TQ7CellFormat::AlignCenter}};
    for (const auto& [action, alignment] : aligns)
        on(action, [this, alignment = alignment] { SetAlignment(alignment); });
    connect(f.FontComboBox, &QFontComboBox::currentFontChanged, this,
            platform::Guarded([this](const QFont&) { FormatControlChanged(); }));
    connect(f.ColorComboBox, &QComboBox::currentIndexChanged, this,
            platform::Guarded([this](int) { FormatControlChanged(); }));
    connect(f.EditBorderWidth, &QLineEdit::editingFinished, this, platform::Guarded([this] { BorderWidthDone(); }));
    f.EditBorderWidth->installEventFilter(this);

    connect(DrawGrid, &TTitleGrid::SelectingCell, this, platform::Guarded([this](int c, int r) { GridSelecting(c, r); }));
    connect(DrawGrid, &TTitleGrid::CellTextEdited, this, platform::Guarded([this](int, int) { Repaint(); }));
    connect(DrawGrid, &QWidget::customContextMenuRequested, this, platform::Guarded([this](const QPoint& at) {
                const bool opened = !DrawGrid->EditorOpen();
                if (opened)
                    DrawGrid->OpenEditor();
                QLineEdit* editor = DrawGrid->Editor();
                ui->PMGICopy->setEnabled(editor->hasSelectedText());
                ui->PMGICut->setEnabled(editor->hasSelectedText());
                ui->PMGIDelete->setEnabled(editor->hasSelectedText());
                ui->PMGIPaste->setEnabled(ClipboardHasData(this));
                QAction* chosen = PMenuGrid->exec(DrawGrid->viewport()->mapToGlobal(at));
                if (chosen == ui->PMGICopy)
                    editor->copy();
                else if (chosen == ui->PMGIPaste)
                    editor->paste();
                else if (chosen == ui->PMGICut)
                    editor->cut();
                else if (chosen == ui->PMGIDelete)
                    editor->del();
                if (opened && chosen && chosen != ui->PMGIMacroList && !PMGIMacroMenu->actions().contains(chosen))
                    DrawGrid->CloseEditor(true);
            }));
    on(f.PMGIMacroList, [this] { DrawGrid->OpenEditor(); });
}

TCellRange TFormTitleTemplate::TitleRange() const
{
    return {Shape.FixedCols(), Shape.FixedRows(), Shape.ColCount() - 1, Shape.RowCount() - 1};
}

void TFormTitleTemplate::Open(int resultMode, bool showModal)
{
    ResultMode = resultMode;
    if (ResultMode == 1) {
        PMGIMacroMenu->clear();
        AllMacros.Clear();
        ui->PMGIMacroList->setEnabled(false);
    } else {
        LoadCurrent();
        ui->PMGIMacroList->setEnabled(true);
        RebuildMacroMenu();
    }
    UpdateCaption();
    UpdateModeControls();
    if (showModal)
        platform::ExecDialog(*this);
}

void TFormTitleTemplate::LoadCurrent()
{
    const std::string name = TitleFileName ? *TitleFileName : std::string();
    const int code = name.empty() ? ttmCannotOpen : Cells.LoadFromFile(TemplatesDir + name, Shape);
    hasTitle_ = code == ttmLoaded;
    if (!name.empty() && !hasTitle_)
        ReportLoadFailure(TemplatesDir + name, code);
    if (!hasTitle_) {
        // Never another template's cells under this template's name: an empty table.
        Cells = TQ7CellsArray();
        Shape = TQ7GridShape();
        Shape.SetDefaultRowHeight(kDefaultRowHeight);
        Cells.Resize(Shape.ColCount(), Shape.RowCount());
    }
    MarkUnchanged();
    DrawGrid->ShapeChanged();
    DrawGrid->SetCurrent(Shape.FixedCols(), Shape.FixedRows());
}

void TFormTitleTemplate::ReportLoadFailure(const std::string& path, int code)
{
    platform::MessageBox(this,
                         QStringLiteral("Не удалось загрузить шаблон заголовка\n") + Shown(path) + "\n" +
                             Q(TitleLoadResultText(code)),
                         kLoadTitle, platform::MB_OK | platform::MB_ICONERROR);
}

void TFormTitleTemplate::MarkUnchanged()
{
    Cells.Resize(Shape.ColCount(), Shape.RowCount());
    savedCells_ = Cells;
    savedShape_ = Shape;
}

bool TFormTitleTemplate::Changed() const
{
    return !(Shape == savedShape_) || !Cells.SameCells(savedCells_);
}

void TFormTitleTemplate::TakeTitleFrom(const TFormTitleTemplate& editor)
{
    Cells.CopyFrom(editor.Shape, editor.Cells, Shape);
    hasTitle_ = editor.hasTitle_;
    DrawGrid->ShapeChanged();
}

double TFormTitleTemplate::DrawTitle(platform::Canvas* canvas, float left, float top, float width, float bottom,
                                     double xScale, double yScale)
{
    if (!canvas || !(xScale > 0.0) || !(yScale > 0.0) || !hasTitle_)
        return 0.0;
    const auto px = [](double v) { return static_cast<int>(std::trunc(v)); };
    const int height = Cells.DrawTitle(*canvas, Shape, px(left * xScale), px(top * yScale), px(width * xScale),
                                       px(bottom * yScale), 0, 2, true, xScale, yScale, TitleRange());
    return height / yScale;
}

double TFormTitleTemplate::GetTitleHeight(double scale) const
{
    if (!(scale > 0.0) || !hasTitle_)
        return 0.0;
    return Cells.TitleHeight(scale, TitleRange(), Shape) / scale;
}

void TFormTitleTemplate::ReplaceMacro(const std::string& pattern, const std::string& value)
{
    Cells.ReplaceInCells(pattern, value, TitleRange());
    Repaint();
}

void TFormTitleTemplate::CalcExpressions()
{
    Cells.EvaluateExpressions(TitleRange());
    Repaint();
}

void TFormTitleTemplate::ApplyMacros(const std::vector<std::pair<std::string, std::string>>& macros)
{
    Cells.SubstituteMacros(macros, TitleRange());
    Repaint();
}

void TFormTitleTemplate::UpdateCaption()
{
    if (ResultMode == 1) {
        setWindowTitle(QStringLiteral("Просмотр и редактирование заголовка"));
        return;
    }
    const std::string name = TitleFileName ? *TitleFileName : std::string();
    setWindowTitle(QStringLiteral("Редактор шаблонов заголовка - ") +
                   (name.empty() ? QStringLiteral("Шаблон не загружен!") : Shown(name)));
}

void TFormTitleTemplate::UpdateModeControls()
{
    const bool edit = ResultMode == 0;
    for (QAction* a : {ui->TBFileOpen, ui->TBFileSave, ui->MMIFileOpen, ui->MMIFileSave, ui->MMIFileSaveAs})
        a->setVisible(edit);
}

void TFormTitleTemplate::RebuildMacroMenu()
{
    PMGIMacroMenu->clear();
    AllMacros.Refresh(MacroManager);
    for (int i = 0; i < AllMacros.Count(); ++i) {
        const TExistingMacroItem& item = AllMacros.Items(i);
        // Always in square brackets here, whatever the delimiters; the token typed uses them.
        QAction* a = PMGIMacroMenu->addAction("[" + Q(item.Key) + "]  " + Q(item.Name));
        a->setData(i);
        a->setToolTip(Q(item.Description));
        a->setStatusTip(Q(item.Description));
        connect(a, &QAction::triggered, this, platform::Guarded([this, i] { MacroMenuItemClick(i); }));
    }
}

void TFormTitleTemplate::MacroMenuItemClick(int index)
{
    if (!DrawGrid->EditorOpen() || index < 0 || index >= AllMacros.Count())
        return;
    DrawGrid->Editor()->insert(Q(AllMacros.GetToken(index)));
}

void TFormTitleTemplate::GridSelecting(int col, int row)
{
    // The border width of the selection before it moves, as the grid reports it.
    int mode = 0;
    int width = -1;
    Cells.GetBorders(DrawGrid->Selection(), mode, width);
    ui->EditBorderWidth->setText(width >= 0 ? QString::number(width) : QString());
    if (col < Cells.ColCount() && row < Cells.RowCount())
        ShowCellFormat(Cells.Cell(col, row));
}

void TFormTitleTemplate::ShowCellFormat(const TQ7DrawGridCell& cell)
{
    FormatControlsReady = false;
    const TQ7CellFont& font = cell.Format.Font;
    ui->TBBold->setChecked(font.Style & TQ7CellFont::Bold);
    ui->TBItalic->setChecked(font.Style & TQ7CellFont::Italic);
    ui->TBUnderline->setChecked(font.Style & TQ7CellFont::Underline);
    const int align = cell.Format.HorzAlign & 0xFF;
    ui->TBAlignLeft->setChecked(align == TQ7CellFormat::AlignLeft);
    ui->MMIAlignLeft->setChecked(align == TQ7CellFormat::AlignLeft);
    ui->TBAlignRight->setChecked(align == TQ7CellFormat::AlignRight);
    ui->MMIAlignRight->setChecked(align == TQ7CellFormat::AlignRight);
    ui->TBAlignCenter->setChecked(align == TQ7CellFormat::AlignCenter);
    ui->MMIAlignCenter->setChecked(align == TQ7CellFormat::AlignCenter);
    ui->FontComboBox->setCurrentFont(QFont(Q(font.FaceName)));
    int colorIndex = ui->ColorComboBox->findData(QVariant::fromValue<uint>(font.Color));
    if (colorIndex < 0) {
        QPixmap swatch(12, 12);
        swatch.fill(platform::ToQColor(font.Color));
        ui->ColorComboBox->addItem(QIcon(swatch), QString::number(font.Color, 16), QVariant::fromValue<uint>(font.Color));
        colorIndex = ui->ColorComboBox->count() - 1;
    }
    ui->ColorComboBox->setCurrentIndex(colorIndex);
    FormatControlsReady = true;
}

void TFormTitleTemplate::ApplyFormatControls(TQ7DrawGridCell& cell)
{
    if (!FormatControlsReady)
        return;
    TQ7CellFont& font = cell.Format.Font;
    font.Style = (ui->TBBold->isChecked() ? TQ7CellFont::Bold : 0) |
                 (ui->TBItalic->isChecked() ? TQ7CellFont::Italic : 0) |
                 (ui->TBUnderline->isChecked() ? TQ7CellFont::Underline : 0);
    cell.Format.HorzAlign = ui->TBAlignLeft->isChecked()     ? TQ7CellFormat::AlignLeft
                            : ui->TBAlignCenter->isChecked() ? TQ7CellFormat::AlignCenter
                            : ui->TBAlignRight->isChecked()  ? TQ7CellFormat::AlignRight
                                                             : cell.Format.HorzAlign;
    font.SetFaceName(ui->FontComboBox->currentFont().family().toStdString());
    font.Color = ui->ColorComboBox->currentData().toUInt();
}

void TFormTitleTemplate::FormatControlChanged()
{
    if (!FormatControlsReady || DrawGrid->Col() >= Cells.ColCount() || DrawGrid->Row() >= Cells.RowCount())
        return;
    ApplyFormatControls(Cells.Cell(DrawGrid->Col(), DrawGrid->Row()));
    Repaint();
}

void TFormTitleTemplate::SetAlignment(int alignment)
{
    const bool wasReady = FormatControlsReady;
    FormatControlsReady = false;
    ui->MMIAlignLeft->setChecked(alignment == TQ7CellFormat::AlignLeft);
    ui->MMIAlignRight->setChecked(alignment == TQ7CellFormat::AlignRight);
    ui->MMIAlignCenter->setChecked(alignment == TQ7CellFormat::AlignCenter);
    ui->TBAlignLeft->setChecked(alignment == TQ7CellFormat::AlignLeft);
    ui->TBAlignRight->setChecked(alignment == TQ7CellFormat::AlignRight);
    ui->TBAlignCenter->setChecked(alignment == TQ7CellFormat::AlignCenter);
    FormatControlsReady = wasReady;
    FormatControlChanged();
}

void TFormTitleTemplate::SetSideBorder(int side)
{
    const TCellRange s = DrawGrid->Selection();
    if (!s.Inside(Cells.ColCount(), Cells.RowCount()))
        return;
    const auto add = [&](int c, int r) { Cells.Cell(c, r).Format.Borders |= static_cast<std::uint16_t>(side); };
    for (int i = s.left; i <= s.right; ++i) {
        if (side == TQ7CellFormat::SideTop)
            add(i, s.top);
        if (side == TQ7CellFormat::SideBottom)
            add(i, s.bottom);
    }
    for (int j = s.top; j <= s.bottom; ++j) {
        if (side == TQ7CellFormat::SideLeft)
            add(s.left, j);
        if (side == TQ7CellFormat::SideRight)
            add(s.right, j);
    }
    Repaint();
}

bool TFormTitleTemplate::FileOpenClick()
{
    // The templates of the folder are at hand in the print title dialog: this one brings in
    // others, from the last folder it went to or the document's.
    platform::FileDialogOptions options;
    options.directory = openFolder_.isEmpty() ? StartFolder(N(TemplatesDir)) : openFolder_;
    options.filter = kFilter;
    options.defaultSuffix = QStringLiteral("ttm");
    const std::string chosen = platform::FileNameToBytes(platform::GetOpenFileName(this, options));
    if (chosen.empty())
        return false;
    const std::filesystem::path path(chosen);
    openFolder_ = N(path.parent_path().string());
    std::string name = path.filename().string();
    // Folders compared as canonical paths, exactly: letter case makes two folders.
    if (CanonicalFolder(path.parent_path().string()) != CanonicalFolder(TemplatesDir)) {
        platform::MessageBox(this,
                             QStringLiteral("Открываемый шаблон находится в каталоге отличном от стандартного\nПеред "
                                            "открытием он будет скопирован в каталог шаблонов"),
                             kLoadTitle, platform::MB_OK | platform::MB_ICONINFORMATION);
        name = MakeUniqueTemplateName(TemplatesDir, name);
        std::error_code error;
        std::filesystem::copy_file(path, std::filesystem::path(TemplatesDir) / name,
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) {
            platform::MessageBox(this, QStringLiteral("Не удалось загрузить шаблон заголовка\n") + Shown(chosen),
                                 kLoadTitle, platform::MB_OK | platform::MB_ICONERROR);
            return false;
        }
    }
    const std::string full = TemplatesDir + name;
    const int code = Cells.LoadFromFile(full, Shape);
    if (code != ttmLoaded) {
        // The previous file name and table stay.
        ReportLoadFailure(full, code);
        return false;
    }
    hasTitle_ = true;
    MarkUnchanged();
    if (TitleFileName)
        *TitleFileName = name;
    DrawGrid->ShapeChanged();
    DrawGrid->SetCurrent(Shape.FixedCols(), Shape.FixedRows());
    UpdateCaption();
    return true;
}

bool TFormTitleTemplate::SaveTo(const std::string& path)
{
    DrawGrid->CloseEditor(true);
    TUnencodableText bad;
    Cells.Resize(Shape.ColCount(), Shape.RowCount());
    if (Cells.FindUnencodable(bad)) {
        DrawGrid->SetCurrent(bad.col, bad.row);
        platform::MessageBox(this,
                             QStringLiteral("Не удалось сохранить шаблон заголовка\n") + Shown(path) +
                                 QStringLiteral("\nСимвол «") + Q(bad.character) + QStringLiteral("» в тексте «") +
                                 Q(bad.text) + QStringLiteral("» нельзя записать в кодировке CP1251"),
                             kSaveTitle, platform::MB_OK | platform::MB_ICONERROR);
        return false;
    }
    if (!Cells.SaveToFile(path, Shape)) {
        platform::MessageBox(this, QStringLiteral("Не удалось сохранить шаблон заголовка\n") + Shown(path), kSaveTitle,
                             platform::MB_OK | platform::MB_ICONERROR);
        return false;
    }
    MarkUnchanged();
    return true;
}

bool TFormTitleTemplate::FileSaveClick()
{
    if (!TitleFileName || TitleFileName->empty())
        return FileSaveAsClick();
    const std::string path = TemplatesDir + *TitleFileName;
    return platform::MayWriteOver(this, N(path), platform::FileKind::TitleTemplate, kSaveTitle) && SaveTo(path);
}

bool TFormTitleTemplate::FileSaveAsClick()
{
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Сохранение шаблона заголовка");
    options.directory = N(TemplatesDir);
    options.fileName = TitleFileName ? N(*TitleFileName) : QString();
    options.filter = kFilter;
    options.defaultSuffix = QStringLiteral("ttm");
    options.kind = platform::FileKind::TitleTemplate;
    const std::string chosen = platform::FileNameToBytes(platform::GetSaveFileName(this, options));
    if (chosen.empty() || !SaveTo(chosen))
        return false;
    if (TitleFileName)
        *TitleFileName = std::filesystem::path(chosen).filename().string();
    hasTitle_ = true;
    UpdateCaption();
    return true;
}

bool TFormTitleTemplate::CanClose()
{
    if (ResultMode == 1)
        return true;
    DrawGrid->CloseEditor(true);
    if (!Changed())
        return true;
    switch (platform::MessageBox(this, QStringLiteral("Сохранить изменения в шаблоне?"),
                                 QStringLiteral("Закрытие шаблона"),
                                 platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION)) {
    case platform::IDYES: return FileSaveClick();
    case platform::IDNO: return true;
    default: return false;
    }
}

void TFormTitleTemplate::closeEvent(QCloseEvent* event)
{
    bool close = false;
    platform::Guarded(this, [&] { close = CanClose(); });
    if (!close) {
        event->ignore();
        return;
    }
    QDialog::reject();
    event->accept();
}

void TFormTitleTemplate::reject()
{
    // Esc goes through the same question as the close button.
    close();
}

bool TFormTitleTemplate::TableFull(bool rows)
{
    if ((rows ? Shape.RowCount() : Shape.ColCount()) < TQ7CellsArray::kMaxCount)
        return false;
    platform::MessageBox(this,
                         rows ? QStringLiteral("Таблица не может иметь больше 4096 строк")
                              : QStringLiteral("Таблица не может иметь больше 4096 столбцов"),
                         QStringLiteral("Таблица"), platform::MB_OK | platform::MB_ICONINFORMATION);
    return true;
}

void TFormTitleTemplate::AddRowClick()
{
    if (TableFull(true))
        return;
    Updating = DrawGrid->Updating = true;
    Cells.SetRowCount(Shape.RowCount() + 1);
    Shape.SetRowCount(Shape.RowCount() + 1);
    Updating = DrawGrid->Updating = false;
    Repaint();
}

void TFormTitleTemplate::InsertRowClick()
{
    if (DrawGrid->Row() < Shape.FixedRows() || TableFull(true))
        return;
    Cells.InsertRow(DrawGrid->Row(), &Shape);
    Repaint();
}

void TFormTitleTemplate::RemoveRowClick()
{
    if (DrawGrid->Row() < Shape.FixedRows())
        return;
    if (platform::MessageBox(this, QStringLiteral("Вы действительно хотите удалить текущую строку?"),
                             QStringLiteral("Подтверждение удаления строки"),
                             platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
        return;
    Cells.DeleteRow(DrawGrid->Row(), &Shape);
    Repaint();
}

void TFormTitleTemplate::AddColClick()
{
    if (TableFull(false))
        return;
    Updating = DrawGrid->Updating = true;
    Cells.SetColCount(Shape.ColCount() + 1);
    Shape.SetColCount(Shape.ColCount() + 1);
    Updating = DrawGrid->Updating = false;
    Repaint();
}

void TFormTitleTemplate::InsertColClick()
{
    if (DrawGrid->Col() < Shape.FixedCols() || TableFull(false))
        return;
    Cells.InsertCol(DrawGrid->Col(), &Shape);
    Repaint();
}

void TFormTitleTemplate::RemoveColClick()
{
    if (DrawGrid->Col() < Shape.FixedCols())
        return;
    if (platform::MessageBox(this, QStringLiteral("Вы действительно хотите удалить текущий столбец?"),
                             QStringLiteral("Удаление столбца"),
                             platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
        return;
    Cells.DeleteCol(DrawGrid->Col(), &Shape);
    Repaint();
}

void TFormTitleTemplate::ClearAllClick()
{
    if (platform::MessageBox(this, QStringLiteral("Вы действительно хотите очистить содержимое таблицы?"),
                             QStringLiteral("Очистка таблицы"),
                             platform::MB_OKCANCEL | platform::MB_ICONQUESTION) != platform::IDOK)
        return;
    const TCellRange all = TitleRange();
    for (int r = all.top; r <= all.bottom && r < Cells.RowCount(); ++r)
        for (int c = all.left; c <= all.right && c < Cells.ColCount(); ++c)
            Cells.Cell(c, r).Content.Text.clear();
    Repaint();
}

void TFormTitleTemplate::FontClick()
{
    const int col = DrawGrid->Col();
    const int row = DrawGrid->Row();
    if (col >= Cells.ColCount() || row >= Cells.RowCount())
        return;
    TQ7DrawGridCell& cell = Cells.Cell(col, row);
    ApplyFormatControls(cell);
    platform::CanvasFont current;
    TQ7CellFont::AssignToFont(current, cell.Format.Font);
    const QFont initial = CellQFont(cell.Format.Font);
    QFontDialog dialog(initial, this);
    if (platform::ExecDialog(dialog) != QDialog::Accepted)
        return;
    const QFont chosen = dialog.selectedFont();
    platform::CanvasFont font = current;
    font.name = chosen.family().toStdString();
    font.size = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : current.size;
    font.bold = chosen.bold();
    font.italic = chosen.italic();
    font.underline = chosen.underline();
    font.strikeOut = chosen.strikeOut();
    TQ7CellFont::AssignFromFont(font, cell.Format.Font);
    ShowCellFormat(cell);
    Repaint();
}

void TFormTitleTemplate::FillColorClick()
{
    const int col = DrawGrid->Col();
    const int row = DrawGrid->Row();
    if (col >= Cells.ColCount() || row >= Cells.RowCount())
        return;
    std::uint32_t color = Cells.Cell(col, row).Format.FillColor;
    if (!platform::ChooseColor(this, color))
        return;
    const TCellRange s = DrawGrid->Selection();
    for (int r = s.top; r <= s.bottom && r < Cells.RowCount(); ++r)
        for (int c = s.left; c <= s.right && c < Cells.ColCount(); ++c)
            Cells.Cell(c, r).Format.FillColor = color;
    Repaint();
}

void TFormTitleTemplate::BorderWidthDone()
{
    const QString text = ui->EditBorderWidth->text();
    if (text.isEmpty())
        return;
    bool ok = false;
    const int width = text.toInt(&ok);
    if (!ok || width < 0 || width > 10) {
        ui->EditBorderWidth->clear();
        platform::MessageBox(this,
                             QStringLiteral("Размер границы должен быть от 0 до 10!\n(Измеряется в 1/10 миллиметра)"),
                             QStringLiteral("Ошибка!"), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    Cells.SetBorders(DrawGrid->Selection(), bmMixed, width);
    Repaint();
}

bool TFormTitleTemplate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->EditBorderWidth && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape)
            ui->EditBorderWidth->clear();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            DrawGrid->setFocus();  // leaving the edit applies the width
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormTitleTemplate::Repaint()
{
    DrawGrid->ShapeChanged();
}
