// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bench/BenchError.h"
#include "bench/VideoPage.h"
#include "session/Session.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>

// Kernels that give set figures in the pages' own units, so a session runs
// its real pages (reference rows, bars, unit conversions) in no time. Each
// kernel call is written down in order; the kernel named in `failAt` raises.
struct SetFigures
{
    std::function<std::int32_t()> cpuPasses = [] { return 600; };
    std::function<std::int32_t()> fpuPasses = [] { return 300; };
    // MiB/s read and written, asked once a memory test.
    std::function<std::int32_t()> memory = [] { return 5000; };
    std::function<std::int32_t()> video = [] { return 700; }; // MiB/s at 32 bits a pixel
    std::function<std::int32_t(const std::string& mountPoint)> disk = [](const std::string&) {
        return 9000; // KB/s
    };
    // Free bytes on a mount point; 10 MiB or less leaves the drive unmeasured.
    std::function<std::uint64_t(const std::string& mountPoint)> free = [](const std::string&) {
        return std::uint64_t{1} << 40;
    };
    QStringList journal; // "cpu", "fpu", "read <block>", "write <block>", "video", "disk <mount>"
    QString failAt;
    // Called inside every kernel once it is written down (tests close the
    // window here).
    std::function<void()> during;

    void call(const QString& kernel)
    {
        journal << kernel;
        if (during)
            during();
        if (kernel == failAt)
            throw bench::BenchError(("Failed: " + kernel).toStdString());
    }

    report::SessionKernels kernels()
    {
        constexpr std::int64_t mebibyte = 1'048'576;
        report::SessionKernels k;
        k.processor = {[this] {
                           call("cpu");
                           return cpuPasses();
                       },
                       [this] {
                           call("fpu");
                           return fpuPasses();
                       }};
        k.memory = {[this](std::uint32_t block) {
                        call("read " + QString::number(block));
                        m_memory = memory();
                        return m_memory * mebibyte;
                    },
                    [this](std::uint32_t block) {
                        call("write " + QString::number(block));
                        return m_memory * mebibyte;
                    }};
        k.video = {[this](bench::VideoCanvas&, int, int) {
            call("video");
            return video() * mebibyte / 4;
        }};
        k.disk.testDirectory = [](const std::string& mount) { return mount; };
        k.disk.availableBytes = [this](const std::string& mount) { return free(mount); };
        k.disk.diskTest = [this](const std::string& directory, std::int32_t) {
            call(QStringLiteral("disk ") + QString::fromStdString(directory));
            return std::int64_t{disk(directory)} * 1024;
        };
        return k;
    }

private:
    std::int64_t m_memory = 0;
};

// A test surface in memory: a 1024 x 768 screen at 32 bits a pixel.
class MemorySurface : public bench::TestSurface, bench::VideoCanvas
{
public:
    QSize ScreenSize() const override { return {1024, 768}; }
    void ShowAt(const QRect&) override { shown = true; }
    int BitsPerPixel() const override { return 32; }
    bench::VideoCanvas& Canvas() override { return *this; }
    void Close() override { shown = false; }
    bool FillsBackingStore() const override { return backingStore; }
    void FillRect(int, int, TColor fill) override { m_color = fill; }
    TColor GetPixel(int, int) override { return m_color; }

    bool shown = false;
    bool backingStore = false; // as on a Wayland or offscreen platform

private:
    TColor m_color = 0;
};
