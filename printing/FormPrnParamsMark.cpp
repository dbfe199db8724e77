// The print dialog's perforation-mark block: the "Выводить" box, the mark dialog and the block.
#include "printing/FormPrnParams.h"

#include "core/KontrOsnMetkaInfo.h"
#include "printing/MarkBlock.h"
#include "ui_FormPrnParams.h"

bool TFormPrnParams::IsMarkDataValid() const
{
    return MarkInfo && MarkInfo->GK > 0.0f && MarkInfo->Perf > 0.0f && MarkInfo->Podoshva > 0.0f &&
           MarkInfo->KontrMetka > 0.0f;
}

void TFormPrnParams::DrawMarkBlock(double& y, platform::Canvas& canvas, double left, double right, double kx,
                                   double ky)
{
    if (MarkInfo && ui->CheckBoxMetka->isChecked())
        y = ::DrawMarkBlock(*MarkInfo, canvas, y, left, right, kx, ky);
}

void TFormPrnParams::CheckBoxMetkaClick()
{
    QCheckBox& box = *ui->CheckBoxMetka;
    if (!MarkInfo) {
        box.setChecked(false);
    } else if (!box.isChecked()) {
        MarkInfo->Print = false;
    } else {
        // Invalid depths never reach the page: they are asked for, and without OK the box clears.
        if (!IsMarkDataValid() && !(EditMarks && EditMarks()))
            box.setChecked(false);
        MarkInfo->Print = box.isChecked();
    }
    RefreshPreview();
}

void TFormPrnParams::BitBtnMetkaEditClick()
{
    if (!EditMarks || !EditMarks())
        return;
    if (!MarkInfo)
        MarkInfo = MarkRecord;
    if (!MarkInfo)
        return;
    QCheckBox& box = *ui->CheckBoxMetka;
    // The box's rule runs on the edited record even when its state stays.
    if (box.isChecked() == MarkInfo->Print)
        CheckBoxMetkaClick();
    else
        box.setChecked(MarkInfo->Print);
}
