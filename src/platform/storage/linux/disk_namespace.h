// Which physical disks and drive letters exist on this Linux machine.
//
// Disk 0 is the disk that holds the running system's root file system, so
// that "disk 0 is never written" protects the system; other disks follow as
// 1, 2, ... in the order of their kernel names (loop2 before loop10). Drive
// letters D to Z go only to volumes of disks that can be cards (removable or
// USB/SD/MMC-attached media, loop devices with a backing file) and that hold
// no mounted file system of the running system (root, boot, usr, home, var,
// swap): one letter per partition, one for a disk without partitions, one
// for a volume stacked on such disks, in order of disk number, then
// partition. Image files named with --drive L=PATH keep their letter and are
// disks of their own, numbered after the machine's disks, never disk 0.
//
// Letters and numbers are sticky while the program runs: when the machine
// is read again (a card was plugged in), devices still present keep theirs
// and new ones take the first free letter and number, as on the original
// system.
//
// The namespace reads the system through one root directory (sysfs, /dev and
// the mount table below it); the product uses "/", tests point it at a fake
// tree in which image files stand in for device nodes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::storage {

struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;

    bool Overlaps(std::uint64_t start, std::uint64_t count) const {
        return count > 0 && length > 0 && start < offset + length && offset < start + count;
    }
};

struct Disk {
    int number = -1;
    std::string name;             // kernel name ("sdb", "loop0") or the image file's path
    std::string devicePath;       // what is opened for raw access
    std::uint64_t sizeBytes = 0;  // as the system reported it when the drives were read
    std::string vendor, model;    // empty where the system does not know them
    std::string backingFile;      // loop devices: the file behind them
    unsigned major = 0, minor = 0;  // the block device's number; 0:0 for image files
    bool isImageFile = false;
    bool canBeCard = false;
    bool holdsSystem = false;     // holds the root, a mounted system file system or swap
    bool volatileCache = false;   // the device keeps written data in a write-back cache
};

// A piece of a volume on one disk.
struct Extent {
    int diskNumber = -1;
    ByteRange range;
};

struct Volume {
    char letter = 0;               // 'D' to 'Z'
    std::string devicePath;        // the partition, disk, stacked volume or image file
    std::vector<Extent> extents;   // more than one for a volume spread over disks
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
    DiskNamespace();
    ~DiskNamespace();
    DiskNamespace(const DiskNamespace&) = delete;
    DiskNamespace& operator=(const DiskNamespace&) = delete;

    // The namespace the storage services use: read from "/" on first use.
    static DiskNamespace& Current();

    // Reads the system below root (tests: a fake tree) and gives numbers and
    // letters afresh, in order. Image drives stay, numbered after the disks.
    void Rescan(const std::string& root = "/");
    // Reads the same root again; devices still present keep their letters
    // and numbers.
    void Refresh();
    // Gives letter ('D'..'Z', either case) to an existing regular file; it
    // becomes a disk of its own, numbered after the machine's disks, never
    // disk 0. A machine volume holding that letter moves to a free one.
    // Returns an error text, empty on success.
    std::string AddImageDrive(char letter, const std::string& path);
    void RemoveImageDrives();

    const std::string& Root() const;
    const std::vector<Disk>& Disks() const;
    const std::vector<Volume>& Volumes() const;  // in letter order
    const Disk* FindDisk(int number) const;
    const Volume* FindVolume(char letter) const;  // either case

    // The byte ranges of disk `number` that the system uses right now
    // (mounted partitions, swap, parts of a volume in use), read afresh.
    std::vector<ByteRange> InUseRanges(int number) const;

    // Test seam: replaces how a disk is opened (fault injection). A null
    // result counts as a refused open (ERROR_ACCESS_DENIED). An empty
    // function restores the real opener.
    using Opener = std::function<std::unique_ptr<RawDevice>(const Disk& disk, bool forWrite, bool unbuffered)>;
    void SetOpenerForTests(Opener opener);

    // Opens disk `number` for raw access; nullptr with *error set on failure.
    // Opening for writing is refused for disk 0 and for any disk holding the
    // running system (ERROR_ACCESS_DENIED).
    std::unique_ptr<RawDevice> Open(int number, bool forWrite, bool unbuffered, std::uint32_t* error) const;

private:
    struct State;
    void Rebuild(bool keepAssignments);
    std::unique_ptr<State> m_state;
};

// How the product opens a disk: its device node (or image file), direct
// (O_DIRECT) for unbuffered reads and for every write. A block device must
// be the disk the system named (same device number).
std::unique_ptr<RawDevice> OpenDiskDevice(const Disk& disk, bool forWrite, bool unbuffered, std::uint32_t* error);

// One line for a drive letter, for --list-drives and the drive list's tips:
// the letter, the device or file, the disk number, the disk's size in
// sectors, and vendor and model (or what stands behind a loop device or an
// image file). Empty when the letter has no volume.
std::string DescribeDrive(const DiskNamespace& ns, char letter);
// One line per letter.
std::vector<std::string> DescribeDrives(const DiskNamespace& ns);

} // namespace platform::storage
