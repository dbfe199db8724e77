// Library browser: construction, layout, menus, pages, panels, columns and the idle scan.
#include "library/LasBrowser.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "library/DirTreeView.h"
#include "library/FormLasBrowserColumns.h"
#include "library/LibScanner.h"
#include "library/LibraryErrors.h"
#include "library/LogFileDBManager.h"
#include "platform/ErrorReport.h"
#include "platform/Folders.h"
#include "platform/Help.h"
#include "platform/PaneWidth.h"
#include "platform/WindowFit.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kHelpTopic = 13;

// The groupings as the user reads them, and their columns between "<" and ">".
const struct {
    const char* caption;
    const char* columns;
} kGroupings[] = {{"Площадь - скважина", "<fld><well>"},
                  {"Площадь - дата", "<fld><date>"},
                  {"Группа - площадь - скважина", "<gr_name><fld><well>"},
                  {"Группа - дата", "<gr_name><date>"},
                  {"Площадь - группа", "<fld><gr_name>"}};

QWidget* Page(QTabWidget* pages, const char* name, const QString& hint, QStyle::StandardPixmap icon)
{
    auto* page = new QWidget(pages);
    page->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    const int index = pages->addTab(page, pages->style()->standardIcon(icon), QString());
    pages->setTabToolTip(index, hint);
    return page;
}

} // namespace

TFormLasBrowser::TFormLasBrowser(const LasBrowserServices& services, QWidget* parent)
    : QMainWindow(parent, Qt::Window), DBManager(services.DBManager), services_(services),
      settingsFile_(GetSettingsFileName()), databasePath_(services.DatabasePath)
{
    setWindowTitle(QStringLiteral("Обзор файлов Las"));
    resize(696, 480);
    ColumnSet.Load(settingsFile_);
    CreateControls();
    CreateMenus();
    ConnectEvents();
    // What the window does once it exists.
    InfoTree.AttachTreeView(TVLasInfo);
    DirTreeView->ReadInitial();
    LoadSettings();
    FillBookmarkList();
    if (DBManager && !databasePath_.empty()) {
        try {
            DBManager->Open(databasePath_);
            // A scan stopped or killed before its end goes on as an idle one.
            if (!DBManager->GetResumableScans().empty())
                StartIdleScan(TLibScanner::ResumingUnfinished(DBManager));
            ShowLibraryCompleteness();
        } catch (const std::exception& error) {
            ShowLibraryError(this, QString::fromUtf8(error.what()));
        }
    }
    ComboLibGroupBy->setCurrentIndex(0);
    connect(ComboLibGroupBy, &QComboBox::currentIndexChanged, this,
            [this] { RunLibraryAction(this, [this] { ComboLibGroupByChange(); }); });
    RebuildColumns();
}

TFormLasBrowser::~TFormLasBrowser()
{
    SaveSettings();
    ClearFileList();
    // A running scan is stopped and waited for.
    LibScanner.reset();
}

std::string TFormLasBrowser::GetSettingsFileName()
{
    return platform::ProgramDir() + "lasbrowse.ini";
}

