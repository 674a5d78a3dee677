#pragma once
// Which parts of the game data the pictures and texts need (see platform/DataSets.h). The build
// packs the data folder into parts of these names: "base" (the pictures of English and of no
// language, the sounds, the music, the string table), "lang-<code>" (a language's texts and
// pictures with words), "symbols" (the balls with clear symbols), and the pictures at 2x the
// same way: "2x", "2x-lang-<code>", "2x-symbols".
#include "platform/DataSets.h"

#include <string>
#include <vector>

// The parts for `language` (a code of language::All()) at `density` (1 or 2), with the balls'
// clear symbols or the faint ones. At 2x a language still needs its 1x part: its string table
// is there.
std::vector<std::string> DataNeededFor(const std::string& language, int density, bool clearSymbols);

// Asks for every part: Ready when all are there, Failed when one failed and none is still on its
// way, Pending otherwise; `progress` gets the mean share fetched.
TDataState RequestData(const std::vector<std::string>& parts, double* progress = nullptr);
