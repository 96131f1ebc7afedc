// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: a database file to open, --version and --help.
#include "testhilfe.h"

#include "app/befehlszeile.h"
#include "app/programm.h"

#include <QAction>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTableWidget>
#include <QTest>

namespace {

// Runs the built program (beside the tests' folder) without any display.
QString programmAusgabe(const QStringList &argumente, int *ende = nullptr)
{
    QProcess p;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        umgebung.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(umgebung);
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../kalvoria"), argumente);
    const bool fertig = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    if (ende)
        *ende = fertig ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Parses "kalvoria <argumente>" and applies it to the started window.
void aufrufen(MainWindow &w, const QStringList &argumente)
{
    Befehlszeile befehlszeile;
    QVERIFY(befehlszeile.parser.parse(QStringList{QStringLiteral("kalvoria")} + argumente));
    befehlszeile.anwenden(w);
}

} // namespace

class BefehlszeileTest : public QObject
{
    Q_OBJECT
private slots:
    // The named file is the one in use, shown and remembered, as after
    // "mit vorhandener Datenbank verbinden".
    void dateiWirdGeoeffnet()
    {
        Umgebung env;
        const QString pfad = env.basis() + QStringLiteral("/Praxis Brandt/pflege.db");
        env.datenbankAnlegen(pfad);
        Datei::ausfuehren(pfad, QStringLiteral("INSERT INTO patient (firstname, lastname) VALUES ('Erika', 'Muster')"));
        auto w = env.starten();
        aufrufen(*w, {pfad});
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + pfad);
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl")), 1),
                 QStringList{QStringLiteral("Muster")});
        QCOMPARE(QSettings(env.konfiguration(), QSettings::IniFormat).value(QStringLiteral("pfade/letzteDatei")),
                 QVariant(pfad));
        QCOMPARE(env.meldungen, QStringList());
    }

    // A missing or foreign file gets the message the menu entry gives, and
    // the file in use stays.
    void falscheDateiWieImMenue_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"fehlt.db", "fremd.db"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void falscheDateiWieImMenue()
    {
        QFETCH(QString, name);
        Umgebung env;
        const QString pfad = env.basis() + QLatin1Char('/') + name;
        if (name == QLatin1String("fremd.db"))
            Datei::ausfuehren(pfad, QStringLiteral("CREATE TABLE kunden (id INTEGER)"));
        auto w = env.starten();
        env.dateiAntworten << pfad;
        teil<QAction>(w.get(), QStringLiteral("aktionDbOeffnen"))->trigger();
        aufrufen(*w, {pfad});
        QCOMPARE(env.meldungen.size(), 2);
        QVERIFY2(env.meldungen.at(0).contains(pfad), qPrintable(env.meldungen.at(0)));
        QCOMPARE(env.meldungen.at(1), env.meldungen.at(0));
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + env.standardDatei());
    }

    // Answered without a display; the version is the project's.
    void versionUndHilfe()
    {
        int ende = -1;
        QCOMPARE(programmAusgabe({QStringLiteral("--version")}, &ende),
                 QStringLiteral("kalvoria " KALVORIA_VERSION "\n"));
        QCOMPARE(ende, 0);
        const QString hilfe = programmAusgabe({QStringLiteral("--help")}, &ende);
        QCOMPARE(ende, 0);
        for (const QString &teilText :
             {QStringLiteral("--version"), QStringLiteral("[datei]"), QStringLiteral("Anleitung: ")})
            QVERIFY2(hilfe.contains(teilText), qPrintable(hilfe));
        QVERIFY2(!hilfe.contains(QStringLiteral("beenden-nach-start")), qPrintable(hilfe));
    }

    // Only --help and --version are answered without a window; Qt's own
    // options (taken out by the application object later) are no reason.
    void nurAuskunft()
    {
        const QString k = QStringLiteral("kalvoria");
        QVERIFY(Befehlszeile::nurAuskunft({k, QStringLiteral("--version")}));
        QVERIFY(Befehlszeile::nurAuskunft({k, QStringLiteral("-h")}));
        QVERIFY(Befehlszeile::nurAuskunft({k, QStringLiteral("a.db"), QStringLiteral("-v")}));
        QVERIFY(!Befehlszeile::nurAuskunft({k}));
        QVERIFY(!Befehlszeile::nurAuskunft({k, QStringLiteral("a.db")}));
        QVERIFY(!Befehlszeile::nurAuskunft({k, QStringLiteral("--beenden-nach-start"), QStringLiteral("a.db")}));
        QVERIFY(!Befehlszeile::nurAuskunft({k, QStringLiteral("-reverse"), QStringLiteral("-platform"),
                                            QStringLiteral("offscreen"), QStringLiteral("a.db")}));
    }
};

QTEST_MAIN(BefehlszeileTest)
#include "tst_befehlszeile.moc"
