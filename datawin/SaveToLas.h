// Saving chosen curves of a document to LAS, split into files of sixteen curves above that.
#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>
#include <vector>

namespace Ui { class TFormSaveToLas; }
class TLASFile;

// Most curves written to one file.
inline constexpr int MaxCurvesPerLasFile = 16;

// File names for `curveCount` curves saved as `path`: the path itself up to the limit, else
// the path without its ".las" + "_" + part number (from 1) + ".las".
QStringList LasPartFileNames(const QString& path, int curveCount);

// Writes the curves (document indexes) over samples first..last; an existing file is replaced
// only when the user agrees. True when every file was written; `written` lists those that were.
bool WriteCurvesToLas(QWidget* owner, const TLASFile& document, const std::vector<int>& curves, int first, int last,
                      const QString& path, QStringList& written);

class TFormSaveToLas : public QDialog
{
    Q_OBJECT
public:
    explicit TFormSaveToLas(QWidget* parent = nullptr);
    ~TFormSaveToLas() override;

    // The user chooses curves, interval and file name; true when every file was written.
    bool Execute(TLASFile* document);

    Ui::TFormSaveToLas& Form() const { return *ui; }

private:
    // The dialog's choice checked; false (with the message shown) when it cannot be saved.
    bool CheckChoice(std::vector<int>& curves, int& first, int& last);
    void ButtonBrowseClick();

    std::unique_ptr<Ui::TFormSaveToLas> ui;
    TLASFile* document_ = nullptr;
};
