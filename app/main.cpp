#include "app/mainwindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // The layout is in fixed pixels; scaling keeps it readable on dense screens.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    // Qt's own dialogs and buttons ("Ja", "Nein", "Abbrechen") in German.
    QTranslator qtDeutsch;
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    const QString uebersetzungen = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#else
    const QString uebersetzungen = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
    if (qtDeutsch.load(QStringLiteral("qtbase_de"), uebersetzungen))
        QApplication::installTranslator(&qtDeutsch);

    int ergebnis = 0;
    {
        MainWindow fenster;
        fenster.show();
        ergebnis = QApplication::exec();
    }
    return ergebnis;
}
