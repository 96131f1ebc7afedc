// Refills that keep unchanged rows (the patient lists) must still show
// exactly what the file holds, and the next family-doctor appointment,
// taken from the appointments already read, must be the one the database
// would pick.
#include "einnahmedaten.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

namespace {

const char *const patientenSpalten = "id, lastname, firstname, ort, birth, plz, strasse, nr";

// Every cell of every row, "|"-joined, and whether the cell is centred.
QStringList zeilen(QTableWidget *t)
{
    QStringList z;
    for (int r = 0; r < t->rowCount(); ++r) {
        QStringList zellen;
        for (int s = 0; s < 8; ++s) {
            const QTableWidgetItem *i = t->item(r, s);
            zellen << (i ? i->text() : QStringLiteral("<kein Feld>")) +
                          (i && i->textAlignment() == int(Qt::AlignCenter) ? QStringLiteral("^") : QString());
        }
        z << zellen.join(QLatin1Char('|'));
    }
    return z;
}

// The same for the file's rows: columns 3, 4 and 7 are the centred ones.
QStringList erwartet(const QString &f, const QString &wo)
{
    QStringList z;
    for (const QVariantList &r : Datei::zeilen(f, QStringLiteral("SELECT %1 FROM patient %2").arg(QLatin1String(patientenSpalten), wo))) {
        QStringList zellen;
        for (int s = 0; s < 8; ++s)
            zellen << r.at(s).toString() + (s == 3 || s == 4 || s == 7 ? QStringLiteral("^") : QString());
        z << zellen.join(QLatin1Char('|'));
    }
    return z;
}

void patient(const QString &f, const QString &name, const QString &vorname, const QString &ort, const QString &nr)
{
    Datei::ausfuehren(f, QStringLiteral("INSERT INTO patient (firstname, lastname, birth, plz, ort, strasse, nr) "
                                        "VALUES (?, ?, '01.02.1940', '01067', ?, 'Am Markt', ?)"),
                      {vorname, name, ort, nr});
}

} // namespace

