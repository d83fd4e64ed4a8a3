// Any bytes at all as "orva.set": decoding never fails, and a decoded pair
// written back decodes to itself.
#include "panel/settings_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace orvanta::panel;
    const SavedSettings settings
        = decodeSettings(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!(decodeSettings(encodeSettings(settings)) == settings))
        std::abort();
    return 0;
}
