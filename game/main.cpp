#include "game/program.h"

int main(int argc, const char** argv) {
    KzZarnikGame::Main(argc, argv, TarvolanProgram());
    return 0;
}
