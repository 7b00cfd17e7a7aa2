// Program entry.
#include <cstdio>

int main() {
    std::puts("Moltren: the main window is not built yet; only the libraries and their tests exist.");
    return 0;
}
