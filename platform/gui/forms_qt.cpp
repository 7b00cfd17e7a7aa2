// Qt's start-up: the application object, made once, and Qt's own texts in
// the system's language.
#include "platform/gui/qtbridge.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>
#include <memory>

namespace gui_detail {

namespace {
// Made on first need and kept to the end of the process: destroying it from
// an exit handler, after other statics are gone, is not safe.
QApplication* gQtApp = nullptr;
int gArgc = 1;
char gArg0[] = "moltren";
char* gArgv[] = {gArg0, nullptr};
} // namespace

bool Headless() {
    return QGuiApplication::platformName() == QLatin1String("offscreen") ||
           QGuiApplication::platformName() == QLatin1String("minimal");
}

void EnsureQtApplication() {
    if (QCoreApplication::instance()) return;
    gQtApp = new QApplication(gArgc, gArgv);
    // Qt sets every category of the C locale from the environment. C
    // libraries (the workbook writer among them) format numbers with printf,
    // and file formats want dots: numbers stay "C" for the whole process, and
    // the locale's own number settings are read apart from it.
    std::setlocale(LC_NUMERIC, "C");
    // The program's windows speak the system's language; Qt's buttons and
    // dialogs inside them must too.
    InstallQtTranslations(QLocale::system());
}

void InstallQtTranslations(const QLocale& Locale) {
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(Locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(translator.get());
    installed = translator.release();
}

} // namespace gui_detail
