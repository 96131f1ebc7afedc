// SPDX-License-Identifier: GPL-3.0-or-later
// The about window and the guide: found beside the program or in the
// working folder, and built as a readable PDF.
#include "testhilfe.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
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
    }

    // Opened twice: its button closes it, it is gone afterwards and the
    // window stays as it was.
    void ueberFenster()
    {
        Umgebung env;
        auto w = env.starten();
        for (int mal = 0; mal < 2; ++mal) {
            bool offen = true;
            QVERIFY(imFenster([&] { menue(w.get(), "aktionUeber"); },
                              [&](QDialog *d) {
                                  klicken(teil<QPushButton>(d, QString()));
                                  offen = d->isVisible();
                              }));
            QVERIFY(!offen);
            QCOMPARE(w->findChildren<QDialog *>().size(), 0);
        }
        QCOMPARE(w->windowTitle(), "Kalvoria - " + env.standardDatei());
    }

    // The copy beside the program wins over one in the working folder (whose
    // name a URL must escape); with neither, a message names the places.
    void hilfeFinden()
    {
        Umgebung env;
        auto w = env.starten();
        const QString ordner = env.basis() + "/Hilfe #1 100% f\u00FCr Pflege";
        const QString imOrdner = ordner + "/Kalvoria.pdf";
        QVERIFY2(!QFile::exists(nebenProgramm), "a help file is already beside the test program");
        QVERIFY(QDir().mkpath(ordner));
        QVERIFY(QDir::setCurrent(ordner));
        angelegt = true;
        for (const QString &pfad : {nebenProgramm, imOrdner})
            QVERIFY(QFile(pfad).open(QIODevice::WriteOnly));

        menue(w.get(), "aktionHilfe");
        QVERIFY(QFile::remove(nebenProgramm));
        menue(w.get(), "aktionHilfe");
        QVERIFY(QFile::remove(imOrdner));
        menue(w.get(), "aktionHilfe");
        QCOMPARE(oeffner.dateien, (QStringList{nebenProgramm, imOrdner}));
        QCOMPARE(env.meldungen.size(), 1);
        const QString meldung = env.meldungen.first();
        QVERIFY2(meldung.contains("Kalvoria.pdf"), qPrintable(meldung));
        QVERIFY2(meldung.contains("nicht gefunden"), qPrintable(meldung));
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
    bool angelegt = false;
};

QTEST_MAIN(HilfeTest)
#include "tst_hilfe.moc"
