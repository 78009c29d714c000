#include "platform/storage/linux/disk_rules.h"

#include "platform/storage/linux/disk_namespace.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace platform::storage {
namespace {

// Stacked volumes are never deeper than this; the limit guards against a
// sysfs that links in a circle.
constexpr int kMaxStackDepth = 16;

// Kernel name prefixes of whole devices that are never disks here: optical
// and floppy drives.
constexpr std::string_view kNotDisks[] = {"sr", "fd"};

struct SystemMount {
    std::string_view path;
    bool withBelow;  // mount points below it belong to the system too
};
constexpr SystemMount kSystemMounts[] = {
    {"/", false}, {"/boot", true}, {"/efi", true}, {"/usr", true}, {"/var", true}, {"/home", false},
};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool IsLoop(const BlockDevice& device) { return StartsWith(device.name, "loop"); }

bool OnBus(const BlockDevice& device, std::string_view pathPart) {
    return device.sysfsTarget.find(pathPart) != std::string::npos;
}

void CollectComponents(const SystemView& view, const std::string& name, int depth,
                       std::vector<const BlockDevice*>& out) {
    const BlockDevice* device = view.Find(name);
    if (device == nullptr || depth > kMaxStackDepth)
        return;
    if (device->slaves.empty()) {
        out.push_back(device);
        return;
    }
    for (const std::string& slave : device->slaves)
        CollectComponents(view, slave, depth + 1, out);
}

bool InUseAt(const SystemView& view, const std::string& name, int depth) {
    if (depth > kMaxStackDepth)
        return true;
    for (const MountEntry& mount : view.mounts) {
        const BlockDevice* device = view.DeviceOf(mount);
        if (device != nullptr && device->name == name)
            return true;
    }
    if (std::find(view.swapDevices.begin(), view.swapDevices.end(), name) != view.swapDevices.end())
        return true;
    const BlockDevice* device = view.Find(name);
    if (device == nullptr)
        return false;
    return std::any_of(device->holders.begin(), device->holders.end(),
                       [&](const std::string& holder) { return InUseAt(view, holder, depth + 1); });
}

} // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
    auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    // A run of digits at i, without its leading zeros, and where it ends.
    auto number = [&](const std::string& s, std::size_t& i) {
        const std::size_t start = i;
        while (i < s.size() && digit(s[i]))
            ++i;
        std::string_view run = std::string_view(s).substr(start, i - start);
        return run.substr(std::min(run.find_first_not_of('0'), run.size()));
    };
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            const std::string_view na = number(a, i), nb = number(b, j);
            if (na.size() != nb.size())
                return na.size() < nb.size();
            if (na != nb)
                return na < nb;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

bool CountsAsDisk(const BlockDevice& device) {
    if (!device.disk.empty() || !device.slaves.empty())
        return false;
    for (std::string_view prefix : kNotDisks)
        if (StartsWith(device.name, prefix))
            return false;
    return !IsLoop(device) || !device.backingFile.empty();
}

bool CanBeCard(const BlockDevice& device) {
    if (IsLoop(device))
        return !device.backingFile.empty();
    if (OnBus(device, "/mmc_host/"))
        return device.mmcType == "SD" || device.removable;
    return device.removable || OnBus(device, "/usb");
}

bool IsSystemMountPoint(const std::string& mountPoint) {
    for (const SystemMount& system : kSystemMounts) {
        if (mountPoint == system.path)
            return true;
        if (system.withBelow && StartsWith(mountPoint, system.path) && mountPoint.size() > system.path.size() &&
            mountPoint[system.path.size()] == '/')
            return true;
    }
    return false;
}

std::vector<const BlockDevice*> Components(const SystemView& view, const std::string& name) {
    std::vector<const BlockDevice*> out;
    CollectComponents(view, name, 0, out);
    return out;
}

std::vector<std::string> UnderlyingDisks(const SystemView& view, const std::string& name) {
    std::vector<std::string> disks;
    for (const BlockDevice* component : Components(view, name)) {
        const std::string disk = component->disk.empty() ? component->name : component->disk;
        if (std::find(disks.begin(), disks.end(), disk) == disks.end())
            disks.push_back(disk);
    }
    std::sort(disks.begin(), disks.end(), NaturalLess);
    return disks;
}

std::string RootDisk(const SystemView& view) {
    // A later mount on "/" hides an earlier one; the last is the root in use.
    for (auto mount = view.mounts.rbegin(); mount != view.mounts.rend(); ++mount) {
        if (mount->mountPoint != "/")
            continue;
        const BlockDevice* device = view.DeviceOf(*mount);
        if (device == nullptr)
            return {};
        const std::vector<std::string> disks = UnderlyingDisks(view, device->name);
        return disks.empty() ? std::string() : disks.front();
    }
    return {};
}

std::set<std::string> SystemDisks(const SystemView& view) {
    std::set<std::string> disks;
    auto add = [&](const std::string& deviceName) {
        for (const std::string& disk : UnderlyingDisks(view, deviceName))
            disks.insert(disk);
    };
    for (const MountEntry& mount : view.mounts) {
        const BlockDevice* device = view.DeviceOf(mount);
        if (device != nullptr && IsSystemMountPoint(mount.mountPoint))
            add(device->name);
    }
    for (const std::string& swap : view.swapDevices)
        add(swap);
    return disks;
}

bool InUse(const SystemView& view, const std::string& name) { return InUseAt(view, name, 0); }

std::vector<ByteRange> InUseRanges(const SystemView& view, const std::string& diskName) {
    const BlockDevice* disk = view.Find(diskName);
    if (disk == nullptr)
        return {};
    if (InUse(view, diskName))
        return {ByteRange{0, disk->sectors * 512}};
    std::vector<ByteRange> ranges;
    for (const BlockDevice& device : view.devices)
        if (device.disk == diskName && InUse(view, device.name))
            ranges.push_back(ByteRange{device.start * 512, device.sectors * 512});
    return ranges;
}

} // namespace platform::storage
