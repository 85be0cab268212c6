#pragma once

// A run of the program killed with SIGKILL while it records, and the run of
// "--recover" that follows: what the block files held when it died is what
// the recovered file holds.

#include "tests/support/ProgramFixture.h"
#include "tests/support/WaitFor.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sorvella::test {

class KilledRun : public ProgramFixture {
protected:
    // Starts `program` recording (for longer than the test waits), waits
    // until its block files hold `seconds` of sound and its journal is on
    // disk, and kills it.
    void recordAndKill(const QString& program, double seconds)
    {
        QProcess run;
        run.setProcessEnvironment(environment());
        run.start(program, {"-q:s:44100", "-c:10:00", fileOption("never.wav")});
        ASSERT_TRUE(run.waitForStarted());
        const bool recorded =
            waitFor([&] { return heldBytes() >= seconds * 176400 && journalWritten(); },
                    std::chrono::seconds(60));
        run.kill();
        run.waitForFinished();
        ASSERT_TRUE(recorded) << run.readAllStandardError().toStdString();
    }

    // Runs "--recover" to the end; its exit code.
    int recover(const QString& program, const std::string& name)
    {
        QProcess run;
        run.setProcessEnvironment(environment());
        run.start(program, {"--recover", fileOption(name)});
        const bool ended = run.waitForFinished(60000);
        errors = run.readAllStandardError().toStdString();
        return ended && run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
    }

    // The sound the block files hold, in whole frames.
    std::int64_t heldBytes() const
    {
        std::int64_t bytes = 0;
        for (const auto& file : sessionFiles(".tmp")) {
            std::error_code error;
            bytes += static_cast<std::int64_t>(std::filesystem::file_size(file, error)) / 4 * 4;
        }
        return bytes;
    }

    // The data chunk of a WAV file.
    static std::vector<std::uint8_t> soundOf(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        const std::string text(bytes.begin(), bytes.end());
        const std::size_t data = text.find("data");
        if (data == std::string::npos || data + 8 > bytes.size()) {
            return {};
        }
        return {bytes.begin() + static_cast<std::ptrdiff_t>(data + 8), bytes.end()};
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TMPDIR", QString::fromStdString(temporary.path().string()));
        environment.insert("PULSE_SOURCE", "sine");
        return environment;
    }

    QString fileOption(const std::string& name) const
    {
        return QString::fromStdString("-f:" + (target.path() / name).string());
    }

    bool journalWritten() const { return !sessionFiles(".txt").empty(); }

    std::vector<std::filesystem::path> sessionFiles(const std::string& extension) const
    {
        std::vector<std::filesystem::path> found;
        std::error_code error;
        for (std::filesystem::recursive_directory_iterator it(temporary.path(), error), end;
             !error && it != end; it.increment(error)) {
            if (it->path().extension() == extension) {
                found.push_back(it->path());
            }
        }
        return found;
    }
};

} // namespace sorvella::test
