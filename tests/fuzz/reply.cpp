// The metering device's reply: cut into records, each record's bytes as text,
// and the text as date, time and values, as the main window reads a day.
#include "archive/archiverecord.h"
#include "tests/fuzz/fuzzing.h"
#include "tools/device-sim/simcore.h"

#include <string>

fuzz::Seeds FuzzSeeds() {
    fuzz::Seeds seeds;
    devsim::GenerateOptions archive;
    archive.days = 2;
    archive.recordsPerDay = 6;
    archive.missingEvery = 5;
    devsim::DeviceOptions plain;
    devsim::DeviceOptions noisy;
    noisy.portion = 4;
    noisy.dayEnd = devsim::DayEndStyle::Separate;
    noisy.garbageBefore = "\xFF\x00~";
    noisy.garbageBetween = "\xF0\xFF?=";
    for (const auto& [name, options] : {std::pair{"plain", plain}, std::pair{"noisy", noisy}}) {
        devsim::Device device(devsim::GenerateArchive(archive), options);
        std::string reply;
        for (const auto& r : device.Receive(devsim::ResetFrame(options.device))) reply += r;
        for (int portion = 0; portion < 3; ++portion)
            for (const auto& r : device.Receive(devsim::ReadDayFrame(options.device, 10, 5))) reply += r;
        seeds.push_back({std::string(name) + ".reply", reply});
    }
    // A record in the Russian 8-bit code page, and one with more values than the table holds.
    seeds.push_back({"cp1251.reply", "\xF0\x01\x02\x03 05 10 12 30 1,5 \xCD\xE5\xF2 9999\xFF?\xFF"});
    seeds.push_back(
        {"wide.reply", "\xF0\x01\x02\x03 29 02 23 59 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 1e5\xFF"});
    return seeds;
}

void FuzzOne(std::string_view Input) {
    for (const AnsiString& bytes : CutReplyRecords(Input)) {
        fuzz::Check(!bytes.empty(), "an empty record was cut");
        const String line = u" " + DeviceText(bytes) + u" ";
        for (const Word year : {Word(2009), Word(2012)}) {
            const TArchiveRecord record = ParseArchiveRecord(line, year);
            fuzz::Check(record.values.size() <= static_cast<std::size_t>(MaxValueColumns), "too many values");
            fuzz::Check(record.timeValid || record.time == 0, "an invalid record has a time");
        }
    }
}
