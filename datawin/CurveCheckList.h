// The check list of a document's data curves shared by the open and save dialogs.
#pragma once

#include <vector>

class QAbstractButton;
class QListWidget;
class TLASFile;

enum class CurveItemText { Full, Mnemonic };
// Curves 1..n-1 as "mnemonic, unit, description" (or the mnemonic alone), all ticked.
void FillCurveCheckList(QListWidget& list, const TLASFile& document, CurveItemText text = CurveItemText::Full);
void SetAllChecked(QListWidget& list, bool checked);
// Document indexes of the ticked curves, in list order.
std::vector<int> CheckedCurves(const QListWidget& list);
// "++" ticks every curve, "- -" clears every tick.
void ConnectCheckButtons(QListWidget& list, QAbstractButton& checkAll, QAbstractButton& uncheckAll);
