#pragma once

#include "platform/settings/JobStore.h"

#include <QString>

namespace sorvella {

// The job lines in the INI file "System Agent.conf" beside the program's
// settings file: group "Set<n>", value "Setting". The file is opened for
// each call, so that a line changed by another instance is seen, and it is
// written only by writeLine.
class QSettingsJobStore final : public JobStore {
public:
    QSettingsJobStore();

    std::string readLine(std::int32_t job) const override;
    void writeLine(std::int32_t job, const std::string& line) override;

private:
    QString m_path;
};

} // namespace sorvella
