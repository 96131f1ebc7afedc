// SPDX-License-Identifier: GPL-3.0-or-later
// The about window and the guide: found beside the program, installed in
// share/kalvoria or in the working folder, and built as a readable PDF.
#include "testhilfe.h"

#include "app/programm.h"
#include "pdf/hilfe.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QUrl>

// Receives the files the program hands to the desktop to open.
class Oeffner : public QObject
{
    Q_OBJECT
public:
    QStringList dateien;
public slots:
    void oeffnen(const QUrl &url) { dateien << url.toLocalFile(); }
};

class HilfeTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { QDesktopServices::setUrlHandler("file", &oeffner, "oeffnen"); }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler("file");
        QDir::setCurrent(arbeitsordner);
        if (angelegt)
            QFile::remove(nebenProgramm);
        if (datenAngelegt) {
            // Its parent too, once empty (build/share).
            QDir(datenOrdner).removeRecursively();
            QDir().rmdir(QFileInfo(datenOrdner).absolutePath());
        }
    }

    // Opened twice: it names the program's version, its button closes it,
    // it is gone afterwards and the window stays as it was.
    void ueberFenster()
    {
        Umgebung env;
        auto w = env.starten();
        for (int mal = 0; mal < 2; ++mal) {
            bool offen = true;
            QStringList texte;
            QVERIFY(imFenster([&] { menue(w.get(), "aktionUeber"); },
                              [&](QDialog *d) {
                                  for (QLabel *l : d->findChildren<QLabel *>())
                                      texte << l->text();
                                  klicken(teil<QPushButton>(d, QString()));
                                  offen = d->isVisible();
                              }));
            QVERIFY2(texte.contains("Version " KALVORIA_VERSION), qPrintable(texte.join('|')));
            QVERIFY(!offen);
            QCOMPARE(w->findChildren<QDialog *>().size(), 0);
        }
        if (!aufServer())
            QCOMPARE(w->windowTitle(), "Kalvoria - " + env.standardDatei());
    }

    // The copy beside the program (a build folder) wins over the installed
    // one in share/kalvoria beside the program's folder, which wins over one
    // in the working folder (whose name a URL must escape); with none, a
    // message names the places.
    void hilfeFinden()
    {
        Umgebung env;
        auto w = env.starten();
        const QString ordner = env.basis() + "/Hilfe #1 100% f\u00FCr Pflege";
        const QString imOrdner = ordner + "/Kalvoria.pdf";
        const QString installiert = datenOrdner + "/Kalvoria.pdf";
        QVERIFY2(!QFile::exists(nebenProgramm), "a help file is already beside the test program");
        QVERIFY2(!QFileInfo::exists(datenOrdner), qPrintable(datenOrdner + " exists already"));
        QVERIFY(QDir().mkpath(ordner));
        QVERIFY(QDir::setCurrent(ordner));
        angelegt = true;
        datenAngelegt = QDir().mkpath(datenOrdner);
        QVERIFY(datenAngelegt);
        QCOMPARE(hilfeOrte(), (QStringList{nebenProgramm, installiert, imOrdner}));
        for (const QString &pfad : {nebenProgramm, installiert, imOrdner})
            QVERIFY(QFile(pfad).open(QIODevice::WriteOnly));

        for (const QString &pfad : {nebenProgramm, installiert, imOrdner}) {
            menue(w.get(), "aktionHilfe");
            QVERIFY(QFile::remove(pfad));
        }
        menue(w.get(), "aktionHilfe");
        QCOMPARE(oeffner.dateien, (QStringList{nebenProgramm, installiert, imOrdner}));
        QCOMPARE(env.meldungen.size(), 1);
        const QString meldung = env.meldungen.first();
        QVERIFY2(meldung.contains("nicht gefunden"), qPrintable(meldung));
        QVERIFY2(meldung.contains(QDir::toNativeSeparators(datenOrdner)), qPrintable(meldung));
        QVERIFY2(meldung.contains(QDir::toNativeSeparators(ordner)), qPrintable(meldung));
    }

    // The build puts the guide beside the program: a readable PDF with its
    // chapters and pictures of the program (not icons).
    void gebauteHilfe()
    {
        const QString pdf = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../Kalvoria.pdf");
        QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
        auto ausgabe = [](const QString &programm, const QStringList &argumente) {
            QProcess p;
            p.start(programm, argumente);
            return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput())
                                                                 : QString();
        };
        const QString text = ausgabe("pdftotext", {pdf, "-"});
        for (const char *kapitel : {"Wof\u00FCr Kalvoria da ist", "Verordnungsplan", "Zuordnung bearbeiten",
                                    "Arzttermine", "Medikamentenplan drucken", "Reparieren"})
            QVERIFY2(text.contains(QString::fromUtf8(kapitel)), kapitel);
        // Lines of "page num type width ...".
        int bilder = 0;
        for (const QString &zeile : ausgabe("pdfimages", {"-list", pdf}).split('\n')) {
            const QStringList feld = zeile.simplified().split(' ');
            bilder += feld.size() > 4 && feld.at(2) == "image" && feld.at(3).toInt() >= 100;
        }
        QVERIFY2(bilder >= 8, qPrintable(QString::number(bilder) + " pictures of the program in the guide"));
    }

private:
    Oeffner oeffner;
    const QString arbeitsordner = QDir::currentPath();
    const QString nebenProgramm = QCoreApplication::applicationDirPath() + "/Kalvoria.pdf";
    // Where the installed program keeps its data; for the tests' folder in a build, build/share/kalvoria.
    const QString datenOrdner = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                QStringLiteral("/" KALVORIA_DATEN_RELATIV));
    bool angelegt = false;
    bool datenAngelegt = false;
};

QTEST_MAIN(HilfeTest)
#include "tst_hilfe.moc"
