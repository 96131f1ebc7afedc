// SPDX-License-Identifier: GPL-3.0-or-later
// Assigning, removing, showing and reordering intake lines.
#include "app/mainwindow.h"

#include "app/tabellen.h"

#include "intake/bestand.h"
#include "intake/dosisfelder.h"
#include "intake/gespeichert.h"
#include "storage/datenbankzugriff.h"
#include "text/textformat.h"
#include "verlauf/verlauf.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTableWidget>

#include <array>
#include <optional>

namespace {


} // namespace

const char *const einnahmeEinfuegen =
    "INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, hilfe, ordnung) SELECT :pat_id, "
    ":med_id, :tag , :stand, :morgen, :mittag, :abend, :nacht, :hilfe, :ordnung WHERE EXISTS (SELECT 1 FROM patient "
    "WHERE id=:pat_da) AND EXISTS (SELECT 1 FROM sorte WHERE id=:med_da) ;";

void MainWindow::ZuordnungEintragen()
{
    const int patientZeile = tabellePatientenwahl->currentRow();
    if (patientZeile < 0 || zellText(tabellePatientenwahl, patientZeile, 0).isEmpty()) {
        meldungZeigen(umlauteErsetzen(QStringLiteral("Bitte zuerst einen Patienten ausw:ae:hlen.")));
        return;
    }
    const int sortenZeile = tabelleSortenwahl->currentRow();
    if (sortenZeile < 0 || zellText(tabelleSortenwahl, sortenZeile, 0).isEmpty()) {
        meldungZeigen(umlauteErsetzen(QStringLiteral(
            "Bitte zuerst rechts eine Packung ausw:ae:hlen, die dem Patienten zugeordnet werden soll.")));
        return;
    }

    const Dosiseingabe eingabe = dosenLesen(editZuordnenMorgen, editZuordnenMittag, editZuordnenAbend,
                                            editZuordnenNacht);
    if (eingabe.fehlerFeld) {
        meldungZeigen(eingabe.fehler);
        eingabe.fehlerFeld->setFocus();
        return;
    }
    const std::array<double, 4> &dosen = eingabe.dosen;

    // The new line starts with one package; units unreadable or out of range count 0.
    const double packung = zahlLesen(anzeigeZuordnenPackung->text(), Bereich::einheiten).value_or(0.0);

    DbSitzung db(*this);
    const QString patientId = zellText(tabellePatientenwahl, patientZeile, 0);
    const int sorteId = zellText(tabelleSortenwahl, sortenZeile, 0).toInt();
    QVariant neueId;
    const bool gespeichert = db.transaktion([&] {
        // Behind the highest position, not at row count + 1: after a gap the
        // new line would otherwise land between older ones.
        bool ok = false;
        const auto hoechste = db.lesen(
            QStringLiteral("SELECT max(ordnung) AS hoechste FROM einnahme WHERE pat_id=:pat ;"),
            {{QStringLiteral(":pat"), patientId}}, &ok);
        if (!ok)
            return false;
        const int ordnung = qMax(tabelleZuordnung->rowCount(),
                                 hoechste.isEmpty() ? 0 : hoechste.first().value(0).toInt()) +
                            1;
        // Only for a patient and a package that still exist: a line of
        // nobody would be lost, one of a gone package useless.
        const bool eingetragen = db.aendernZeile(
            QString::fromLatin1(einnahmeEinfuegen),
            Werte{{QStringLiteral(":pat_id"), patientId},
                  {QStringLiteral(":med_id"), sorteId},
                  {QStringLiteral(":tag"), datumErsteinnahme->date()},
                  {QStringLiteral(":stand"), packung},
                  {QStringLiteral(":hilfe"), auswahlHilfsmittel->checkState() != Qt::Unchecked},
                  {QStringLiteral(":ordnung"), ordnung},
                  {QStringLiteral(":pat_da"), patientId},
                  {QStringLiteral(":med_da"), sorteId}} +
                dosenWerte(dosen),
            &neueId);
        const std::optional<Einnahmestand> zeile = eingetragen ? einnahmeLesen(db, neueId, &ok) : std::nullopt;
        if (!zeile)
            return false;
        Verlaufseintrag e = einnahmeEintrag(Verlaufsart::zugeordnet, neueId, *zeile);
        e.neu = einnahmeText(*zeile);
        return verlaufSchreiben(db, aktuelleZeit(), e);
    });
    // What was typed stays when it could not be stored.
    if (!gespeichert)
        return;

    datumErsteinnahme->setDate(heute);
    anzeigeZuordnenDosis->clear();
    anzeigeZuordnenPackung->clear();
    for (QLineEdit *feld : {editZuordnenMorgen, editZuordnenMittag, editZuordnenAbend, editZuordnenNacht})
        feld->clear();
    auswahlHilfsmittel->setCheckState(Qt::Unchecked);
    anzeigeZuordnenSorte->clear();
    // A second "Eintragen" must not assign the same package again without
    // its units.
    tabelleSortenwahl->clearSelection();
    tabelleSortenwahl->setCurrentCell(-1, -1);

    // Positions 1..n once more, in a step of their own: the line stays
    // assigned when they cannot be written.
    db.transaktion([&] { return positionenOrdnen(db, patientId); });
    // The new line, at the end, is the one shown and acted on.
    Auswahl neu;
    neu.zeile = neueId.toString();
    auffrischen(Geaendert::einnahme, neu);
}

