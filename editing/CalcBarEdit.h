// The editor of the calculation scripts: their files, texts, button, NULL policy, expression,
// user constants and intermediate variables, edited straight in the main window's list.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class TDlgCalcBarEdit; }
class QComboBox;
class QLineEdit;
class QMenu;
class TExprList;
class TMathExpression;

class TDlgCalcBarEdit : public QDialog
{
    Q_OBJECT
public:
    explicit TDlgCalcBarEdit(QWidget* parent = nullptr);
    ~TDlgCalcBarEdit() override;

    void SetExprFileList(TExprList* list) { FExprList = list; }
    TExprList* GetExprFileList() const { return FExprList; }
    // Fills the dialog from the list and runs it.
    int Execute();

    Ui::TDlgCalcBarEdit& Form() const { return *ui; }
    QLineEdit* FilenameEdit = nullptr;
    QComboBox* ComboBoxNullType = nullptr;
    QMenu* PMenuExpr = nullptr;

    void FormShow();
    void ListBoxBtnsClick();
    void FilenameEditExit();
    void BitBtn1Click();
    void BtnAddExprClick();
    void BtnDeleteClick();
    void BitBtnAddUserConstClick();
    void BitBtnRemoveUserConstClick();
    void ButtonAddVarClick();
    void ButtonDeleteVarClick();
    // Asks a constant or variable name until it is valid; empty when the user gave up.
    QString AskName(const QString& title);
    // The preview button's width (0: hidden).
    int PreviewWidth() const;

public slots:
    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TMathExpression* Current() const;
    void ShowScript(int index);
    void FillGrids();
    void UpdatePreview();
    void StringGridSetEditText(int row, int column);
    void StringGridUserConstsSetEditText(int row, int column);
    void GridVarsSetEditText(int row, int column);
    void StoreTicks();
    // Stores the ticks and writes every script; false after telling that a write failed.
    bool SaveScripts();
    // Shows and names the first script without an expression; true when every script has one.
    bool EveryExpressionGiven();
    void ClearControls();
    void BrowseFile();
    // Another script of the list already keeps its file at `path`.
    bool FileUsedByOther(const std::string& path, const TMathExpression* self) const;
    void InsertFromMenu(const QString& caption);

    std::unique_ptr<Ui::TDlgCalcBarEdit> ui;
    TExprList* FExprList = nullptr;
    int shown_ = -1;  // the script the controls show, -1 while filling or when none
    QString lastName_;
};
