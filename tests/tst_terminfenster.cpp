// The windows that enter and change appointments.
#include "fensterhilfe.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

#include <algorithm>
#include <iterator>

namespace {

// The fields of one window: "Neu" (entry) or "Aendern" (change).
struct Felder {
    QDateEdit *datum;
    QRadioButton *hausarzt;
    QRadioButton *facharzt;
    QLineEdit *name;
};

Felder felder(QDialog *d, const char *art)
{
    const QString vor = QStringLiteral("termin") + QString::fromLatin1(art);
    return {teil<QDateEdit>(d, vor + QStringLiteral("Datum")), teil<QRadioButton>(d, vor + QStringLiteral("Hausarzt")),
            teil<QRadioButton>(d, vor + QStringLiteral("Facharzt")), teil<QLineEdit>(d, vor + QStringLiteral("Name"))};
}

// What an opened window offers: date, choice (H, F or -) and name.
QString angebot(const Felder &f)
{
    const QString wahl = f.hausarzt->isChecked() ? QStringLiteral("H") : f.facharzt->isChecked() ? QStringLiteral("F") : QStringLiteral("-");
    return f.datum->date().toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('|') + wahl + QLatin1Char('|') + f.name->text();
}

QList<QVariantList> termine(const Welt &t)
{
    return Datei::zeilen(t.f, QStringLiteral("SELECT pata_id, arzt, arzt_date FROM termine ORDER BY id"));
}

int erika(Welt &t)
{
    Datei::ausfuehren(t.f, QStringLiteral("INSERT INTO patient (firstname, lastname, birth) VALUES ('Erika', 'Muster', "
                                          "'01.02.1940')"));
    return t.letzte("patient");
}

// Clicks on the button's label, as a user would: the button is much wider
// than its text, and a click beside the text does not choose it.
void waehlen(QRadioButton *knopf)
{
    QTest::mouseClick(knopf, Qt::LeftButton, Qt::NoModifier, QPoint(10, knopf->height() / 2));
}

const QString eintragen = QStringLiteral("Termin eintragen");
const QString aendern = QStringLiteral("Termin \u00E4ndern");

} // namespace

