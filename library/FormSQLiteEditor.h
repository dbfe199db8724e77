// A maintenance window over a library database file of the user's choice: its library folders
// (add, remove, rescan) and the distinct FLD values of its files.
#pragma once

#include <QWidget>

#include "library/LogFileDBManager.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class TFormSQLiteEditor : public QWidget
{
    Q_OBJECT
public:
    explicit TFormSQLiteEditor(QWidget* parent = nullptr);
    ~TFormSQLiteEditor() override;

    QLabel* LabelVersion = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* LabelDB = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* ButtonExecQuery = nullptr;
    QPushButton* ButtonRescan = nullptr;
    QListWidget* ListBoxPaths = nullptr;
    QPushButton* ButtonAddPath = nullptr;
    QPushButton* ButtonDelPath = nullptr;
    QListWidget* ListBoxFields = nullptr;

    // The window's own manager, independent of the profile's.
    LogFileDBManager Manager;

    void Button1Click();
    void ButtonAddPathClick();
    void ButtonDelPathClick();
    void ButtonRescanClick();
    void RefreshPaths();
    void RefreshFields();
};
