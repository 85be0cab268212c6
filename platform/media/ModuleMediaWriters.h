#pragma once

#include "platform/media/MediaWriter.h"

#include <memory>
#include <mutex>

namespace sorvella {

class LibraryLoader;
class LoadedLibrary;

// The media writers of a module loaded on first use. FFmpeg and the hundred
// libraries it pulls in cost every start of the program more than an hour of
// idle recording does, and only a Windows Media save needs them; so they are
// loaded when a save first asks, and stay loaded while this object or any
// writer it made lives.
class ModuleMediaWriters final : public MediaWriters {
public:
    // The module's entry point: answers its writers, which live as long as
    // the module stays loaded.
    using EntryPoint = MediaWriters* (*)();
    static constexpr const char* kModuleFile = "libsorvella_ffmpeg_media.so";
    static constexpr const char* kEntryPoint = "sorvella_media_writers";

    explicit ModuleMediaWriters(std::shared_ptr<LibraryLoader> loader);
    ~ModuleMediaWriters() override;

    // Loads the module the first time (that call blocks while it loads);
    // false when it is missing or its writers are not installed.
    bool installed() const override;
    std::unique_ptr<MediaWriter> createWriter() override;

private:
    MediaWriters* writers() const;

    const std::shared_ptr<LibraryLoader> m_loader;
    mutable std::once_flag m_loadOnce;
    mutable std::shared_ptr<LoadedLibrary> m_module;
    mutable MediaWriters* m_writers = nullptr;
};

} // namespace sorvella
