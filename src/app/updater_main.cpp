// Kestrup_updateSelf.exe, installed as Kestrup.exe: the updater program.
// Its update logic is not part of this build yet; it says so and ends
// without touching the program folder.
#include <cstdio>

int main(int argc, char** argv) {
    std::fprintf(stderr, "%s: updating is not available in this build (asked to update from %s)\n",
                 argc > 0 ? argv[0] : "Kestrup", argc > 1 ? argv[1] : "no version");
    return 1;
}
