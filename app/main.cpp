#include "desktop.h"
#include "dialogs.h"
#include "fontmapping.h"
#include "maker.h"
#include "narrexlibrary.h"
#include "program.h"
#include "registry.h"
#include "startupreport.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parlix"));
    QApplication::setApplicationVersion(Maker::Version);
    QApplication::setDesktopFileName(QStringLiteral("example.parlix.Parlix"));
    FontMapping::install();
    // The program speaks Chinese whatever the desktop's language: so do the
    // standard dialogs (files, fonts, printers).
    QTranslator qtTranslations;
    if (qtTranslations.load(
            QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslations);

    QtDialogs qtDialogs;
    Dialogs &dialogs = qtDialogs;
    NarrexLibrary library;
    if (!library.load(QCoreApplication::applicationDirPath())) {
        // The program has no use without its speech engine.
        dialogs.showError(nullptr, library.errorString());
        return 1;
    }
    NarrexEngine engine(library.functions());
    const std::unique_ptr<Registry> registry = Registry::create();
    const std::unique_ptr<Desktop> desktop = Desktop::create();

    Program program({&engine, registry.get(), &dialogs, desktop.get()});
    StartupReport::watch(program.mainForm());
    program.mainForm()->show();
    return app.exec();
}
