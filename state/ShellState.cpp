#include "state/ShellState.h"

TShellState Shell;