void TFormLasBrowser::CreateControls()
{
    splitter_ = new QSplitter(Qt::Horizontal, this);
    setCentralWidget(splitter_);

    PageControl = new QTabWidget(splitter_);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setTabPosition(QTabWidget::South);
    TSFolders = Page(PageControl, "TSFolders", QStringLiteral("Папки - обзор файловой системы"), QStyle::SP_DirIcon);
    TSFavorits = Page(PageControl, "TSFavorits", QStringLiteral("Закладки"), QStyle::SP_DirLinkIcon);
    TSLib = Page(PageControl, "TSLib", QStringLiteral("Каталог файлов (Библиотека)"),
                 QStyle::SP_FileDialogDetailedView);

    DirTreeView = new TDirTreeView(TSFolders);
    DirTreeView->setObjectName(QStringLiteral("DirTreeView"));
    DirTreeView->SetAcceptDropFiles(true);
    TSFolders->layout()->addWidget(DirTreeView);

    ListViewFavorites = new QTreeWidget(TSFavorits);
    ListViewFavorites->setObjectName(QStringLiteral("ListViewFavorites"));
    ListViewFavorites->setRootIsDecorated(false);
    ListViewFavorites->setHeaderLabels({QStringLiteral("Название"), QStringLiteral("Путь")});
    ListViewFavorites->setColumnWidth(0, 80);
    ListViewFavorites->setColumnWidth(1, 250);
    ListViewFavorites->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    TSFavorits->layout()->addWidget(ListViewFavorites);

    LabelLibIncomplete =
        new QLabel(QStringLiteral("Библиотека неполна: сканирование каталогов не закончено."), TSLib);
    LabelLibIncomplete->setObjectName(QStringLiteral("LabelLibIncomplete"));
    LabelLibIncomplete->setWordWrap(true);
    LabelLibIncomplete->hide();
    TSLib->layout()->addWidget(LabelLibIncomplete);
    auto* searchRow = new QHBoxLayout;
    EditLibSearch = new QLineEdit(TSLib);
    EditLibSearch->setObjectName(QStringLiteral("EditLibSearch"));
    EditLibSearch->setToolTip(
        QStringLiteral("Строка быстрого поиска\r\nПоиск чувствителен к регистру нелатинских букв."));
    SBLibSearch = new QToolButton(TSLib);
    SBLibSearch->setObjectName(QStringLiteral("SBLibSearch"));
    SBLibSearch->setToolTip(QStringLiteral("Выполнить поиск по базе"));
    SBLibSearch->hide();
    searchRow->addWidget(EditLibSearch);
    searchRow->addWidget(SBLibSearch);
    static_cast<QVBoxLayout*>(TSLib->layout())->addLayout(searchRow);
    ComboLibGroupBy = new QComboBox(TSLib);
    ComboLibGroupBy->setObjectName(QStringLiteral("ComboLibGroupBy"));
    ComboLibGroupBy->setToolTip(QStringLiteral("Порядок группировки файлов в дереве"));
    for (const auto& grouping : kGroupings)
        ComboLibGroupBy->addItem(QString::fromUtf8(grouping.caption), QString::fromUtf8(grouping.columns));
    // The pane widens for the longest grouping (within half the window) but never has to.
    ComboLibGroupBy->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ComboLibGroupBy->setMinimumWidth(60);
    TSLib->layout()->addWidget(ComboLibGroupBy);
    TreeViewLib = new QTreeWidget(TSLib);
    TreeViewLib->setObjectName(QStringLiteral("TreeViewLib"));
    TreeViewLib->setHeaderHidden(true);
    TreeViewLib->setRootIsDecorated(false);
    TSLib->layout()->addWidget(TreeViewLib);

    PanelAdditionalInfo = new QSplitter(Qt::Vertical, splitter_);
    PanelAdditionalInfo->setObjectName(QStringLiteral("PanelAdditionalInfo"));
    TVLasInfo = new QTreeWidget(PanelAdditionalInfo);
    TVLasInfo->setObjectName(QStringLiteral("TVLasInfo"));
    TVLasInfo->setHeaderHidden(true);
    MemoInfo = new QPlainTextEdit(PanelAdditionalInfo);
    MemoInfo->setObjectName(QStringLiteral("MemoInfo"));
    MemoInfo->setReadOnly(true);
    MemoInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette info = MemoInfo->palette();
    info.setColor(QPalette::Base, info.color(QPalette::ToolTipBase));
    info.setColor(QPalette::Text, info.color(QPalette::ToolTipText));
    MemoInfo->setPalette(info);

    ListView = new QTreeWidget(splitter_);
    ListView->setObjectName(QStringLiteral("ListView"));
    ListView->setRootIsDecorated(false);
    ListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView->setUniformRowHeights(true);
    ListView->setContextMenuPolicy(Qt::CustomContextMenu);
    ListView->header()->setSectionsClickable(true);
    ListView->header()->setStretchLastSection(false);
    ListView->installEventFilter(this);
    ListView->viewport()->installEventFilter(this);
    splitter_->setStretchFactor(2, 1);

    treePane_ = new platform::PaneWidth(*splitter_, *PageControl);
    treePane_->FollowView(*DirTreeView);
    treePane_->FollowView(*TreeViewLib);
    treePane_->FollowWidget(*ComboLibGroupBy);
    platform::KeepCurrentInView(*DirTreeView);
    platform::KeepCurrentInView(*TreeViewLib);

    TimerLibScan = new QTimer(this);
    TimerLibScan->setInterval(60000);
    RxFolderMonitor = new QFileSystemWatcher(this);
    monitorDelay_ = new QTimer(this);
    monitorDelay_->setSingleShot(true);
    monitorDelay_->setInterval(500);
}

