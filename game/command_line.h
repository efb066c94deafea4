// The game's command line: --help and --version print one short text each; nothing else is an option.
#pragma once

#include <cstdio>

// True when the arguments ask for the help or the version text, which is then printed to `out`: the
// program ends there with code 0. Anything else is left alone, as the game takes no options.
bool PrintRequestedInformation(int argc, const char* const* argv, std::FILE* out);
