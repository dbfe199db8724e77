// "Создание нового LAS файла": the wizard that creates a LAS file by hand (depths, curves,
// random or point-made values) or by import from a column text file, fills its ~W header
// through the header editor and enters it into the library.
#pragma once

#include "core/NewLASInfo.h"
#include "datawin/ImportFromText.h"

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

namespace Ui { class TDlgNewLasWizard; }
class LogFileDBManager;
class TDlgLogFileHeaderEditor;
class TFormCreateCurveByValues;

// What the wizard takes from the program: the point dialog, the header editor and the profile.
struct NewLasWizardServices {
    TFormCreateCurveByValues* PointDialog = nullptr;
    TDlgLogFileHeaderEditor* HeaderEditor = nullptr;
    std::string ImportsDir;       // saved import sets, ending with a separator
    std::string LibraryDatabase;  // opened when the library manager is still closed
    LogFileDBManager* Library = nullptr;
};

class TDlgNewLasWizard : public QDialog
{
    Q_OBJECT
public:
    explicit TDlgNewLasWizard(QWidget* parent = nullptr);
    ~TDlgNewLasWizard() override;

    Ui::TDlgNewLasWizard& Form() const { return *ui; }
    void SetServices(const NewLasWizardServices& services) { services_ = services; }
    // Runs the wizard from its first page; the path of the created file, empty when cancelled.
    QString Execute();

    const NewLASInfo& Record() const { return info_; }
    const ImportFromTextParams& ImportParams() const { return params_; }
    const std::vector<int>& ValueModes() const { return valueModes_; }

    void ButtonNextClick();
    void ButtonPrevClick();
    void ShowCurveParams(int index);
    void EditCurveNameChange();
    void Button1Click();
    void EditSourceFileNameChange();
    void ButtonSaveImportClick();
    void BtnDeleteSavedImportClick();
    void ComboImportsChange(int index);

private:
    bool Manual() const;
    void ShowPage(QWidget* page);
    void TSManual1Show();
    bool ValidateManualDepths();
    bool ValidateSourceFile();
    void FillCurvesPage();
    bool FillCurveValues();
    // Next on the curves page refuses a curve text its ~C line cannot hold.
    bool CheckCurveTexts();
    void CreateLasFile();
    void RunHeaderSteps(const std::string& path);
    void GetImportParams(ImportFromTextParams& params) const;
    void SetImportControls();
    bool ValidateImportDepth();
    bool ImportFromText();
    void FillSavedImports();
    void ReloadSavedImports();
    void Error(QWidget* focus, const QString& text);

    std::unique_ptr<Ui::TDlgNewLasWizard> ui;
    NewLASInfo info_;
    bool controlsReady_ = true;
    std::vector<int> valueModes_;  // per curve: 0 random, 1 from points
    std::string sourceFile_;
    ImportFromTextParams params_;
    std::vector<std::string> savedFiles_;  // parallel to ComboImports
    NewLasWizardServices services_;
    QString created_;
};
