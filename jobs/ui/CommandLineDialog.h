#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QLineEdit;

namespace sorvella {

// "Sorvella Command Line": the job line as text, for the expert.
class CommandLineDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr std::int32_t kHelpTopic = 178;

    CommandLineDialog(QWidget* parent, const std::string& line,
                      std::function<void(std::int32_t topic)> help);

    std::string line() const;

    // Shows the dialog modally: the edited line, nothing on Cancel.
    static std::optional<std::string> edit(QWidget* parent, const std::string& line,
                                           const std::function<void(std::int32_t topic)>& help);

private:
    QLineEdit* m_options;
};

} // namespace sorvella
