// SPDX-License-Identifier: GPL-3.0-or-later
// The history: every change recorded with the change itself, shown for a
// patient and for one intake line, printed, and kept when a patient goes.
#include "fensterhilfe.h"

#include "storage/datenbankzugriff.h"
#include "verlauf/verlauf.h"

namespace {

// A patient with two intake lines and a family-doctor appointment, on the
// page "Einstellungen" with the first line chosen; the lists are on.
struct Ausgangslage : Welt {
    int pat = 0, rami = 0, ass = 0, zeileRami = 0, zeileAss = 0, hausarzt = 0;

    // zuvor adds to the file before the program starts.
    explicit Ausgangslage(const std::function<void(Ausgangslage &)> &zuvor = {})
    {
        pat = patient(QStringLiteral("Muster"));
        Datei::ausfuehren(f, QStringLiteral("UPDATE patient SET ort = 'Hamburg'"));
        rami = packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        ass = packung(QStringLiteral("ASS"), QStringLiteral("Aspirin"), QStringLiteral("100 mg"), 20);
        zeileRami = einnahme(pat, rami, heute.addDays(-4), 30, 1, 0, 1, 0, 1); // 22 left today
        zeileAss = einnahme(pat, ass, heute, 20, 0, 1, 0, 0, 2);
        hausarzt = termin(pat, QStringLiteral("Hausarzt"), QStringLiteral("2026-12-20"));
        if (zuvor)
            zuvor(*this);
        mitListen(*this, {});
        patientWaehlen(QStringLiteral("Muster"));
        zeileWaehlen(0);
    }

    // Kind, patient, subject, old and new value of every entry, oldest first.
    QList<QStringList> eintraege(const QString &wo = QStringLiteral("1 = 1")) const
    {
        QList<QStringList> t;
        if (!Datei::tabellen(f).contains(QStringLiteral("verlauf")))
            return t;
        for (const QVariantList &z :
             Datei::zeilen(f, QStringLiteral("SELECT art, patient, betrifft, alt, neu FROM verlauf WHERE ") + wo +
                                  QStringLiteral(" ORDER BY id"))) {
            QStringList felder;
            for (const QVariant &w : z)
                felder << w.toString();
            t << felder;
        }
        return t;
    }

