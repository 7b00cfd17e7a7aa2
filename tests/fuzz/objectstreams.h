#pragma once
// Seeds of the object text and binary harnesses: the program's form
// descriptions and a chart, as object text and as component streams.

#include "tests/fuzz/fuzzing.h"

fuzz::Seeds ObjectTexts();
fuzz::Seeds ComponentStreams();

// Between the two forms; EParserError, EReadError and the like when the input is not one.
std::string TextToBinary(std::string_view Text);
std::string BinaryToText(std::string_view Binary);

// The input in one form: when To takes it, Back must take what To gave, and To
// on that must give the same again: one round settles the input.
using TConvert = std::string (*)(std::string_view);
void CheckSettles(std::string_view Input, TConvert To, TConvert Back);
