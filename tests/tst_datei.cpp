// SPDX-License-Identifier: GPL-3.0-or-later
// Copying, moving and opening database files; the repair window.
#include "testhilfe.h"

#include "maintenance/dateipflege.h"
#include "storage/datenbankzugriff.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {

QByteArray inhalt(const QString &pfad)
{
    QFile f(pfad);
    return !pfad.isEmpty() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString letzteDatei(Umgebung &env)
{
    return QSettings(env.konfiguration(), QSettings::IniFormat).value(QStringLiteral("pfade/letzteDatei")).toString();
}

// A Kalvoria file holding one patient per name.
void anlegen(Umgebung &env, const QString &pfad, const QStringList &patienten)
{
    env.datenbankAnlegen(pfad);
    for (const QString &name : patienten)
        Datei::ausfuehren(pfad, QStringLiteral("INSERT INTO patient (firstname, lastname) VALUES ('Erika', ?)"),
                          {name});
}

QString namen(const QString &pfad)
{
    return Datei::wert(pfad, QStringLiteral("SELECT group_concat(lastname, '|') FROM (SELECT lastname FROM patient "
                                            "ORDER BY id)"))
        .toString();
}

// A change made the way every command makes it: through the window's own
// connection to the file in use.
void programmAendert(MainWindow &w, const QString &name)
{
    DbSitzung db(w);
    QVERIFY(db.aendern(QStringLiteral("INSERT INTO patient (firstname, lastname) VALUES ('Max', :n)"),
                       {{QStringLiteral(":n"), name}}));
}

} // namespace

class DateiTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { Dateipflege::entfernen = nullptr; }

    // The new file is the one in use from now on; ".db" is added so that the
    // open dialog finds it again. An old file that cannot be deleted stays,
    // and a message says so and why. Opening a kept old file goes back to it.
    void kopierenVerschiebenVerbinden_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<bool>("loeschbar");
        QTest::newRow("kopieren") << "aktionDbKopieren" << true;
        QTest::newRow("verschieben") << "aktionDbVerschieben" << true;
        QTest::newRow("verschieben, alte Datei bleibt") << "aktionDbVerschieben" << false;
    }
    void kopierenVerschiebenVerbinden()
    {
        QFETCH(QString, aktion);
        QFETCH(bool, loeschbar);
        Umgebung env;
        const QString alt = env.standardDatei();
        anlegen(env, alt, {QStringLiteral("Muster")});
        const QByteArray vorher = inhalt(alt);
        auto w = env.starten();
        if (!loeschbar)
            Dateipflege::entfernen = [](const QString &, QString *fehler) {
                *fehler = QStringLiteral("Zugriff verweigert");
                return false;
            };
        QVERIFY(QDir().mkpath(env.basis() + QStringLiteral("/Sicherung 2026")));
        const QString neu = env.basis() + QStringLiteral("/Sicherung 2026/M\u00FCller #1.db");
        env.dateiAntworten << neu.chopped(3);
        teil<QAction>(w.get(), aktion)->trigger();

        QCOMPARE(inhalt(neu), vorher);
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + neu);
        QCOMPARE(letzteDatei(env), neu);
        programmAendert(*w, QStringLiteral("Danach"));
        QCOMPARE(namen(neu), QStringLiteral("Muster|Danach"));
        const bool bleibt = aktion == QLatin1String("aktionDbKopieren") || !loeschbar;
        QCOMPARE(inhalt(alt), bleibt ? vorher : QByteArray());
        for (const QString &t : {neu, alt, QStringLiteral("bleibt bestehen"), QStringLiteral("Zugriff verweigert")})
            QVERIFY2(loeschbar || env.meldungen.value(0).contains(t), qPrintable(t));
        if (bleibt) {
            env.dateiAntworten << alt;
            teil<QAction>(w.get(), QStringLiteral("aktionDbOeffnen"))->trigger();
            QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + alt);
            QCOMPARE(letzteDatei(env), alt);
            QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl")), 1),
                     QStringList{QStringLiteral("Muster")});
        }
        QCOMPARE(env.meldungen.size(), loeschbar ? 0 : 1);
    }

    // Copy and move never land on an existing file, and only a file with the
    // five tables is opened; a refusal names the file, a cancel says nothing.
    // Either way the program keeps working on its file, and no file changes.
    void verweigertOderAbgebrochen_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<QString>("ziel");
        QTest::newRow("kopieren auf andere Datei") << "aktionDbKopieren"
                                                   << "andere.db";
        QTest::newRow("kopieren auf sich selbst") << "aktionDbKopieren"
                                                  << "selbst";
        QTest::newRow("verschieben auf andere Datei") << "aktionDbVerschieben"
                                                      << "andere.db";
        QTest::newRow("verschieben auf sich selbst") << "aktionDbVerschieben"
                                                     << "selbst";
        QTest::newRow("verbinden mit Textdatei") << "aktionDbOeffnen"
                                                 << "text.db";
        QTest::newRow("verbinden mit fremder SQLite-Datei") << "aktionDbOeffnen"
                                                            << "fremd.db";
        QTest::newRow("verbinden mit vier Tabellen") << "aktionDbOeffnen"
                                                     << "vier.db";
        QTest::newRow("verbinden mit fehlender Spalte") << "aktionDbOeffnen"
                                                        << "spalte.db";
        QTest::newRow("verbinden mit fehlender Datei") << "aktionDbOeffnen"
                                                       << "fehlt.db";
        QTest::newRow("kopieren abgebrochen") << "aktionDbKopieren"
                                              << "";
        QTest::newRow("verschieben abgebrochen") << "aktionDbVerschieben"
                                                 << "";
        QTest::newRow("verbinden abgebrochen") << "aktionDbOeffnen"
                                               << "";
    }
    void verweigertOderAbgebrochen()
    {
        QFETCH(QString, aktion);
        QFETCH(QString, ziel);
        Umgebung env;
        anlegen(env, env.standardDatei(), {QStringLiteral("Aktuell")});
        anlegen(env, env.basis() + QStringLiteral("/andere.db"), {QStringLiteral("Veraltet")});
        anlegen(env, env.basis() + QStringLiteral("/vier.db"), {});
        Datei::ausfuehren(env.basis() + QStringLiteral("/vier.db"), QStringLiteral("DROP TABLE termine"));
        anlegen(env, env.basis() + QStringLiteral("/spalte.db"), {});
        Datei::ausfuehren(env.basis() + QStringLiteral("/spalte.db"), QStringLiteral("DROP TABLE sorte"));
        Datei::ausfuehren(
            env.basis() + QStringLiteral("/spalte.db"),
            QStringLiteral("CREATE TABLE sorte (id INTEGER PRIMARY KEY, medizin_id, handelsname, dosis)"));
        Datei::ausfuehren(env.basis() + QStringLiteral("/fremd.db"),
                          QStringLiteral("CREATE TABLE kunden (id INTEGER)"));
        QFile text(env.basis() + QStringLiteral("/text.db"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("Name;Vorname\nMuster;Erika\n") > 0);
        text.close();
        QString pfad = env.basis() + QLatin1Char('/') + ziel;
        if (ziel.isEmpty() || ziel == QLatin1String("selbst"))
            pfad = ziel.isEmpty() ? QString() : env.standardDatei();
        const QByteArray zielVorher = inhalt(pfad);
        auto w = env.starten();
        const QByteArray konfigurationVorher = inhalt(env.konfiguration());

        env.dateiAntworten << pfad;
        teil<QAction>(w.get(), aktion)->trigger();
        QCOMPARE(env.meldungen.size(), ziel.isEmpty() ? 0 : 1);
        QVERIFY(env.meldungen.value(0).contains(pfad));
        if (ziel == QLatin1String("spalte.db"))
            QVERIFY(env.meldungen.value(0).contains(
                QStringLiteral("Tabelle \u201Esorte\u201C fehlt die Spalte \u201Epackung\u201C")));
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + env.standardDatei());
        QCOMPARE(inhalt(env.konfiguration()), konfigurationVorher);
        QCOMPARE(inhalt(pfad), zielVorher);
        programmAendert(*w, QStringLiteral("Weiter"));
        QCOMPARE(namen(env.standardDatei()), QStringLiteral("Aktuell|Weiter"));
    }

    // Every file dialog starts in the folder of the file in use, but not in
    // the hidden settings folder: then in the documents folder, or the home
    // folder while there is none. Copy, move and open propose the file's name.
    void dialogOrdner_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<QString>("ort");
        for (const char *aktion : {"aktionDbKopieren", "aktionDbVerschieben", "aktionDbOeffnen",
                                   "aktionVerordnungsplan", "aktionMedikamentenplan"})
            for (const char *ort : {"Einstellungsordner", "Praxis", "ohne Dokumente"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(aktion), QLatin1String(ort))))
                    << QString::fromLatin1(aktion) << QString::fromLatin1(ort);
    }
    void dialogOrdner()
    {
        QFETCH(QString, aktion);
        QFETCH(QString, ort);
        Umgebung env;
        QString datei = env.standardDatei();
        QString ordner = env.dokumente();
        if (ort == QLatin1String("Praxis")) {
            ordner = env.basis() + QStringLiteral("/Praxis");
            datei = ordner + QStringLiteral("/daten.db");
            env.letzteDateiSetzen(datei);
        } else if (ort == QLatin1String("ohne Dokumente")) {
            QVERIFY(QDir(env.dokumente()).removeRecursively());
            ordner = env.heim();
        }
        anlegen(env, datei, {QStringLiteral("Muster")});
        auto w = env.starten();

        teil<QAction>(w.get(), aktion)->trigger(); // and cancelled
        const bool pdf = aktion == QLatin1String("aktionVerordnungsplan") ||
                         aktion == QLatin1String("aktionMedikamentenplan");
        QCOMPARE(env.dateiVorschlaege,
                 QStringList{pdf ? ordner : ordner + QLatin1Char('/') + QFileInfo(datei).fileName()});
        QCOMPARE(env.meldungen, QStringList());
    }

    // Nothing of the former file's patient may stay on screen, where the
    // windows would act on it.
    void verbindenMitLeererDatei()
    {
        Umgebung env;
        anlegen(env, env.standardDatei(), {QStringLiteral("Muster")});
        Datei::ausfuehren(env.standardDatei(),
                          QStringLiteral("INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, "
                                         "mittag, abend, nacht, hilfe, ordnung) VALUES "
                                         "(1, 1, '2026-12-01', 30, 1, 0, 1, 0, 0, 1)"));
        Datei::ausfuehren(env.standardDatei(), QStringLiteral("INSERT INTO termine (pata_id, arzt, arzt_date) VALUES "
                                                              "(1, 'Hausarzt', '2027-01-05')"));
        const QString leer = env.basis() + QStringLiteral("/leer.db");
        env.datenbankAnlegen(leer);
        auto w = env.starten();
        auto sichtbar = [&] {
            QStringList t;
            for (const char *tabelle : {"tabellePatientenwahl", "tabelleZuordnung", "tabelleTermine",
                                        "tabelleUebersicht", "tabelleVerordnungsplan"})
                t << QString::number(teil<QTableWidget>(w.get(), QString::fromLatin1(tabelle))->rowCount());
            for (const char *label : {"kopfzeilePatient", "anzeigeName", "anzeigeVorname"})
                t << teil<QLabel>(w.get(), QString::fromLatin1(label))->text();
            return t.join(QLatin1Char('|'));
        };
        QCOMPARE(sichtbar(), QStringLiteral("1|1|1|1|1| - Patient: Muster, Erika | *|Muster|Erika"));
        env.dateiAntworten << leer;
        teil<QAction>(w.get(), QStringLiteral("aktionDbOeffnen"))->trigger();
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + leer);
        QCOMPARE(sichtbar(), QStringLiteral("0|0|0|0|0|||"));
    }

    // Enter answers with the default button, which must not delete anything;
    // the delete button removes the settings folder, closes the program and
    // leaves files elsewhere alone.
    void reparieren()
    {
        Umgebung env;
        const QString aussen = env.basis() + QStringLiteral("/Praxis/daten.db");
        anlegen(env, aussen, {QStringLiteral("Muster")});
        env.letzteDateiSetzen(aussen);
        const QByteArray aussenVorher = inhalt(aussen);
        auto w = env.starten();

        const auto reparieren = [&] { menue(w.get(), QStringLiteral("aktionReparieren")); };
        QVERIFY(imFenster(reparieren, [](QDialog *d) { QTest::keyClick(d, Qt::Key_Return); }));
        QVERIFY(w->isVisible());
        QVERIFY(QFile::exists(env.konfiguration()));

        QVERIFY(imFenster(reparieren,
                          [](QDialog *d) { klicken(teil<QPushButton>(d, QStringLiteral("knopfOrdnerLoeschen"))); }));
        QVERIFY(!QFileInfo::exists(env.einstellungsOrdner()));
        for (QWidget *fenster : QApplication::topLevelWidgets())
            QVERIFY2(!fenster->isVisible(), fenster->metaObject()->className());
        QCOMPARE(inhalt(aussen), aussenVorher);
        QCOMPARE(env.meldungen, QStringList());
    }
};

QTEST_MAIN(DateiTest)
#include "tst_datei.moc"
