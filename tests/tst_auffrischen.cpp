// SPDX-License-Identifier: GPL-3.0-or-later
// Refills that keep unchanged rows (the patient lists) must still show
// exactly what the file holds, and the next family-doctor appointment,
// taken from the appointments already read, must be the one the database
// would pick.
#include "fensterhilfe.h"

namespace {

// Every row of a patient table: its height and each cell's text, "^" marking a centred one.
QStringList zeilen(QTableWidget *t)
{
    QStringList z;
    for (int r = 0; r < t->rowCount(); ++r) {
        z << QString::number(t->rowHeight(r));
        for (int s = 0; s < 8; ++s) {
            const QTableWidgetItem *i = t->item(r, s);
            z.last() += "|" + (i ? i->text() + (i->textAlignment() == Qt::AlignCenter ? "^" : "") : "<kein Feld>");
        }
    }
    return z;
}

// The same for the file's patients: columns 3, 4 and 7 centred, every row hoehe high.
QStringList erwartet(const Welt &t, const QString &wo, int hoehe)
{
    QStringList z;
    for (const QVariantList &r : Datei::zeilen(t.f,
                                               "SELECT printf('%d|%s|%s|%s|%s^|%s^|%s|%s|%s^', ?, id, lastname, "
                                               "firstname, ort, birth, plz, strasse, nr) FROM patient " +
                                                   wo,
                                               {hoehe}))
        z << r.first().toString();
    return z;
}

} // namespace

class AuffrischenTest : public QObject
{
    Q_OBJECT
private slots:
    // Another program changed the file: the next click in the choice list
    // and every search after it show each change in every column, hidden
    // ones included, whatever the lists showed before; then fewer patients
    // than rows, then none.
    void listenFolgenDerDatei()
    {
        Welt t;
        const QString neu = "INSERT INTO patient (lastname, firstname, birth, plz, ort, strasse, nr) VALUES ";
        mitListen(t, {neu + "('Berg', 'Anna', '01.02.1940', '28195', 'Bremen', 'Am Markt', '1'), "
                            "('Adler', 'Otto', '02.03.1941', '24103', 'Kiel', 'Ring', '2'), "
                            "('Zorn', 'Eva', '03.04.1942', '89073', 'Ulm', 'Au', '3')"});
        QTableWidget *wahl = t.tabelle("tabellePatientenwahl"), *liste = t.tabelle("tabellePatienten");
        const int hoehe = liste->rowHeight(0);
        zelleKlicken(wahl, 2, 1);

        Datei::ausfuehren(t.f, "UPDATE patient SET ort = 'Bonn', birth = '03.03.1933', plz = '53111', nr = NULL "
                               "WHERE lastname = 'Berg'");
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname = 'Adler'");
        Datei::ausfuehren(t.f, neu + "('Ahrens', 'Ida', '04.05.1943', '95028', 'Hof', 'Tor', '4a'), "
                                     "('Meier', 'Jan', '05.06.1944', '07545', 'Gera', 'Markt', '')");
        t.termin(t.letzte("patient"), "Dr. Kunz", heute.addDays(3));
        zelleKlicken(wahl, 0, 1);
        zelleKlicken(wahl, 2, 1);
        QCOMPARE(zeilen(wahl), erwartet(t, "ORDER BY lastname", 26));
        // One chosen cell, and the window follows the chosen patient.
        QCOMPARE(QString("%1|%2|%3|%4")
                     .arg(wahl->currentRow())
                     .arg(wahl->selectionModel()->selectedRows().size())
                     .arg(t.text("kopfzeilePatient"), spalte(t.tabelle("tabelleTermine"), 1).join(',')),
                 QString("2|1| - Patient: Meier, Jan | *05.06.1944|Dr. Kunz"));

        // Search column, term, and the rows it must find.
        for (const auto &[art, begriff, wo] :
             std::vector<std::tuple<int, QString, QString>>{{0, "a", "firstname LIKE '%a%'"},
                                                            {2, "u", "ort LIKE '%u%'"},
                                                            {1, "e", "lastname LIKE '%e%'"},
                                                            {0, "nichts", "0"},
                                                            {2, "", "1"}}) {
            teil<QComboBox>(t.w.get(), "auswahlSuchspalte")->setCurrentIndex(art);
            tippen(teil<QLineEdit>(t.w.get(), "editSuchbegriff"), begriff);
            t.knopf("knopfPatientSuchen");
            QCOMPARE(zeilen(liste), erwartet(t, "WHERE " + wo + " ORDER BY id", hoehe));
            // The first find is chosen, its hidden number in the edit box.
            if (liste->rowCount() > 0)
                QCOMPARE(QString::number(liste->currentRow()) + "|" + teil<QLineEdit>(t.w.get(), "editNr")->text(),
                         "0|" + liste->item(0, 7)->text());
        }

        // Fewer patients than rows shown, then none: a click on the last row
        // shown chooses that patient by key, wherever the new list has it,
        // and nobody once nobody is left.
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname NOT IN ('Berg', 'Zorn')");
        zelleKlicken(wahl, wahl->rowCount() - 1, 1);
        QCOMPARE(zeilen(wahl), erwartet(t, "ORDER BY lastname", 26));
        QCOMPARE(t.text("kopfzeilePatient"), QString(" - Patient: Zorn, Eva | *03.04.1942"));
        Datei::ausfuehren(t.f, "DELETE FROM patient");
        zelleKlicken(wahl, wahl->rowCount() - 1, 1);
        QCOMPARE(wahl->rowCount(), 0);
        QCOMPARE(t.text("kopfzeilePatient"), QString());
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // The next family-doctor visit among dates the database compares as
    // text: a number sorts before every text and NULL before both, yet
    // neither counts, nor a past visit or another doctor's.
    void naechsterHausarztBeiFremdenWerten()
    {
        Welt t;
        t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5"), heute, 2, 1, 0, 0, 0,
                   1); // lasts until 07.12.
        Datei::ausfuehren(t.f, "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (1, 'Hausarzt', 20261210), "
                               "(1, 'Hausarzt', NULL), (1, 'Hausarzt', '2026-12-05'), (1, 'Dr. Kunz', '2026-12-08'), "
                               "(1, 'Hausarzt', '2026-12-15'), (1, 'Hausarzt', '2026-12-07')");
        t.starten();
        // The visit on 07.12. counts while there (the stock lasts until that
        // day), then the one on 15.12. (the stock ends before it), then none.
        QStringList farben;
        for (const char *weg : {"", "2026-12-07", "2026-12-15"}) {
            Datei::ausfuehren(t.f, "DELETE FROM termine WHERE arzt_date = ?", {QString(weg)});
            t.patientWaehlen("Berg");
            farben << hintergrund(t.tabelle("tabelleUebersicht"), 0, 4).name();
        }
        QCOMPARE(farben.join(','), QString("#ffff00,#ff0000,#ffff00"));
        QVERIFY(t.env.meldungen.isEmpty());
    }
};

QTEST_MAIN(AuffrischenTest)
#include "tst_auffrischen.moc"
