#include "platform/audio/AlsaErrors.h"

#include <alsa/asoundlib.h>

namespace sorvella {
namespace {

// The failing call's return code says what happened; the line adds nothing
// a user could act on.
void dropAlsaError(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/,
                   const char* /*format*/, ...)
{
}

} // namespace

void routeAlsaErrors()
{
    snd_lib_error_set_handler(&dropAlsaError);
}

} // namespace sorvella
