// The pictures on the options dialog's page buttons (20 x 20 at 100 %) and on OK (16 x 16),
// drawn on the button face at the scale (dots per inch) of the dialog's screen.
#pragma once

#include <cstdint>

#include "platform/Bitmap.h"

namespace vd::options {

Bitmap IconGeneral(uint32_t face, int dpi);
Bitmap IconDesktops(uint32_t face, int dpi);
Bitmap IconPanic(uint32_t face, int dpi);
Bitmap IconAppearance(uint32_t face, int dpi);
Bitmap IconKeys(uint32_t face, int dpi);
Bitmap IconConfirm(uint32_t face, int dpi);

}  // namespace vd::options