void TFormLasBrowser::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    MMIFileOpen = file->addAction(QStringLiteral("Открыть текущий"));
    MMIFileAddToLoaded = file->addAction(QStringLiteral("Добавить к загруженному файлу"));
    file->addSeparator();
    N2 = file->addAction(QStringLiteral("Закрыть окно обзора"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Правка"));
    MMIFileEditHeader = edit->addAction(QStringLiteral("Редактировать заголовок ..."));
    edit->addSeparator();
    MMIEditCut = edit->addAction(QStringLiteral("Вырезать"));
    MMIEditCopy = edit->addAction(QStringLiteral("Копировать"));
    MMIEditCut->setEnabled(false);
    MMIEditCopy->setEnabled(false);

    QMenu* view = menuBar()->addMenu(QStringLiteral("Вид"));
    MIColumns = view->addAction(QStringLiteral("Настройка столбцов..."));
    QMenu* info = view->addMenu(QStringLiteral("Информация о файле"));
    MIAddInfoShow = info->addAction(QStringLiteral("Показывать"));
    MIAddInfoShow->setCheckable(true);
    MIAddInfoShow->setChecked(true);
    info->addSeparator();
    auto* modes = new QActionGroup(this);
    MIAllAddInfo = modes->addAction(QStringLiteral("Все"));
    MIShortAddInfo = modes->addAction(QStringLiteral("Сокращенно"));
    MIMinimalAddInfo = modes->addAction(QStringLiteral("Минимально"));
    for (QAction* mode : modes->actions()) {
        mode->setCheckable(true);
        info->addAction(mode);
    }
    MIAllAddInfo->setChecked(true);
    MMIDTVShow = view->addAction(QStringLiteral("Дерево папок"));
    MMIDTVShow->setCheckable(true);
    MMIDTVShow->setChecked(true);
    view->addSeparator();
    MIRefresh = view->addAction(QStringLiteral("Обновить"));

    MMILib = menuBar()->addMenu(QStringLiteral("Библиотека"));
    MMILibAddFolder = MMILib->addAction(QStringLiteral("Добавить текущий каталог в библиотеку"));
    MMILibSelectAndAddPath = MMILib->addAction(QStringLiteral("Выбрать каталог для добавления в библиотеку..."));
    MMILibRescan = MMILib->addAction(QStringLiteral("Пересканировать библиотеку"));
    MMILibRescan->setObjectName(QStringLiteral("MMILibRescan"));
    MMILib->addSeparator();
    MMILibAddFilesToGroup = MMILib->addMenu(QStringLiteral("Добавить файлы в группу"));
    MMIAddFilesToGroupNew = MMILibAddFilesToGroup->addAction(QStringLiteral("Новая группа ..."));
    MMILibRemoveMissingFiles = MMILib->addAction(QStringLiteral("Удалить информацию об отсутствующих файлах"));
    MMILibPathesToDelete = MMILib->addMenu(QStringLiteral("Удалить путь из базы"));
    MMILibRemoveGroup = MMILib->addMenu(QStringLiteral("Удалить группу из базы"));
    MMILib->addSeparator();
    MMILibIdleScan = MMILib->addAction(QStringLiteral("Фоновое сканирование"));
    MMILibIdleScan->setCheckable(true);

    QMenu* bookmarks = menuBar()->addMenu(QStringLiteral("Закладки"));
    MMIFavsAdd = bookmarks->addAction(QStringLiteral("Добавить в закладки..."));
    MMIFavsDelete = bookmarks->addAction(QStringLiteral("Удалить закладку"));
    MMIFavsClear = bookmarks->addAction(QStringLiteral("Очистить закладки"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
    MMIHelp = help->addAction(QStringLiteral("Справка"));

    PMneuFiles = new QMenu(this);
    PMIFilesEditFileHeader = PMneuFiles->addAction(QStringLiteral("Редактировать заголовок ..."));
    PMneuFiles->addSeparator();
    PMFOpen = PMneuFiles->addAction(QStringLiteral("Загрузить файл"));
    QFont bold = PMFOpen->font();
    bold.setBold(true);
    PMFOpen->setFont(bold);
    PMFAddCurves = PMneuFiles->addAction(QStringLiteral("Добавить к загруженным данным"));
    PMFAddToGroup = PMneuFiles->addMenu(QStringLiteral("Добавить в группу"));
    PMFAddToGroupNew = PMFAddToGroup->addAction(QStringLiteral("Новая группа ..."));
    PMneuFiles->addSeparator();
    PMFDelete = PMneuFiles->addAction(QStringLiteral("Удалить"));
}

void TFormLasBrowser::ConnectEvents()
{
    using platform::Guarded;
    const auto on = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] { RunLibraryAction(this, handler); });
    };
    on(MMIFileOpen, [this] { OpenSelected(false); });
    on(MMIFileAddToLoaded, [this] { OpenSelected(true); });
    on(N2, [this] { close(); });
    on(MMIFileEditHeader, [this] { MMIFileEditHeaderClick(); });
    on(MMIEditCopy, [this] { MMIEditCopyClick(); });
    on(MIColumns, [this] { MIColumnsClick(); });
    on(MIAddInfoShow, [this] { ArrangePanels(); });
    on(MIAllAddInfo, [this] { SetInfoMode(0); });
    on(MIShortAddInfo, [this] { SetInfoMode(1); });
    on(MIMinimalAddInfo, [this] { SetInfoMode(2); });
    on(MMIDTVShow, [this] { ArrangePanels(); });
    on(MMILibIdleScan, [this] { MMILibIdleScanClick(); });
    on(MMILibAddFolder, [this] { MMILibAddFolderClick(); });
    on(MMILibSelectAndAddPath, [this] { MMILibSelectAndAddPathClick(); });
    on(MMILibRescan, [this] { MMILibRescanClick(); });
    on(MMILibRemoveMissingFiles, [this] { MMILibRemoveMissingFilesClick(); });
    on(MMIAddFilesToGroupNew, [this] { MMIAddFilesToGroupNewClick(MMIAddFilesToGroupNew); });
    on(PMFAddToGroupNew, [this] { MMIAddFilesToGroupNewClick(PMFAddToGroupNew); });
    connect(MMILib, &QMenu::aboutToShow, this, [this] { RunLibraryAction(this, [this] { UpdateLibraryMenus(); }); });
    connect(PMneuFiles, &QMenu::aboutToShow, this,
            [this] { RunLibraryAction(this, [this] { UpdateLibraryMenus(); }); });
    on(MMIFavsAdd, [this] { MMIFavsAddClick(); });
    on(MMIFavsDelete, [this] { MMIFavsDeleteClick(); });
    on(MMIFavsClear, [this] { MMIFavsClearClick(); });
    on(MMIHelp, [] { platform::ShowHelpTopic(kHelpTopic); });
    on(PMIFilesEditFileHeader, [this] { MMIFileEditHeaderClick(); });
    on(PMFOpen, [this] { OpenSelected(false); });
    on(PMFAddCurves, [this] { OpenSelected(true); });
    on(PMFDelete, [this] { PMFDeleteClick(); });

    const auto run = [this](auto handler) { return [this, handler](auto&&...) { RunLibraryAction(this, handler); }; };
    connect(DirTreeView, &QTreeWidget::currentItemChanged, this,
            run([this] { ShowFolder(DirTreeView->GetCurrentFolder()); }));
    connect(ListView, &QTreeWidget::itemSelectionChanged, this, run([this] { ListViewChange(); }));
    connect(ListView, &QTreeWidget::itemDoubleClicked, this, run([this] { OpenSelected(false); }));
    connect(ListView->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (!fittingColumns_)
            ColumnResizedByHand(column);
    });
    connect(ListView->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { RunLibraryAction(this, [&] { ListViewColumnClick(column); }); });
    connect(ListView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PMneuFiles->popup(ListView->viewport()->mapToGlobal(pos)); });
    connect(TVLasInfo, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { RunLibraryAction(this, [&] { TVLasInfoChange(node); }); });
    connect(PageControl, &QTabWidget::currentChanged, this,
            [this](int index) { RunLibraryAction(this, [&] { PageChanged(index); }); });
    connect(TreeViewLib, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { RunLibraryAction(this, [&] { TreeViewLibChange(node); }); });
    connect(TreeViewLib, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { RunLibraryAction(this, [&] { TreeViewLibExpanding(node); }); });
    connect(TreeViewLib, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* node) { node->setIcon(0, LibraryNodeIcon(false)); });
    connect(EditLibSearch, &QLineEdit::textChanged, this, run([this] { RefreshLibraryTree(); }));
    connect(ListViewFavorites, &QTreeWidget::itemDoubleClicked, this, run([this] { ListViewFavoritesDblClick(); }));
    connect(ListViewFavorites, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (!fillingBookmarks_ && column == 0)
            RunLibraryAction(this, [&] {
                ListViewFavoritesEdited(ListViewFavorites->indexOfTopLevelItem(item), item->text(0));
            });
    });
    connect(TimerLibScan, &QTimer::timeout, this, run([this] { TimerLibScanTimer(); }));
    connect(RxFolderMonitor, &QFileSystemWatcher::directoryChanged, this,
            [this] { monitorDelay_->start(); });
    connect(monitorDelay_, &QTimer::timeout, this, run([this] { RxFolderMonitorChange(); }));
}