    // Opens the window of the button and lets handler fill it in.
    void fenster(const char *knopf, const std::function<void(QDialog *)> &handler) const
    {
        if (!oeffnen(*this, knopf, handler))
            qFatal("no window for %s", knopf);
    }
    void zuordnungAendern(const QString &feld, const QString &text) const
    {
        fenster("knopfZuordnungBearbeiten", [&](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fenster" + feld), text);
            druecken(d, "\u00C4ndern");
        });
    }
};

// What each command does, as the user does it.
const QMap<QString, std::function<void(Ausgangslage &)>> &befehle()
{
    static const QMap<QString, std::function<void(Ausgangslage &)>> b{
        {"zuordnen",
         [](Ausgangslage &t) {
             t.packungWaehlen("Aspirin");
             tippe(t, "editZuordnenMorgen", "1");
             tippe(t, "editZuordnenAbend", "0,5");
             t.knopf("knopfEintragen");
         }},
        {"Zuordnung l\u00F6schen", [](Ausgangslage &t) { t.knopf("knopfZuordnungLoeschen"); }},
        {"Dosis", [](Ausgangslage &t) { t.zuordnungAendern("Morgen", "2"); }},
        {"Bestand", [](Ausgangslage &t) { t.zuordnungAendern("Stand", "25,5"); }},
        {"Hilfsmittel",
         [](Ausgangslage &t) {
             t.fenster("knopfZuordnungBearbeiten", [](QDialog *d) {
                 klicken(teil<QCheckBox>(d, "fensterHilfe"));
                 druecken(d, "\u00C4ndern");
             });
         }},
        {"Apotheke",
         [](Ausgangslage &t) {
             t.fenster("knopfApotheke", [](QDialog *d) {
                 tippen(teil<QLineEdit>(d, "fensterPackungen"), "2");
                 druecken(d, "Eintragen");
             });
         }},
        {"verschieben", [](Ausgangslage &t) { t.knopf("knopfZuordnungRunter"); }},
        {"Patient anlegen",
         [](Ausgangslage &t) {
             t.knopf("radioPatientHinzufuegen");
             tippe(t, "neuName", "Berg");
             tippe(t, "neuVorname", "Karl");
             t.knopf("knopfPatientEintragen");
         }},
        {"Patient \u00E4ndern",
         [](Ausgangslage &t) {
             tippe(t, "editOrt", "Bremen");
             t.knopf("knopfPatientAendern");
         }},
        {"Patient l\u00F6schen",
         [](Ausgangslage &t) {
             t.env.antworten << true;
             t.knopf("knopfPatientEntfernen");
         }},
        {"Medikament anlegen",
         [](Ausgangslage &t) {
             tippe(t, "editMedikamentNeu", "Torasemid");
             t.knopf("knopfMedikamentHinzufuegen");
         }},
        {"Medikament \u00E4ndern",
         [](Ausgangslage &t) {
             t.waehlen("tabelleMedikamente", 1, "Ramipril");
             tippe(t, "editMedikamentName", "Ramipril HEXAL");
             t.knopf("knopfMedikamentAendern");
         }},
        {"Medikament l\u00F6schen",
         [](Ausgangslage &t) {
             t.waehlen("tabelleMedikamente", 1, "Ramipril");
             t.env.antworten << true;
             t.knopf("knopfMedikamentLoeschen");
         }},
        {"Packung anlegen",
         [](Ausgangslage &t) {
             t.waehlen("tabelleMedikamente", 1, "Ramipril");
             tippe(t, "editSorteHandelsname", "Ramilich 10");
             tippe(t, "editSorteDosis", "10 mg");
             tippe(t, "editSortePackung", "50");
             t.knopf("knopfSorteEintragen");
         }},
        {"Packung \u00E4ndern",
         [](Ausgangslage &t) {
             t.waehlen("tabelleMedikamente", 1, "Ramipril");
             tippe(t, "editSorteNeuPackung", "60");
             t.knopf("knopfSorteAendern");
         }},
        {"Packung l\u00F6schen",
         [](Ausgangslage &t) {
             t.waehlen("tabelleMedikamente", 1, "Ramipril");
             t.env.antworten << true;
             t.knopf("knopfSorteLoeschen");
         }},
        {"Termin eintragen",
         [](Ausgangslage &t) {
             t.fenster("knopfTerminEintragen", [](QDialog *d) { druecken(d, "Termin eintragen"); });
         }},
        {"Termin \u00E4ndern",
         [](Ausgangslage &t) {
             zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
             t.fenster("knopfTerminBearbeiten", [](QDialog *d) {
                 klicken(teil<QRadioButton>(d, "terminAendernFacharzt"));
                 tippen(teil<QLineEdit>(d, "terminAendernName"), "Dr. Albers");
                 druecken(d, "Termin \u00E4ndern");
             });
         }},
        {"Termin l\u00F6schen",
         [](Ausgangslage &t) {
             zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
             t.knopf("knopfTerminLoeschen");
         }},
    };
    return b;
}

// Every row of the five tables, a row a list of its values.
QList<QStringList> daten(const QString &datei)
{
    QList<QStringList> t;
    for (const char *tabelle : {"patient", "medikament", "sorte", "einnahme", "termine"})
        for (const QVariantList &z : Datei::zeilen(datei, QStringLiteral("SELECT * FROM ") + QLatin1String(tabelle))) {
            QStringList zeile{QLatin1String(tabelle)};
            for (const QVariant &w : z)
                zeile << w.toString();
            t << zeile;
        }
    return t;
}

// Opens the history window from the menu and runs handler on it.
bool verlaufZeigen(const Welt &t, const std::function<void(QDialog *)> &handler)
{
    return imFenster([&] { teil<QAction>(t.w.get(), "aktionVerlauf")->trigger(); }, handler);
}

} // namespace

class VerlaufTest : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> geoeffnet;
public slots:
    void oeffnen(const QUrl &url) { geoeffnet << url; }

