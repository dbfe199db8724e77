// Library browser: its settings file "lasbrowse.ini" and the bookmarks page.
#include "library/LasBrowser.h"

#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include "core/IniStore.h"
#include "core/SettingsFile.h"
#include "core/StringUtils.h"
#include "library/DirTreeView.h"
#include "platform/DialogRunner.h"
#include "platform/FileNames.h"
#include "platform/PaneWidth.h"

namespace {

const char* const kOptions = "Options";
const char* const kBookmarks = "Bookmarks";
constexpr int kMinute = 60000;

int ReadInt(const TSettingsFile& file, const char* section, const char* key, int min, int max, int fallback)
{
    int value = fallback;
    return file.ReadIntRange(section, key, value, min, max) == 1 ? value : fallback;
}

bool ReadFlag(const TSettingsFile& file, const char* key)
{
    bool value = true;
    return file.ReadBool(kOptions, key, value) ? value : true;
}

// A bookmark the settings file cannot keep is refused with a message saying why; true then. A
// blank name, a line break or a leading ';' or '[' get the settings file's rule for names.
bool RefusedBookmark(QWidget* owner, const std::string& name, const std::string& path)
{
    if (TFavoritsList::CanStore(name, path))
        return false;
    const bool ruleOfNames = !IsValidIniName(name, false) && name.find('=') == std::string::npos;
    platform::MessageBox(owner,
                         ruleOfNames ? QString::fromUtf8(kBadIniNameMessage)
                                     : QStringLiteral("Недопустимое имя закладки или слишком длинный путь"),
                         QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONWARNING);
    return true;
}

} // namespace

void TFormLasBrowser::LoadSettings()
{
    TSettingsFile file(settingsFile_);
    QList<int> sizes = splitter_->sizes();
    MMIDTVShow->setChecked(ReadFlag(file, "DViewVisible"));
    // A stored width is kept; without one the pane follows the folder names.
    int treeWidth = 150;
    if (file.ReadIntRange(kOptions, "DViewWidth", treeWidth, 100, 350) == 1)
        treePane_->Keep();
    sizes[0] = treeWidth;
    MIAddInfoShow->setChecked(ReadFlag(file, "AddInfoVisible"));
    sizes[1] = ReadInt(file, kOptions, "AddInfoWidth", 100, 350, 150);
    sizes[2] = std::max(width() - sizes[0] - sizes[1], 100);
    splitter_->setSizes(sizes);
    ArrangePanels();
    const int mode = ReadInt(file, kOptions, "Mode", 0, 2, 0);
    PageControl->setCurrentWidget(mode == 2 ? TSLib : TSFolders);
    const int storedWidth = ReadInt(file, kOptions, "FileColWidth", 10, 350, 0);
    FileColumnWidth = storedWidth > 0 ? storedWidth : 50;
    fittedFileColumnWidth_ = storedWidth > 0 ? -1 : FileColumnWidth;
    SortColumn = ReadInt(file, "Sort", "ColNumber", 0, 20, 0);
    SortDirection = ReadInt(file, "Sort", "Type", -1, 1, 0);
    const int minutes = ReadInt(file, "Lib", "IdleScan", -30, 30, 0);
    TimerLibScan->setInterval((minutes == 0 ? 5 : std::abs(minutes)) * kMinute);
    if (minutes > 0)
        TimerLibScan->start();
    else
        TimerLibScan->stop();
    MMILibIdleScan->setChecked(TimerLibScan->isActive());
    Bookmarks.Load(file, kBookmarks);
}

void TFormLasBrowser::SaveSettings()
{
    // The column set first: the settings object below loads the file with it and keeps it.
    StoreColumnWidths();
    ColumnSet.Save(settingsFile_);
    TSettingsFile file(settingsFile_);
    const QList<int> sizes = splitter_->sizes();
    file.WriteBool(kOptions, "DViewVisible", MMIDTVShow->isChecked());
    if (treePane_->Kept())
        file.WriteInt(kOptions, "DViewWidth", std::clamp(sizes[0] > 0 ? sizes[0] : PageControl->width(), 100, 350));
    file.WriteBool(kOptions, "AddInfoVisible", MIAddInfoShow->isChecked());
    file.WriteInt(kOptions, "AddInfoWidth",
                  std::clamp(sizes[1] > 0 ? sizes[1] : PanelAdditionalInfo->width(), 100, 350));
    file.WriteInt(kOptions, "Mode", PageControl->currentWidget() == TSLib ? 2 : 0);
    const int minutes = TimerLibScan->interval() / kMinute;
    file.WriteInt("Lib", "IdleScan", MMILibIdleScan->isChecked() ? minutes : -minutes);
    file.WriteInt("Sort", "ColNumber", SortColumn);
    file.WriteInt("Sort", "Type", SortDirection);
    if (FileColumnWidth != fittedFileColumnWidth_)  // a fitted width is fitted again next time
        file.WriteInt(kOptions, "FileColWidth", FileColumnWidth);
    Bookmarks.Save(file, kBookmarks);
}