class TerminFensterTest : public QObject
{
    Q_OBJECT
private slots:
    void eintragenFenster()
    {
        Welt t;
        const int p = erika(t);
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");

        // Family doctor, whatever the name field holds.
        QStringList gezeigt;
        QString offen;
        bool fest = false;
        QVERIFY(imFenster([&] { t.knopf("knopfTerminEintragen"); }, [&](QDialog *d) {
            fest = festesFenster(d);
            gezeigt = beschriftungen(d);
            const Felder f = felder(d, "Neu");
            offen = angebot(f);
            tippen(f.name, QStringLiteral("Dr. Beispiel"));
            klicken(knopfIm(d, eintragen));
        }));
        QVERIFY(fest);
        QCOMPARE(gezeigt, (QStringList{"Patient:", "Erika, Muster *01.02.1940", "Termin am:", "Arzt:"}));
        QCOMPARE(offen, QStringLiteral("06.12.2026|H|"));
        QCOMPARE(termine(t), (QList<QVariantList>{{p, "Hausarzt", "2026-12-06"}}));

        // A specialist on a given day; the name is gone after the save.
        QVERIFY(imFenster([&] { t.knopf("knopfTerminEintragen"); }, [&](QDialog *d) {
            const Felder f = felder(d, "Neu");
            offen = angebot(f);
            waehlen(f.facharzt);
            tippen(f.name, QStringLiteral("Dr. Beispiel"));
            f.datum->setDate(QDate(2017, 6, 14));
            klicken(knopfIm(d, eintragen));
        }));
        QCOMPARE(offen, QStringLiteral("06.12.2026|H|"));
        QCOMPARE(termine(t).last(), (QVariantList{p, "Dr. Beispiel", "2017-06-14"}));
        QCOMPARE(spalte(liste, 1), (QStringList{"Dr. Beispiel", "Hausarzt"}));
        QCOMPARE(spalte(liste, 2), (QStringList{"14.06.2017", "06.12.2026"}));

        // "Abbrechen" and the frame store nothing; a typed name survives
        // them, while date and choice start afresh.
        QVERIFY(imFenster([&] { t.knopf("knopfTerminEintragen"); }, [&](QDialog *d) {
            const Felder f = felder(d, "Neu");
            offen = angebot(f);
            waehlen(f.facharzt);
            tippen(f.name, QStringLiteral("Dr. Kunz"));
            f.datum->setDate(QDate(2027, 1, 5));
            klicken(knopfIm(d, QStringLiteral("Abbrechen")));
        }));
        QCOMPARE(offen, QStringLiteral("06.12.2026|H|"));
        QVERIFY(imFenster([&] { t.knopf("knopfTerminEintragen"); }, [&](QDialog *d) {
            offen = angebot(felder(d, "Neu"));
            d->close();
        }));
        QCOMPARE(offen, QStringLiteral("06.12.2026|H|Dr. Kunz"));
        QCOMPARE(int(termine(t).size()), 2);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void aendernFenster()
    {
        Welt t;
        const int p = erika(t);
        const int haus = t.termin(p, QStringLiteral("Hausarzt"), heute.addDays(14));
        const int kunz = t.termin(p, QStringLiteral("Dr. Kunz"), heute.addDays(4));
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");
        QCOMPARE(spalte(liste, 1), (QStringList{"Dr. Kunz", "Hausarzt"}));
        const auto vorher = termine(t);

        // No appointment chosen: a hint, no window.
        QVERIFY(!imFenster([&] { t.knopf("knopfTerminBearbeiten"); }));
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY(t.env.meldungen.first().contains(QStringLiteral("Termin")));

        // Opened with the row's choice, name and date; cancelled, nothing changes.
        QStringList gezeigt;
        QString offen;
        zelleKlicken(liste, 0, 1);
        QVERIFY(imFenster([&] { t.knopf("knopfTerminBearbeiten"); }, [&](QDialog *d) {
            gezeigt = beschriftungen(d);
            const Felder f = felder(d, "Aendern");
            offen = angebot(f);
            waehlen(f.hausarzt);
            f.datum->setDate(heute);
            klicken(knopfIm(d, QStringLiteral("Abbrechen")));
        }));
        QVERIFY(gezeigt.contains(QStringLiteral("Erika, Muster *01.02.1940")));
        QCOMPARE(offen, QStringLiteral("10.12.2026|F|Dr. Kunz"));
        zelleKlicken(liste, 1, 1);
        QVERIFY(imFenster([&] { t.knopf("knopfTerminBearbeiten"); }, [&](QDialog *d) {
            const Felder f = felder(d, "Aendern");
            offen = angebot(f);
            waehlen(f.facharzt);
            tippen(f.name, QStringLiteral("Dr. Lang"));
            d->close();
        }));
        QCOMPARE(offen, QStringLiteral("20.12.2026|H|"));
        QCOMPARE(termine(t), vorher);

        // A specialist becomes the family doctor on another day; the name is dropped.
        zelleKlicken(liste, 0, 1);
        QVERIFY(imFenster([&] { t.knopf("knopfTerminBearbeiten"); }, [&](QDialog *d) {
            const Felder f = felder(d, "Aendern");
            waehlen(f.hausarzt);
            f.datum->setDate(heute.addDays(30));
            klicken(knopfIm(d, aendern));
        }));
        QCOMPARE(Datei::zeilen(t.f, QStringLiteral("SELECT pata_id, arzt, arzt_date FROM termine WHERE id = ?"), {kunz}),
                 (QList<QVariantList>{{p, "Hausarzt", "2027-01-05"}}));
        QCOMPARE(spalte(liste, 1), (QStringList{"Hausarzt", "Hausarzt"}));
        QCOMPARE(spalte(liste, 2), (QStringList{"20.12.2026", "05.01.2027"}));

        // And back to a specialist.
        zelleKlicken(liste, 0, 1);
        QVERIFY(imFenster([&] { t.knopf("knopfTerminBearbeiten"); }, [&](QDialog *d) {
            const Felder f = felder(d, "Aendern");
            waehlen(f.facharzt);
            tippen(f.name, QStringLiteral("Dr. Beispiel"));
            klicken(knopfIm(d, aendern));
        }));
        QCOMPARE(Datei::wert(t.f, QStringLiteral("SELECT arzt FROM termine WHERE id = ?"), {haus}).toString(),
                 QStringLiteral("Dr. Beispiel"));
        QCOMPARE(int(t.env.meldungen.size()), 1);
    }

    void roteMarkeFolgtDemHausarzt()
    {
        Welt t;
        const int p = erika(t);
        // Lasts 10 days, until 16.12.2026.
        t.einnahme(p, t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5")), heute, 10, 1, 0, 0, 0, 1);
        t.starten();
        QTableWidget *u = t.tabelle("tabelleUebersicht");
        auto rot = [u] { return hintergrund(u, 0, 4) == QColor(Qt::red); };
        QVERIFY(!rot());

        // A family-doctor visit after the stock ends: red.
        QVERIFY(imFenster([&] { t.knopf("knopfTerminEintragen"); }, [&](QDialog *d) {
            felder(d, "Neu").datum->setDate(heute.addDays(20));
            klicken(knopfIm(d, eintragen));
        }));
        QVERIFY(rot());

        // Moved before it ends: no longer red.
        zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
        QVERIFY(imFenster([&] { t.knopf("knopfTerminBearbeiten"); }, [&](QDialog *d) {
            felder(d, "Aendern").datum->setDate(heute.addDays(5));
            klicken(knopfIm(d, aendern));
        }));
        QVERIFY(!rot());
    }

    void felderUeberlebenJedesFenster()
    {
        Welt t;
        const int p = erika(t);
        t.termin(p, QStringLiteral("Dr. Kunz"), heute);
        t.starten();
        QPointer<QWidget> neu[4], alt[4];
        for (int i = 0; i < 3; ++i) {
            QVERIFY(imFenster([&] { t.knopf("knopfTerminEintragen"); }, [&](QDialog *d) {
                const Felder f = felder(d, "Neu");
                QWidget *w[] = {f.datum, f.hausarzt, f.facharzt, f.name};
                std::copy(std::begin(w), std::end(w), neu);
                klicken(knopfIm(d, QStringLiteral("Abbrechen")));
            }));
            zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
            QVERIFY(imFenster([&] { t.knopf("knopfTerminBearbeiten"); }, [&](QDialog *d) {
                const Felder f = felder(d, "Aendern");
                QWidget *w[] = {f.datum, f.hausarzt, f.facharzt, f.name};
                std::copy(std::begin(w), std::end(w), alt);
                if (i == 2)
                    klicken(knopfIm(d, aendern));
                else
                    d->close();
            }));
            for (const auto &w : neu)
                QVERIFY(w && !w->parent());
            for (const auto &w : alt)
                QVERIFY(w && !w->parent());
        }
        QCOMPARE(int(termine(t).size()), 1);
    }
};

QTEST_MAIN(TerminFensterTest)
#include "tst_terminfenster.moc"
