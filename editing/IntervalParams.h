// The interval parameters dialog: name, bounds and colour of one interval.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

namespace Ui { class TFormIntervalParams; }
struct IntervalItem;
class TLASFile;

class TFormIntervalParams : public QDialog {
    Q_OBJECT
public:
    explicit TFormIntervalParams(QWidget* parent = nullptr);
    ~TFormIntervalParams() override;

    // Shows the proposal with both bounds held within [minDepth, maxDepth] (no limits when the
    // two are equal or reversed), as is a bound typed beyond them once typed; true on OK with name,
    // bounds and colour written into `result` (its Active mark untouched). The bounds are shown as
    // the document holds them (the decimal depth, with its depth decimals); a bound left as shown
    // comes back as that decimal, which stands for the same float.
    bool Execute(const IntervalItem& proposal, float minDepth, float maxDepth, IntervalItem& result,
                 const TLASFile* document);

    Ui::TFormIntervalParams& Form() const { return *ui; }
    std::uint32_t SwatchColor() const { return color_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintBoxColorClick();

    std::unique_ptr<Ui::TFormIntervalParams> ui;
    std::uint32_t color_ = 0;
};
