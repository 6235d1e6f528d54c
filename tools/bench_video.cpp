// SPDX-License-Identifier: GPL-3.0-or-later
// Fill throughput of the video kernel on the real test surface against a
// plain xcb program doing the same work (tools/xcb_fill: 400 fills with a
// one-pixel read-back each), run in interleaved pairs; x11perf beside them.
//   bench_video [pairs] [--backing-store] [--fill WxH] [--no-x11perf]
// Run it on an X display (or under tests/common/with-xvfb.sh). To keep load
// from blurring the comparison, run the X server itself at a real-time
// priority (chrt -f 50 Xvfb ...): both sides then wait only on it.
// --backing-store measures the path used where there is no X server
// (offscreen, native Wayland); with QT_QPA_PLATFORM=offscreen it is taken
// anyway, and there is no reference. x11perf -rect500 measures fills without
// the read-back, so it is context, not the yardstick: its rectangles per
// second x 250,000 is its pixel rate.

#include "shell/Unit2.h"
#include "shell/VideoSurface.h"

#include "Summary.h"
#include "bench/VideoKernel.h"
#include "controls/ChartBars.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>

#include <cstdio>
#include <vector>

namespace {

// The pixel rate of tools/xcb_fill beside this program; 0 when it fails.
double referenceRate(QSize fill)
{
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/xcb_fill"),
                  {QString::number(fill.width()), QString::number(fill.height())});
    if (!process.waitForFinished(60'000))
        return 0;
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return output.startsWith(QStringLiteral("px/s ")) ? output.mid(5).trimmed().toDouble() : 0;
}

// Rectangles per second from x11perf's summary line ("... trep @ ... (N/sec): ...").
double x11perfRectangles(const QStringList& timing)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("x11perf"));
    if (program.isEmpty()) {
        std::printf("x11perf not found (Debian package x11-apps)\n");
        return 0;
    }
    QProcess process;
    process.start(program, QStringList{"-rect500"} + timing);
    if (!process.waitForFinished(120'000)) {
        std::printf("x11perf did not finish\n");
        return 0;
    }
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    static const QRegularExpression summary(QStringLiteral(R"(trep @.*\(\s*([0-9.]+)/sec\))"));
    const QRegularExpressionMatch match = summary.match(output);
    if (!match.hasMatch()) {
        std::printf("x11perf gave no summary:\n%s\n", qPrintable(output));
        return 0;
    }
    return match.captured(1).toDouble();
}

// Whether the middle of the screen, grabbed by the platform, has the colour
// the canvas reads at (0, 0): the fills covered the screen.
bool middleShowsCorner(VideoSurface& surface, QSize screen)
{
    const TColor corner = surface.Canvas().GetPixel(0, 0);
    const QImage middle = QGuiApplication::primaryScreen()
                              ->grabWindow(0, screen.width() / 2, screen.height() / 2, 1, 1)
                              .toImage();
    const QRgb pixel = middle.pixel(0, 0);
    return MakeColor(qRed(pixel), qGreen(pixel), qBlue(pixel)) == corner;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    const int pairs = args.isEmpty() || args.first().startsWith('-') ? 15 : args.first().toInt();
    const auto path = args.contains("--backing-store") ? VideoSurface::Path::BackingStore
                                                       : VideoSurface::Path::Automatic;

    TForm2 form;
    VideoSurface surface(form, path);
    const QSize screen = surface.ScreenSize();
    // --fill WxH: fill only that much of the surface (the kernel's rectangle
    // from (0, 0)), to compare like with like: x11perf -rect500 fills 500x500.
    QSize fill = screen;
    const qsizetype fillArg = args.indexOf("--fill");
    if (fillArg >= 0 && fillArg + 1 < args.size()) {
        const QStringList parts = args.at(fillArg + 1).split('x');
        if (parts.size() == 2)
            fill = QSize(parts[0].toInt(), parts[1].toInt()).boundedTo(screen);
    }
    std::vector<double> pixelRates, referenceRates, ratios;
    bool x11 = false;
    int bits = 0;
    std::printf("load average %s\n", loadAverage().c_str());
    for (int pair = 0; pair < pairs; ++pair) {
        surface.ShowAt(QRect(QPoint(0, 0), screen));
        x11 = surface.FillsThroughX11();
        bits = surface.BitsPerPixel();
        const std::int64_t rate = bench::VideoTest(surface.Canvas(), fill.width(), fill.height());
        const bool filled = middleShowsCorner(surface, screen);
        surface.Close();
        app.processEvents();
        pixelRates.push_back(double(rate));
        const double reference = x11 ? referenceRate(fill) : 0;
        if (reference > 0) {
            referenceRates.push_back(reference);
            ratios.push_back(double(rate) / reference);
        }
        std::printf("pair %2d: VideoTest %12lld px/s  xcb_fill %12.0f px/s  ratio %.3f%s\n",
                    pair + 1, static_cast<long long>(rate), reference,
                    reference > 0 ? double(rate) / reference : 0.0,
                    filled ? "" : "  (the screen does not show the last fill!)");
    }
    const Summary s = summarise(pixelRates);
    std::printf("platform %s, %s path, screen %dx%d, fills %dx%d, %d bits per pixel\n",
                qPrintable(QGuiApplication::platformName()), x11 ? "X server" : "backing-store",
                screen.width(), screen.height(), fill.width(), fill.height(), bits);
    std::printf("VideoTest  median %.4g px/s  CV %.2f %%  (%d runs)  = %d MiB/s\n", s.median, s.cv,
                pairs, bench::VideoRate(std::int64_t(s.median), bench::BytesPerPixel(bits)));
    if (!ratios.empty()) {
        const Summary r = summarise(referenceRates);
        const Summary q = summarise(ratios);
        std::printf("xcb_fill   median %.4g px/s  CV %.2f %%  (%zu runs)\n", r.median, r.cv,
                    referenceRates.size());
        std::printf("VideoTest / xcb_fill (same work, pairwise)  median %.3f  min %.3f  max %.3f\n",
                    q.median, q.min, q.max);
    }
    std::printf("load average %s\n", loadAverage().c_str());

    if (!x11 || args.contains("--no-x11perf"))
        return 0;
    // Context only: x11perf does not read back. Timed: three repetitions of
    // 2 s each. Bursts: five of 400 rectangles, as long as the kernel's 400
    // fills; on a loaded machine a server kept busy for seconds loses the
    // processor to other work, one woken for short bursts much less.
    const QList<QStringList> timings{{"-repeat", "3", "-time", "2"},
                                     {"-repeat", "5", "-reps", "400"}};
    for (const QStringList& timing : timings) {
        const double rectangles = x11perfRectangles(timing);
        if (rectangles <= 0)
            return 1;
        const double pixels = rectangles * 250'000.0;
        std::printf("x11perf -rect500 %-22s %8.1f rect/s = %.4g px/s; VideoTest / x11perf = %.3f\n",
                    qPrintable(timing.join(' ')), rectangles, pixels, s.median / pixels);
    }
    return 0;
}
