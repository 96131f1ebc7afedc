// SPDX-License-Identifier: GPL-3.0-or-later
// The windows that enter and change appointments.
#include "app/mainwindow.h"

#include "app/fensterbausteine.h"
#include "app/tabellen.h"

#include "storage/datenbankzugriff.h"
#include "text/textformat.h"
#include "verlauf/verlauf.h"

#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace {

const QString hausarzt = QStringLiteral("Hausarzt");


// Sets both choices as given, also "none": outside a window the two buttons
// do not exclude each other, and inside one a checked button could not be
// unchecked on its own.
void wahlSetzen(QRadioButton *haus, QRadioButton *fach, bool hausGewaehlt, bool fachGewaehlt)
{
    haus->setAutoExclusive(false);
    fach->setAutoExclusive(false);
    haus->setChecked(hausGewaehlt);
    fach->setChecked(fachGewaehlt);
    haus->setAutoExclusive(true);
    fach->setAutoExclusive(true);
}

// Stores what a window confirmed, with its history, in one transaction.
// gespeichert tells the window whether to close: also when the row went
// elsewhere, as the views then show the file.
bool fensterSpeichern(MainWindow &fenster, bool &gespeichert, const std::function<bool(DbSitzung &db)> &schritte)
{
    DbSitzung db(fenster);
    const bool ok = db.transaktion([&] { return schritte(db); });
    gespeichert = ok || db.hatKonflikt();
    return ok;
}

