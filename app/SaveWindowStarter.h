#pragma once

#include "control/SaveStarter.h"
#include "save/ui/StartSave.h"

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

    void startSave(std::unique_ptr<RingStore>& store, const SaveTarget& target) override;

private:
    SaveWindowServices m_services;
    QWidget* m_parent;
    const Settings& m_settings;
};

} // namespace sorvella
