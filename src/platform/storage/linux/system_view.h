// What the running system says about its block devices and mounts, read
// from sysfs, /dev and the mount table below one root directory ("/" for the
// machine, a fake tree in tests). There is no udev on the machines this runs
// on, so everything comes from sysfs directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::storage {

struct BlockDevice {
    std::string name;            // kernel name: "sdb", "sdb1", "mmcblk0", "loop0", "dm-0"
    std::string disk;            // for a partition: the device it lies on; empty otherwise
    int partition = 0;           // partition number; 0 for a whole device
    unsigned major = 0, minor = 0;
    std::uint64_t start = 0;     // partitions: first 512-byte sector on the disk
    std::uint64_t sectors = 0;   // size in 512-byte sectors
    bool removable = false;      // the kernel's "removable" flag
    bool volatileCache = false;  // the queue reports a write-back cache
    std::string sysfsTarget;     // where /sys/block/<name> leads (tells the bus: usb, mmc_host)
    std::string mmcType;         // MMC bus devices: "SD" for a card, "MMC" for soldered eMMC
    std::string backingFile;     // loop devices: the file they stand for; empty when unattached
    std::string vendor, model;   // empty where the system does not know them
    std::vector<std::string> holders;  // devices stacked on this one (device mapper, md)
    std::vector<std::string> slaves;   // devices this stacked volume lies on
};

struct MountEntry {
    unsigned major = 0, minor = 0;
    std::string source;      // the mount's source, e.g. "/dev/sdb1"
    std::string mountPoint;  // unescaped
};

struct SystemView {
    std::string root;
    std::vector<BlockDevice> devices;  // each top-level device followed by its partitions
    std::vector<MountEntry> mounts;
    std::vector<std::string> swapDevices;  // kernel names of block devices in use as swap

    const BlockDevice* Find(const std::string& name) const;
    // The device a mount lies on: by device number, else by its source path.
    const BlockDevice* DeviceOf(const MountEntry& mount) const;
};

SystemView ReadSystemView(const std::string& root);
// Only what decides which parts of one disk are in use: the disk, its
// partitions, the devices stacked on them, and the mount and swap tables.
SystemView ReadDiskView(const std::string& root, const std::string& diskName);
// The loop devices whose backing file is file.
std::vector<std::string> LoopDevicesOf(const std::string& root, const std::string& file);

// root joined with an absolute path ("/" joined with "/dev" is "/dev").
std::string UnderRoot(const std::string& root, const std::string& path);

} // namespace platform::storage
