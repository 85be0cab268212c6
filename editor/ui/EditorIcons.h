#pragma once

#include <QIcon>

namespace sorvella {

// An icon of the editor's buttons by its file name ("play" for
// icons/play.svg), compiled into this library.
QIcon editorIcon(const char* name);

} // namespace sorvella