void TFormLasBrowser::ShowForPath(const std::string& folder)
{
    DirTreeView->SetFolder(folder);
    RebuildColumns();
    const std::string current = DirTreeView->GetCurrentFolder();
    ShowFolder(current.empty() ? folder : current);
    show();
    raise();
    activateWindow();
    // Once the panes have taken their widths.
    if (!std::exchange(widened_, true))
        QTimer::singleShot(0, this, [this] { RunLibraryAction(this, [this] { WidenForColumns(4); }); });
}

void TFormLasBrowser::closeEvent(QCloseEvent* event)
{
    event->ignore();
    showMinimized();
}

void TFormLasBrowser::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ArrangePanels();
}

void TFormLasBrowser::ArrangePanels()
{
    PageControl->setVisible(MMIDTVShow->isChecked());
    PanelAdditionalInfo->setVisible(MIAddInfoShow->isChecked());
}

void TFormLasBrowser::SetInfoMode(int mode)
{
    QAction* items[] = {MIAllAddInfo, MIShortAddInfo, MIMinimalAddInfo};
    items[mode]->setChecked(true);
    InfoTree.SetMode(mode);
}

void TFormLasBrowser::RebuildColumns()
{
    QStringList captions{QStringLiteral("Файл")};
    for (int i = 0; i < ColumnSet.Items.Count(); ++i)
        captions.append(QString::fromStdString(ColumnSet.Items[i].Caption));
    const QScopedValueRollback fitting(fittingColumns_, true);
    ListView->setColumnCount(captions.size());
    ListView->setHeaderLabels(captions);
    ListView->setColumnWidth(0, FileColumnWidth);
    for (int i = 0; i < ColumnSet.Items.Count(); ++i)
        ListView->setColumnWidth(i + 1, ColumnSet.Items[i].Width);
    FitColumns();
}

