// The options of "strovane fuse", read from the command line into one record.
// Reading only checks the form of each option (a letter D to Z, a number that
// fits 32 bits, a known size); it opens and writes nothing, so a bad command
// line leaves every file and card as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// A partition size as typed: the number, and the unit list item when a unit
// was given (0 = "KB", 1 = "MB"); without one the unit already chosen stays.
struct PartitionSize {
    std::uint32_t count = 0;
    std::optional<int> unitIndex;
};

struct ImageDrive {
    char letter = 0;  // 'D' to 'Z'
    std::string path;
};

// Every field is empty unless its option was given; empty fields leave the
// dialog's value (after start-up, or from the settings file) as it is.
struct FuseOptions {
    bool help = false;
    std::vector<ImageDrive> drives;
    std::optional<char> card;
    std::optional<std::string> bootloader, kernel, rootfs;
    std::optional<std::uint32_t> startSector;
    std::optional<int> sramIndex;   // item of the SRAM size list: 0 = "4 KB" ... 4 = "64 KB"
    std::optional<int> efuseIndex;  // item of the eFuse size list: 0 = "1 KB", 1 = "2 KB"
    std::optional<PartitionSize> bootloaderPart, kernelPart, rootfsPart;
    std::optional<std::string> settings, saveSettings;

    // The letter the run fuses to: --card, else the letter of the one --drive
    // when exactly one is given, else none (the selection stays as it is).
    std::optional<char> ChosenCard() const;
};

struct ParseResult {
    FuseOptions options;
    std::string error;  // empty when the command line is good
};

// args are the words after "fuse".
ParseResult ParseFuseOptions(const std::vector<std::string>& args);

// The --help text, built from the same table the parser reads.
std::string FuseUsage();

} // namespace cli
