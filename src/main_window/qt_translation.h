#pragma once

class QCoreApplication;

namespace numbrook {

// Loads Qt's own Simplified Chinese texts (message-box buttons, the text
// fields' context menu) from Qt's translations folder, so that nothing in a
// Chinese window reads in English. False when the translation is not
// installed (Debian's qt6-translations-l10n); Qt's English texts remain.
bool InstallQtChineseTranslation(QCoreApplication& application);

}  // namespace numbrook
