// Assigning, removing, showing and reordering intake lines.
#include "app/mainwindow.h"

#include "app/tabellen.h"

#include "intake/bestand.h"
#include "storage/datenbankzugriff.h"
#include "text/textformat.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <array>
#include <optional>

namespace {


} // namespace

void MainWindow::ZuordnungEintragen()
{
    const int patientZeile = tabellePatientenwahl->currentRow();
    if (patientZeile < 0 || zellText(tabellePatientenwahl, patientZeile, 0).isEmpty()) {
        meldungZeigen(umlauteErsetzen(QStringLiteral("Bitte zuerst einen Patienten ausw:ae:hlen.")));
        return;
    }
    const int sortenZeile = tabelleSortenwahl->currentRow();
    if (sortenZeile < 0 || zellText(tabelleSortenwahl, sortenZeile, 0).isEmpty()) {
        meldungZeigen(umlauteErsetzen(
            QStringLiteral("Bitte zuerst rechts eine Packung ausw:ae:hlen, die dem Patienten zugeordnet werden soll.")));
        return;
    }

    // A dose typed wrongly must not silently become 0: the plan would tell
    // the carer to give nothing.
    const std::array<std::pair<QLineEdit *, const char *>, 4> felder{{{editZuordnenMorgen, "Morgen"},
                                                                       {editZuordnenMittag, "Mittag"},
                                                                       {editZuordnenAbend, "Abend"},
                                                                       {editZuordnenNacht, "Nacht"}}};
    std::array<double, 4> dosen{};
    for (std::size_t i = 0; i < felder.size(); ++i) {
        QLineEdit *feld = felder[i].first;
        const QString name = QString::fromLatin1(felder[i].second);
        const QString text = feld->text().trimmed();
        if (text.isEmpty())
            continue;
        const std::optional<double> wert = zahlLesen(text, Bereich::dosis);
        if (!wert) {
            meldungZeigen(zahlFehlerText(name, text, Bereich::dosis));
            feld->setFocus();
            return;
        }
        dosen[i] = *wert;
    }

    // The new line starts with one package; units unreadable or out of range count 0.
    const double packung = zahlLesen(anzeigeZuordnenPackung->text(), Bereich::einheiten).value_or(0.0);

    DbSitzung db(*this);
    // Behind the highest position, not at row count + 1: after a gap the
    // new line would otherwise land between older ones.
    const QString patientId = zellText(tabellePatientenwahl, patientZeile, 0);
    const auto hoechste = db.lesen(QStringLiteral("SELECT max(ordnung) AS hoechste FROM einnahme WHERE pat_id=:pat ;"),
                                   {{QStringLiteral(":pat"), patientId}});
    const int ordnung =
        qMax(tabelleZuordnung->rowCount(), hoechste.isEmpty() ? 0 : hoechste.first().value(0).toInt()) + 1;
    const bool gespeichert = db.aendern(
        QStringLiteral("INSERT INTO einnahme (id, pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, hilfe, "
                       "ordnung) VALUES (NULL, :pat_id, :med_id, :tag , :stand, :morgen, :mittag, :abend, :nacht, "
                       ":hilfe, :ordnung) ;"),
        {{QStringLiteral(":pat_id"), patientId},
         {QStringLiteral(":med_id"), zellText(tabelleSortenwahl, sortenZeile, 0).toInt()},
         {QStringLiteral(":tag"), datumErsteinnahme->date()},
         {QStringLiteral(":stand"), packung},
         {QStringLiteral(":morgen"), dosen[0]},
         {QStringLiteral(":mittag"), dosen[1]},
         {QStringLiteral(":abend"), dosen[2]},
         {QStringLiteral(":nacht"), dosen[3]},
         {QStringLiteral(":hilfe"), auswahlHilfsmittel->checkState() != Qt::Unchecked},
         {QStringLiteral(":ordnung"), ordnung}});
    // What was typed stays when it could not be stored.
    if (!gespeichert)
        return;

    datumErsteinnahme->setDate(heute);
    anzeigeZuordnenDosis->clear();
    anzeigeZuordnenPackung->clear();
    for (const auto &f : felder)
        f.first->clear();
    auswahlHilfsmittel->setCheckState(Qt::Unchecked);
    anzeigeZuordnenSorte->clear();
    // A second "Eintragen" must not assign the same package again without
    // its units.
    tabelleSortenwahl->clearSelection();
    tabelleSortenwahl->setCurrentCell(-1, -1);

    ZuordnungFuellenMit();
    if (tabelleZuordnung->rowCount() > 0)
        tabelleZuordnung->setCurrentCell(tabelleZuordnung->rowCount() - 1, 1);
    ZuordnungAnklicken();
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
    db.aendern(QStringLiteral("DELETE FROM einnahme WHERE id=:id ;"), {{QStringLiteral(":id"), id}});
    ZuordnungFuellenMit();
    if (tabelleZuordnung->rowCount() > 0)
        tabelleZuordnung->setCurrentCell(0, 1);
    ZuordnungAnklicken();
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
    detailDosis->setText(einnahmeDosis.at(r));
    detailPackung->setText(einnahmePackung.at(r));
    detailDatum->setText(heute.toString(QStringLiteral("dd.MM.yyyy")));
    detailBestand->setText(einnahmeFehler.at(r).isEmpty() ? einnahmeBestand.at(r) : ungueltigText());
    detailBestand->setToolTip(einnahmeFehler.at(r));
}

void MainWindow::ZuordnungDetailsLeeren()
{
    for (QLabel *box : {detailMedizin, detailMorgen, detailMittag, detailAbend, detailNacht, detailDosis,
                        detailPackung, detailDatum, detailBestand}) {
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
    const QString id = zellText(tabelleZuordnung, zeile, 0);
    const int p = zellText(tabelleZuordnung, zeile, 4).toInt();
    // The line exchanges its position with the line shown next to it; with
    // gaps in the positions (1, 3, 4) p +/- 1 would name no line, and the
    // line would not visibly move or could not move down at all.
    const int ziel = zeile + richtung;
    const bool amRand = ziel < 0 || ziel >= tabelleZuordnung->rowCount();

    DbSitzung db(*this);
    if (!amRand) {
        const int nachbar = zellText(tabelleZuordnung, ziel, 4).toInt();
        // The neighbour waits on 9999, a position no line holds, so that no
        // two lines share a position at any moment; all three or none.
        db.transaktion([&] {
            return db.aendern(QStringLiteral("UPDATE einnahme SET ordnung=:zahl WHERE ordnung=:ordnung AND pat_id=:pat ;"),
                              {{QStringLiteral(":zahl"), 9999},
                               {QStringLiteral(":ordnung"), nachbar},
                               {QStringLiteral(":pat"), aktuellerPatient}}) &&
                   db.aendern(QStringLiteral("UPDATE einnahme SET ordnung=:neueordnung WHERE ordnung=:ordnung AND "
                                             "pat_id=:pat ;"),
                              {{QStringLiteral(":neueordnung"), nachbar},
                               {QStringLiteral(":ordnung"), p},
                               {QStringLiteral(":pat"), aktuellerPatient}}) &&
                   db.aendern(QStringLiteral("UPDATE einnahme SET ordnung=:neueordnung WHERE ordnung=9999 AND "
                                             "pat_id=:pat ;"),
                              {{QStringLiteral(":neueordnung"), p}, {QStringLiteral(":pat"), aktuellerPatient}});
        });
    }
    ZuordnungFuellen();
    // The moved line stays current wherever it now stands.
    zuordnungZeigen(id);
}
