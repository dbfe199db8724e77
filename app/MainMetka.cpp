// Main window: the depth-marker tool, its panel and the perforation-mark dialog it opens.
#include "app/MainUnit.h"

#include "editing/MetkaInfo.h"
#include "ui_MainUnit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>

namespace {
// A tool without panel events: while its button is down the marker panel shows; it closes when
// another tool, Esc or a calculation button takes over.
class TMetkaTool : public TPanelTool {
public:
    explicit TMetkaTool(TFormMain& window) : TPanelTool(window), window_(window) {}
    void Activate() override { window_.PanelMetka->show(); }
    void Deactivate() override { window_.CloseMetkaPanel(false); }

private:
    TFormMain& window_;
};
}  // namespace

void TFormMain::CreateMetkaTool()
{
    Ui::TFormMain& f = *ui;
    DlgMetkaInfo = new TDlgMetkaInfo(this);
    PanelMetka = new QGroupBox(QStringLiteral("Метка"), f.PanelCurvesHost);
    PanelMetka->setObjectName(QStringLiteral("PanelMetka"));
    ButtonMetkaParams = new QPushButton(QStringLiteral("Параметры..."), PanelMetka);
    ButtonMetkaParams->setObjectName(QStringLiteral("ButtonMetkaParams"));
    auto* layout = new QHBoxLayout(PanelMetka);
    layout->addWidget(ButtonMetkaParams);
    layout->addStretch(1);
    f.PanelCurvesHost->layout()->addWidget(PanelMetka);
    PanelMetka->hide();
    connect(ButtonMetkaParams, &QPushButton::clicked, this, Command([this] { CloseMetkaPanel(true); }));
    tools_[f.TBMetka] = std::make_unique<TMetkaTool>(*this);
}

void TFormMain::CloseMetkaPanel(bool showDialog)
{
    PanelMetka->hide();
    if (ui->TBMetka->isChecked()) {
        ui->TBMetka->setChecked(false);
        TBPencilClick();
    }
    if (showDialog)
        DlgMetkaInfo->Execute();
}
