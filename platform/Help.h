// Help pages beside the program.
#pragma once

namespace platform {

// Opens ProgramDir() + "help/<topic>.html" in the system browser; when the page is
// missing the user is told "Справка недоступна".
void ShowHelpTopic(int topic);

}  // namespace platform
