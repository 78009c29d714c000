#include "storage/fake_system.h"

#include "platform/storage/linux/disk_namespace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fake {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text << "\n";
}

// Where a device of each bus sits below /sys/devices, as on a real machine.
std::string BusPath(Bus bus, const std::string& name) {
    switch (bus) {
    case Bus::usb:
        return "pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/6:0:0:" + name;
    case Bus::mmc:
        return "platform/soc/mmc_host/mmc0/mmc0:" + name;
    case Bus::virtio:
        return "pci0000:00/0000:00:02.0/virtio-" + name;
    case Bus::ata:
        return "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:" + name;
    case Bus::virtual_:
        return "virtual";
    }
    return {};
}

} // namespace

void MakeSparseFile(const std::string& path, std::uint64_t bytes) {
    fs::create_directories(fs::path(path).parent_path());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(bytes)) != 0)
        throw std::runtime_error("cannot make " + path);
    ::close(fd);
}

FakeSystem::FakeSystem() {
    char pattern[] = "/tmp/strovane-fake-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
    fs::create_directories(m_root + "/sys/block");
    fs::create_directories(m_root + "/dev");
    WriteTables();
}

FakeSystem::~FakeSystem() {
    std::error_code ec;
    fs::remove_all(m_root, ec);
}

void FakeSystem::AddDisk(const DiskSpec& disk) {
    const std::string device = BusPath(disk.bus, disk.name);
    const std::string relative = "devices/" + device + "/block/" + disk.name;
    const fs::path dir = m_root + "/sys/" + relative;
    const std::string number = "8:" + std::to_string(m_nextMinor);
    m_nextMinor += 16;
    WriteFile(dir / "dev", number);
    WriteFile(dir / "size", std::to_string(disk.sectors));
    WriteFile(dir / "removable", disk.removable ? "1" : "0");
    WriteFile(dir / "queue" / "write_cache", disk.writeBackCache ? "write back" : "write through");
    fs::create_directories(dir / "holders");
    fs::create_directories(dir / "slaves");
    if (disk.name.rfind("loop", 0) == 0) {
        fs::create_directories(dir / "loop");
        if (!disk.backingFile.empty())
            WriteFile(dir / "loop" / "backing_file", disk.backingFile);
        else
            fs::remove(dir / "loop");  // an unattached loop device has no loop attributes
    }
    if (disk.bus != Bus::virtual_) {
        const fs::path parent = m_root + "/sys/devices/" + device;
        fs::create_directory_symlink("../..", dir / "device");
        if (!disk.vendor.empty())
            WriteFile(parent / "vendor", disk.vendor);
        if (disk.bus == Bus::mmc) {
            WriteFile(parent / "type", disk.mmcType);
            WriteFile(parent / "name", disk.model);
        } else if (!disk.model.empty()) {
            WriteFile(parent / "model", disk.model);
        }
    }
    fs::create_directory_symlink("../" + relative, m_root + "/sys/block/" + disk.name);
    m_sysDirs[disk.name] = dir.string();
    m_numbers[disk.name] = number;
    MakeSparseFile(Node(disk.name), disk.sectors * 512);
}

void FakeSystem::AddPartition(const std::string& disk, int number, std::uint64_t start, std::uint64_t sectors) {
    const std::string name = disk + (std::isdigit(static_cast<unsigned char>(disk.back())) ? "p" : "") +
                             std::to_string(number);
    const fs::path dir = fs::path(SysDir(disk)) / name;
    const std::string devNumber = "8:" + std::to_string(m_nextMinor++);
    WriteFile(dir / "dev", devNumber);
    WriteFile(dir / "partition", std::to_string(number));
    WriteFile(dir / "start", std::to_string(start));
    WriteFile(dir / "size", std::to_string(sectors));
    fs::create_directories(dir / "holders");
    m_sysDirs[name] = dir.string();
    m_numbers[name] = devNumber;
    MakeSparseFile(Node(name), 4096);
}

void FakeSystem::AddStacked(const std::string& name, const std::vector<std::string>& slaves,
                            std::uint64_t sectors) {
    const std::string relative = "devices/virtual/block/" + name;
    const fs::path dir = m_root + "/sys/" + relative;
    const std::string number = "253:" + std::to_string(m_nextMinor++);
    WriteFile(dir / "dev", number);
    WriteFile(dir / "size", std::to_string(sectors));
    WriteFile(dir / "removable", "0");
    fs::create_directories(dir / "holders");
    for (const std::string& slave : slaves) {
        fs::create_directories(dir / "slaves" / slave);
        fs::create_directories(fs::path(SysDir(slave)) / "holders" / name);
    }
    fs::create_directory_symlink("../" + relative, m_root + "/sys/block/" + name);
    m_sysDirs[name] = dir.string();
    m_numbers[name] = number;
    MakeSparseFile(Node(name), 4096);
}

void FakeSystem::Mount(const std::string& device, const std::string& mountPoint) {
    const std::string id = std::to_string(100 + m_mountLines.size());
    m_mountLines.push_back(id + " 1 " + m_numbers.at(device) + " / " + mountPoint +
                           " rw,relatime shared:1 - ext4 /dev/" + device + " rw");
    WriteTables();
}

void FakeSystem::AddSwap(const std::string& device) {
    m_swapLines.push_back("/dev/" + device + "\tpartition\t1048572\t0\t-2");
    WriteTables();
}

void FakeSystem::RemoveNode(const std::string& name) { fs::remove(Node(name)); }

void FakeSystem::WriteTables() const {
    std::string mounts = "22 28 0:21 / /proc rw,relatime - proc proc rw";
    for (const std::string& line : m_mountLines)
        mounts += "\n" + line;
    WriteFile(m_root + "/proc/self/mountinfo", mounts);
    std::string swaps = "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority";
    for (const std::string& line : m_swapLines)
        swaps += "\n" + line;
    WriteFile(m_root + "/proc/swaps", swaps);
}

ScopedNamespace::ScopedNamespace(const std::string& root) {
    platform::storage::DiskNamespace& ns = platform::storage::DiskNamespace::Current();
    ns.RemoveImageDrives();
    ns.SetOpenerForTests({});
    ns.Rescan(root);
}

ScopedNamespace::~ScopedNamespace() {
    platform::storage::DiskNamespace& ns = platform::storage::DiskNamespace::Current();
    ns.RemoveImageDrives();
    ns.SetOpenerForTests({});
    ns.Rescan("/");
}

} // namespace fake
