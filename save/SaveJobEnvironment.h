#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

namespace sorvella {

class TargetFiles;

// What the save jobs of one process share: the target files they write, the
// count of open codecs that lets only one job encode at a time, and the pause
// between two looks at a busy codec. The main window owns one; it must
// outlive every job.
class SaveJobEnvironment {
public:
    using Pause = std::function<void(std::chrono::milliseconds)>;

    // `pause` waits on the calling job thread; by default it sleeps.
    explicit SaveJobEnvironment(TargetFiles& files, Pause pause = defaultPause());

    TargetFiles& files() const { return m_files; }
    void pause(std::chrono::milliseconds duration) const { m_pause(duration); }

    // Any thread. Whether a job has a codec open right now.
    bool codecOpen() const { return m_openCodecs.load(std::memory_order_acquire) != 0; }

    // Takes the one codec place: false, changing nothing, when another job
    // has it. The check and the claim are one step, so two jobs can never
    // both get it.
    bool claimCodec();
    // Gives the place back. Only the job that claimed it calls this.
    void releaseCodec();

private:
    static Pause defaultPause();

    TargetFiles& m_files;
    Pause m_pause;
    std::atomic<std::int32_t> m_openCodecs{0};
};

// The codec place held for the length of one save attempt.
class CodecClaim {
public:
    explicit CodecClaim(SaveJobEnvironment& environment)
        : m_environment(environment), m_held(environment.claimCodec())
    {
    }
    ~CodecClaim()
    {
        if (m_held) {
            m_environment.releaseCodec();
        }
    }
    CodecClaim(const CodecClaim&) = delete;
    CodecClaim& operator=(const CodecClaim&) = delete;

    bool held() const { return m_held; }

private:
    SaveJobEnvironment& m_environment;
    bool m_held;
};

} // namespace sorvella
