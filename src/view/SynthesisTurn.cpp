#include "view/SynthesisTurn.h"

std::mutex& SynthesisTurn() {
    static std::mutex turn;
    return turn;
}
