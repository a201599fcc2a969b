#pragma once
// Sizes given in twips (1/1440 inch), as the windows and dialogs are laid out.

namespace sonivo {

// Twips per pixel of a screen with that many dots per inch: 15 at 96.
int twipsPerPixel(double logicalDpi);

}  // namespace sonivo
