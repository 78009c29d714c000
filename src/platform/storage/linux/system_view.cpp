#include "platform/storage/linux/system_view.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

namespace platform::storage {
namespace {

namespace fs = std::filesystem;

// The first line of a sysfs attribute, without trailing blanks.
std::string ReadAttribute(const fs::path& path) {
    char buffer[4096];
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    std::string line(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    line = line.substr(0, line.find('\n'));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

std::uint64_t ReadNumber(const fs::path& path) {
    const std::string text = ReadAttribute(path);
    std::uint64_t value = 0;
    return std::sscanf(text.c_str(), "%lu", &value) == 1 ? value : 0;
}

void ReadDeviceNumber(const fs::path& devFile, unsigned& major, unsigned& minor) {
    const std::string text = ReadAttribute(devFile);
    if (std::sscanf(text.c_str(), "%u:%u", &major, &minor) != 2)
        major = minor = 0;
}

std::vector<std::string> ListNames(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Fields of a block device and of a partition alike.
void ReadCommon(const fs::path& dir, BlockDevice& device) {
    ReadDeviceNumber(dir / "dev", device.major, device.minor);
    device.sectors = ReadNumber(dir / "size");
    device.holders = ListNames(dir / "holders");
}

BlockDevice ReadTopLevel(const fs::path& blockDir, const std::string& name) {
    BlockDevice device;
    device.name = name;
    const fs::path dir = blockDir / name;
    ReadCommon(dir, device);
    std::error_code ec;
    device.sysfsTarget = fs::read_symlink(dir, ec).string();
    device.removable = ReadAttribute(dir / "removable") == "1";
    device.volatileCache = ReadAttribute(dir / "queue" / "write_cache") == "write back";
    device.slaves = ListNames(dir / "slaves");
    device.backingFile = ReadAttribute(dir / "loop" / "backing_file");
    device.mmcType = ReadAttribute(dir / "device" / "type");
    device.vendor = ReadAttribute(dir / "device" / "vendor");
    device.model = ReadAttribute(dir / "device" / "model");
    if (device.model.empty())
        device.model = ReadAttribute(dir / "device" / "name");  // MMC cards name themselves here
    return device;
}

std::vector<BlockDevice> ReadPartitions(const fs::path& blockDir, const BlockDevice& disk) {
    std::vector<BlockDevice> partitions;
    for (const std::string& name : ListNames(blockDir / disk.name)) {
        // Partitions are named after their disk ("sdb1", "mmcblk0p1").
        if (name.size() <= disk.name.size() || name.compare(0, disk.name.size(), disk.name) != 0)
            continue;
        const fs::path dir = blockDir / disk.name / name;
        std::error_code ec;
        if (!fs::exists(dir / "partition", ec))
            continue;
        BlockDevice part;
        part.name = name;
        part.disk = disk.name;
        part.partition = static_cast<int>(ReadNumber(dir / "partition"));
        part.start = ReadNumber(dir / "start");
        ReadCommon(dir, part);
        partitions.push_back(std::move(part));
    }
    std::sort(partitions.begin(), partitions.end(),
              [](const BlockDevice& a, const BlockDevice& b) { return a.partition < b.partition; });
    return partitions;
}

// Undoes the octal escapes of the mount table (\040 for a space, ...).
std::string Unescape(const std::string& text) {
    auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && octal(text[i + 1]) && octal(text[i + 2]) && octal(text[i + 3])) {
            out.push_back(static_cast<char>(((text[i + 1] - '0') << 6) | ((text[i + 2] - '0') << 3) | (text[i + 3] - '0')));
            i += 3;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

// /proc/self/mountinfo: "id parent major:minor root mountpoint options
// [optional fields] - fstype source superoptions".
std::vector<MountEntry> ReadMounts(const std::string& root) {
    std::vector<MountEntry> mounts;
    std::ifstream in(UnderRoot(root, "/proc/self/mountinfo"));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string id, parent, number, fsRoot, mountPoint, field;
        if (!(fields >> id >> parent >> number >> fsRoot >> mountPoint))
            continue;
        while (fields >> field && field != "-") {
        }
        std::string fsType, source;
        fields >> fsType >> source;
        MountEntry mount;
        if (std::sscanf(number.c_str(), "%u:%u", &mount.major, &mount.minor) != 2)
            continue;
        mount.source = Unescape(source);
        mount.mountPoint = Unescape(mountPoint);
        mounts.push_back(std::move(mount));
    }
    return mounts;
}

// The kernel name a /dev path stands for: "/dev/sdb2" is sdb2, and a link
// such as "/dev/mapper/vg-swap" is the device it leads to ("dm-1").
std::string DeviceNameOfPath(const std::string& root, const std::string& path) {
    std::error_code ec;
    const fs::path underRoot = UnderRoot(root, path);
    const fs::path target = fs::is_symlink(underRoot, ec) ? fs::read_symlink(underRoot, ec) : fs::path(path);
    return target.filename().string();
}

// /proc/swaps: a header line, then "filename type size used priority".
std::vector<std::string> ReadSwapDevices(const std::string& root) {
    std::vector<std::string> names;
    std::ifstream in(UnderRoot(root, "/proc/swaps"));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string file, type;
        if (fields >> file >> type && type == "partition")
            names.push_back(DeviceNameOfPath(root, Unescape(file)));
    }
    return names;
}

} // namespace

std::string UnderRoot(const std::string& root, const std::string& path) {
    if (root.empty() || root == "/")
        return path;
    return (root.back() == '/' ? root.substr(0, root.size() - 1) : root) + path;
}

const BlockDevice* SystemView::Find(const std::string& name) const {
    for (const BlockDevice& device : devices)
        if (device.name == name)
            return &device;
    return nullptr;
}

const BlockDevice* SystemView::DeviceOf(const MountEntry& mount) const {
    if (mount.major != 0)
        for (const BlockDevice& device : devices)
            if (device.major == mount.major && device.minor == mount.minor)
                return &device;
    if (mount.source.rfind("/dev/", 0) == 0)
        return Find(DeviceNameOfPath(root, mount.source));
    return nullptr;
}

SystemView ReadDiskView(const std::string& root, const std::string& diskName) {
    SystemView view;
    view.root = root;
    const fs::path blockDir = UnderRoot(root, "/sys/block");
    std::vector<std::string> pending = {diskName};
    std::set<std::string> seen;
    while (!pending.empty()) {
        const std::string name = pending.back();
        pending.pop_back();
        if (!seen.insert(name).second || !fs::exists(blockDir / name))
            continue;
        BlockDevice device = ReadTopLevel(blockDir, name);
        std::vector<BlockDevice> partitions = ReadPartitions(blockDir, device);
        for (const BlockDevice& d : partitions)
            pending.insert(pending.end(), d.holders.begin(), d.holders.end());
        pending.insert(pending.end(), device.holders.begin(), device.holders.end());
        view.devices.push_back(std::move(device));
        for (BlockDevice& part : partitions)
            view.devices.push_back(std::move(part));
    }
    view.mounts = ReadMounts(root);
    view.swapDevices = ReadSwapDevices(root);
    return view;
}

std::vector<std::string> LoopDevicesOf(const std::string& root, const std::string& file) {
    std::vector<std::string> loops;
    const fs::path blockDir = UnderRoot(root, "/sys/block");
    for (const std::string& name : ListNames(blockDir))
        if (name.rfind("loop", 0) == 0 && ReadAttribute(blockDir / name / "loop" / "backing_file") == file)
            loops.push_back(name);
    return loops;
}

SystemView ReadSystemView(const std::string& root) {
    SystemView view;
    view.root = root;
    const fs::path blockDir = UnderRoot(root, "/sys/block");
    for (const std::string& name : ListNames(blockDir)) {
        BlockDevice device = ReadTopLevel(blockDir, name);
        std::vector<BlockDevice> partitions = ReadPartitions(blockDir, device);
        view.devices.push_back(std::move(device));
        for (BlockDevice& part : partitions)
            view.devices.push_back(std::move(part));
    }
    view.mounts = ReadMounts(root);
    view.swapDevices = ReadSwapDevices(root);
    return view;
}

} // namespace platform::storage
