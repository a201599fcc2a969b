#include "platform/DesktopIntegration.h"

#include "common/ErrorText.h"
#include "platform/DesktopEntry.h"
#include "platform/MimeAppsList.h"
#include "platform/MimeInfoXml.h"
#include "platform/RegistryEntries.h"
#include "platform/ReplacingFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace sonivo {
namespace {

const QString kListOpenerId = QStringLiteral("sonivo-list.desktop");

// Writes the whole file or leaves what was there; "" or what failed.
QString writeFile(const QString& path, QByteArrayView bytes)
{
    ReplacingFile file;
    if (file.open(path) && file.write(bytes) && file.commit())
        return {};
    return QStringLiteral("Impossibile scrivere il file %1: %2.").arg(path, errorText(file.error()));
}

// The file holds exactly these bytes; a missing or unreadable one does not.
bool holds(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

// Writes the file unless it holds the bytes already; wrote is set when it tried.
QString writeIfDifferent(const QString& path, QByteArrayView bytes, bool& wrote)
{
    if (holds(path, bytes))
        return {};
    wrote = true;
    return writeFile(path, bytes);
}

QString storeFailure(const RegistryEntries& entries)
{
    return QStringLiteral("Impossibile scrivere il file %1: %2.").arg(entries.file(), entries.error());
}

// The icon installed beside the program (prefix/share/icons/...), else the theme's.
QString installedIcon(const QString& program)
{
    const QString svg = QFileInfo(program).absolutePath() + QStringLiteral("/../share/icons/hicolor/scalable/apps/sonivo.svg");
    return QFileInfo::exists(svg) ? QFileInfo(svg).canonicalFilePath() : QStringLiteral("sonivo");
}

}  // namespace

DesktopSetup DesktopSetup::forThisProgram(const QString& registryFile)
{
    const QString program = QCoreApplication::applicationFilePath();
    return {DesktopFolders::fromEnvironment(), program, installedIcon(program), registryFile, installedToolRunner()};
}

DesktopIntegration::DesktopIntegration(DesktopSetup setup) : setup_(std::move(setup)) {}

QString DesktopIntegration::mimeInfoFile() const
{
    return setup_.folders.dataHome + QStringLiteral("/mime/packages/sonivo-list.xml");
}

QString DesktopIntegration::listOpenerFile() const
{
    return setup_.folders.dataHome + QStringLiteral("/applications/") + kListOpenerId;
}

QString DesktopIntegration::mimeAppsFile() const
{
    return setup_.folders.configHome + QStringLiteral("/mimeapps.list");
}

QString DesktopIntegration::menuLauncherFile() const
{
    return setup_.folders.dataHome + QStringLiteral("/applications/sonivo-menu.desktop");
}

QString DesktopIntegration::desktopLauncherFile() const
{
    return setup_.folders.desktop + QStringLiteral("/Sonivo.desktop");
}

bool DesktopIntegration::isOn(DesktopOption option) const
{
    switch (option) {
    case DesktopOption::Association:
        return associated();
    case DesktopOption::DesktopLauncher:
        return QFileInfo(desktopLauncherFile()).isFile();
    case DesktopOption::MenuLauncher:
        return QFileInfo(menuLauncherFile()).isFile();
    case DesktopOption::StartMaximized:
        return RegistryEntries(setup_.registryFile).startMaximized();
    case DesktopOption::ReadId3v2:
        return RegistryEntries(setup_.registryFile).readsId3v2();
    }
    return false;
}

QString DesktopIntegration::set(DesktopOption option, bool on)
{
    switch (option) {
    case DesktopOption::Association:
        return on ? associate() : removeAssociation();
    case DesktopOption::DesktopLauncher:
        return on ? createLauncher(desktopLauncherFile()) : removeFile(desktopLauncherFile());
    case DesktopOption::MenuLauncher:
        return on ? createLauncher(menuLauncherFile()) : removeFile(menuLauncherFile());
    case DesktopOption::StartMaximized: {
        RegistryEntries entries(setup_.registryFile);
        return entries.setStartMaximized(on) ? QString() : storeFailure(entries);
    }
    case DesktopOption::ReadId3v2: {
        RegistryEntries entries(setup_.registryFile);
        return entries.setReadsId3v2(on) ? QString() : storeFailure(entries);
    }
    }
    return {};
}

QString DesktopIntegration::refresh()
{
    QStringList errors;
    if (associated()) {
        bool wrote = false;
        errors << writeAssociationParts(&wrote);
        if (wrote)
            refreshCaches();
    }
    for (const QString& file : {desktopLauncherFile(), menuLauncherFile()}) {
        if (QFileInfo(file).isFile() && !launcherIsCurrent(file))
            errors << createLauncher(file);
    }
    // Start maximized is one value, which is what turning it on writes.
    errors.removeAll(QString());
    return errors.join(QLatin1Char('\n'));
}

bool DesktopIntegration::associated() const
{
    return RegistryEntries(setup_.registryFile).associationPresent() && QFileInfo(mimeInfoFile()).isFile()
        && QFileInfo(listOpenerFile()).isFile()
        && MimeAppsList::load(mimeAppsFile()).defaultApplication(QLatin1String(kListMimeType)) == kListOpenerId;
}

QString DesktopIntegration::associate()
{
    MimeAppsList apps = MimeAppsList::load(mimeAppsFile());
    if (apps.unreadable())
        return QStringLiteral("Impossibile leggere il file %1: %2.").arg(mimeAppsFile(), apps.error());
    apps.setDefaultApplication(QLatin1String(kListMimeType), kListOpenerId);

    QString error = writeAssociationParts();
    if (error.isEmpty())
        error = writeFile(mimeAppsFile(), apps.text());
    if (!error.isEmpty()) {
        removeAssociation();
        return error + QStringLiteral(" L'associazione non è stata fatta.");
    }
    refreshCaches();
    return {};
}

QString DesktopIntegration::writeAssociationParts(bool* wrote)
{
    const QByteArray opener = listOpenerText();
    if (opener.isEmpty())
        return unwritableProgram();
    bool tried = false;
    QString error;
    RegistryEntries entries(setup_.registryFile);
    if (!entries.holdsAssociation(setup_.program)) {
        tried = true;
        if (!entries.writeAssociation(setup_.program))
            error = storeFailure(entries);
    }
    if (error.isEmpty())
        error = writeIfDifferent(mimeInfoFile(), kMimeInfoXml, tried);
    if (error.isEmpty())
        error = writeIfDifferent(listOpenerFile(), opener, tried);
    if (wrote)
        *wrote = tried;
    return error;
}

QString DesktopIntegration::removeAssociation()
{
    QStringList errors;
    MimeAppsList apps = MimeAppsList::load(mimeAppsFile());
    if (apps.unreadable()) {
        errors << QStringLiteral("Impossibile leggere il file %1: %2.").arg(mimeAppsFile(), apps.error());
    } else {
        const QByteArray before = apps.text();
        apps.removeApplication(QLatin1String(kListMimeType), kListOpenerId);
        // A file left blank goes; a link stays, and the file it names is written.
        if (apps.isBlank() && QFile::exists(mimeAppsFile()) && !QFileInfo(mimeAppsFile()).isSymLink())
            errors << removeFile(mimeAppsFile());
        else if (apps.text() != before)
            errors << writeFile(mimeAppsFile(), apps.text());
    }
    errors << removeFile(listOpenerFile()) << removeFile(mimeInfoFile());
    // Folders made for the MIME type alone go with it.
    QDir().rmdir(QFileInfo(mimeInfoFile()).absolutePath());
    QDir().rmdir(setup_.folders.dataHome + QStringLiteral("/mime"));
    RegistryEntries entries(setup_.registryFile);
    if (!entries.removeAssociation())
        errors << storeFailure(entries);
    refreshCaches();
    errors.removeAll(QString());
    return errors.join(QLatin1Char('\n'));
}

QByteArray DesktopIntegration::listOpenerText() const
{
    return desktopEntryText({setup_.program, setup_.icon, true, true});
}

QByteArray DesktopIntegration::launcherText() const
{
    return desktopEntryText({setup_.program, setup_.icon, false, false});
}

QString DesktopIntegration::unwritableProgram() const
{
    return QStringLiteral("Il percorso del programma %1 non può essere scritto in una voce del desktop.").arg(setup_.program);
}

bool DesktopIntegration::launcherIsCurrent(const QString& file) const
{
    return holds(file, launcherText()) && QFileInfo(file).isExecutable();
}

QString DesktopIntegration::createLauncher(const QString& file)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (file == desktopLauncherFile() && !QFileInfo(folder).isDir())
        return QStringLiteral("La cartella del desktop %1 non esiste: il collegamento non è stato creato.").arg(folder);
    const QByteArray text = launcherText();
    if (text.isEmpty())
        return unwritableProgram();
    if (QString error = writeFile(file, text); !error.isEmpty())
        return error;
    // A launcher runs only when it is executable (and, for some desktops, trusted).
    QFile launcher(file);
    if (!launcher.setPermissions(launcher.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther)) {
        const QString error = QStringLiteral("Impossibile rendere eseguibile il file %1: %2.").arg(file, errorText(launcher.errorString()));
        launcher.remove();
        return error;
    }
    if (file == desktopLauncherFile())
        setup_.runTool(QStringLiteral("gio"), {QStringLiteral("set"), file, QStringLiteral("metadata::trusted"), QStringLiteral("true")});
    return {};
}

QString DesktopIntegration::removeFile(const QString& file) const
{
    QFile f(file);
    if (!QFileInfo(file).isFile() || f.remove())
        return {};
    return QStringLiteral("Impossibile eliminare il file %1: %2.").arg(file, errorText(f.errorString()));
}

void DesktopIntegration::refreshCaches()
{
    const QString mime = setup_.folders.dataHome + QStringLiteral("/mime");
    if (QFileInfo(mime).isDir())
        setup_.runTool(QStringLiteral("update-mime-database"), {mime});
    const QString applications = setup_.folders.dataHome + QStringLiteral("/applications");
    if (QFileInfo(applications).isDir())
        setup_.runTool(QStringLiteral("update-desktop-database"), {applications});
}

}  // namespace sonivo
