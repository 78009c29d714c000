#include "platform/storage/linux/disk_namespace.h"

#include "platform/storage/linux/disk_rules.h"
#include "platform/storage/linux/fd_device.h"
#include "platform/storage/linux/system_view.h"
#include "platform/storage/storage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

namespace platform::storage {
namespace {

constexpr char kFirstLetter = 'D';
constexpr char kLastLetter = 'Z';

struct ImageDrive {
    char letter;
    std::string path;  // absolute
    int number;
};

char Upper(char letter) { return static_cast<char>(std::toupper(static_cast<unsigned char>(letter))); }

std::uint64_t FileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

int LowestFree(const std::set<int>& used) {
    int number = 1;
    while (used.count(number) != 0)
        ++number;
    return number;
}

// The machine's disks, numbered: the root disk 0, disks known before keep
// their numbers, the others take the lowest free ones in name order.
std::vector<Disk> NumberDisks(const SystemView& view, const std::vector<Disk>& before,
                              const std::vector<ImageDrive>& images) {
    std::vector<const BlockDevice*> found;
    for (const BlockDevice& device : view.devices)
        if (CountsAsDisk(device))
            found.push_back(&device);
    std::sort(found.begin(), found.end(),
              [](const BlockDevice* a, const BlockDevice* b) { return NaturalLess(a->name, b->name); });

    const std::string rootDisk = RootDisk(view);
    const std::set<std::string> systemDisks = SystemDisks(view);
    std::set<int> used = {0};
    for (const ImageDrive& image : images)
        used.insert(image.number);
    std::map<std::string, int> numbers;
    for (const Disk& disk : before)
        if (!disk.isImageFile && disk.number != 0 && used.insert(disk.number).second)
            numbers[disk.name] = disk.number;
    if (!rootDisk.empty())
        numbers[rootDisk] = 0;

    std::vector<Disk> disks;
    for (const BlockDevice* device : found) {
        Disk disk;
        auto known = numbers.find(device->name);
        if (known != numbers.end()) {
            disk.number = known->second;
        } else {
            disk.number = LowestFree(used);
            used.insert(disk.number);
        }
        disk.name = device->name;
        disk.devicePath = UnderRoot(view.root, "/dev/" + device->name);
        disk.sizeBytes = device->sectors * 512;
        disk.vendor = device->vendor;
        disk.model = device->model;
        disk.backingFile = device->backingFile;
        disk.major = device->major;
        disk.minor = device->minor;
        disk.canBeCard = CanBeCard(*device);
        disk.holdsSystem = disk.number == 0 || systemDisks.count(device->name) != 0;
        disk.volatileCache = device->volatileCache;
        disks.push_back(std::move(disk));
    }
    return disks;
}

Disk ImageDisk(const ImageDrive& image) {
    Disk disk;
    disk.number = image.number;
    disk.name = image.path;
    disk.devicePath = image.path;
    disk.sizeBytes = FileSize(image.path);
    disk.isImageFile = true;
    disk.canBeCard = true;
    return disk;
}

struct Candidate {
    int disk;
    int partition;
    Volume volume;
};

// The volumes that may have a letter, in letter order: partitions and bare
// disks of card disks, then stacked volumes that lie on card disks only.
std::vector<Volume> CardVolumes(const SystemView& view, const std::vector<Disk>& disks) {
    auto cardDisk = [&](const std::string& name) -> const Disk* {
        for (const Disk& disk : disks)
            if (disk.name == name)
                return disk.canBeCard && !disk.holdsSystem ? &disk : nullptr;
        return nullptr;
    };
    auto extentOf = [](const BlockDevice& device, const Disk& disk) {
        return Extent{disk.number, ByteRange{device.start * 512, device.sectors * 512}};
    };
    std::vector<Candidate> candidates;
    for (const BlockDevice& device : view.devices) {
        const Disk* disk = cardDisk(device.disk.empty() ? device.name : device.disk);
        const bool bareDisk = device.disk.empty() &&
                              std::none_of(view.devices.begin(), view.devices.end(),
                                           [&](const BlockDevice& other) { return other.disk == device.name; });
        if (disk == nullptr || !device.holders.empty() || (device.disk.empty() && !bareDisk))
            continue;
        candidates.push_back({disk->number, device.partition,
                              Volume{0, UnderRoot(view.root, "/dev/" + device.name), {extentOf(device, *disk)}}});
    }
    for (const BlockDevice& device : view.devices) {
        if (device.slaves.empty() || !device.holders.empty())
            continue;
        Candidate stacked{0, 0, Volume{0, UnderRoot(view.root, "/dev/" + device.name), {}}};
        bool allCards = true;
        for (const BlockDevice* component : Components(view, device.name)) {
            const Disk* disk = cardDisk(component->disk.empty() ? component->name : component->disk);
            if (disk == nullptr) {
                allCards = false;
                break;
            }
            stacked.volume.extents.push_back(extentOf(*component, *disk));
            if (stacked.volume.extents.size() == 1 || std::make_pair(disk->number, component->partition) <
                                                          std::make_pair(stacked.disk, stacked.partition)) {
                stacked.disk = disk->number;
                stacked.partition = component->partition;
            }
        }
        if (allCards && !stacked.volume.extents.empty())
            candidates.push_back(std::move(stacked));
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return std::make_pair(a.disk, a.partition) < std::make_pair(b.disk, b.partition);
    });
    std::vector<Volume> volumes;
    for (Candidate& candidate : candidates)
        volumes.push_back(std::move(candidate.volume));
    return volumes;
}

// Letters: image drives keep theirs; machine volumes keep the letter they had
// before where it is still free, the others take the first free letters.
std::vector<Volume> GiveLetters(std::vector<Volume> machine, const std::vector<Volume>& before,
                                const std::vector<ImageDrive>& images) {
    std::set<char> taken;
    for (const ImageDrive& image : images)
        taken.insert(image.letter);
    for (Volume& volume : machine)
        for (const Volume& old : before)
            if (old.devicePath == volume.devicePath && taken.insert(old.letter).second)
                volume.letter = old.letter;
    std::vector<Volume> volumes;
    for (Volume& volume : machine) {
        for (char letter = kFirstLetter; volume.letter == 0 && letter <= kLastLetter; ++letter)
            if (taken.insert(letter).second)
                volume.letter = letter;
        if (volume.letter != 0)
            volumes.push_back(std::move(volume));
    }
    for (const ImageDrive& image : images) {
        const Disk disk = ImageDisk(image);
        volumes.push_back(Volume{image.letter, image.path, {Extent{image.number, ByteRange{0, disk.sizeBytes}}}});
    }
    std::sort(volumes.begin(), volumes.end(), [](const Volume& a, const Volume& b) { return a.letter < b.letter; });
    return volumes;
}

} // namespace

