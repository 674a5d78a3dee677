#include "shell/ShellState.h"

TShellState Shell;
