// "Редактор файлов формата LAS": a modeless window that edits its own copy of a LAS file, as a
// table of values or as plain text, picked from its own folder tree and file list.
#pragma once

#include "core/TextFileCodec.h"
#include "datawin/SaveToLas.h"

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace Ui { class TFormEditor; }
class LasTableModel;
class QAction;
class QFileSystemModel;
class QMenu;
class TCopyBuffer;
class TFormFindInGrid;
class TFormSaveToLas;
class TFormTextFind;
class TLASFile;

class TFormEditor : public QWidget
{
    Q_OBJECT
public:
    TFormEditor(TFormSaveToLas& saveDialog, QWidget* parent = nullptr);
    ~TFormEditor() override;

    Ui::TFormEditor& Form() const { return *ui; }
    TLASFile* Document() const { return document_.get(); }
    LasTableModel& GridModel() const { return *model_; }
    TFormFindInGrid& FindWindow() const { return *findWindow_; }
    TFormTextFind& TextFindDialog() const { return *textFind_; }

    // File panel: the folder whose "*.las" files (any letter case) the file list shows.
    void SetFolder(const QString& folder);
    QString Folder() const { return folder_; }
    void FileListBoxChange();
    void TBSaveAsClick();
    // Page change; one the user cancels puts the previous page back.
    void PageControlChange(int page);
    // The questions of a changed table or text before the program closes; false keeps it open.
    bool QueryClose();
    bool IsTableModified() const;
    bool IsTextModified() const;

    // Table page.
    void OpenFile(const QString& path);
    void FillGrids();
    void FillCurveTable();
    void FillColumn(int curve);
    void ClearGrids();
    bool ReadColumn(int curve, std::vector<float>& values) const;
    void ApplyGridToDocument();
    void ApplyStep();
    void AddColumn();
    void RenameColumn();
    void DeleteColumn();
    void SetColumnNull();
    // mode 1 adds a typed number to the selected cells, mode 2 multiplies them by it.
    void ShiftOrMultiplySelection(int mode);
    void OpenFindWindow();
    // Popup of the value grid at a point of its viewport: the popup cell and the items' states.
    void PMenuGridPopup(const QPoint& pos);
    QMenu& GridMenu() const { return *PMenuGrid; }
    int PopupCol() const { return popupCol_; }
    int PopupRow() const { return popupRow_; }

    // Text page.
    void LoadText(const QString& path);
    // True when the file was written.
    bool WriteText();
    // Yes/No/Cancel (platform::IDYES, IDNO, IDCANCEL); Yes writes the text.
    int AskSaveText(bool* written = nullptr);
    void UpdateTextButtons();
    // The next hit of the text dialog's search in its direction, selected; -1 when none.
    int FindInText();
    void TextFound();
    void TextReplace(bool all);
    QMenu& TextMenu() const { return *PMenuSimpleEdit; }

    // Actions of the popup menus.
    QAction *MICopy, *MIPaste, *MIClearBuffer, *MIAddToSel, *MIMultToSel, *MISearch, *MIReplace, *MIColCaption,
        *MIAddColumn, *MIDelColumn, *MISetNullCol;
    QAction *MISFind, *MISReplace, *MISCopy, *MISCut, *MISPaste, *MISUndo;

    // Unsaved edits kept when the program is ended from outside (datawin/LasEditorRecovery).
    // False when there are none; else the file they belong to (empty for a text never saved)
    // and whether they are the text page's.
    bool UnsavedEdits(QString& file, bool& text) const;
    // The unsaved edits in the form of their file: the table as LAS, the text in its file's code
    // page (UTF-8 where that cannot hold it). True when written.
    bool WriteUnsavedEdits(const std::string& path);
    // Opens edits written by WriteUnsavedEdits as unsaved edits of `file`; false when unreadable.
    bool OpenUnsavedEdits(const QString& copy, const QString& file, bool text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void ConnectControls();
    // Table page: saves through the save dialog; true when the file was written.
    bool SaveDocument();
    // The table page's question for a changed document; false when the user cancelled or
    // nothing was written after Yes.
    bool AskSaveTable();
    void DeleteDocument();
    void SGCurvesChanged(int row, int column);
    // The input box for a column's mnemonic; false when cancelled, empty or refused.
    bool AskCurveName(const QString& title, const QString& prompt, QString& name);
    void ShowInvalidCell();
    void MarkTableChanged() { tableChanged_ = true; }
    // Text page.
    void EmptyText();
    // The text as typed: no-break spaces kept, lines joined with '\n'.
    QString MemoText() const;
    void RefreshFileList();
    void SelectFileRow(int row);

    std::unique_ptr<Ui::TFormEditor> ui;
    TFormSaveToLas& saveDialog_;
    TFormFindInGrid* findWindow_ = nullptr;
    TFormTextFind* textFind_ = nullptr;
    QMenu* PMenuGrid = nullptr;
    QMenu* PMenuSimpleEdit = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QString folder_;

    std::unique_ptr<TLASFile> document_;
    QString fileName_;
    LoadedFileInfo loadedFrom_;  // what the document's file held when it was read
    int popupCol_ = 1;
    int popupRow_ = 1;
    LasTableModel* model_ = nullptr;
    std::unique_ptr<TCopyBuffer> copyBuffer_;
    int fileIndex_ = -1;
    int previousFileIndex_ = -1;
    bool gridsFilled_ = true;
    bool textReady_ = false;
    bool tableChanged_ = false;
    int shownPage_ = 0;
    bool restoringPage_ = false;
    bool restoringFile_ = false;

    // Text page: the form of the loaded file's text, and the save dialog's name and folder.
    TextFileCodec textFile_;
    QString textSaveName_;
    QString textSaveFolder_;
};
