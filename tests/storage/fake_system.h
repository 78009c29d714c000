// A fake machine for the card-discovery tests: a temporary directory laid out
// like sysfs (/sys/block links into /sys/devices, partitions, holders and
// slaves, loop backing files), /dev with sparse image files standing in for
// the device nodes, and the mount and swap tables under /proc.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace fake {

enum class Bus { usb, mmc, virtio, ata, virtual_ };

struct DiskSpec {
    std::string name;  // kernel name: "sdb", "mmcblk0", "loop0"
    Bus bus = Bus::usb;
    std::uint64_t sectors = 0;
    bool removable = false;
    std::string vendor, model;
    std::string mmcType;      // "SD" or "MMC" for Bus::mmc
    std::string backingFile;  // loop devices; empty for an unattached one
    bool writeBackCache = false;
};

class FakeSystem {
public:
    FakeSystem();
    ~FakeSystem();
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

    const std::string& Root() const { return m_root; }
    // The file standing in for /dev/<name>.
    std::string Node(const std::string& name) const { return m_root + "/dev/" + name; }

    // A whole disk; its node is a sparse file of its size.
    void AddDisk(const DiskSpec& disk);
    // A partition of disk; its node is a small file.
    void AddPartition(const std::string& disk, int number, std::uint64_t start, std::uint64_t sectors);
    // A device-mapper volume over the given disks or partitions.
    void AddStacked(const std::string& name, const std::vector<std::string>& slaves, std::uint64_t sectors);
    // A mount of device at mountPoint (by its device number, as the kernel
    // reports it), or swap on it.
    void Mount(const std::string& device, const std::string& mountPoint);
    void AddSwap(const std::string& device);
    // Removes the node of a device (a disk the process cannot open).
    void RemoveNode(const std::string& name);

private:
    std::string SysDir(const std::string& name) const { return m_sysDirs.at(name); }
    void WriteTables() const;

    std::string m_root;
    unsigned m_nextMinor = 0;
    std::map<std::string, std::string> m_sysDirs;
    std::map<std::string, std::string> m_numbers;  // "major:minor" by name
    std::vector<std::string> m_mountLines;
    std::vector<std::string> m_swapLines;
};

// Points the storage services' namespace at a fake tree for the lifetime of
// this object, then back at the machine, without image drives or a test
// opener.
class ScopedNamespace {
public:
    explicit ScopedNamespace(const std::string& root);
    ~ScopedNamespace();
    ScopedNamespace(const ScopedNamespace&) = delete;
    ScopedNamespace& operator=(const ScopedNamespace&) = delete;
};

// Writes or extends a file to the given size (sparse).
void MakeSparseFile(const std::string& path, std::uint64_t bytes);

} // namespace fake
