#include "platform/Help.h"

#include "platform/DialogRunner.h"

namespace platform {

namespace {

HelpHandler& Handler()
{
    static HelpHandler handler;
    return handler;
}

} // namespace

void SetHelpHandler(HelpHandler handler)
{
    Handler() = std::move(handler);
}

void ShowHelpTopic(int topic)
{
    if (Handler())
        Handler()(topic);
    else
        ShowMessage(QStringLiteral("Справка недоступна"));
}

}  // namespace platform
