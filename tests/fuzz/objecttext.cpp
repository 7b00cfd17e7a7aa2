// Object text to a component stream: bad text raises its parser error, and
// good text settles after one round: its stream, spelled as text and read
// again, gives the same stream.
#include "tests/fuzz/objectstreams.h"

fuzz::Seeds FuzzSeeds() {
    return ObjectTexts();
}

void FuzzOne(std::string_view Input) {
    CheckSettles(Input, TextToBinary, BinaryToText);
}
