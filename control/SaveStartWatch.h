#pragma once

#include "control/SaveStarter.h"

#include <optional>
#include <string>

namespace sorvella {

// Passes the main window's saves on and remembers how the last one since
// forget() went: the file it started, or why it could not start. A caller
// outside the window learns so what a command it ran has saved. Main thread.
class SaveStartWatch : public SaveStarter {
public:
    explicit SaveStartWatch(SaveStarter& saves) : m_saves(saves) {}

    void startSave(std::unique_ptr<RingStore>& store, const SaveTarget& target,
                   const BlockFilter* filter) override;

    void forget();
    // The target name of the last save that started; nothing when none did.
    const std::optional<std::string>& started() const { return m_started; }
    // The message of the last start that was refused; empty when none was.
    const std::string& refusal() const { return m_refusal; }

private:
    SaveStarter& m_saves;
    std::optional<std::string> m_started;
    std::string m_refusal;
};

} // namespace sorvella
