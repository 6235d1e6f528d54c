// SPDX-License-Identifier: GPL-3.0-or-later
// Times a full render of a 101-bar chart at 372 x 302, the main window's
// chart size, with the main window's font. Run it on an idle machine:
//   QT_QPA_PLATFORM=offscreen ./bench_chart [renders] [picture.png]
#include "Summary.h"
#include "TestFont.h"
#include "controls/MyChart.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Like the processor page: own CPU and FPU bars, then per reference machine
// a spacer, its CPU bar and its FPU bar.
void Fill(TMyChart& chart)
{
    chart.BeginUpdate();
    chart.Clear();
    chart.setGradientColor(MakeColor(0, 0, 128));
    chart.AddBar("Your CPU", 2874, MakeColor(255, 0, 0));
    chart.AddBar("FPU", 3120, MakeColor(255, 0, 0));
    for (int i = 0; chart.Bars.Count + 3 <= TMyChartBars::Capacity; ++i) {
        chart.AddBar("", 0, 0);
        chart.AddBar(QStringLiteral("Pentium III %1 MHz CPU").arg(450 + 50 * i), 400 + 97 * i,
                     MakeColor(0, 160, 0));
        chart.AddBar("FPU", 380 + 113 * i, MakeColor(0, 0, 255));
    }
}

void Report(const char* what, std::vector<double> ms)
{
    const Summary summary = summarise(ms);
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double m : ms)
        sum += m;
    std::printf("%s: %zu renders, median %.3f ms, mean %.3f ms, p95 %.3f ms, max %.3f ms\n", what,
                ms.size(), summary.median, sum / double(ms.size()), ms[ms.size() * 95 / 100],
                summary.max);
}

std::vector<double> Time(TMyChart& chart, int renders)
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < renders + 50; ++i) {
        chart.Redraw(); // hidden: only invalidates
        timer.start();
        chart.PreparePicture();
        if (i >= 50) // the first renders fill the glyph cache
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int renders = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;

    TMyChart chart;
    chart.resize(372, 302);
    chart.setFont(ChartTestFont());
    chart.setBorder(10);
    chart.setGradient(true);
    chart.setColor(MakeColor(96, 96, 96));
    Fill(chart);
    std::printf("font: %s, bars: %d\n", qPrintable(QFontInfo(chart.font()).family()),
                chart.Bars.Count);

    Report("render 101 bars at 372x302", Time(chart, renders));
    if (argc > 2 && !chart.picture().save(QString::fromLocal8Bit(argv[2])))
        std::fprintf(stderr, "cannot save %s\n", argv[2]);

    // At 302 pixels a row is under 3 pixels high, too low for a bar; a tall
    // chart also times the shadows and all gradient bands.
    chart.resize(372, 1600);
    Report("render 101 bars at 372x1600", Time(chart, renders));
    return 0;
}
