// Which physical disks and drive letters exist on this Linux machine.
//
// Disk 0 is the disk that holds the running system's root file system, so
// that "disk 0 is never written" protects the system; other disks follow as
// 1, 2, ... in a stable order. Drive letters D to Z go only to volumes of
// disks that can be cards (removable or hot-pluggable media, loop devices with
// a backing file) and that hold no mounted file system of the running system,
// and to image files named on the command line with --drive L=PATH.
//
// The namespace reads the system through one root directory (sysfs, /dev and
// the mount table below it); the product uses "/", tests point it at a fake
// tree.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::storage {

struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

struct Disk {
    int number = -1;
    std::string name;        // kernel name ("sdb", "loop0") or the image file's path
    std::string devicePath;  // what is opened for raw access
    std::uint64_t sizeBytes = 0;
    std::string vendor, model;  // empty where the system does not know them
    bool isImageFile = false;
    bool canBeCard = false;
    std::vector<ByteRange> mounted;  // byte ranges of mounted partitions (or the whole disk)
};

struct Volume {
    char letter = 0;  // 'D' to 'Z'
    std::string devicePath;
    std::vector<int> diskNumbers;  // more than one for a volume spread over disks
    ByteRange extent;              // on the first disk
};

// A raw device opened by disk number. The product opens the real device file;
// tests may install an opener that wraps it to inject faults.
class RawDevice {
public:
    virtual ~RawDevice() = default;
    // Each returns 0 or a system error code (ERROR_...); *done gets the bytes moved.
    virtual std::uint32_t ReadAt(std::uint64_t offset, void* buffer, std::uint32_t length, std::uint32_t* done) = 0;
    virtual std::uint32_t WriteAt(std::uint64_t offset, const void* buffer, std::uint32_t length, std::uint32_t* done) = 0;
    virtual std::uint64_t SizeBytes() const = 0;
};

class DiskNamespace {
public:
    // The namespace the storage services use: built from "/" on first use.
    static DiskNamespace& Current();

    // Rebuilds from the system below root (tests: a fake tree).
    void Rescan(const std::string& root = "/");
    // Gives letter ('D'..'Z') to an image file; it becomes a disk of its own,
    // numbered after the machine's disks, never disk 0. Returns an error text,
    // empty on success.
    std::string AddImageDrive(char letter, const std::string& path);

    const std::vector<Disk>& Disks() const;
    const std::vector<Volume>& Volumes() const;
    const Disk* FindDisk(int number) const;
    const Volume* FindVolume(char letter) const;

    // Test seam: replaces how disk `number` is opened (fault injection).
    using Opener = std::function<std::unique_ptr<RawDevice>(const Disk& disk, bool forWrite, bool unbuffered)>;
    void SetOpenerForTests(Opener opener);

    // Opens disk number for raw access; nullptr with *error set on failure.
    std::unique_ptr<RawDevice> Open(int number, bool forWrite, bool unbuffered, std::uint32_t* error) const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// One line per letter, for --list-drives: the letter, the device or file, the
// disk number, the size in sectors, vendor and model.
std::vector<std::string> DescribeDrives(const DiskNamespace& ns);

} // namespace platform::storage
