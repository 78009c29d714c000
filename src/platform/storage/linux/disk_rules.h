// The rules that decide, from what the system says (SystemView), which
// devices are physical disks, which disk holds the running system, which can
// be cards, and which byte ranges of a disk are in use by the system.
#pragma once

#include "platform/storage/linux/system_view.h"

#include <set>
#include <string>
#include <vector>

namespace platform::storage {

struct ByteRange;

// Orders kernel names as a person would: loop2 before loop10.
bool NaturalLess(const std::string& a, const std::string& b);

// A whole device that counts as a physical disk: not a stacked volume (device
// mapper, md), not an optical or floppy drive, and for a loop device only
// while it has a backing file.
bool CountsAsDisk(const BlockDevice& device);

// A disk whose media can be a card: a loop device with a backing file, a
// removable or USB-attached device, or an SD card in an MMC slot (soldered
// eMMC reports "MMC" and is not a card unless it calls itself removable).
bool CanBeCard(const BlockDevice& device);

// Mount points of the running system: a disk that holds one of these (or
// swap) is part of the system and never gets a drive letter.
bool IsSystemMountPoint(const std::string& mountPoint);

// The whole disks that device `name` lies on: itself for a disk, its disk
// for a partition, the disks below every layer of a stacked volume.
std::vector<std::string> UnderlyingDisks(const SystemView& view, const std::string& name);

// The partitions (or whole disks) a stacked volume is made of; the device
// itself when it is not stacked.
std::vector<const BlockDevice*> Components(const SystemView& view, const std::string& name);

// The disk that holds the root file system; empty when it cannot be told
// (a root on no block device).
std::string RootDisk(const SystemView& view);

// The disks holding a mounted system file system or swap.
std::set<std::string> SystemDisks(const SystemView& view);

// Mounted, in use as swap, or part of a stacked volume that is in use.
bool InUse(const SystemView& view, const std::string& name);

// The byte ranges of disk `name` that are in use: the whole disk when the
// disk itself is, else each partition that is.
std::vector<ByteRange> InUseRanges(const SystemView& view, const std::string& diskName);

} // namespace platform::storage
