// Qt's own texts (standard buttons, the file, print and colour dialogs) in the interface
// language, so that a Chinese interface has no English "OK" or "Open". Debian ships them in
// qt6-translations-l10n; without that package Qt's English texts stay and nothing fails.
// GUI thread only.
#pragma once

class QObject;
class QTranslator;

namespace velorin {

// Installs Qt's translation for `uiLanguage` (kUiChinese; English needs none). The translator
// is a child of `owner` and leaves the application with it. Null when none was installed.
QTranslator* InstallQtTranslations(int uiLanguage, QObject* owner);

}  // namespace velorin
