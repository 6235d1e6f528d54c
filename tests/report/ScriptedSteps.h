#pragma once

#include "report/AllTests.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <stdexcept>

// Pages that hand out set figures and keep a journal of what the run asked
// of them, so a test sees the order of the steps beside the log.
class ScriptedSteps : public report::AllTestsSteps
{
public:
    report::OverviewTexts overviewTexts() override
    {
        journal << "overview";
        return overview;
    }
    report::ProcessorFigures runProcessor() override
    {
        step("processor");
        return processor;
    }
    void runMemory() override
    {
        step(comparative ? "memory comparative" : "memory full");
        memoryValue = comparative ? memoryComparative : memoryFull;
    }
    bool comparativeModeSelected() override { return comparative; }
    void selectComparativeMode() override
    {
        comparative = true;
        runMemory();
    }
    std::int32_t memoryResult() override { return memoryValue; }
    std::int32_t runVideo() override
    {
        step("video");
        return video;
    }
    QStringList driveEntries() override
    {
        QStringList entries;
        for (const report::DriveFigure& drive : drives)
            entries << drive.entry;
        return entries;
    }
    QString selectDrive(int index) override
    {
        selected = index;
        journal << "select " + drives.at(index).entry;
        return drives.at(index).entry;
    }
    std::int32_t runDisk() override
    {
        step("disk " + drives.at(selected).entry);
        return drives.at(selected).kilobytesPerSecond;
    }

    report::OverviewTexts overview;
    report::ProcessorFigures processor;
    bool comparative = true;
    std::int32_t memoryComparative = 0;
    std::int32_t memoryFull = 0; // bar 0 after the full test: its first read bar
    std::int32_t video = 0;
    QList<report::DriveFigure> drives; // the drive list and each one's result
    QString failAt;                    // a step named here raises
    QStringList journal;

private:
    void step(const QString& name)
    {
        journal << name;
        if (name == failAt)
            throw std::runtime_error(("Test failed: " + name).toStdString());
    }

    std::int32_t memoryValue = 0;
    int selected = -1;
};
