#include "qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace velkaran {

bool InstallQtTranslations() {
    auto *Translator = new QTranslator(QCoreApplication::instance());
    if (Translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(Translator))
        return true;
    delete Translator;
    return false;
}

}  // namespace velkaran
