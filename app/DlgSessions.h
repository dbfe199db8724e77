// The sessions dialog: the sessions of the profile's folder with their date and preview;
// load, save under a name, delete.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui { class TDlgSessions; }

class TDlgSessions : public QDialog
{
    Q_OBJECT
public:
    // What the main window does with a chosen session file; each reports its own errors
    // and returns false when nothing was done.
    struct Actions {
        std::function<bool(const QString& path)> load;
        std::function<bool(const QString& path)> save;
        std::function<bool()> canSave;  // a document is loaded
        // The file of the open document ("" when none), and the document let go of its file
        // when the session holding that file is deleted.
        std::function<QString()> documentFile;
        std::function<void()> detachDocument;
    };
    // The name kept for the session written when the program closes.
    static constexpr const char* kLastSessionName = "last";

    explicit TDlgSessions(QWidget* parent = nullptr);
    ~TDlgSessions() override;

    // Lists the sessions of the folder and runs the dialog; true when a session was loaded.
    bool Execute(const QString& sessionsDir, Actions actions);

    static constexpr int kHelpTopic = 7;

private:
    void FillList();
    void ShowPreview();
    QString SelectedPath() const;
    void BtnLoadClick();
    void BtnSaveClick();
    void BtnDeleteClick();

    std::unique_ptr<Ui::TDlgSessions> ui;
    QString folder_;
    Actions actions_;
};