struct DiskNamespace::State {
    std::string root = "/";
    std::vector<Disk> disks;
    std::vector<Volume> volumes;
    std::vector<ImageDrive> images;
    Opener opener;
};

DiskNamespace::DiskNamespace() : m_state(std::make_unique<State>()) {}
DiskNamespace::~DiskNamespace() = default;

DiskNamespace& DiskNamespace::Current() {
    static DiskNamespace* const current = [] {
        auto* ns = new DiskNamespace;  // lives for the whole process, like the devices it names
        ns->Rescan("/");
        return ns;
    }();
    return *current;
}

void DiskNamespace::Rebuild(bool keepAssignments) {
    State& s = *m_state;
    const SystemView view = ReadSystemView(s.root);
    const std::vector<Disk> before = keepAssignments ? s.disks : std::vector<Disk>{};
    const std::vector<Volume> lettersBefore = keepAssignments ? s.volumes : std::vector<Volume>{};
    if (!keepAssignments) {
        // Image drives follow the machine's disks, in the order they were given.
        for (ImageDrive& image : s.images)
            image.number = -1;
    }
    std::vector<ImageDrive> keptImages;
    std::copy_if(s.images.begin(), s.images.end(), std::back_inserter(keptImages),
                 [](const ImageDrive& image) { return image.number >= 0; });
    s.disks = NumberDisks(view, before, keptImages);
    std::set<int> used;
    for (const Disk& disk : s.disks)
        used.insert(disk.number);
    used.insert(0);
    for (const ImageDrive& image : keptImages)
        used.insert(image.number);
    int next = *used.rbegin() + 1;
    for (ImageDrive& image : s.images)
        if (image.number < 0)
            image.number = next++;
    for (const ImageDrive& image : s.images)
        s.disks.push_back(ImageDisk(image));
    std::sort(s.disks.begin(), s.disks.end(), [](const Disk& a, const Disk& b) { return a.number < b.number; });
    s.volumes = GiveLetters(CardVolumes(view, s.disks), lettersBefore, s.images);
}

void DiskNamespace::Rescan(const std::string& root) {
    m_state->root = root;
    Rebuild(false);
}

void DiskNamespace::Refresh() { Rebuild(true); }

std::string DiskNamespace::AddImageDrive(char letter, const std::string& path) {
    const char upper = Upper(letter);
    if (upper < kFirstLetter || upper > kLastLetter)
        return std::string("drive letter must be D to Z, not ") + letter;
    for (const ImageDrive& image : m_state->images)
        if (image.letter == upper)
            return std::string("drive ") + upper + ": is already given to " + image.path;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return path + ": " + std::strerror(errno);
    if (!S_ISREG(st.st_mode))
        return path + ": not a regular file (a card image file is needed)";
    std::error_code ec;
    const std::string absolute = std::filesystem::canonical(path, ec).string();
    int number = 1;
    for (const Disk& disk : m_state->disks)
        number = std::max(number, disk.number + 1);
    m_state->images.push_back(ImageDrive{upper, ec ? path : absolute, number});
    Rebuild(true);
    return {};
}

