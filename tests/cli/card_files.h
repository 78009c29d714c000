// Files for fusing tests: a temporary folder, sparse card image files, image
// files of known pseudo-random bytes, and a run of the real program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cli_test {

// A folder under /tmp, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string Path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// A card image file of sectors × 512 zero bytes that takes no room on disk.
void MakeSparseCard(const std::string& path, std::uint64_t sectors);
// size bytes, the same for the same seed.
void MakeImage(const std::string& path, std::size_t size, std::uint32_t seed);
std::vector<std::uint8_t> ReadRange(const std::string& path, std::uint64_t offset, std::size_t length);
std::vector<std::uint8_t> ReadAll(const std::string& path);
// True when both files hold the same bytes; where tells the first difference.
bool SameBytes(const std::string& a, const std::string& b, std::string* where);

struct ProgramRun {
    int status = -1;
    std::string out, err;
};
// Runs "STROVANE_BINARY fuse args..." in folder. unsetPlatform removes
// QT_QPA_PLATFORM (and DISPLAY) from its environment.
ProgramRun RunFuse(const std::vector<std::string>& args, const std::string& folder, bool unsetPlatform = false);

} // namespace cli_test
