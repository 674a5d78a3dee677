// Program entry: the application, the full-screen setting, the main form and the message loop.
#include "platform/App.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "shell/Form.h"
#include "shell/Language.h"
#include "state/ShellState.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
    std::string error;
    if (!Application.Initialize(&error)) {
        std::fprintf(stderr, "Velm Orra needs a display to run (%s).\n", error.c_str());
        return 1;
    }
    // The player's files live in the working directory: the user's data folder.
    if (!paths::EnterUserDataDir(&error))
        std::fprintf(stderr, "Velm Orra: %s; using the current folder.\n", error.c_str());

    // The full-screen flag: read as "fullscreen", created as "Fullscreen" = 0 when missing.
    TRegistry registry;
    if (const auto value = registry.ReadInteger("fullscreen"))
        Shell.FullScreen = *value != 0;
    else
        registry.WriteInteger("Fullscreen", 0);
    // The language of the texts and pictures: the player's choice, else the environment's.
    language::SetCurrent(language::Resolve(language::ChoiceFromRegistry(), std::getenv));

    {
        TForm1 form;
        if (!form.FormCreate()) {
            std::fprintf(stderr, "Velm Orra could not open its window; see Log.txt.\n");
            return 1;
        }
        Application.Run();
    } // FormDestroy runs here, then the components go
    return 0;
}
