// The folder tree of the library browser: the file system from "/" down, folders only (hidden
// ones included), each branch filled when it is opened; files dropped on a folder are copied
// or moved there.
#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <functional>
#include <string>

class QMenu;
class QAction;

class TDirTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    // Arguments: the tree, the target node, the allow flag (true on entry), the files.
    using DropQuery = std::function<void(TDirTreeView&, QTreeWidgetItem*, bool&, const QStringList&)>;
    using DropHandler = std::function<void(TDirTreeView&, QTreeWidgetItem*, const QStringList&)>;
    // Shows the drop menu at the point and returns the chosen action (null: none); tests replace it.
    using MenuRunner = std::function<QAction*(QMenu&, const QPoint&)>;

    explicit TDirTreeView(QWidget* parent = nullptr);

    // Rebuilds the tree from "/" with its first level.
    void ReadInitial();
    // Selects the folder's node, or the deepest existing one when the path cannot be followed to
    // its end; a folder that does not exist changes nothing.
    void SetFolder(const std::string& path);
    // The node's folder with a trailing "/" ("" for none).
    std::string GetNodeFolder(const QTreeWidgetItem* node) const;
    std::string GetCurrentFolder() const;
    // Selects the parent of a node below the root; returns the selected node.
    QTreeWidgetItem* LevelUp();

    void SetAcceptDropFiles(bool accept);
    bool AcceptDropFiles() const { return acceptDropFiles_; }

    DropQuery OnDropCopy;
    DropQuery OnDropMove;
    // When set, a drop is handed to it instead of the drop menu.
    DropHandler OnDropFiles;
    void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }

    // The drop menu and its items.
    QMenu* DropMenu = nullptr;
    QAction* PMICopy = nullptr;
    QAction* PMIMove = nullptr;
    QAction* PMICancel = nullptr;

    // A drop of the files on the node at the screen point: the menu, then the chosen operation.
    void DropFiles(QTreeWidgetItem* node, const QStringList& files, const QPoint& globalPos);
    void OnClickCopyFile();
    void OnClickMoveFile();
    QTreeWidgetItem* HighlightedNode() const { return highlight_; }
    QTreeWidgetItem* DropNode() const { return dropNode_; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QTreeWidgetItem* AddFolderNode(QTreeWidgetItem* parent, const QString& name, const std::string& path);
    void UpdateNodeFolders(QTreeWidgetItem* node);
    void NodeExpanding(QTreeWidgetItem* node);
    void SetHighlight(QTreeWidgetItem* node);
    // Copies or moves the dropped files to the drop node's folder, never over an existing file.
    void defCopyFiles(bool move);

    bool acceptDropFiles_ = false;
    QStringList droppedFiles_;
    QTreeWidgetItem* highlight_ = nullptr;
    QTreeWidgetItem* dropNode_ = nullptr;
    MenuRunner menuRunner_;
};