void TFormLasBrowser::FitColumns()
{
    const QScopedValueRollback fitting(fittingColumns_, true);
    if (fittedFileColumnWidth_ >= 0) {
        ListView->resizeColumnToContents(0);
        fittedFileColumnWidth_ = FileColumnWidth = std::clamp(ListView->columnWidth(0), 50, 350);
        ListView->setColumnWidth(0, FileColumnWidth);
    }
    columnWants_.assign(ListView->columnCount(), 0);
    for (int k = 1; k < ListView->columnCount() && k - 1 < ColumnSet.Items.Count(); ++k)
        if (ColumnSet.Items[k - 1].FitsContents)
            columnWants_[k] = std::max(static_cast<const QAbstractItemView*>(ListView)->sizeHintForColumn(k),
                                       ListView->header()->sectionSizeHint(k));
    ShareColumns();
}

// Columns nobody set a width for share the room the others leave: each gets what its caption and
// values need while the room lasts; when it does not, the narrower ones keep theirs and the wider
// ones share the rest equally, never narrower than their caption.
void TFormLasBrowser::ShareColumns()
{
    QHeaderView* header = ListView->header();
    const QScopedValueRollback fitting(fittingColumns_, true);
    int room = ListView->viewport()->width();
    std::vector<std::pair<int, int>> wants;  // width needed, column
    for (int k = 0; k < header->count(); ++k) {
        if (k < static_cast<int>(columnWants_.size()) && columnWants_[k] > 0)
            wants.emplace_back(columnWants_[k], k);
        else
            room -= header->sectionSize(k);
    }
    std::sort(wants.begin(), wants.end());
    for (size_t i = 0; i < wants.size(); ++i) {
        const auto [want, column] = wants[i];
        const int share = std::max(room, 0) / static_cast<int>(wants.size() - i);
        const int width = std::max(std::min(want, share), std::min(want, header->sectionSizeHint(column)));
        header->resizeSection(column, width);
        room -= width;
    }
}

