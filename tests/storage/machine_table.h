// The fake machine shared by the card-discovery tests: a system disk, a
// fixed disk with /home on it, cards of every kind and size, and cards that
// must not get letters.
//
//   name      number  letter  what it is
//   vda       0       -       virtio system disk: / on vda2, /boot on vda1
//   loop0     1       D       loop device of a file, exactly 8,388,608 sectors
//   loop1     -       -       loop device without a backing file: not a disk
//   loop2     2       E       loop device, 8,388,609 sectors (one over)
//   loop3     3       F       loop device, 2^32 sectors
//   loop4     4       G       loop device with one partition; the disk's node is gone
//   mmcblk0   5       H       SD card in an MMC slot, no partitions, 7,744,512 sectors
//   mmcblk1   6       -       soldered eMMC ("MMC")
//   sda       7       -       fixed SATA disk, /home on sda1
//   sdb       8       I, J    USB card reader, two partitions; sdb2 mounted at /media/card
//   sdc       9       -       USB stick with /var on sdc1
//   sdd       10      K       USB disk; with sde, under one volume (dm-0)
//   sde       11      (K)     USB disk
//   sdg       12      -       USB stick used as swap (sdg1)
//   sdh       13      L       USB card, no partitions, 1,000,000 sectors
//   zram0     14      -       compressed RAM disk used as swap
#pragma once

#include "storage/fake_system.h"

#include <string>

namespace fake {

inline constexpr std::uint64_t kLimit = 8388608;
inline constexpr std::uint64_t kSdCardSectors = 7744512;  // 3,965,190,144 bytes

inline void BuildMachine(FakeSystem& m, const std::string& backingDir) {
    m.AddDisk({.name = "vda", .bus = Bus::virtio, .sectors = 268435456, .vendor = "0x1af4"});
    m.AddPartition("vda", 1, 2048, 1048576);
    m.AddPartition("vda", 2, 1050624, 267384832);
    m.Mount("vda2", "/");
    m.Mount("vda1", "/boot");
    m.AddDisk({.name = "loop0", .bus = Bus::virtual_, .sectors = kLimit, .backingFile = backingDir + "/exact.img"});
    m.AddDisk({.name = "loop1", .bus = Bus::virtual_});
    m.AddDisk({.name = "loop2", .bus = Bus::virtual_, .sectors = kLimit + 1, .backingFile = backingDir + "/over.img"});
    m.AddDisk({.name = "loop3", .bus = Bus::virtual_, .sectors = 1ull << 32, .backingFile = backingDir + "/huge.img"});
    m.AddDisk({.name = "loop4", .bus = Bus::virtual_, .sectors = 204800, .backingFile = backingDir + "/gone.img"});
    m.AddPartition("loop4", 1, 2048, 202752);
    m.RemoveNode("loop4");
    m.AddDisk({.name = "mmcblk0", .bus = Bus::mmc, .sectors = kSdCardSectors, .model = "SL08G", .mmcType = "SD"});
    m.AddDisk({.name = "mmcblk1", .bus = Bus::mmc, .sectors = 30535680, .model = "8GTF4R", .mmcType = "MMC"});
    m.AddDisk({.name = "sda", .bus = Bus::ata, .sectors = 976773168, .vendor = "ATA", .model = "WDC WD5000"});
    m.AddPartition("sda", 1, 2048, 976771072);
    m.Mount("sda1", "/home");
    m.AddDisk({.name = "sdb", .bus = Bus::usb, .sectors = kSdCardSectors, .removable = true, .vendor = "Generic",
               .model = "STORAGE DEVICE"});
    m.AddPartition("sdb", 1, 2048, 204800);
    m.AddPartition("sdb", 2, 206848, 7537664);
    m.Mount("sdb2", "/media/card");
    m.AddDisk({.name = "sdc", .bus = Bus::usb, .sectors = 15000000, .removable = true});
    m.AddPartition("sdc", 1, 2048, 14997952);
    m.Mount("sdc1", "/var");
    m.AddDisk({.name = "sdd", .bus = Bus::usb, .sectors = 2000000});
    m.AddPartition("sdd", 1, 2048, 1997952);
    m.AddDisk({.name = "sde", .bus = Bus::usb, .sectors = 2000000});
    m.AddPartition("sde", 1, 2048, 1997952);
    m.AddStacked("dm-0", {"sdd1", "sde1"}, 3995904);
    m.AddDisk({.name = "sdg", .bus = Bus::usb, .sectors = 4000000, .removable = true});
    m.AddPartition("sdg", 1, 2048, 3997952);
    m.AddSwap("sdg1");
    m.AddDisk({.name = "sdh", .bus = Bus::usb, .sectors = 1000000, .removable = true, .vendor = "Kingston",
               .model = "DataTraveler"});
    m.AddDisk({.name = "zram0", .bus = Bus::virtual_, .sectors = 8388608});
    m.AddSwap("zram0");
}

} // namespace fake
