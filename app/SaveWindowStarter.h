#pragma once

#include "control/SaveStarter.h"
#include "save/ui/StartSave.h"

#include <functional>
#include <string>

class QWidget;

namespace sorvella {

struct Settings;

// The main window's saves: each behind its "Saving..." window over `parent`,
// at the save priority of the current timing profile.
class SaveWindowStarter : public SaveStarter {
public:
    SaveWindowStarter(const SaveWindowServices& services, QWidget* parent, const Settings& settings)
        : m_services(services), m_parent(parent), m_settings(settings)
    {
    }

    void startSave(std::unique_ptr<RingStore>& store, const SaveTarget& target,
                   const BlockFilter* filter) override;

    // Called on the main thread for every save that ends: its target name
    // and whether it succeeded.
    using EndHandler = std::function<void(const std::string& file, bool ok)>;
    void onEnd(EndHandler ended) { m_ended = std::move(ended); }

private:
    SaveWindowServices m_services;
    QWidget* m_parent;
    const Settings& m_settings;
    EndHandler m_ended;
};

} // namespace sorvella
