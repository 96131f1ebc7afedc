// The windows that enter and change appointments.
#include "fensterhilfe.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

namespace {

// The fields of one window: "Neu" (entry) or "Aendern" (change).
struct Felder {
    QDateEdit *datum;
    QRadioButton *hausarzt;
    QRadioButton *facharzt;
    QLineEdit *name;

    Felder(QDialog *d, const char *art)
    {
        const QString vor = QStringLiteral("termin") + QString::fromLatin1(art);
        datum = teil<QDateEdit>(d, vor + QStringLiteral("Datum"));
        hausarzt = teil<QRadioButton>(d, vor + QStringLiteral("Hausarzt"));
        facharzt = teil<QRadioButton>(d, vor + QStringLiteral("Facharzt"));
        name = teil<QLineEdit>(d, vor + QStringLiteral("Name"));
    }
    // What the window offers: date, choice (H, F or -) and name.
    QString angebot() const
    {
        return datum->date().toString(QStringLiteral("dd.MM.yyyy")) +
               (hausarzt->isChecked() ? "|H|" : facharzt->isChecked() ? "|F|" : "|-|") + name->text();
    }
    // Chooses as a user would: a click on the label, not beside it.
    static void waehlen(QRadioButton *knopf)
    {
        QTest::mouseClick(knopf, Qt::LeftButton, Qt::NoModifier, QPoint(10, knopf->height() / 2));
    }
    void facharztEintragen(const QString &arzt, const QDate &tag) const
    {
        waehlen(facharzt);
        tippen(name, arzt);
        datum->setDate(tag);
    }
};

QString termine(const Welt &t)
{
    QStringList z;
    for (const auto &r : Datei::zeilen(t.f, QStringLiteral("SELECT pata_id, arzt, arzt_date FROM termine ORDER BY id")))
        z << r.at(0).toString() + QLatin1Char('|') + r.at(1).toString() + QLatin1Char('|') + r.at(2).toString();
    return z.join(QLatin1Char(' '));
}

int erika(Welt &t)
{
    Datei::ausfuehren(t.f, QStringLiteral("INSERT INTO patient (firstname, lastname, birth) VALUES ('Erika', 'Muster', "
                                          "'01.02.1940')"));
    return t.letzte("patient");
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
        erika(t);
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");

        // "Hausarzt" is stored whatever the name field holds.
        QStringList gezeigt, offen;
        QPointer<QLineEdit> name;
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            QVERIFY(festesFenster(d));
            gezeigt = beschriftungen(d);
            const Felder f(d, "Neu");
            offen << f.angebot();
            name = f.name;
            tippen(f.name, QStringLiteral("Dr. Beispiel"));
            klicken(knopfIm(d, eintragen));
        }));
        QCOMPARE(gezeigt, (QStringList{"Patient:", "Erika, Muster *01.02.1940", "Termin am:", "Arzt:"}));
        QCOMPARE(termine(t), QStringLiteral("1|Hausarzt|2026-12-06"));
        QVERIFY(name && !name->parent());

        // A specialist on a chosen day; listed by date.
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            const Felder f(d, "Neu");
            offen << f.angebot();
            f.facharztEintragen(QStringLiteral("Dr. Beispiel"), QDate(2017, 6, 14));
            klicken(knopfIm(d, eintragen));
        }));
        QCOMPARE(termine(t), QStringLiteral("1|Hausarzt|2026-12-06 1|Dr. Beispiel|2017-06-14"));
        QCOMPARE(spalte(liste, 1), (QStringList{"Dr. Beispiel", "Hausarzt"}));
        QCOMPARE(spalte(liste, 2), (QStringList{"14.06.2017", "06.12.2026"}));

        // "Facharzt:" without a name is refused; the window stays open.
        bool nochOffen = false;
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            const Felder f(d, "Neu");
            f.facharztEintragen(QStringLiteral("  "), QDate(2027, 2, 1));
            klicken(knopfIm(d, eintragen));
            nochOffen = d->isVisible();
            tippen(f.name, QString());
            Felder::waehlen(f.hausarzt);
        }));
        QVERIFY(nochOffen);
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY(t.env.meldungen.takeFirst().contains(QStringLiteral("Facharztes")));
        QCOMPARE(liste->rowCount(), 2);

        // Cancelled, nothing is stored; a typed name survives "Abbrechen",
        // date and choice start afresh.
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            const Felder f(d, "Neu");
            offen << f.angebot();
            f.facharztEintragen(QStringLiteral("Dr. Kunz"), QDate(2027, 1, 5));
            klicken(knopfIm(d, QStringLiteral("Abbrechen")));
        }));
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            offen << Felder(d, "Neu").angebot();
            d->close();
        }));
        // After a save the name is gone, even one typed with "Hausarzt" chosen.
        QCOMPARE(offen, (QStringList{"06.12.2026|H|", "06.12.2026|H|", "06.12.2026|H|", "06.12.2026|H|Dr. Kunz"}));
        QCOMPARE(liste->rowCount(), 2);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void aendernFenster()
    {
        Welt t;
        const int p = erika(t);
        t.termin(p, QStringLiteral("Hausarzt"), heute.addDays(14));
        t.termin(p, QStringLiteral("Dr. Kunz"), heute.addDays(4));
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");
        const QString vorher = termine(t);

        // No appointment chosen: a hint, no window.
        QVERIFY(!oeffnen(t, "knopfTerminBearbeiten"));
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY(t.env.meldungen.first().contains(QStringLiteral("Termin")));

        // Opened with the row's choice, name and date; cancelled, nothing changes.
        QStringList gezeigt, offen;
        for (int z : {0, 1}) {
            zelleKlicken(liste, z, 1);
            QVERIFY(oeffnen(t, "knopfTerminBearbeiten", [&](QDialog *d) {
                gezeigt = beschriftungen(d);
                const Felder f(d, "Aendern");
                offen << f.angebot();
                f.facharztEintragen(QStringLiteral("Dr. Lang"), heute);
                if (z)
                    d->close();
                else
                    klicken(knopfIm(d, QStringLiteral("Abbrechen")));
            }));
        }
        QVERIFY(gezeigt.contains(QStringLiteral("Erika, Muster *01.02.1940")));
        QCOMPARE(offen, (QStringList{"10.12.2026|F|Dr. Kunz", "20.12.2026|H|"}));
        QCOMPARE(termine(t), vorher);

        // A specialist becomes the family doctor on another day; the name is dropped.
        zelleKlicken(liste, 0, 1);
        QVERIFY(oeffnen(t, "knopfTerminBearbeiten", [&](QDialog *d) {
            const Felder f(d, "Aendern");
            Felder::waehlen(f.hausarzt);
            f.datum->setDate(heute.addDays(30));
            klicken(knopfIm(d, aendern));
        }));
        QCOMPARE(termine(t), QStringLiteral("1|Hausarzt|2026-12-20 1|Hausarzt|2027-01-05"));
        QCOMPARE(spalte(liste, 2), (QStringList{"20.12.2026", "05.01.2027"}));
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

        // A family-doctor visit after the stock ends: red; moved before, not.
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            Felder(d, "Neu").datum->setDate(heute.addDays(20));
            klicken(knopfIm(d, eintragen));
        }));
        QVERIFY(rot());
        zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
        QVERIFY(oeffnen(t, "knopfTerminBearbeiten", [&](QDialog *d) {
            Felder(d, "Aendern").datum->setDate(heute.addDays(5));
            klicken(knopfIm(d, aendern));
        }));
        QVERIFY(!rot());
    }
};

QTEST_MAIN(TerminFensterTest)
#include "tst_terminfenster.moc"
