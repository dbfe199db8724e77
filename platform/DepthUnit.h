// The document's depth unit in the words of the prompts and messages that give a depth amount.
#pragma once

#include <QString>

class TLASFile;

namespace platform {

// The prompt for a depth amount naming the unit: "Введите значение в метрах" (M), "... в футах"
// (F, FT), "... в единицах DM" for another unit, without a unit when the file names none.
QString DepthAmountPrompt(const TLASFile& document);
// A depth amount followed by the unit: "2.5 м", "2.5 фут", another unit as the file writes it;
// the amount alone when the file names none.
QString DepthAmountText(const TLASFile& document, const QString& amount);

}  // namespace platform
