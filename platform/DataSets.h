#pragma once
// Parts of the game data that a host fetches only when they are first wanted: a browser page
// downloads the pictures of the player's language and screen, not every language's at every
// density. A part has the name the build packs it under. On a desktop the whole data lies beside
// the program: every part is there at once.
#include <string>

enum class TDataState { Ready, Pending, Failed };

// Asks for the part (a fetch starts where it is neither there nor on its way; one that failed a
// while ago is tried again) and says where it stands; `progress` gets the share of it fetched so
// far (0..1).
TDataState RequestDataSet(const std::string& name, double* progress = nullptr);