void TFormLasBrowser::WidenForColumns(int rounds)
{
    int needed = 0;
    for (int k = 0; k < ListView->columnCount(); ++k)
        needed += k < static_cast<int>(columnWants_.size()) && columnWants_[k] > 0 ? columnWants_[k]
                                                                                 : ListView->columnWidth(k);
    const int missing = needed - ListView->viewport()->width();
    const int before = width();
    if (missing <= 0)
        return;
    resize(before + missing, height());
    platform::FitIntoAvailableArea(*this, true);
    // The folder pane may take a part of the new width as it follows its names: once it has,
    // the list is measured again.
    if (width() > before && rounds > 1)
        QTimer::singleShot(0, this, [this, rounds] { RunLibraryAction(this, [&] { WidenForColumns(rounds - 1); }); });
}

void TFormLasBrowser::ColumnResizedByHand(int column)
{
    if (column == 0)
        fittedFileColumnWidth_ = -1;
    else if (column - 1 < ColumnSet.Items.Count())
        ColumnSet.Items[column - 1].FitsContents = false;
    if (column < static_cast<int>(columnWants_.size()))
        columnWants_[column] = 0;
}

void TFormLasBrowser::StoreColumnWidths()
{
    if (ListView->columnCount() == 0)
        return;
    FileColumnWidth = ListView->columnWidth(0);
    for (int k = 1; k < ListView->columnCount() && k - 1 < ColumnSet.Items.Count(); ++k)
        ColumnSet.Items[k - 1].Width = ListView->columnWidth(k);
}

void TFormLasBrowser::MIColumnsClick()
{
    StoreColumnWidths();
    ColumnSet.Save(settingsFile_);
    if (services_.ColumnsEditor && services_.ColumnsEditor->Execute(&ColumnSet))
        ColumnSet.Save(settingsFile_);
    ColumnSet.Load(settingsFile_);
    RebuildColumns();
}

void TFormLasBrowser::PageChanged(int index)
{
    treePane_->Refit();
    QWidget* page = PageControl->widget(index);
    if (page == TSFolders)
        TSFoldersShow();
    else if (page == TSFavorits)
        TSFavoritsShow();
    else if (page == TSLib)
        TSLibShow();
}

void TFormLasBrowser::TSFoldersShow()
{
    PageMode = 0;
    DirTreeView->SetFolder(DirTreeView->GetCurrentFolder());
    ShowFolder({});
}

void TFormLasBrowser::TSFavoritsShow()
{
    PageMode = 1;
}

void TFormLasBrowser::TSLibShow()
{
    PageMode = 2;
    ShowLibraryCompleteness();
    RefreshLibraryTree();
    UpdateLibraryMenus();
}

void TFormLasBrowser::TimerLibScanTimer()
{
    if (!LibScanner)
        StartIdleScan(std::make_unique<TLibScanner>(DBManager));
}

void TFormLasBrowser::StartIdleScan(std::unique_ptr<TLibScanner> scanner)
{
    TimerLibScan->stop();
    LibScanner = std::move(scanner);
    connect(LibScanner.get(), &QThread::finished, this,
            [this] { RunLibraryAction(this, [this] { LibScannerTerminated(); }); }, Qt::QueuedConnection);
    LibScanner->StartIdle();
    ShowLibraryCompleteness();
}

void TFormLasBrowser::LibScannerTerminated()
{
    // The thread has ended its work; destroying the object waits for it to finish.
    std::unique_ptr<TLibScanner> finished = std::move(LibScanner);
    finished.reset();
    if (!isVisible())
        return;
    ShowLibraryCompleteness();
    RefreshLibraryTree();
    if (MMILibIdleScan->isChecked())
        TimerLibScan->start();
}

void TFormLasBrowser::MMILibIdleScanClick()
{
    // The action has toggled its own check mark.
    if (MMILibIdleScan->isChecked())
        TimerLibScan->start();
    else
        TimerLibScan->stop();
}
