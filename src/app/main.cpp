// The drill program's entry: no command-line arguments are read.

#include "app/application.h"
#include "app/program.h"
#include "sound/system_sound_device.h"

#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    warizan::Application app(argc, argv);
    // Message boxes get Japanese buttons.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    const QString programFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    warizan::Program program(warizan::createSystemSoundDevice(), programFolder);
    return program.run();
}
