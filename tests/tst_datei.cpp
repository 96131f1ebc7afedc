// SPDX-License-Identifier: GPL-3.0-or-later
// Copying, moving and opening database files; the repair window.
#include "einnahmedaten.h"

#include "maintenance/dateipflege.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A Kalvoria file holding one patient per name.
void anlegen(Umgebung &env, const QString &pfad, const QStringList &patienten)
{
    env.datenbankAnlegen(pfad);
    for (const QString &name : patienten)
        Datei::ausfuehren(pfad, "INSERT INTO patient (firstname, lastname) VALUES ('Erika', ?)", {name});
}

QString namen(const QString &pfad)
{
    return Datei::wert(pfad, "SELECT group_concat(lastname, '|') FROM (SELECT lastname FROM patient ORDER BY id)")
        .toString();
}

// A change made the way every command makes it: through the window's own
// connection to the file in use.
void programmAendert(MainWindow &w, const QString &name)
{
    DbSitzung db(w);
    QVERIFY(db.aendern("INSERT INTO patient (firstname, lastname) VALUES ('Max', :n)", {{":n", name}}));
}

struct Kopie {
    const char *name, *aktion;
    bool loeschbar;
};

// The answer to the file dialog: a file in the test's folder, "selbst" for
// the file in use, "" to cancel.
struct Ziel {
    const char *name, *aktion, *ziel;
};

struct Dialog {
    const char *name, *aktion, *ort;
};

} // namespace

