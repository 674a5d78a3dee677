// Program entry. The window, the screens and the start sequence are not built yet; until they are,
// the binary reports what it holds and exits.
#include <cstdio>

int main() {
    std::puts("Velm Orra: the game rules core (field, path search, high scores, frame timer) is "
              "built; the window and screens are not yet, so there is nothing to play.");
    return 0;
}
