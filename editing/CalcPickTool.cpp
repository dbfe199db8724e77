// Argument picking and the new curve of a calculation script.
#include "editing/CalcPickTool.h"

#include "core/ExprList.h"
#include "core/Lasfile.h"
#include "editing/CurveNameRules.h"
#include "platform/DialogRunner.h"

TCalcPickTool::TCalcPickTool(TToolHost& host, TExprList& scripts, std::function<void()> releaseButtons)
    : TPanelTool(host), scripts_(scripts), releaseButtons_(std::move(releaseButtons))
{
}

void TCalcPickTool::Start(int script, int count)
{
    picks_.clear();
    FCalcPick = (static_cast<std::uint32_t>(count) << 16) + static_cast<std::uint32_t>(script + 1);
}

void TCalcPickTool::CurveClick(int curve, QPoint)
{
    Pick(curve + 1);
}

void TCalcPickTool::CurveListClick(int curve)
{
    Pick(curve + 1);
}

void TCalcPickTool::Cancel()
{
    picks_.clear();
    FCalcPick = 0;
    releaseButtons_();
}

QString TCalcPickTool::Prompt() const
{
    if (!Picking())
        return {};
    const QString prompt = QStringLiteral("Всего аргументов: ") + QString::number(Needed()) +
                           QStringLiteral(", отметьте нужные кривые(Esc-отмена)");
    if (picks_.empty())
        return prompt;
    return QStringLiteral("Указано аргументов: ") + QString::number(picks_.size()) + QStringLiteral(". ") + prompt;
}

void TCalcPickTool::Pick(int lasIndex)
{
    const TLASFile* document = host_.Document();
    if (!Picking() || !document || lasIndex < 1 || lasIndex >= document->GetCurvesCount())
        return;
    picks_.push_back(lasIndex);
    FCalcPick = (FCalcPick & 0xFFFF00FFu) | (static_cast<std::uint32_t>(picks_.size()) << 8);
    if (static_cast<int>(picks_.size()) >= Needed())
        CalculateNewCurve();
    else
        host_.PromptChanged();
}

void TCalcPickTool::CalculateNewCurve()
{
    TLASFile* document = host_.Document();
    const int script = static_cast<int>(FCalcPick & 0xFF) - 1;
    const std::vector<int> picks = picks_;
    // Whatever happens below, the pick ends and the button goes up.
    Cancel();
    host_.ToolDone();
    if (!document || script < 0 || script >= scripts_.Count())
        return;
    TMathExpression& expression = *scripts_.Item(script);
    if (!expression.AskUserConstValues())
        return;
    std::vector<const float*> args;
    for (int index : picks) {
        if (index >= document->GetCurvesCount())
            return;
        args.push_back(document->GetCurveData(index));
    }
    const int count = document->GetPointCount();
    FloatVector result(static_cast<std::size_t>(count), document->GetNullValue());
    bool done = false;
    try {
        done = count > 0 && expression.Calculate(args, result, 0, count - 1, document->GetNullValue(),
                                                 document->GetCurveData(0));
    } catch (const std::exception&) {
        done = false;
    }
    if (!done) {
        const std::string& error = expression.GetLastError();
        platform::MessageBox(nullptr,
                             QStringLiteral("При вычислении \n") + QString::fromStdString(expression.GetValue()) +
                                 QStringLiteral("\nПроизошла ошибка:\n") +
                                 (error.empty() ? QStringLiteral("Неопознанная ошибка") : QString::fromStdString(error)),
                             QStringLiteral("Ошибка"), platform::MB_ICONERROR);
        return;
    }
    QString name = QStringLiteral("NewC");
    if (!AskNewCurveName(host_.DialogOwner(), *document, QStringLiteral("Вычисление"), QStringLiteral("Имя новой кривой"),
                         name, QStringLiteral("NewC")))
        return;
    std::uint32_t color = 0;
    if (!platform::ChooseColor(host_.DialogOwner(), color))
        color = 0;
    const int index = document->AddCurve(name.toStdString(), result.data());
    host_.ShowNewCurve(index, color);
    host_.MarkModified();
    platform::MessageBox(host_.DialogOwner(), QStringLiteral("Кривая ") + name + QStringLiteral(" была успешно добавлена"),
                         QStringLiteral("Вычисление закончено"), platform::MB_ICONINFORMATION);
}
