// "Параметры заголовка печати": the title template for printing, the values of its macros,
// and the applied title that the print road draws.
#pragma once

#include "printing/TitleMacroLists.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui { class TFormTemplSelMacroValInput; }
class TFormTitleTemplate;
class TSettingsFile;

class TFormTemplSelMacroValInput : public QDialog
{
    Q_OBJECT
public:
    explicit TFormTemplSelMacroValInput(QWidget* parent = nullptr);
    ~TFormTemplSelMacroValInput() override;

    Ui::TFormTemplSelMacroValInput& Form() const { return *ui; }

    // The main window's: the templates folder (ending with "/"), the current title file name,
    // the holder of "templates.ini", and the title editor.
    std::string TemplatesDir;
    std::string* TitleFileName = nullptr;
    const std::unique_ptr<TSettingsFile>* TemplatesIni = nullptr;
    TFormTitleTemplate* FormTitleTemplate = nullptr;
    // The applied title; made on the first apply or view.
    TFormTitleTemplate* FormTitleResult = nullptr;

    bool Ready = false;
    TExistingMacroList ExistingMacros;

    // Unless `skip`, fills the template list and the grid and drops any applied title.
    void Prepare(bool skip = false);
    void FillTemplateList();
    void FillMacroGrid();
    // Builds the applied title and shows it.
    void Apply();
    // Whether an applied title is there to print.
    bool HasAppliedTitle() const;
    // Whether a template is chosen and loaded, so that there is a title to apply.
    bool HasTemplate() const;

protected:
    void done(int result) override;

private:
    void TemplateChosen();
    void EditTemplateClick();
    void ViewResultClick();
    TFormTitleTemplate& ResultWindow();
    TSettingsFile* Ini() const;

    std::unique_ptr<Ui::TFormTemplSelMacroValInput> ui;
};