void TFormLasBrowser::FillBookmarkList()
{
    fillingBookmarks_ = true;
    ListViewFavorites->clear();
    for (int i = 0; i < Bookmarks.Count(); ++i) {
        auto* row = new QTreeWidgetItem(ListViewFavorites, {QString::fromStdString(Bookmarks[i].Name),
                                                            platform::ShownFileName(Bookmarks[i].Path)});
        row->setFlags(row->flags() | Qt::ItemIsEditable);
    }
    fillingBookmarks_ = false;
}

void TFormLasBrowser::MMIFavsAddClick()
{
    const std::string folder = DirTreeView->GetNodeFolder(DirTreeView->currentItem());
    if (folder.empty())
        return;
    QString name;
    for (;;) {
        name.clear();
        if (!platform::InputQuery(QStringLiteral("Добавление закладки"), QStringLiteral("Введите имя закладки"), name))
            return;
        if (!name.isEmpty())
            break;
        platform::MessageBox(this, QStringLiteral("Имя не должно быть пустым!"), QStringLiteral("Ошибка"),
                             platform::MB_OK | platform::MB_ICONERROR);
    }
    if (RefusedBookmark(this, name.toStdString(), folder))
        return;
    Bookmarks.Set(name.toStdString(), folder);
    FillBookmarkList();
}

void TFormLasBrowser::ListViewFavoritesDblClick()
{
    const int row = ListViewFavorites->indexOfTopLevelItem(ListViewFavorites->currentItem());
    if (row < 0 || row >= Bookmarks.Count())
        return;
    DirTreeView->SetFolder(Bookmarks[row].Path);
    PageControl->setCurrentWidget(TSFolders);
}

void TFormLasBrowser::MMIFavsDeleteClick()
{
    const int row = ListViewFavorites->indexOfTopLevelItem(ListViewFavorites->currentItem());
    if (row < 0 || row >= Bookmarks.Count())
        return;
    if (platform::MessageBox(this,
                             QStringLiteral("Вы действительно хотите удалить закладку\n'") +
                                 QString::fromStdString(Bookmarks[row].Name) + QStringLiteral("' ?"),
                             QStringLiteral("Удаление закладки"),
                             platform::MB_OKCANCEL | platform::MB_ICONQUESTION) != platform::IDOK)
        return;
    Bookmarks.Delete(row);
    FillBookmarkList();
}

void TFormLasBrowser::MMIFavsClearClick()
{
    if (platform::MessageBox(this, QStringLiteral("Вы подтверждаете удаление всех закладок?"),
                             QStringLiteral("Удаление закладки"),
                             platform::MB_OKCANCEL | platform::MB_ICONQUESTION) != platform::IDOK)
        return;
    Bookmarks.Clear();
    FillBookmarkList();
}

void TFormLasBrowser::ListViewFavoritesEdited(int row, const QString& caption)
{
    if (row < 0 || row >= Bookmarks.Count())
        return;
    TFavoritsItem& bookmark = Bookmarks[row];
    const std::string name = caption.toStdString();
    const auto restore = [&] {
        fillingBookmarks_ = true;
        ListViewFavorites->topLevelItem(row)->setText(0, QString::fromStdString(bookmark.Name));
        fillingBookmarks_ = false;
    };
    if (name.empty()) {
        restore();
        return;
    }
    if (AnsiUpperCase(name) == AnsiUpperCase(bookmark.Name))
        return;
    if (RefusedBookmark(this, name, bookmark.Path)) {
        restore();
        return;
    }
    if (Bookmarks.IndexOfName(name) < 0) {
        bookmark.Name = name;
        return;
    }
    platform::MessageBox(this,
                         QStringLiteral("Закладка с именем\n'") + caption +
                             QStringLiteral("'\nуже существует. Введите другое имя"),
                         QStringLiteral("Изменение имени закладки"), platform::MB_OK | platform::MB_ICONWARNING);
    restore();
}
