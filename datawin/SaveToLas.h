// Saving chosen curves of a document to LAS, split into files of sixteen curves above that (but
// for the whole document saved into its own file).
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

// What the file the document was read from holds: its data curves, its rows and their depth range
// as shown, and the values of the file the read did not load (lines of text, empty when none; set
// by whoever opened the file).
struct LoadedFileInfo {
    QString path;
    QStringList curves;
    int rows = 0;
    QString depths;
    QString omitted;
};
LoadedFileInfo DescribeLoadedFile(const TLASFile& document);

// Tells that the file at `path` could not be loaded, and the reason.
void ReportUnloadedFile(QWidget* owner, const QString& path, const QString& reason);

// Warns that the document just read from `path` left data of the file out; nothing when it took
// everything.
void WarnOmittedData(QWidget* owner, const TLASFile& document, const QString& path);

// Writes the curves (document indexes) over samples first..last, split into parts above
// MaxCurvesPerLasFile unless every curve over every sample goes into the document's own file; an
// existing file is replaced only when the user agrees, and the file the document was read from
// only after a question that names what it would lose. True when every file was written;
// `written` lists those that were.
bool WriteCurvesToLas(QWidget* owner, const TLASFile& document, const std::vector<int>& curves, int first, int last,
                      const QString& path, QStringList& written, const LoadedFileInfo* loadedFrom = nullptr);

class TFormSaveToLas : public QDialog
{
    Q_OBJECT
public:
    explicit TFormSaveToLas(QWidget* parent = nullptr);
    ~TFormSaveToLas() override;

    // The user chooses curves, interval and file name; true when every file was written.
    // A document without a file name asks for one first; `place`, when given, is the file name
    // offered instead of the document's own.
    bool Execute(TLASFile* document, const LoadedFileInfo* loadedFrom = nullptr, const QString& place = {});
    // After a successful Execute: every curve over the whole depth range went into one file.
    bool SavedWhole() const { return savedWhole_; }
    QString SavedPath() const { return savedPath_; }

    Ui::TFormSaveToLas& Form() const { return *ui; }

private:
    // The dialog's choice checked; false (with the message shown) when it cannot be saved.
    bool CheckChoice(std::vector<int>& curves, int& first, int& last);
    void ButtonBrowseClick();

    std::unique_ptr<Ui::TFormSaveToLas> ui;
    TLASFile* document_ = nullptr;
    bool savedWhole_ = false;
    QString savedPath_;
    QString folder_;  // where a relative name typed in is taken: the folder of the name shown
};
