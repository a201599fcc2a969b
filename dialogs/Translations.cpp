#include "dialogs/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sonivo {

bool installItalianTranslations()
{
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (!qt->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}

}  // namespace sonivo
