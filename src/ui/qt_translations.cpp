#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "common/language.h"

namespace velorin {

QTranslator* InstallQtTranslations(int uiLanguage, QObject* owner) {
    if (uiLanguage != kUiChinese || QCoreApplication::instance() == nullptr) return nullptr;
    auto* translator = new QTranslator(owner);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

}  // namespace velorin