Q_DECLARE_METATYPE(Kopie)
Q_DECLARE_METATYPE(Ziel)
Q_DECLARE_METATYPE(Dialog)

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
        faelle<Kopie>({{"kopieren", "aktionDbKopieren", true},
                       {"verschieben", "aktionDbVerschieben", true},
                       {"verschieben, alte Datei bleibt", "aktionDbVerschieben", false}});
    }
    void kopierenVerschiebenVerbinden()
    {
        QFETCH(Kopie, fall);
        Umgebung env;
        const QString alt = env.standardDatei();
        anlegen(env, alt, {"Muster"});
        auto w = env.starten();
        const QByteArray vorher = Datei::inhalt(alt);
        if (!fall.loeschbar)
            Dateipflege::entfernen = [](const QString &, QString *fehler) {
                *fehler = "Zugriff verweigert";
                return false;
            };
        QVERIFY(QDir().mkpath(env.basis() + "/Sicherung 2026"));
        const QString neu = env.basis() + "/Sicherung 2026/M\u00FCller #1.db";
        env.dateiAntworten << neu.chopped(3);
        menue(w.get(), fall.aktion);

        QCOMPARE(Datei::inhalt(neu), vorher);
        QCOMPARE(w->windowTitle(), "Kalvoria - " + neu);
        QCOMPARE(env.letzteDatei(), neu);
        programmAendert(*w, "Danach");
        QCOMPARE(namen(neu), "Muster|Danach");
        const bool bleibt = fall.aktion == QLatin1String("aktionDbKopieren") || !fall.loeschbar;
        QCOMPARE(Datei::inhalt(alt), bleibt ? vorher : QByteArray());
        QCOMPARE(env.meldungen.size(), fall.loeschbar ? 0 : 1);
        for (const QString &t : {neu, alt, QString("bleibt bestehen"), QString("Zugriff verweigert")})
            QVERIFY2(fall.loeschbar || env.meldungen.value(0).contains(t), qPrintable(t));
        if (bleibt) {
            env.dateiAntworten << alt;
            menue(w.get(), "aktionDbOeffnen");
            QCOMPARE(w->windowTitle(), "Kalvoria - " + alt);
            QCOMPARE(env.letzteDatei(), alt);
            QCOMPARE(spalte(teil<QTableWidget>(w.get(), "tabellePatientenwahl"), 1), QStringList{"Muster"});
        }
    }

    // Copy and move never land on an existing file, and only a file with the
    // five tables is opened; a refusal names the file, a cancel says nothing.
    // Either way the program keeps working on its file, and no file changes.
    void verweigertOderAbgebrochen_data()
    {
        faelle<Ziel>({{"kopieren auf andere Datei", "aktionDbKopieren", "andere.db"},
                      {"kopieren auf sich selbst", "aktionDbKopieren", "selbst"},
                      {"verschieben auf andere Datei", "aktionDbVerschieben", "andere.db"},
                      {"verschieben auf sich selbst", "aktionDbVerschieben", "selbst"},
                      {"verbinden mit Textdatei", "aktionDbOeffnen", "text.db"},
                      {"verbinden mit fremder SQLite-Datei", "aktionDbOeffnen", "fremd.db"},
                      {"verbinden mit vier Tabellen", "aktionDbOeffnen", "vier.db"},
                      {"verbinden mit fehlender Spalte", "aktionDbOeffnen", "spalte.db"},
                      {"verbinden mit fehlender Datei", "aktionDbOeffnen", "fehlt.db"},
                      {"kopieren abgebrochen", "aktionDbKopieren", ""},
                      {"verschieben abgebrochen", "aktionDbVerschieben", ""},
                      {"verbinden abgebrochen", "aktionDbOeffnen", ""}});
    }
    void verweigertOderAbgebrochen()
    {
        QFETCH(Ziel, fall);
        Umgebung env;
        const QString b = env.basis() + '/';
        anlegen(env, env.standardDatei(), {"Aktuell"});
        anlegen(env, b + "andere.db", {"Veraltet"});
        anlegen(env, b + "vier.db", {});
        Datei::ausfuehren(b + "vier.db", "DROP TABLE termine");
        anlegen(env, b + "spalte.db", {});
        Datei::ausfuehren(b + "spalte.db", "DROP TABLE sorte");
        Datei::ausfuehren(b + "spalte.db",
                          "CREATE TABLE sorte (id INTEGER PRIMARY KEY, medizin_id, handelsname, dosis)");
        Datei::ausfuehren(b + "fremd.db", "CREATE TABLE kunden (id INTEGER)");
        QFile text(b + "text.db");
        QVERIFY(text.open(QIODevice::WriteOnly));
        QVERIFY(text.write("Name;Vorname\nMuster;Erika\n") > 0);
        text.close();
        const QString ziel = fall.ziel;
        const QString pfad = ziel.isEmpty() ? QString() : ziel == "selbst" ? env.standardDatei() : b + ziel;
        auto w = env.starten();
        const QByteArray zielVorher = Datei::inhalt(pfad);
        const QByteArray konfigurationVorher = Datei::inhalt(env.konfiguration());

        env.dateiAntworten << pfad;
        menue(w.get(), fall.aktion);
        QCOMPARE(env.meldungen.size(), ziel.isEmpty() ? 0 : 1);
        QVERIFY2(env.meldungen.value(0).contains(pfad), qPrintable(env.meldungen.value(0)));
        if (ziel == "spalte.db")
            QVERIFY2(env.meldungen.value(0).contains("Tabelle \u201Esorte\u201C fehlt die Spalte \u201Epackung\u201C"),
                     qPrintable(env.meldungen.value(0)));
        QCOMPARE(w->windowTitle(), "Kalvoria - " + env.standardDatei());
        QCOMPARE(Datei::inhalt(env.konfiguration()), konfigurationVorher);
        QCOMPARE(Datei::inhalt(pfad), zielVorher);
        programmAendert(*w, "Weiter");
        QCOMPARE(namen(env.standardDatei()), "Aktuell|Weiter");
    }

    // Every file dialog starts in the folder of the file in use, but not in
    // the hidden settings folder: then in the documents folder, or the home
    // folder while there is none. Copy, move and open propose the file's
    // name; only opening a file is no dialog to save.
    void dialogOrdner_data()
    {
        QTest::addColumn<Dialog>("fall");
        for (const char *aktion : {"aktionDbKopieren", "aktionDbVerschieben", "aktionDbOeffnen",
                                   "aktionVerordnungsplan", "aktionMedikamentenplan"})
            for (const char *ort : {"Einstellungsordner", "Praxis", "ohne Dokumente"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(aktion, ort))) << Dialog{"", aktion, ort};
    }
    void dialogOrdner()
    {
        QFETCH(Dialog, fall);
        Umgebung env;
        QString datei = env.standardDatei();
        QString ordner = env.dokumente();
        if (fall.ort == QLatin1String("Praxis")) {
            ordner = env.basis() + "/Praxis";
            datei = ordner + "/daten.db";
            env.letzteDateiSetzen(datei);
        } else if (fall.ort == QLatin1String("ohne Dokumente")) {
            QVERIFY(env.dokumente().startsWith(env.heim() + '/'));
            QVERIFY(QDir(env.dokumente()).removeRecursively());
            ordner = env.heim();
        }
        anlegen(env, datei, {"Muster"});
        auto w = env.starten();

        menue(w.get(), fall.aktion); // and cancelled
        const QString aktion = fall.aktion;
        const bool pdf = aktion == "aktionVerordnungsplan" || aktion == "aktionMedikamentenplan";
        QCOMPARE(env.dateiVorschlaege, QStringList{pdf ? ordner : ordner + '/' + QFileInfo(datei).fileName()});
        QCOMPARE(env.dateiSpeichern, QList<bool>{aktion != "aktionDbOeffnen"});
        QCOMPARE(env.meldungen, QStringList());
    }

    // Nothing of the former file's patient may stay on screen, where the
    // windows would act on it.
    void verbindenMitLeererDatei()
    {
        Welt t;
        const int p = t.patient("Muster");
        t.einnahme(p, t.packung("Ramipril", "Ramilich 5"), heute, 30, 1, 0, 1, 0, 1);
        t.termin(p, "Hausarzt", "2027-01-05");
        const QString leer = t.env.basis() + "/leer.db";
        t.env.datenbankAnlegen(leer);
        t.starten();
        const QStringList tabellen{"tabellePatientenwahl", "tabelleZuordnung", "tabelleTermine", "tabelleUebersicht",
                                   "tabelleVerordnungsplan"};
        const QStringList angezeigt{"kopfzeilePatient", "anzeigeName", "anzeigeVorname"};
        QCOMPARE(texte(t.w.get(), tabellen, "rowCount"), lauter(5, "1"));
        QCOMPARE(texte(t.w.get(), angezeigt), (QStringList{" - Patient: Muster, Anna | *", "Muster", "Anna"}));
        t.env.dateiAntworten << leer;
        menue(t.w.get(), "aktionDbOeffnen");
        QCOMPARE(t.w->windowTitle(), "Kalvoria - " + leer);
        QCOMPARE(texte(t.w.get(), tabellen, "rowCount"), lauter(5, "0"));
        QCOMPARE(texte(t.w.get(), angezeigt), lauter(3));
    }

    // Enter answers with the default button, which must not delete anything;
    // the delete button removes the settings folder, closes the program and
    // leaves files elsewhere alone.
    void reparieren()
    {
        Umgebung env;
        const QString aussen = env.basis() + "/Praxis/daten.db";
        anlegen(env, aussen, {"Muster"});
        env.letzteDateiSetzen(aussen);
        auto w = env.starten();
        const QByteArray aussenVorher = Datei::inhalt(aussen);

        const auto reparieren = [&] { menue(w.get(), "aktionReparieren"); };
        QVERIFY(imFenster(reparieren, [](QDialog *d) { QTest::keyClick(d, Qt::Key_Return); }));
        QVERIFY(w->isVisible());
        QVERIFY(QFile::exists(env.konfiguration()));

        QVERIFY(imFenster(reparieren, [](QDialog *d) { klicken(teil<QPushButton>(d, "knopfOrdnerLoeschen")); }));
        QVERIFY(!QFileInfo::exists(env.einstellungsOrdner()));
        for (QWidget *fenster : QApplication::topLevelWidgets())
            QVERIFY2(!fenster->isVisible(), fenster->metaObject()->className());
        QCOMPARE(Datei::inhalt(aussen), aussenVorher);
        QCOMPARE(env.meldungen, QStringList());
    }
};

QTEST_MAIN(DateiTest)
#include "tst_datei.moc"
