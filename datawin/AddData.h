// The add-curves dialog: a LAS file picked from a folder, its curves ticked and an optional depth
// limit; "Добавить" places them into the main window's document.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class TFormAddData; }
class QFileSystemModel;
class TLASFile;

class TFormAddData : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 3;

    explicit TFormAddData(QWidget* parent = nullptr);
    ~TFormAddData() override;

    // The limit set to top..bottom (ticked unless both are 0), the folder listed and the file
    // picked, which loads it as the source. The step is not used.
    void PrepareForFile(const QString& folder, const QString& fileName, double top, double bottom, double step,
                        TLASFile* target);
    // The same without a file: nothing is picked.
    void PrepareForFolder(const QString& folder, TLASFile* target, double top, double bottom, double step);

    Ui::TFormAddData& Form() const { return *ui; }
    const TLASFile* Source() const { return source_.get(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void SetLimits(double top, double bottom);
    void SetFolder(const QString& folder);
    void LoadSource();
    void ButtonAddClick();

    std::unique_ptr<Ui::TFormAddData> ui;
    QFileSystemModel* folders_ = nullptr;
    QString folder_;
    std::unique_ptr<TLASFile> source_;
    TLASFile* target_ = nullptr;
};
