// SPDX-License-Identifier: GPL-3.0-or-later
#include "testhilfe.h"

#include "app/programm.h"
#include "pdf/hilfe.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
        if (datenAngelegt) {
            // Its parent too, once empty (build/share).
            QDir(datenOrdner).removeRecursively();
            QDir().rmdir(QFileInfo(datenOrdner).absolutePath());
        }
    }

    // Opened twice: each time it is gone afterwards and the window stays as it was.
    void ueberFenster()
    {
        Umgebung env;
        auto w = env.starten();
        for (int mal = 0; mal < 2; ++mal) {
            QStringList texte;
            bool offenGeblieben = false;
            beiDialog([&](QDialog *d) {
                for (QLabel *l : d->findChildren<QLabel *>())
                    texte << l->text();
                klicken(teil<QPushButton>(d, QString()));
                // Closed here when its button failed, so that the test cannot hang.
                if ((offenGeblieben = d->isVisible()))
                    d->reject();
            });
            teil<QAction>(w.get(), QStringLiteral("aktionUeber"))->trigger();
            const QString alle = texte.join(QLatin1Char('|'));
            QVERIFY2(alle.startsWith(QStringLiteral("Version " KALVORIA_VERSION "|Kalvoria ist kostenlos.")) &&
                         alle.endsWith(QStringLiteral("in the web.|by|TIRVA|kesh")),
                     qPrintable(alle));
            QVERIFY(!offenGeblieben);
            QCOMPARE(w->findChildren<QDialog *>().size(), 0);
        }
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + env.standardDatei());
    }

    // The copy beside the program (a build folder) wins over the installed
    // one in share/kalvoria beside the program's folder, which wins over one in
    // the working folder (whose name a URL must escape); with none, a message
    // names the three places.
    void hilfeFinden()
    {
        Umgebung env;
        auto w = env.starten();
        const QString ordner = env.basis() + QStringLiteral("/Hilfe #1 100% f\u00FCr Pflege");
        const QString imOrdner = ordner + QStringLiteral("/Kalvoria.pdf");
        const QString installiert = datenOrdner + QStringLiteral("/Kalvoria.pdf");
        QVERIFY2(!QFile::exists(nebenProgramm), "a help file is already beside the test program");
        QVERIFY2(!QFileInfo::exists(datenOrdner), qPrintable(datenOrdner + QStringLiteral(" exists already")));
        QVERIFY(QDir().mkpath(ordner) && QDir::setCurrent(ordner));
        angelegt = true;
        datenAngelegt = QDir().mkpath(datenOrdner);
        QVERIFY(datenAngelegt);
        QCOMPARE(hilfeOrte(), (QStringList{nebenProgramm, installiert, imOrdner}));
        for (const QString &pfad : {nebenProgramm, installiert, imOrdner})
            QVERIFY(QFile(pfad).open(QIODevice::WriteOnly));
        auto *hilfe = teil<QAction>(w.get(), QStringLiteral("aktionHilfe"));

        for (const QString &pfad : {nebenProgramm, installiert, imOrdner}) {
            hilfe->trigger();
            QVERIFY(QFile::remove(pfad));
        }
        hilfe->trigger();
        QCOMPARE(oeffner.dateien, (QStringList{nebenProgramm, installiert, imOrdner}));
        QCOMPARE(env.meldungen.size(), 1);
        for (const QString &ort : {QStringLiteral("nicht gefunden"), QDir::toNativeSeparators(datenOrdner),
                                   QDir::toNativeSeparators(ordner)})
            QVERIFY2(env.meldungen.first().contains(ort), qPrintable(env.meldungen.first()));
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
    // Where the installed program keeps its data; for the tests' folder in a build, build/share/kalvoria.
    const QString datenOrdner = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                QStringLiteral("/" KALVORIA_DATEN_RELATIV));
    bool angelegt = false;
    bool datenAngelegt = false;
};

QTEST_MAIN(HilfeTest)
#include "tst_hilfe.moc"
