// SPDX-License-Identifier: GPL-3.0-or-later
#include "testhilfe.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
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
    void init() { QDesktopServices::setUrlHandler(QStringLiteral("file"), &oeffner, "oeffnen"); }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDir::setCurrent(arbeitsordner);
        if (angelegt)
            QFile::remove(nebenProgramm);
    }

    // Opened twice: each time it is gone afterwards and the window stays as it was.
    void ueberFenster()
    {
        Umgebung env;
        auto w = env.starten();
        for (int mal = 0; mal < 2; ++mal) {
            QStringList texte;
            bool offenGeblieben = false;
            QVERIFY(imFenster([&] { menue(w.get(), QStringLiteral("aktionUeber")); },
                              [&](QDialog *d) {
                                  for (QLabel *l : d->findChildren<QLabel *>())
                                      texte << l->text();
                                  klicken(teil<QPushButton>(d, QString()));
                                  // Closed here when its button failed, so that the test cannot hang.
                                  if ((offenGeblieben = d->isVisible()))
                                      d->reject();
                              }));
            const QString alle = texte.join(QLatin1Char('|'));
            QVERIFY2(alle.startsWith(QStringLiteral("Version 2017_06_12_3|Kalvoria ist kostenlos.")) &&
                         alle.endsWith(QStringLiteral("in the web.|by|TIRVA|kesh")),
                     qPrintable(alle));
            QVERIFY(!offenGeblieben);
            QCOMPARE(w->findChildren<QDialog *>().size(), 0);
        }
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + env.standardDatei());
    }

    // The copy beside the program wins over one in the working folder (whose
    // name a URL must escape); with neither, a message names the places.
    void hilfeFinden()
    {
        Umgebung env;
        auto w = env.starten();
        const QString ordner = env.basis() + QStringLiteral("/Hilfe #1 100% f\u00FCr Pflege");
        const QString imOrdner = ordner + QStringLiteral("/Kalvoria.pdf");
        QVERIFY2(!QFile::exists(nebenProgramm), "a help file is already beside the test program");
        QVERIFY(QDir().mkpath(ordner) && QDir::setCurrent(ordner));
        angelegt = true;
        for (const QString &pfad : {nebenProgramm, imOrdner})
            QVERIFY(QFile(pfad).open(QIODevice::WriteOnly));
        auto *hilfe = teil<QAction>(w.get(), QStringLiteral("aktionHilfe"));

        hilfe->trigger();
        QVERIFY(QFile::remove(nebenProgramm));
        hilfe->trigger();
        QVERIFY(QFile::remove(imOrdner));
        hilfe->trigger();
        QCOMPARE(oeffner.dateien, (QStringList{nebenProgramm, imOrdner}));
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY2(env.meldungen.first().contains(QStringLiteral("Kalvoria.pdf")) &&
                     env.meldungen.first().contains(QStringLiteral("nicht gefunden")) &&
                     env.meldungen.first().contains(QDir::toNativeSeparators(ordner)),
                 qPrintable(env.meldungen.first()));
    }

    // The build puts the guide beside the program: a readable PDF with its
    // chapters and pictures of the program (not icons).
    void gebauteHilfe()
    {
        const QString pdf = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                            QStringLiteral("/../Kalvoria.pdf"));
        QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
        auto ausgabe = [](const QString &programm, const QStringList &argumente) {
            QProcess p;
            p.start(programm, argumente);
            return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput())
                                                                 : QString();
        };
        const QString text = ausgabe(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        for (const QString &kapitel : QStringLiteral("Wof\u00FCr Kalvoria da ist|Verordnungsplan|Zuordnung bearbeiten|"
                                                     "Arzttermine|Medikamentenplan drucken|Reparieren")
                                          .split('|'))
            QVERIFY2(text.contains(kapitel), qPrintable(kapitel));
        // Lines of "page num type width ...".
        int bilder = 0;
        for (const QString &zeile : ausgabe(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split('\n')) {
            const QStringList feld = zeile.simplified().split(QLatin1Char(' '));
            bilder += feld.size() > 4 && feld.at(2) == QLatin1String("image") && feld.at(3).toInt() >= 100;
        }
        QVERIFY2(bilder >= 8, "fewer than eight pictures in the guide");
    }

private:
    Oeffner oeffner;
    const QString arbeitsordner = QDir::currentPath();
    const QString nebenProgramm = QCoreApplication::applicationDirPath() + QStringLiteral("/Kalvoria.pdf");
    bool angelegt = false;
};

QTEST_MAIN(HilfeTest)
#include "tst_hilfe.moc"
