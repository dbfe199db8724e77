// The editor "Настройка столбцов обзора LAS" of the browser's file-list columns.
#pragma once

#include <QDialog>
#include <memory>

#include "library/LasListColSet.h"

namespace Ui { class TFormLasBrowserColumns; }

class TFormLasBrowserColumns : public QDialog
{
    Q_OBJECT
public:
    explicit TFormLasBrowserColumns(QWidget* parent = nullptr);
    ~TFormLasBrowserColumns() override;

    // Edits the set in place, modally; true when closed with OK, false at once without a set.
    bool Execute(TLasListColSet* set);

    Ui::TFormLasBrowserColumns& Form() const { return *ui; }

    void ButtonAddPredefinedClick();
    void ButtonAddCustomClick();
    void ButtonRemoveClick();
    void ButtonRemoveAllClick();
    void BitBtnMoveUpClick();
    void BitBtnMoveDownClick();
    void ListBoxCurrentClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FillLists();
    void AppendColumn(const TLasColSetItem& item);
    void MoveSelected(int step);
    TLasColSetItem* SelectedColumn();
    void EnableDetails(bool enabled);
    void CaptionEdited(const QString& text);
    void WidthEdited(int width);
    void NameEdited(const QString& text);
    void SectionChosen(int index);

    std::unique_ptr<Ui::TFormLasBrowserColumns> ui;
    TLasListColSet predefined_;
    TLasListColSet* set_ = nullptr;
    bool reacting_ = false;
};
