// The pictures on the options dialog's page buttons (20 x 20) and on OK (16 x 16), drawn on
// the button face.
#pragma once

#include <cstdint>

#include "platform/Bitmap.h"

namespace vd::options {

Bitmap IconGeneral(uint32_t face);
Bitmap IconDesktops(uint32_t face);
Bitmap IconPanic(uint32_t face);
Bitmap IconAppearance(uint32_t face);
Bitmap IconConfirm(uint32_t face);

}  // namespace vd::options