void DiskNamespace::RemoveImageDrives() {
    m_state->images.clear();
    Rebuild(true);
}

const std::string& DiskNamespace::Root() const { return m_state->root; }
const std::vector<Disk>& DiskNamespace::Disks() const { return m_state->disks; }
const std::vector<Volume>& DiskNamespace::Volumes() const { return m_state->volumes; }

const Disk* DiskNamespace::FindDisk(int number) const {
    for (const Disk& disk : m_state->disks)
        if (disk.number == number)
            return &disk;
    return nullptr;
}

const Volume* DiskNamespace::FindVolume(char letter) const {
    for (const Volume& volume : m_state->volumes)
        if (volume.letter == Upper(letter))
            return &volume;
    return nullptr;
}

std::vector<ByteRange> DiskNamespace::InUseRanges(int number) const {
    const Disk* disk = FindDisk(number);
    if (disk == nullptr)
        return {};
    if (!disk->isImageFile)
        return platform::storage::InUseRanges(ReadDiskView(m_state->root, disk->name), disk->name);
    // An image file may itself be attached to a loop device whose partitions
    // are mounted.
    std::vector<ByteRange> ranges;
    for (const std::string& loop : LoopDevicesOf(m_state->root, disk->devicePath))
        for (const ByteRange& range : platform::storage::InUseRanges(ReadDiskView(m_state->root, loop), loop))
            ranges.push_back(range);
    return ranges;
}

void DiskNamespace::SetOpenerForTests(Opener opener) { m_state->opener = std::move(opener); }

std::unique_ptr<RawDevice> DiskNamespace::Open(int number, bool forWrite, bool unbuffered, std::uint32_t* error) const {
    const Disk* disk = FindDisk(number);
    if (disk == nullptr) {
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    if (forWrite && disk->holdsSystem) {
        *error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    if (m_state->opener) {
        std::unique_ptr<RawDevice> device = m_state->opener(*disk, forWrite, unbuffered);
        *error = device ? 0 : ERROR_ACCESS_DENIED;
        return device;
    }
    return OpenDiskDevice(*disk, forWrite, unbuffered, error);
}

std::unique_ptr<RawDevice> OpenDiskDevice(const Disk& disk, bool forWrite, bool unbuffered, std::uint32_t* error) {
    std::unique_ptr<FdDevice> device =
        FdDevice::Open(disk.devicePath, forWrite ? O_RDWR : O_RDONLY, unbuffered || forWrite, error);
    if (!device)
        return nullptr;
    const bool block = device->GetKind() == FdDevice::Kind::block;
    const bool regular = device->GetKind() == FdDevice::Kind::regular;
    // An image drive must still be a file, and a device node the disk the
    // system named: never write to whatever else a path has come to name.
    const bool sameDevice = !block || (::major(device->DeviceId()) == disk.major &&
                                       ::minor(device->DeviceId()) == disk.minor);
    if ((disk.isImageFile && !regular) || (!block && !regular) || !sameDevice) {
        *error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    // A loop device's write-back cache is its backing file, which every
    // reader already sees; a card reader's cache must be flushed to the card.
    if (forWrite && disk.volatileCache && disk.backingFile.empty())
        device->SyncEveryWrite();
    return device;
}

std::string DescribeDrive(const DiskNamespace& ns, char letter) {
    const Volume* volume = ns.FindVolume(letter);
    if (volume == nullptr || volume->extents.empty())
        return {};
    std::string line = std::string(1, volume->letter) + ":  " + volume->devicePath;
    if (volume->extents.size() > 1) {
        std::uint64_t bytes = 0;
        line += "  disks";
        for (const Extent& extent : volume->extents) {
            line += (&extent == &volume->extents.front() ? " " : ", ") + std::to_string(extent.diskNumber);
            bytes += extent.range.length;
        }
        return line + "  volume of " + std::to_string(bytes / 512) + " sectors";
    }
    const Disk* disk = ns.FindDisk(volume->extents.front().diskNumber);
    if (disk == nullptr)
        return line;
    line += "  disk " + std::to_string(disk->number) + "  " + std::to_string(disk->sizeBytes / 512) + " sectors";
    std::string maker = disk->vendor;
    if (!disk->model.empty())
        maker += (maker.empty() ? "" : " ") + disk->model;
    if (disk->isImageFile)
        maker = "image file";
    else if (!disk->backingFile.empty())
        maker = "loop device of " + disk->backingFile;
    return maker.empty() ? line : line + "  " + maker;
}

std::vector<std::string> DescribeDrives(const DiskNamespace& ns) {
    std::vector<std::string> lines;
    for (const Volume& volume : ns.Volumes())
        lines.push_back(DescribeDrive(ns, volume.letter));
    return lines;
}

} // namespace platform::storage