QString datumText(const QDate &datum)
{
    return datum.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

QString MainWindow::arztLesen(const QRadioButton *hausarztWahl, const QLineEdit *name)
{
    const QString arzt = hausarztWahl->isChecked() ? hausarzt : name->text();
    // An appointment without a doctor tells the carer nothing.
    if (!arzt.trimmed().isEmpty())
        return arzt;
    meldungZeigen(
        umlauteErsetzen(QStringLiteral("Bitte \"Hausarzt\" w:ae:hlen oder den Namen des Facharztes eintragen.")));
    return QString();
}

void MainWindow::TerminEintragenW()
{
    if (tabellePatientenwahl->rowCount() == 0)
        return;
    if (zellText(tabellePatientenwahl, tabellePatientenwahl->currentRow(), 0).isEmpty()) {
        meldungZeigen(umlauteErsetzen(QStringLiteral("Bitte zuerst einen Patienten ausw:ae:hlen.")));
        return;
    }
    terminFensterZeigen(false, heute, QString());
}

void MainWindow::TerminWEintragen()
{
    terminGespeichert = false;
    const QString patient = zellText(tabellePatientenwahl, tabellePatientenwahl->currentRow(), 0);
    if (patient.isEmpty())
        return;
    const QString arzt = arztLesen(terminNeuHausarzt.get(), terminNeuName.get());
    if (arzt.isEmpty())
        return;

    // Only for a patient who still exists: an appointment of nobody would be lost.
    const QDate datum = terminNeuDatum->date();
    if (!fensterSpeichern(*this, terminGespeichert, [&](DbSitzung &db) {
            QVariant neueId;
            if (!db.aendernZeile(
                    QStringLiteral("INSERT INTO termine (pata_id, arzt, arzt_date) SELECT :pata_id, :arzt, "
                                   ":arzt_date WHERE EXISTS (SELECT 1 FROM patient WHERE id=:pata_da) ;"),
                    {{QStringLiteral(":pata_id"), patient.toInt()},
                     {QStringLiteral(":arzt"), arzt},
                     {QStringLiteral(":arzt_date"), datum},
                     {QStringLiteral(":pata_da"), patient.toInt()}},
                    &neueId))
                return false;
            bool ok = false;
            Verlaufseintrag e;
            e.art = Verlaufsart::terminEingetragen;
            e.patient = patient.toInt();
            e.patientName = patientNameLesen(db, e.patient, &ok);
            e.termin = neueId;
            e.betrifft = arzt + QStringLiteral(" am ") + datumText(datum);
            e.neu = e.betrifft;
            return ok && verlaufSchreiben(db, aktuelleZeit(), e);
        }))
        return;
    TerminFelderZuruecksetzen();
    auffrischen(Geaendert::termine);
}

void MainWindow::TerminAendernW()
{
    if (tabelleTermine->rowCount() == 0)
        return;
    const int zeile = tabelleTermine->currentRow();
    if (zellText(tabelleTermine, zeile, 0).isEmpty()) {
        meldungZeigen(umlauteErsetzen(QStringLiteral("Bitte zuerst in der Liste der Arzttermine den Termin "
                                                     "ausw:ae:hlen, der ge:ae:ndert werden soll.")));
        return;
    }
    terminFensterZeigen(true, QDate::fromString(zellText(tabelleTermine, zeile, 2), QStringLiteral("dd.MM.yyyy")),
                        zellText(tabelleTermine, zeile, 1));
}

void MainWindow::TerminWAendern()
{
    terminGespeichert = false;
    const QString id = zellText(tabelleTermine, tabelleTermine->currentRow(), 0);
    if (id.isEmpty())
        return;
    const QString arzt = arztLesen(terminAendernHausarzt.get(), terminAendernName.get());
    if (arzt.isEmpty())
        return;

    const QDate datum = terminAendernDatum->date();
    if (!fensterSpeichern(*this, terminGespeichert, [&](DbSitzung &db) {
            bool ok = false;
            const std::optional<Terminstand> vorher = terminLesen(db, id.toInt(), Verlaufsart::terminGeaendert, &ok);
            if (!db.aendernZeile(QStringLiteral("UPDATE termine SET arzt=:arzt, arzt_date=:arzt_date WHERE id=:id ;"),
                                 {{QStringLiteral(":arzt"), arzt},
                                  {QStringLiteral(":arzt_date"), datum},
                                  {QStringLiteral(":id"), id.toInt()}}) ||
                !vorher)
                return false;
            const auto aenderung = feldAenderungen({{QStringLiteral("Arzt"), vorher->arzt, arzt},
                                                    {QStringLiteral("Datum"), vorher->datum, datumText(datum)}});
            if (aenderung.first.isEmpty())
                return true;
            Verlaufseintrag e = vorher->eintrag;
            e.alt = aenderung.first;
            e.neu = aenderung.second;
            return verlaufSchreiben(db, aktuelleZeit(), e);
        }))
        return;
    TerminFelderZuruecksetzen();
    auffrischen(Geaendert::termine);
}

void MainWindow::TerminFelderZuruecksetzen()
{
    terminNeuDatum->setDate(heute);
    terminAendernDatum->setDate(heute);
    wahlSetzen(terminNeuHausarzt.get(), terminNeuFacharzt.get(), true, false);
    terminNeuName->clear();
    // The change window sets its choice anew on every opening.
    wahlSetzen(terminAendernHausarzt.get(), terminAendernFacharzt.get(), false, false);
}

void MainWindow::terminFensterZeigen(bool aendern, const QDate &datum, const QString &arzt)
{
    const int p = tabellePatientenwahl->currentRow();
    const QString patient = zellText(tabellePatientenwahl, p, 2) + QStringLiteral(", ") +
                            zellText(tabellePatientenwahl, p, 1) + QStringLiteral(" *") +
                            zellText(tabellePatientenwahl, p, 4);
    QDateEdit *datumFeld = aendern ? terminAendernDatum.get() : terminNeuDatum.get();
    QRadioButton *hausarztWahl = aendern ? terminAendernHausarzt.get() : terminNeuHausarzt.get();
    QRadioButton *facharztWahl = aendern ? terminAendernFacharzt.get() : terminNeuFacharzt.get();
    QLineEdit *name = aendern ? terminAendernName.get() : terminNeuName.get();

    QDialog fenster;
    fensterKopf(fenster, schriftNormal, QStringLiteral("Patient:"), QRect(10, 20, 75, 20), patient);
    fensterText(fenster, QStringLiteral("Termin am:"), QRect(10, 50, 75, 20), Qt::AlignRight | Qt::AlignVCenter);
    fensterText(fenster, QStringLiteral("Arzt:"), QRect(10, 80, 75, 20), Qt::AlignRight | Qt::AlignVCenter);

    const FelderLeihen felder(fenster, {{datumFeld, QRect(85, 50, 100, 20)},
                                        {hausarztWahl, QRect(90, 80, 295, 20)},
                                        {facharztWahl, QRect(90, 100, 90, 20)},
                                        {name, QRect(185, 100, 200, 20)}});
    // An unreadable date in the list leaves the date as it was.
    if (datum.isValid())
        datumFeld->setDate(datum);
    hausarztWahl->setText(QStringLiteral("&") + hausarzt);
    facharztWahl->setText(QStringLiteral("&Facharzt:"));
    if (!aendern) {
        // A name typed before "Abbrechen" is offered again.
        wahlSetzen(hausarztWahl, facharztWahl, true, false);
    } else if (arzt == hausarzt) {
        wahlSetzen(hausarztWahl, facharztWahl, true, false);
        name->clear();
    } else {
        wahlSetzen(hausarztWahl, facharztWahl, false, true);
        name->setText(arzt);
    }

    fensterAusfuehren(fenster, aendern ? QStringLiteral("Termin &:ae:ndern") : QStringLiteral("Termin &eintragen"), 150,
                      aendern ? &MainWindow::TerminWAendern : &MainWindow::TerminWEintragen, terminGespeichert);
}
