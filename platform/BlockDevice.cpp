// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockDevice.h"

#include "Files.h"

#include <cstdlib>
#include <system_error>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace platform {
namespace {

namespace fs = std::filesystem;

// SATA's 6 Gb/s less its 8b/10b coding.
constexpr std::uint64_t kSataBytes = 600'000'000;

std::string readTrimmed(const fs::path& path)
{
    const FileContents contents = ReadRegularFile(path, 4096);
    return contents.outcome == ReadOutcome::Read ? Trim(contents.bytes) : std::string();
}

// "8.0 GT/s PCIe" and a width of 4: 8e9 x 4 x 128/130 / 8 bytes a second.
std::optional<std::uint64_t> pcieBytes(const fs::path& function)
{
    const std::string speed = readTrimmed(function / "current_link_speed");
    const std::string width = readTrimmed(function / "current_link_width");
    const double transfers = std::strtod(speed.c_str(), nullptr);
    const long lanes = std::strtol(width.c_str(), nullptr, 10);
    if (!(transfers > 0) || lanes <= 0)
        return std::nullopt;
    const double coding = transfers < 8.0 ? 8.0 / 10.0 : 128.0 / 130.0;
    return static_cast<std::uint64_t>(transfers * 1e9 * static_cast<double>(lanes) * coding / 8.0);
}

// The first link above the disk that says what it carries.
std::optional<std::uint64_t> interfaceBytes(const fs::path& disk, const fs::path& devices)
{
    for (fs::path at = disk; at.has_relative_path() && at != devices; at = at.parent_path()) {
        if (at.filename().string().starts_with("ata"))
            return kSataBytes;
        if (const auto bytes = pcieBytes(at))
            return bytes;
        if (at == at.parent_path())
            break;
    }
    return std::nullopt;
}

std::string modelOf(const fs::path& disk)
{
    std::string model = readTrimmed(disk / "device" / "model");
    if (model.empty()) {
        const std::string vendor = readTrimmed(disk / "device" / "vendor");
        if (!vendor.empty())
            model = "vendor " + vendor;
    }
    return model;
}

} // namespace

std::optional<BlockDevice> BlockDeviceOf(std::uint64_t device, const fs::path& root)
{
    const std::string number = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    std::error_code error;
    fs::path disk = fs::canonical(root / "sys/dev/block" / number, error);
    if (error)
        return std::nullopt;
    if (fs::exists(disk / "partition", error))
        disk = disk.parent_path();
    BlockDevice block;
    block.name = disk.filename().string();
    block.model = modelOf(disk);
    const std::string rotational = readTrimmed(disk / "queue" / "rotational");
    if (rotational == "0" || rotational == "1")
        block.rotational = rotational == "1";
    block.interfaceBytesPerSecond =
        interfaceBytes(disk, fs::weakly_canonical(root / "sys/devices", error));
    return block;
}

std::optional<BlockDevice> BlockDeviceHolding(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return BlockDeviceOf(info.st_dev, SystemRoot());
}

} // namespace platform
