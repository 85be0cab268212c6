#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace sorvella {

// "OK", "Cancel" and "&Help" for `dialog`: OK and Cancel end it through its
// accept() and reject(), Help calls `help`.
QWidget* okCancelHelpButtons(QDialog* dialog, std::function<void()> help);

} // namespace sorvella