class AuffrischenTest : public QObject
{
    Q_OBJECT
private slots:
    // Another program (or a second window) changed the file: the next click
    // in the choice list shows every change, in every column.
    void auswahllisteFolgtDerDatei()
    {
        Welt t;
        patient(t.f, QStringLiteral("Berg"), QStringLiteral("Anna"), QStringLiteral("Bremen"), QStringLiteral("1"));
        patient(t.f, QStringLiteral("Adler"), QStringLiteral("Otto"), QStringLiteral("Kiel"), QStringLiteral("2"));
        patient(t.f, QStringLiteral("Zorn"), QStringLiteral("Eva"), QStringLiteral("Ulm"), QStringLiteral("3"));
        t.starten();
        QTableWidget *wahl = t.tabelle("tabellePatientenwahl");
        const QString sortiert = QStringLiteral("ORDER BY lastname ASC");
        QCOMPARE(zeilen(wahl), erwartet(t.f, sortiert));
        zelleKlicken(wahl, 2, 1);

        Datei::ausfuehren(t.f, QStringLiteral("UPDATE patient SET ort = 'Bonn', birth = '03.03.1933', nr = NULL "
                                              "WHERE lastname = 'Berg'"));
        Datei::ausfuehren(t.f, QStringLiteral("DELETE FROM patient WHERE lastname = 'Adler'"));
        patient(t.f, QStringLiteral("Ahrens"), QStringLiteral("Ida"), QStringLiteral("Hof"), QStringLiteral("4"));
        patient(t.f, QStringLiteral("Meier"), QStringLiteral("Jan"), QStringLiteral("Gera"), QStringLiteral("5"));
        const int meier = t.letzte("patient");
        t.termin(meier, QStringLiteral("Dr. Kunz"), heute.addDays(3));
        zelleKlicken(wahl, 0, 1);
        zelleKlicken(wahl, 2, 1);
        QCOMPARE(zeilen(wahl), erwartet(t.f, sortiert));
        QCOMPARE(spalte(wahl, 1), (QStringList{"Ahrens", "Berg", "Meier", "Zorn"}));
        for (int r = 0; r < wahl->rowCount(); ++r)
            QCOMPARE(wahl->rowHeight(r), 26);
        // One chosen cell, and everything else follows the chosen patient.
        QCOMPARE(wahl->currentRow(), 2);
        QCOMPARE(wahl->selectedItems().size(), 1);
        QCOMPARE(wahl->selectedItems().first(), wahl->item(2, 1));
        QCOMPARE(t.text("kopfzeilePatient"), QStringLiteral(" - Patient: Meier, Jan | *01.02.1940"));
        QCOMPARE(spalte(t.tabelle("tabelleTermine"), 1), QStringList{"Dr. Kunz"});

        // Fewer patients than rows shown, then none at all.
        Datei::ausfuehren(t.f, QStringLiteral("DELETE FROM patient WHERE lastname <> 'Zorn'"));
        zelleKlicken(wahl, 3, 1);
        QCOMPARE(zeilen(wahl), erwartet(t.f, sortiert));
        QCOMPARE(wahl->currentRow(), 0);
        Datei::ausfuehren(t.f, QStringLiteral("DELETE FROM patient"));
        zelleKlicken(wahl, 0, 1);
        QCOMPARE(wahl->rowCount(), 0);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // Searches one after the other: each shows exactly its finds, hidden
    // columns included, whatever the search before it showed.
    void sucheNachSuche()
    {
        Welt t;
        patient(t.f, QStringLiteral("Eins"), QStringLiteral("Anna"), QStringLiteral("Aachen"), QStringLiteral("1"));
        patient(t.f, QStringLiteral("Zwei"), QStringLiteral("Bert"), QStringLiteral("Essen"), QStringLiteral("2a"));
        patient(t.f, QStringLiteral("Drei"), QStringLiteral("Carla"), QStringLiteral("Hof"), QStringLiteral(""));
        patient(t.f, QStringLiteral("Vier"), QStringLiteral("Dana"), QStringLiteral("Gera"), QStringLiteral("4"));
        t.starten();
        teil<QAction>(t.w.get(), "aktionListen")->trigger();
        QTableWidget *liste = t.tabelle("tabellePatienten");
        auto *art = teil<QComboBox>(t.w.get(), "auswahlSuchspalte");
        const int standard = liste->rowHeight(0);
        QCOMPARE(zeilen(liste), erwartet(t.f, QStringLiteral("WHERE firstname LIKE '%%' ORDER BY id")));

        const struct {
            int art;
            const char *begriff;
            const char *wo;
        } suchen[] = {{0, "a", "firstname LIKE '%a%'"}, {2, "e", "ort LIKE '%e%'"}, {1, "ei", "lastname LIKE '%ei%'"},
                      {0, "nichts", "0"},            {2, "", "ort LIKE '%%'"}};
        for (const auto &s : suchen) {
            art->setCurrentIndex(s.art);
            tippen(teil<QLineEdit>(t.w.get(), "editSuchbegriff"), QString::fromLatin1(s.begriff));
            t.knopf("knopfPatientSuchen");
            QCOMPARE(zeilen(liste), erwartet(t.f, QStringLiteral("WHERE %1 ORDER BY id").arg(QLatin1String(s.wo))));
            for (int r = 0; r < liste->rowCount(); ++r)
                QCOMPARE(liste->rowHeight(r), standard);
            if (liste->rowCount() > 0) {
                QCOMPARE(liste->currentRow(), 0);
                QCOMPARE(teil<QLineEdit>(t.w.get(), "editNr")->text(), liste->item(0, 7)->text());
            }
        }
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // The next family-doctor visit among dates the database compares as
    // text: numbers and NULL never count, a past or another doctor's
    // visit neither. The marks show which date counted.
    void naechsterHausarztBeiFremdenWerten()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int s = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        t.einnahme(p, s, heute, 2, 1, 0, 0, 0, 1); // last day with stock: 07.12.
        t.termin(p, QStringLiteral("Hausarzt"), 20261210); // stored as a number, sorts before every text
        t.termin(p, QStringLiteral("Hausarzt"), QVariant());
        t.termin(p, QStringLiteral("Hausarzt"), heute.addDays(-1));
        t.termin(p, QStringLiteral("Dr. Kunz"), heute.addDays(2));
        t.termin(p, QStringLiteral("Hausarzt"), heute.addDays(9));
        t.termin(p, QStringLiteral("Hausarzt"), heute.addDays(1));
        t.starten();
        QTableWidget *u = t.tabelle("tabelleUebersicht");
        // The visit on 07.12. counts: the stock lasts until that day.
        t.patientWaehlen(QStringLiteral("Berg"));
        QCOMPARE(hintergrund(u, 0, 4), QColor(Qt::yellow));
        // Without it, the one on 15.12. does: the stock ends before it.
        Datei::ausfuehren(t.f, QStringLiteral("DELETE FROM termine WHERE arzt_date = ?"), {heute.addDays(1)});
        t.patientWaehlen(QStringLiteral("Berg"));
        QCOMPARE(hintergrund(u, 0, 4), QColor(Qt::red));
        // Without any, nothing is red.
        Datei::ausfuehren(t.f, QStringLiteral("DELETE FROM termine WHERE arzt_date = ?"), {heute.addDays(9)});
        t.patientWaehlen(QStringLiteral("Berg"));
        QCOMPARE(hintergrund(u, 0, 4), QColor(Qt::yellow));
        QVERIFY(t.env.meldungen.isEmpty());
    }
};

QTEST_MAIN(AuffrischenTest)
#include "tst_auffrischen.moc"
