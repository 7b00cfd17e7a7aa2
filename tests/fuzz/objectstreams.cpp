#include "tests/fuzz/objectstreams.h"

#include "platform/core/objecttext.h"
#include "tests/fuzz/samplechart.h"

#include <filesystem>
#include <fstream>

std::string TextToBinary(std::string_view Text) {
    TMemoryStream in, out;
    fuzz::Fill(in, Text);
    ObjectTextToBinary(&in, &out);
    return fuzz::Bytes(out);
}

std::string BinaryToText(std::string_view Binary) {
    TMemoryStream in, out;
    fuzz::Fill(in, Binary);
    ObjectBinaryToText(&in, &out);
    return fuzz::Bytes(out);
}

void CheckSettles(std::string_view Input, TConvert To, TConvert Back) {
    std::string there;
    try {
        there = To(Input);
    } catch (const Exception&) {
        return;
    }
    std::string back;
    try {
        back = Back(there);
    } catch (const Exception&) {
        fuzz::Fail("what a conversion gave does not convert back");
    }
    fuzz::Check(To(back) == there, "a converted input converts back to another");
}

fuzz::Seeds ObjectTexts() {
    fuzz::Seeds seeds;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(MOLTREN_SOURCE_DIR "/resources"))
        if (entry.path().string().ends_with(".frm.txt")) {
            std::ifstream in(entry.path(), std::ios::binary);
            seeds.push_back({entry.path().filename().string(), {std::istreambuf_iterator<char>(in), {}}});
        }
    TMemoryStream chart;
    chart.WriteComponent(SampleChart().get());
    seeds.push_back({"chart.txt", BinaryToText(fuzz::Bytes(chart))});
    return seeds;
}

fuzz::Seeds ComponentStreams() {
    fuzz::Seeds seeds;
    for (const fuzz::Seed& text : ObjectTexts())
        seeds.push_back({text.name + ".bin", TextToBinary(text.bytes)});
    return seeds;
}
