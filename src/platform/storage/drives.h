// The drive letters the tool can fuse to, as the command line and the drive
// list see them: the system's letters, and image files given a letter with
// --drive L=PATH, which then stand in for a card. Text is UTF-8 here: it
// comes from the command line and goes to standard output.
#pragma once

#include <string>
#include <vector>

namespace platform::storage {

// Gives letter ('D'..'Z', either case) to an existing regular file, which
// becomes a disk of its own, never disk 0. Returns an error text, empty on
// success.
std::string AddImageDrive(char letter, const std::string& path);

// Reads the machine's drives again (a card may have come or gone).
void RefreshDrives();

// One line for a drive letter: the letter, the device or file, the disk
// number, the disk's size in sectors and what the system says the disk is.
// Empty when the letter has no volume.
std::string DescribeDrive(char letter);
// One line per letter that has a volume, D to Z.
std::vector<std::string> DescribeDrives();

} // namespace platform::storage
