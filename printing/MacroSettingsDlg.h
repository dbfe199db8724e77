// "Параметры подстановок": the macro file, its delimiters and its macros, edited on the
// program's macro manager.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui { class TFormMacroSettings; }
class TSettingsFile;
class TQ7CustomMacro;

class TFormMacroSettings : public QDialog
{
    Q_OBJECT
public:
    explicit TFormMacroSettings(QWidget* parent = nullptr);
    ~TFormMacroSettings() override;

    Ui::TFormMacroSettings& Form() const { return *ui; }

    // The templates folder (ending with "/") and the main window's holder of "templates.ini"
    // (which is null when there is none or after the main window closed).
    std::string TemplatesDir;
    const std::unique_ptr<TSettingsFile>* TemplatesIni = nullptr;

    // The macro file in use as "Macros" "FileName" keeps it: its name in the templates
    // folder, its full path elsewhere.
    std::string MacroFileName;
    // While clear, list clicks and edit changes are ignored.
    bool Ready = false;

    // Prepares the window on the manager (making one when there is none), runs it modally and
    // saves its settings when it closes.
    void Execute();
    void Prepare();
    void FillMacroList();
    void ShowMacro(int n);
    // 0 applied, 1 empty key, 2 the user kept the duplicate key out, -1 no manager or no such macro.
    int ApplyMacroChange(int n);
    void SaveSettings();

    static std::string GetLeftDelim(const TQ7CustomMacro& manager);
    static std::string GetRightDelim(const TQ7CustomMacro& manager);
    static void SetLeftDelim(TQ7CustomMacro& manager, const std::string& text);
    static void SetRightDelim(TQ7CustomMacro& manager, const std::string& text);
    static std::string GetMacroFilePath(const TQ7CustomMacro& manager);

private:
    void ListBoxClick();
    void MacroEditChange();
    void DelimEditChange();
    void BitBtnOkDelimsClick();
    void BitBtnCancelDelimsClick();
    void BitBtnApplyMacroChangeClick();
    void BitBtnCancelMacroChangeClick();
    void ButtonAddMacroClick();
    void ButtonDeleteMacroClick();
    void Button3Click();
    void ButtonChangeFileClick();
    void SetMacroButtons(bool enabled);
    void SetDelimButtons(bool enabled);
    TSettingsFile* Ini() const { return TemplatesIni ? TemplatesIni->get() : nullptr; }

    std::unique_ptr<Ui::TFormMacroSettings> ui;
};

// Shows what the user must know about the manager's macro file: one kept as ".bak", one that
// cannot be read.
void ReportMacroFileState(QWidget* owner);
// Tells that the remembered macro file `path` is gone and which one is used instead; nothing
// for an empty path.
void ReportMissingMacroFile(QWidget* owner, const std::string& path);
// Writes the manager's changes now, reporting a failed write of its file.
void SaveMacroFile(QWidget* owner);
// Deletes the manager, reporting a failed write of its file.
void ReleaseMacroManager(QWidget* owner);
