// The browser of LAS files: a folder tree, bookmarks and the library on the left, the header of
// the chosen file in the middle, and a list of files with header columns; a chosen file is
// handed back to the main window to open or to add its curves.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/FavoritsList.h"
#include "library/LasListColSet.h"
#include "library/LasTreeViewManage.h"

class LogFileDBManager;
class QAction;
class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TDirTreeView;
class TDlgLogFileHeaderEditor;
class TFormLasBrowserColumns;
class TLasParser2Header;
class TLibScanner;
namespace platform { class PaneWidth; }

// What the main window lends the browser.
struct LasBrowserServices {
    LogFileDBManager* DBManager = nullptr;
    std::string DatabasePath;  // the library database file
    TDlgLogFileHeaderEditor* HeaderEditor = nullptr;
    TFormLasBrowserColumns* ColumnsEditor = nullptr;
};

class TFormLasBrowser : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFormLasBrowser(const LasBrowserServices& services, QWidget* parent = nullptr);
    ~TFormLasBrowser() override;

    // "lasbrowse.ini" in the program's folder.
    static std::string GetSettingsFileName();

    // Lists the folder and shows the window.
    void ShowForPath(const std::string& folder);

    // Controls.
    QTabWidget* PageControl = nullptr;
    QWidget* TSFolders = nullptr;
    QWidget* TSFavorits = nullptr;
    QWidget* TSLib = nullptr;
    TDirTreeView* DirTreeView = nullptr;
    QTreeWidget* ListViewFavorites = nullptr;
    // Shown while a scan of a library folder has not ended.
    QLabel* LabelLibIncomplete = nullptr;
    QLineEdit* EditLibSearch = nullptr;
    QToolButton* SBLibSearch = nullptr;
    QComboBox* ComboLibGroupBy = nullptr;
    QTreeWidget* TreeViewLib = nullptr;
    QWidget* PanelAdditionalInfo = nullptr;
    QTreeWidget* TVLasInfo = nullptr;
    QPlainTextEdit* MemoInfo = nullptr;
    QTreeWidget* ListView = nullptr;
    QTimer* TimerLibScan = nullptr;
    QFileSystemWatcher* RxFolderMonitor = nullptr;

    // Menus.
    QAction* MMIFileOpen = nullptr;
    QAction* MMIFileAddToLoaded = nullptr;
    QAction* N2 = nullptr;
    QAction* MMIFileEditHeader = nullptr;
    QAction* MMIEditCut = nullptr;
    QAction* MMIEditCopy = nullptr;
    QAction* MIColumns = nullptr;
    QAction* MIAddInfoShow = nullptr;
    QAction* MIAllAddInfo = nullptr;
    QAction* MIShortAddInfo = nullptr;
    QAction* MIMinimalAddInfo = nullptr;
    QAction* MMIDTVShow = nullptr;
    QAction* MIRefresh = nullptr;
    QMenu* MMILib = nullptr;
    QAction* MMILibAddFolder = nullptr;
    QAction* MMILibSelectAndAddPath = nullptr;
    QAction* MMILibRescan = nullptr;
    QMenu* MMILibAddFilesToGroup = nullptr;
    QAction* MMIAddFilesToGroupNew = nullptr;
    QAction* MMILibRemoveMissingFiles = nullptr;
    QMenu* MMILibPathesToDelete = nullptr;
    QMenu* MMILibRemoveGroup = nullptr;
    QAction* MMILibIdleScan = nullptr;
    QAction* MMIFavsAdd = nullptr;
    QAction* MMIFavsDelete = nullptr;
    QAction* MMIFavsClear = nullptr;
    QAction* MMIHelp = nullptr;
    QMenu* PMneuFiles = nullptr;
    QAction* PMIFilesEditFileHeader = nullptr;
    QAction* PMFOpen = nullptr;
    QAction* PMFAddCurves = nullptr;
    QMenu* PMFAddToGroup = nullptr;
    QAction* PMFAddToGroupNew = nullptr;
    QAction* PMFDelete = nullptr;

    // State.
    TLasTreeViewManage InfoTree;
    TLasListColSet ColumnSet;
    int FileColumnWidth = 50;
    int SortColumn = 0;
    int SortDirection = 0;  // 1 ascending, -1 descending, 0 listing order
    TFavoritsList Bookmarks;
    std::uint8_t PageMode = 0;  // 0 folders, 1 bookmarks, 2 library
    LogFileDBManager* DBManager = nullptr;
    std::vector<std::string> GroupByColumns{"fld", "well"};
    std::vector<std::string> SelectedLibraryPath;
    std::unique_ptr<TLibScanner> LibScanner;
    std::function<void(const QString&)> OnOpenFile;
    std::function<void(const QString&)> OnAddCurves;
    // The file of the document open in the main window, empty when none.
    std::function<std::string()> OpenDocumentPath;
    QWidget* MainWindowHandle = nullptr;
    std::string SelectedCaption;

    // File list.
    int FillFileList(std::string folder);
    void ClearFileList();
    void ShowFolder(std::string folder);
    void WatchFolder(const std::string& folder);
    void RememberSelection();
    void RestoreSelection();
    void RxFolderMonitorChange();
    void ListViewColumnClick(int column);
    // -1, 0 or 1 in the list's order.
    int ListViewCompare(const QTreeWidgetItem* row1, const QTreeWidgetItem* row2) const;
    void OpenSelected(bool add);
    void OpenSelectedLibraryFile(bool add);
    // The header and the path of a file row; null and "" for a folder row.
    static const TLasParser2Header* RowHeader(const QTreeWidgetItem* row);
    static std::string RowPath(const QTreeWidgetItem* row);
    // Rows of the folder names (no picture for "..") and of the files that have a LAS header
    // (paths: base + name, or the names alone with an empty base); the row count.
    int FillLibraryFileList(const std::string& base, const std::vector<std::string>& folders,
                            const std::vector<std::string>& files);
    // Paths of the selected file rows, in list order.
    std::vector<std::string> GetSelectedFiles() const;

    // Panels and columns.
    void ArrangePanels();
    void RebuildColumns();
    void StoreColumnWidths();
    void MIColumnsClick();

    // Header panel.
    void ListViewChange();
    void TVLasInfoChange(QTreeWidgetItem* node);
    void SetInfoMode(int mode);

    // Files.
    void MMIFileEditHeaderClick();
    void PMFDeleteClick();
    // Drags the file of the row out of the window (a file row at any index).
    void StartFileDrag(int index);
    void MMIEditCopyClick();

    // Pages and the library.
    void TSFoldersShow();
    void TSFavoritsShow();
    void TSLibShow();
    void RefreshLibraryTree();
    void TreeViewLibChange(QTreeWidgetItem* node);
    void TreeViewLibExpanding(QTreeWidgetItem* node);
    void ComboLibGroupByChange();
    // The conditions as SQL, every text a quoted literal.
    std::string BuildSearchCondition(const std::string& text) const;
    std::string BuildNodeCondition(const QTreeWidgetItem* node) const;
    void AddLibraryLevel(QTreeWidgetItem* parent, const std::string& column, const std::string& condition);
    std::vector<std::string> GetNodeFiles(const std::string& condition);
    void StoreLibrarySelection();
    void RestoreLibrarySelection();
    void UpdateLibraryMenus();
    void MMILibAddFolderClick();
    void MMILibSelectAndAddPathClick();
    void MMILibRescanClick();
    void MMILibRemoveMissingFilesClick();
    void MMILibRemovePathItemClick(const QString& path);
    void MMILibRemoveGroupItemClick(const QString& group);
    // A group item or one of the two "Новая группа ..." items.
    void MMIAddFilesToGroupNewClick(QAction* item);
    static QIcon LibraryNodeIcon(bool expanded);

    // Idle scan.
    void TimerLibScanTimer();
    void LibScannerTerminated();
    // Shows or hides the line that says the library is incomplete.
    void ShowLibraryCompleteness();
    void MMILibIdleScanClick();

    // Settings and bookmarks.
    void LoadSettings();
    void SaveSettings();
    void FillBookmarkList();
    void MMIFavsAddClick();
    void MMIFavsDeleteClick();
    void MMIFavsClearClick();
    void ListViewFavoritesDblClick();
    void ListViewFavoritesEdited(int row, const QString& caption);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void ConnectEvents();
    void PageChanged(int index);
    std::string LibrarySearchCondition() const;
    // Runs the scanner at idle priority as the one idle scan, the timer off meanwhile.
    void StartIdleScan(std::unique_ptr<TLibScanner> scanner);
    // Adds the folder to the library and rescans it alone, or without a folder rescans every
    // library folder, with a progress; says when that failed, when the folder was listed
    // already and, for a rescan that ended, how many files it read.
    void ScanLibrary(const std::string& folderToAdd);
    QTreeWidgetItem* SelectedRow() const;
    // Minimises the browser, brings the main window forward and hands it the file.
    void HandBack(const std::string& path, bool add);
    void ForgetHeaders();
    // Fits "Файл" to the names listed, and measures the header columns that fit their contents,
    // while no width is stored or set by hand for them.
    void FitColumns();
    void ShareColumns();
    // Widens the window as far as the list needs to show every column whole, measuring again
    // up to `rounds` times.
    void WidenForColumns(int rounds);
    void ColumnResizedByHand(int column);

    LasBrowserServices services_;
    std::string settingsFile_;
    std::string databasePath_;
    QSplitter* splitter_ = nullptr;
    QTimer* monitorDelay_ = nullptr;
    std::string monitorFolder_;
    const TLasParser2Header* infoHeader_ = nullptr;
    QPoint dragStart_;
    bool fillingBookmarks_ = false;
    int fittedFileColumnWidth_ = -1;  // the width "Файл" was fitted to; -1 once stored or set by hand
    std::vector<int> columnWants_;    // by column: the width its contents need, 0 when not fitted
    platform::PaneWidth* treePane_ = nullptr;
    bool widened_ = false;  // the window took the width of its columns when first shown
    bool fittingColumns_ = false;  // the program, not the user, is resizing the list's columns
};
