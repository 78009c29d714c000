// A main dialog working on a card that is a sparse image file, with message
// boxes answered and recorded, and optionally a card that records every
// transfer and injects faults (short writes, failed or corrupted read-back).
#pragma once

#include "platform/storage/linux/disk_namespace.h"
#include "platform/testing/ui_hooks.h"
#include "ui/VEXODlg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace enginetest {

// The 3,965,190,144-byte card of the layout's worked example.
inline constexpr DWORD kExampleCardSectors = 7744512;
inline constexpr std::uint64_t kSector = 512;
inline constexpr std::uint32_t kChunk = 8388608;

// Deterministic bytes that are never zero, so that a zero on the card is
// always fill and never image data.
std::vector<BYTE> ImageBytes(std::size_t length, std::uint32_t seed = 1);
void WriteWholeFile(const std::string& path, const std::vector<BYTE>& bytes);
// A file of `length` bytes, sparse (all zero) except for its first and last
// bytes and the first byte of each 8 MiB chunk, which get distinct values.
void WriteSparseImage(const std::string& path, std::uint64_t length);
std::vector<BYTE> ReadFileAt(const std::string& path, std::uint64_t offset, std::size_t length);
// The byte ranges of a sparse file that hold data, each [first, end).
std::vector<std::pair<std::uint64_t, std::uint64_t>> DataRanges(const std::string& path);
// A run of sectors: first sector and count.
struct SectorRun {
    std::uint64_t first, count;
};
// Every 4 KiB block of the card file that holds data overlaps one of the
// runs: nothing else on the card was written.
void ExpectDataOnlyIn(const std::string& cardPath, const std::vector<SectorRun>& runs);

struct Transfer {
    bool write;
    std::uint64_t offset;
    std::uint32_t length;
};

// Faults a test card injects; indices count reads and writes from 0.
struct CardFaults {
    int shortWrite = -1;           // this write stops after shortWriteBytes
    std::uint32_t shortWriteBytes = 0;
    int failRead = -1;             // this read fails with failReadError
    std::uint32_t failReadError = 23;
    int corruptRead = -1;          // this read delivers one byte flipped
    int shortRead = -1;            // this read "succeeds" with half the bytes
};

class CardTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // A sparse card of `sectors` sectors under letter E, selected in the
    // drive list; the dialog's disk number and card size are those a passed
    // drive check gives.
    void InsertCard(DWORD sectors);
    // From now on the card is opened through a recording, fault-injecting
    // device (it refuses writes past the card's end with a short count, as a
    // block device does). afterTransfer runs after each transfer.
    void UseTestCard(CardFaults faults = {});
    std::function<void(const Transfer&)> afterTransfer;

    std::string ImagePath(const std::string& name) const { return m_dir + "/" + name; }
    std::string WriteImage(const std::string& name, const std::vector<BYTE>& bytes);
    std::vector<BYTE> CardAt(std::uint64_t sector, std::size_t length) const;
    std::vector<Transfer> Writes() const;
    std::vector<Transfer> Reads() const;
    // Every message box shown so far, as "text|caption".
    std::vector<std::u16string> Boxes() const;
    // The text a control shows.
    std::u16string ControlText(int id) const;
    void Open(CFile& file, const std::string& path);

    std::unique_ptr<CVEXODlg> dlg;
    std::vector<platform::testing::MessageBoxCall> boxes;
    std::vector<Transfer> transfers;
    std::string cardPath;
    int cardDisk = -1;

private:
    std::string m_dir;
};

std::u16string U16(const std::string& text);

} // namespace enginetest
