// A component stream to object text: a damaged stream raises, and a good one
// settles after one round: its text, read and spelled again, gives the same text.
#include "tests/fuzz/objectstreams.h"

fuzz::Seeds FuzzSeeds() {
    return ComponentStreams();
}

void FuzzOne(std::string_view Input) {
    CheckSettles(Input, BinaryToText, TextToBinary);
}
