// The document's depth unit in the words of the prompts and messages that give a depth amount.
#pragma once

#include <QString>

class TLASFile;

namespace platform {

// The prompt for a depth amount naming the unit: "Введите значение в метрах" (M), "... в футах"
// (F, FT, ФТ), "... в единицах DM" for another unit, without a unit when the file names none.
QString DepthAmountPrompt(const TLASFile& document);
// A depth amount followed by the unit: "2.5 м", "2.5 фут", another unit as the file writes it;
// the amount alone when the file names none.
QString DepthAmountText(const TLASFile& document, const QString& amount);

// Metres in one depth unit as a file names it (M, F, FT, USFT, ФТ, CM, IN, ...), a leading number
// counting that unit (.1IN, 10CM), for scales 1:N; 0 for a unit that is no length (time, an
// unknown name) and for none.
double DepthUnitMetres(const QString& unit);
double DepthUnitMetres(const TLASFile& document);
// What a scale takes the depths for when the unit gives no length ("масштаб в метрах");
// empty for a length unit.
QString DepthScaleNote(const QString& unit);

}  // namespace platform
