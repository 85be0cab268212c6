#pragma once

#include "core/Relaxed.h"
#include "core/SaveTarget.h"
#include "core/WaveFormat.h"

#include <cstdint>
#include <string>

namespace sorvella {

// Every user setting of the program, with its default. The stored name of
// each field is in app/SettingsPass.cpp. Fields that the recording thread
// reads while dialogs change them are Relaxed.
struct Settings {
    bool iconInTray = false;
    std::int32_t editorStopPlaying = 0;
    std::int32_t quickSaveMode = 2;
    std::int32_t editSaveMode = 2;
    std::int32_t fadeOut = 3000;
    std::int32_t fadeIn = 3;
    bool autoAmplify = false;
    bool bypassWindowsQueue = false;
    bool showModeLarge = false;
    std::string volumeSettings;
    bool directToDisk = true;
    bool tempDirectoryUseWindows = true;
    std::string tempDirectory = "c:";
    std::string editProgram = "audacity";
    std::int32_t animationMode = 1;
    bool incrementAtStart = false;
    std::int32_t startRetryTicks = 60;
    bool startMinimized = false;
    SaveTarget target;
    Relaxed<std::int32_t> loopTime = 600;
    std::int32_t autoSaveTime = 600;
    std::int32_t autoSaveAction = 0;
    std::int32_t autoSaveFollow = 1;
    std::int64_t nextArchiveTime = 0;
    std::int64_t lastArchiveEnd = -1;
    Relaxed<std::int32_t> loopMode = 0;
    Relaxed<std::int32_t> archiverOverlap = 60;
    Relaxed<std::int32_t> archiverDelay = 0;
    Relaxed<std::int32_t> archiverInterval = 600;
    std::int32_t bufferSizeTotal = 2097152;
    std::int32_t bufferGranularity = 2;
    WaveFormat format;
    std::int32_t timingProfile = 0;
    std::int32_t jobConfigureId = -1;
    std::int32_t jobRunId = -1;
    bool showWarningMixer = true;
    Relaxed<std::int32_t> voxVolume = 8192;
    Relaxed<std::int32_t> voxProfile = 0;
    std::int32_t soundCard = 0;
};

} // namespace sorvella
