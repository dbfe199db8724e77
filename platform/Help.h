// Help topics: the application registers the window that shows them.
#pragma once

#include <functional>

namespace platform {

using HelpHandler = std::function<void(int topic)>;

// Installs the handler that shows a topic (null: none).
void SetHelpHandler(HelpHandler handler);
// Shows the topic through the handler; without one the user is told "Справка недоступна".
void ShowHelpTopic(int topic);

}  // namespace platform