void MainWindow::ZuordnungLoeschen()
{
    const int zeile = tabelleZuordnung->currentRow();
    if (tabelleZuordnung->rowCount() == 0 || zeile < 0)
        return;
    const QString id = zellText(tabelleZuordnung, zeile, 0);
    if (id.isEmpty())
        return;

    DbSitzung db(*this);
    // A line removed elsewhere meanwhile is reported, not passed over; the
    // lines behind it move up.
    const bool geloescht = db.transaktion([&] {
        bool ok = false;
        const std::optional<Einnahmestand> zeile = einnahmeLesen(db, id, &ok);
        if (ok && !zeile)
            db.konflikt();
        return zeile &&
               db.aendernZeile(QStringLiteral("DELETE FROM einnahme WHERE id=:id ;"), {{QStringLiteral(":id"), id}}) &&
               verlaufSchreiben(db, aktuelleZeit(), einnahmeEntfernt(id, *zeile, heute));
    });
    if (!geloescht)
        return;
    db.transaktion([&] { return positionenOrdnen(db, aktuellerPatient); });
    Auswahl erste;
    erste.zeile = QString();
    auffrischen(Geaendert::einnahme, erste);
}

void MainWindow::ZuordnungAnklicken()
{
    ZuordnungDetailsLeeren();
    const int r = tabelleZuordnung->currentRow();
    if (r < 0 || r >= einnahmeZeilen())
        return;
    detailMedizin->setText(einnahmeMedizin.at(r));
    // What cannot be read is said so, never shown as a figure.
    QLabel *const dosisBoxen[] = {detailMorgen, detailMittag, detailAbend, detailNacht};
    const QString dosen[] = {einnahmeMorgen.at(r), einnahmeMittag.at(r), einnahmeAbend.at(r), einnahmeNacht.at(r)};
    for (int d = 0; d < 4; ++d) {
        const QString &fehler = einnahmeDosisFehler.at(r).at(d);
        dosisBoxen[d]->setText(fehler.isEmpty() ? dosen[d] : ungueltigText());
        dosisBoxen[d]->setToolTip(fehler);
    }
    // A dose in words is no schedule of four figures.
    if (einnahmePlan.value(r).ohneTagesverbrauch()) {
        for (QLabel *box : dosisBoxen)
            box->clear();
        detailMorgen->setText(einnahmePlan.at(r).dosisAnzeige());
    }
    detailDosis->setText(einnahmeDosis.at(r));
    detailPackung->setText(einnahmePackung.at(r));
    detailDatum->setText(heute.toString(QStringLiteral("dd.MM.yyyy")));
    detailBestand->setText(einnahmeFehler.at(r).isEmpty() ? einnahmeBestand.at(r) : ungueltigText());
    detailBestand->setToolTip(einnahmeFehler.at(r));
}

