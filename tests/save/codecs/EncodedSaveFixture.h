#pragma once

#include "save/Codec.h"
#include "tests/save/RecordingView.h"
#include "tests/save/SaveJobFixture.h"

#include <memory>
#include <string>
#include <vector>

namespace sorvella::test {

// Saves sound through a real save job into a codec target, as a Quick Save
// does: a stopped recording's store, consumed block by block.
struct EncodedSaveFixture : SaveJobFixture {
    struct Result {
        std::string failure;
        std::vector<std::string> files;
    };

    // `sound` is PCM of `format`; `codecNumber` is only recorded.
    Result save(const std::string& name, const std::shared_ptr<Codec>& codec,
                std::int32_t formatNumber, const WaveFormat& format,
                const std::vector<std::uint8_t>& sound, std::int32_t codecNumber)
    {
        auto store = makeStore();
        appendBytes(*store, sound);
        store->endRecording();
        SaveTarget target;
        target.sourceFormat = format;
        target.fileName = targetPath(name);
        target.formatNumber = formatNumber;
        target.codec = codec;
        target.codecNumber = codecNumber;
        auto saving = job(std::move(store), target);
        if (beforeRun) {
            beforeRun();
        }
        RecordingView view;
        view.onProgress = onProgress;
        saving->run(view);
        return {view.failure(), targetNames()};
    }

    // Runs once the job holds its target, before it writes.
    std::function<void()> beforeRun;
    // Runs on each progress report of the job.
    std::function<void(int)> onProgress;
};

} // namespace sorvella::test
