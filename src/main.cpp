// The program's entry: the host's start-up gives every module global its start value
// (kvInit), creates the game (kvMain) and runs the main loop until the game ends.
#include "host/glfw_game.h"

int main(int argc, char** argv) {
    KvTarvikGame::Main(argc, argv);
    return 0;
}
