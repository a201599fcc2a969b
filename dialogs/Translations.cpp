#include "dialogs/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sonivo {
namespace {

// The texts of Qt's file dialog that Qt's Italian catalogue lacks: the type
// column of a folder or a drive.
class MissingQtTexts final : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        if (qstrcmp(source, "Folder") == 0 || qstrcmp(source, "File Folder") == 0)
            return QStringLiteral("Cartella");
        if (qstrcmp(source, "Drive") == 0)
            return QStringLiteral("Unità");
        return {};
    }
};

}  // namespace

bool installItalianTranslations()
{
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (!qt->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    // Installed last, so asked first.
    return QCoreApplication::installTranslator(qt) && QCoreApplication::installTranslator(new MissingQtTexts(QCoreApplication::instance()));
}

}  // namespace sonivo