void MainWindow::ZuordnungDetailsLeeren()
{
    for (QLabel *box : {detailMedizin, detailMorgen, detailMittag, detailAbend, detailNacht, detailDosis, detailPackung,
                        detailDatum, detailBestand}) {
        box->clear();
        box->setToolTip(QString());
    }
}

void MainWindow::EinstellungZuordnungHoch()
{
    zuordnungVerschieben(-1);
}

void MainWindow::EinstellungZuordnungRunter()
{
    zuordnungVerschieben(+1);
}

void MainWindow::zuordnungZeigen(const QString &id)
{
    if (id.isEmpty()) {
        if (tabelleZuordnung->rowCount() > 0)
            tabelleZuordnung->setCurrentCell(0, 1);
        return;
    }
    for (int z = 0; z < tabelleZuordnung->rowCount(); ++z) {
        if (zellText(tabelleZuordnung, z, 0) == id) {
            tabelleZuordnung->setCurrentCell(z, 1);
            return;
        }
    }
}

void MainWindow::zuordnungVerschieben(int richtung)
{
    const int zeile = tabelleZuordnung->currentRow();
    if (tabelleZuordnung->rowCount() == 0 || zeile < 0)
        return;
    // The line exchanges its place with the line shown next to it; with
    // gaps in the positions (1, 3, 4) p +/- 1 would name no line.
    const int ziel = zeile + richtung;
    if (ziel < 0 || ziel >= tabelleZuordnung->rowCount())
        return;
    const QString id = zellText(tabelleZuordnung, zeile, 0);
    const QString nachbarId = zellText(tabelleZuordnung, ziel, 0);

    DbSitzung db(*this);
    db.transaktion([&] {
        // The patient's lines as the file orders them now; the two must still
        // stand next to each other as shown.
        bool ok = false;
        const auto zeilen = db.lesen(QStringLiteral("SELECT id, ordnung FROM einnahme WHERE pat_id=:pat ORDER BY "
                                                    "ordnung, id"),
                                     {{QStringLiteral(":pat"), aktuellerPatient}}, &ok);
        if (!ok)
            return false;
        QStringList ids;
        QVariantList positionen;
        for (const QSqlRecord &r : zeilen) {
            ids << r.value(0).toString();
            positionen << r.value(1);
        }
        const int a = ids.indexOf(id);
        const int b = ids.indexOf(nachbarId);
        if (a < 0 || b < 0 || b != a + richtung) {
            db.konflikt();
            return false;
        }
        // Two lines on the same position cannot exchange positions: the
        // patient's lines are then numbered 1..n in the order shown first.
        const bool getrennt = !positionen.at(a).isNull() && !positionen.at(b).isNull() &&
                              positionen.at(a).toLongLong() != positionen.at(b).toLongLong();
        QVariantList neu = positionen;
        if (getrennt) {
            std::swap(neu[a], neu[b]);
        } else {
            for (int i = 0; i < neu.size(); ++i)
                neu[i] = i + 1;
            std::swap(neu[a], neu[b]);
        }
        for (int i = 0; i < ids.size(); ++i) {
            if (neu.at(i) == positionen.at(i) && !positionen.at(i).isNull())
                continue;
            if (!db.aendernZeile(QStringLiteral("UPDATE einnahme SET ordnung=:neu WHERE id=:id AND ordnung %1 :alt")
                                     .arg(Dialekt::gleich(db.art())),
                                 {{QStringLiteral(":neu"), neu.at(i)},
                                  {QStringLiteral(":id"), ids.at(i)},
                                  {QStringLiteral(":alt"), positionen.at(i)}}))
                return false;
        }
        // The places as the table shows them, counted from 1.
        const std::optional<Einnahmestand> zeile = einnahmeLesen(db, id, &ok);
        if (!zeile)
            return false;
        Verlaufseintrag e = einnahmeEintrag(Verlaufsart::verschoben, id, *zeile);
        e.alt = QStringLiteral("Platz %1").arg(a + 1);
        e.neu = QStringLiteral("Platz %1").arg(b + 1);
        return verlaufSchreiben(db, aktuelleZeit(), e);
    });
    // The moved line stays current wherever it now stands.
    Auswahl verschoben;
    verschoben.zeile = id;
    auffrischen(Geaendert::einnahme, verschoben);
}
