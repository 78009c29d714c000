#include "cli/card_files.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace cli_test {

TempFolder::TempFolder() {
    char pattern[] = "/tmp/strovane-cli-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void MakeSparseCard(const std::string& path, std::uint64_t sectors) {
    std::ofstream(path, std::ios::binary | std::ios::trunc);
    std::filesystem::resize_file(path, sectors * 512);
}

void MakeImage(const std::string& path, std::size_t size, std::uint32_t seed) {
    std::vector<char> bytes(size);
    std::uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(size));
}

std::vector<std::uint8_t> ReadRange(const std::string& path, std::uint64_t offset, std::size_t length) {
    std::vector<std::uint8_t> bytes(length);
    std::ifstream file(path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(offset));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    return ReadRange(path, 0, static_cast<std::size_t>(std::filesystem::file_size(path)));
}

bool SameBytes(const std::string& a, const std::string& b, std::string* where) {
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    constexpr std::size_t kBlock = 1 << 20;
    std::vector<char> ba(kBlock), bb(kBlock);
    for (std::uint64_t offset = 0;; offset += kBlock) {
        fa.read(ba.data(), kBlock);
        fb.read(bb.data(), kBlock);
        const std::streamsize na = fa.gcount(), nb = fb.gcount();
        for (std::streamsize i = 0; i < std::min(na, nb); ++i) {
            if (ba[static_cast<std::size_t>(i)] != bb[static_cast<std::size_t>(i)]) {
                *where = "first difference at byte " + std::to_string(offset + static_cast<std::uint64_t>(i)) +
                         " (sector " + std::to_string((offset + static_cast<std::uint64_t>(i)) / 512) + ")";
                return false;
            }
        }
        if (na != nb) {
            *where = "lengths differ";
            return false;
        }
        if (na == 0)
            return true;
    }
}

ProgramRun RunFuse(const std::vector<std::string>& args, const std::string& folder, bool unsetPlatform) {
    const char* binary = std::getenv("STROVANE_BINARY");
    if (binary == nullptr)
        throw std::runtime_error("STROVANE_BINARY is not set");
    QStringList arguments{"fuse"};
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(folder));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (unsetPlatform) {
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
    }
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(binary), arguments);
    ProgramRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.err = "the program did not finish";
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

} // namespace cli_test
