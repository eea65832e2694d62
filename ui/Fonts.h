#pragma once

#include <QFont>

namespace orbeta {

// The typefaces the windows are designed in, each followed by the free font that takes its
// place where it is not installed.
QFont SansSerifFont(int pointSize);      // "MS Sans Serif", else Liberation Sans
QFont SerifFont(int pointSize);          // "Times New Roman", else Liberation Serif
QFont ScriptCapitalsFont(int pointSize); // "Matura MT Script Capitals", else URW's Z003
// The font of the print dialogs, "System" 13 pixels high, in the sans-serif face above.
QFont SystemFont();

} // namespace orbeta