private slots:
    void init()
    {
        geoeffnet.clear();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "oeffnen");
    }
    void cleanup() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    // Each command leaves one entry of its kind, first among those it
    // writes, with the values before and after as the user reads them.
    void jedeArt_data()
    {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("eintrag");
        const QString p = QStringLiteral("|Muster, Anna|");
        const QString rami = p + QStringLiteral("Ramipril \u2013 Ramilich 5 (5 mg)|");
        QTest::newRow("zugeordnet") << "zuordnen"
                                    << "Zuordnung eingetragen" + p +
                                           "ASS \u2013 Aspirin (100 mg)||1-0-1/2-0, Bestand 20 am 06.12.2026";
        QTest::newRow("gel\u00F6scht") << "Zuordnung l\u00F6schen"
                                       << "Zuordnung gel\u00F6scht" + rami + "1-0-1-0, Bestand heute 22|";
        QTest::newRow("Dosis") << "Dosis"
                               << "Dosis ge\u00E4ndert" + rami + "1-0-1-0|2-0-1-0";
        QTest::newRow("Bestand") << "Bestand"
                                 << "Bestand gez\u00E4hlt" + rami + "22|25.5";
        QTest::newRow("Hilfsmittel") << "Hilfsmittel"
                                     << "Hilfsmittel ge\u00E4ndert" + rami + "nein|ja";
        QTest::newRow("gebucht") << "Apotheke"
                                 << "Packungen gebucht" + rami + "Bestand 22|Bestand 82 (2 Packungen zu je 30)";
        QTest::newRow("verschoben") << "verschieben"
                                    << "Zuordnung verschoben" + rami + "Platz 1|Platz 2";
        QTest::newRow("Patient angelegt") << "Patient anlegen"
                                          << "Patient angelegt|Berg, Karl|Berg, Karl||Name: Berg; Vorname: Karl";
        QTest::newRow("Patient ge\u00E4ndert") << "Patient \u00E4ndern"
                                               << "Patient ge\u00E4ndert" + p + "Muster, Anna|Ort: Hamburg|Ort: Bremen";
        QTest::newRow("Patient gel\u00F6scht")
            << "Patient l\u00F6schen"
            << "Patient gel\u00F6scht" + p + "Muster, Anna|Name: Muster; Vorname: Anna; Ort: Hamburg|";
        QTest::newRow("Medikament angelegt") << "Medikament anlegen"
                                             << "Medikament angelegt||Torasemid||Torasemid";
        QTest::newRow("Medikament ge\u00E4ndert") << "Medikament \u00E4ndern"
                                                  << "Medikament ge\u00E4ndert||Ramipril|Ramipril|Ramipril HEXAL";
        QTest::newRow("Medikament gel\u00F6scht") << "Medikament l\u00F6schen"
                                                  << "Medikament gel\u00F6scht||Ramipril|Ramipril|";
        QTest::newRow("Packung angelegt")
            << "Packung anlegen"
            << "Packung angelegt||Ramipril \u2013 Ramilich 10 (10 mg)||Handelsname: Ramilich 10; Dosis: 10 mg; "
               "Einheiten: 50";
        QTest::newRow("Packung ge\u00E4ndert")
            << "Packung \u00E4ndern"
            << "Packung ge\u00E4ndert||Ramipril \u2013 Ramilich 5 (5 mg)|Einheiten: 30|Einheiten: 60";
        QTest::newRow("Packung gel\u00F6scht")
            << "Packung l\u00F6schen"
            << "Packung gel\u00F6scht||Ramipril \u2013 Ramilich 5 (5 mg)|Handelsname: Ramilich 5; Dosis: 5 mg; "
               "Einheiten: 30|";
        QTest::newRow("Termin eingetragen") << "Termin eintragen"
                                            << "Termin eingetragen" + p +
                                                   "Hausarzt am 06.12.2026||Hausarzt am "
                                                   "06.12.2026";
        QTest::newRow("Termin ge\u00E4ndert")
            << "Termin \u00E4ndern"
            << "Termin ge\u00E4ndert" + p + "Hausarzt am 20.12.2026|Arzt: Hausarzt|Arzt: Dr. Albers";
        QTest::newRow("Termin gel\u00F6scht")
            << "Termin l\u00F6schen"
            << "Termin gel\u00F6scht" + p + "Hausarzt am 20.12.2026|Hausarzt am 20.12.2026|";
    }
    void jedeArt()
    {
        QFETCH(QString, befehl);
        QFETCH(QString, eintrag);
        Ausgangslage t;
        QVERIFY(t.eintraege().isEmpty());
        befehle()[befehl](t);
        QCOMPARE(t.eintraege().value(0), eintrag.split('|'));
        QCOMPARE(Datei::wert(t.f, "SELECT group_concat(DISTINCT zeit || ' ' || benutzer) FROM verlauf").toString(),
                 QStringLiteral("2026-12-06 10:30:00 pflegekraft"));
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // The keys each entry names: the line, package, medication, patient and
    // appointment it concerns, so that the history of each can be found.
    void schluessel()
    {
        Ausgangslage t;
        befehle()["Dosis"](t);
        befehle()["Termin l\u00F6schen"](t);
        QList<QStringList> schluessel;
        for (const QVariantList &z :
             Datei::zeilen(t.f, "SELECT pat_id, einnahme_id, sorte_id, medikament_id, termin_id "
                                "FROM verlauf ORDER BY id")) {
            QStringList k;
            for (const QVariant &w : z)
                k << (w.isNull() ? QStringLiteral("-") : w.toString());
            schluessel << k;
        }
        QCOMPARE(schluessel.size(), 2);
        const QString keiner = QStringLiteral("-");
        QCOMPARE(schluessel.value(0), (QStringList{QString::number(t.pat), QString::number(t.zeileRami),
                                                   QString::number(t.rami), QStringLiteral("1"), keiner}));
        QCOMPARE(schluessel.value(1),
                 (QStringList{QString::number(t.pat), keiner, keiner, keiner, QString::number(t.hausarzt)}));
    }

    // Confirming a window as it was shown changes nothing worth recording.
    void nichtsGeaendertNichtsVermerkt()
    {
        Ausgangslage t;
        t.fenster("knopfZuordnungBearbeiten", [](QDialog *d) { druecken(d, "\u00C4ndern"); });
        t.knopf("knopfPatientAendern");
        QVERIFY(t.eintraege().isEmpty());
    }

    // A history entry that cannot be written takes its change with it: the
    // file holds what it held, and the user is told.
    void ohneEintragKeineAenderung_data()
    {
        QTest::addColumn<QString>("befehl");
        // Every command that records a change.
        for (const QString &b : befehle().keys())
            QTest::newRow(qPrintable(b)) << b;
    }
    void ohneEintragKeineAenderung()
    {
        QFETCH(QString, befehl);
        Ausgangslage t;
        Datei::verlaufVoll(t.f);
        const QList<QStringList> vorher = daten(t.f);
        befehle()[befehl](t);
        QCOMPARE(daten(t.f), vorher);
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY2(t.env.meldungen.value(0).contains("Datentraeger voll"), qPrintable(t.env.meldungen.value(0)));
    }

    // A file of an earlier version gains the history with its first change,
    // not by being opened, and keeps its five tables as they were, so that
    // the earlier version still opens it.
    void fruehereVersionen()
    {
        NUR_DATEI("the tables of a file as earlier versions read them");
        Ausgangslage t;
        QVERIFY(!Datei::tabellen(t.f).contains("verlauf"));
        const QString vorlage = t.env.basis() + "/vorlage.db";
        t.env.datenbankAnlegen(vorlage);
        befehle()["Dosis"](t);
        QVERIFY(Datei::tabellen(t.f).contains("verlauf"));
        const QString schema = "SELECT group_concat(sql, '|') FROM (SELECT sql FROM sqlite_master WHERE name IN "
                               "('patient', 'medikament', 'sorte', 'einnahme', 'termine') ORDER BY name)";
        QCOMPARE(Datei::wert(t.f, schema), Datei::wert(vorlage, schema));
        QCOMPARE(datenbankMangel(t.f), QString());
    }

    // Written rows stay as written: the file refuses to change or delete them.
    void unveraenderlich_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("\u00E4ndern") << "UPDATE verlauf SET neu = 'anders'";
        QTest::newRow("l\u00F6schen") << "DELETE FROM verlauf";
    }
    void unveraenderlich()
    {
        QFETCH(QString, sql);
        Ausgangslage t;
        befehle()["Dosis"](t);
        const QList<QStringList> vorher = t.eintraege();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fremd");
            db.setDatabaseName(t.f);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(!q.exec(sql));
        }
        QSqlDatabase::removeDatabase("fremd");
        QCOMPARE(t.eintraege(), vorher);
    }

    // A deleted patient's history stays under the name the patient had,
    // with the lines and appointments that went along, and can be shown.
    void nachPatientLoeschen()
    {
        Ausgangslage t;
        befehle()["Dosis"](t);
        befehle()["Patient l\u00F6schen"](t);
        const QString mit = "mit dem Patienten gel\u00F6scht";
        const QList<QStringList> eintraege = t.eintraege(QStringLiteral("pat_id = %1").arg(t.pat));
        QCOMPARE(eintraege.size(), 5);
        QCOMPARE(eintraege.value(0), (QStringList{"Dosis ge\u00E4ndert", "Muster, Anna",
                                                  "Ramipril \u2013 Ramilich 5 (5 mg)", "1-0-1-0", "2-0-1-0"}));
        QCOMPARE(eintraege.value(1), (QStringList{"Patient gel\u00F6scht", "Muster, Anna", "Muster, Anna",
                                                  "Name: Muster; Vorname: Anna; Ort: Hamburg", ""}));
        QCOMPARE(eintraege.value(2),
                 (QStringList{"Zuordnung gel\u00F6scht", "Muster, Anna", "Ramipril \u2013 Ramilich 5 (5 mg)",
                              "2-0-1-0, Bestand heute 22", mit}));
        QCOMPARE(eintraege.value(3), (QStringList{"Zuordnung gel\u00F6scht", "Muster, Anna",
                                                  "ASS \u2013 Aspirin (100 mg)", "0-1-0-0, Bestand heute 20", mit}));
        QCOMPARE(eintraege.value(4), (QStringList{"Termin gel\u00F6scht", "Muster, Anna", "Hausarzt am 20.12.2026",
                                                  "Hausarzt am 20.12.2026", mit}));

        QStringList wahl, arten;
        QVERIFY(verlaufZeigen(t, [&](QDialog *d) {
            auto *patient = teil<QComboBox>(d, "verlaufPatient");
            for (int i = 0; i < patient->count(); ++i)
                wahl << patient->itemText(i);
            patient->setCurrentIndex(0);
            arten = spalte(teil<QTableWidget>(d, "verlaufTabelle"), 2);
        }));
        QCOMPARE(wahl,
                 (QStringList{"Muster, Anna (gel\u00F6scht)", "Ohne Patient: Medikamente, Packungen, Sicherungen"}));
        QCOMPARE(arten, (QStringList{"Termin gel\u00F6scht", "Zuordnung gel\u00F6scht", "Zuordnung gel\u00F6scht",
                                     "Patient gel\u00F6scht", "Dosis ge\u00E4ndert"}));
    }

    // The patient's history, newest first, within the period chosen; the
    // entries of another patient and of the catalogue are not among them.
    void patientUndZeitraum()
    {
        Ausgangslage t([](Ausgangslage &b) { b.einnahme(b.patient("Zorn"), b.rami, heute, 10, 1, 0, 0, 0, 1); });
        t.env.zeit = t.env.zeit.addDays(-10);
        befehle()["Dosis"](t);
        t.env.zeit = t.env.zeit.addDays(5);
        befehle()["Termin l\u00F6schen"](t);
        befehle()["Medikament anlegen"](t);
        t.env.zeit = t.env.zeit.addDays(5);
        befehle()["Bestand"](t);
        t.patientWaehlen("Zorn");
        t.zeileWaehlen(0);
        t.zuordnungAendern("Morgen", "3");
        t.patientWaehlen("Muster");

        QStringList alle, zeitraum, zeiten;
        QString von;
        QVERIFY(verlaufZeigen(t, [&](QDialog *d) {
            auto *tabelle = teil<QTableWidget>(d, "verlaufTabelle");
            von = teil<QDateEdit>(d, "verlaufVon")->date().toString("dd.MM.yyyy");
            alle = spalte(tabelle, 2);
            zeiten = spalte(tabelle, 1);
            teil<QDateEdit>(d, "verlaufVon")->setDate(heute.addDays(-7));
            teil<QDateEdit>(d, "verlaufBis")->setDate(heute.addDays(-1));
            zeitraum = spalte(tabelle, 2);
        }));
        QCOMPARE(von, QStringLiteral("26.11.2026"));
        QCOMPARE(alle, (QStringList{"Bestand gez\u00E4hlt", "Termin gel\u00F6scht", "Dosis ge\u00E4ndert"}));
        QCOMPARE(zeiten, (QStringList{"06.12.2026 10:30", "01.12.2026 10:30", "26.11.2026 10:30"}));
        QCOMPARE(zeitraum, QStringList{"Termin gel\u00F6scht"});
    }

    // The assignment window shows the history of its own line, newest first.
    void verlaufEinerZeile()
    {
        Ausgangslage t;
        befehle()["Dosis"](t);
        befehle()["Hilfsmittel"](t);
        befehle()["Apotheke"](t);
        t.zeileWaehlen(1);
        t.zuordnungAendern("Mittag", "2");
        t.zeileWaehlen(0);
        QStringList arten, kopf;
        t.fenster("knopfZuordnungBearbeiten", [&](QDialog *d) {
            QVERIFY(imFenster([&] { druecken(d, "Verlauf\u2026"); },
                              [&](QDialog *verlauf) {
                                  arten = spalte(teil<QTableWidget>(verlauf, "verlaufTabelle"), 2);
                                  kopf = beschriftungen(verlauf);
                              }));
        });
        QCOMPARE(arten, (QStringList{"Packungen gebucht", "Hilfsmittel ge\u00E4ndert", "Dosis ge\u00E4ndert"}));
        QCOMPARE(kopf.filter("Ramipril \u2013 Ramilich 5 (5 mg) \u2013 Muster, Anna").size(), 1);
    }

    // The PDF for the care documentation: patient, period and the entries
    // as the window lists them.
    void alsPdf()
    {
        Ausgangslage t;
        befehle()["Dosis"](t);
        befehle()["Apotheke"](t);
        const QString pdf = t.env.basis() + "/Verlauf Muster.pdf";
        t.env.dateiAntworten << pdf;
        QVERIFY(verlaufZeigen(t, [&](QDialog *d) { druecken(d, "Als PDF schreiben\u2026"); }));
        // Cells wrap within their column: each text is looked for on its
        // own, the rows in the window's order.
        const QString text = ausfuehren("pdftotext", {"-layout", pdf, "-"}).simplified();
        const QStringList folge{"Verlauf",
                                "Patient: Muster, Anna | Zeitraum: 06.12.2026 bis 06.12.2026",
                                "Zeitpunkt Art Betrifft vorher nachher Benutzer",
                                "Packungen",
                                "Bestand 22",
                                "Bestand 82 (2",
                                "Dosis ge\u00E4ndert",
                                "1-0-1-0 2-0-1-0",
                                "pflegekraft",
                                "Verlauf erstellt am: 06.12.2026"};
        int ab = 0;
        for (const QString &stueck : folge) {
            const int bei = text.indexOf(stueck, ab);
            QVERIFY2(bei >= 0, qPrintable(stueck + " in: " + text));
            ab = bei + stueck.size();
        }
        QCOMPARE(geoeffnet, QList<QUrl>{QUrl::fromLocalFile(pdf)});
    }

    // The texts of old and new values.
    void texte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("Dosen") << dosenText({1, 0.5, 0.25, 0}) << "1-1/2-0.25-0";
        QTest::newRow("eine Packung") << packungenText(1) << "1 Packung";
        QTest::newRow("zur\u00FCck") << packungenText(-2) << "-2 Packungen";
        QTest::newRow("Bestand unbekannt") << bestandVerlaufText(std::nullopt) << "unbekannt";
        QTest::newRow("ohne Vorname") << personText(" Muster ", "") << "Muster";
        const auto a = feldAenderungen({{"Name", "Muster", "Muster"}, {"Ort", "", "Bremen"}, {"Nr", "3", "5"}});
        QTest::newRow("ge\u00E4ndert vorher") << a.first << "Ort: ; Nr: 3";
        QTest::newRow("ge\u00E4ndert nachher") << a.second << "Ort: Bremen; Nr: 5";
        QTest::newRow("neu") << felderText({{"Name", "", "Muster"}, {"Ort", "x", " "}}, true) << "Name: Muster";
    }
    void texte()
    {
        QFETCH(QString, text);
        QFETCH(QString, erwartet);
        QCOMPARE(text, erwartet);
    }
};

QTEST_MAIN(VerlaufTest)
#include "tst_verlauf.moc"
