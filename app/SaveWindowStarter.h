#pragma once

#include "control/SaveStarter.h"
#include "save/ui/StartSave.h"

#include <functional>

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

    // Called on the main thread for every save that ends with a failure.
    void onFailure(std::function<void()> failed) { m_failed = std::move(failed); }

private:
    SaveWindowServices m_services;
    QWidget* m_parent;
    const Settings& m_settings;
    std::function<void()> m_failed;
};

} // namespace sorvella
