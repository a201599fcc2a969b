#pragma once
// Qt's own texts (dialog buttons, the file dialog, system errors Qt words itself)
// in Italian, like the rest of the program, whatever the desktop's language.

namespace sonivo {

// Installs Qt's Italian translations in the application; false when they are not
// installed on this machine.
bool installItalianTranslations();

}  // namespace sonivo
