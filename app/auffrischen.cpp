// SPDX-License-Identifier: GPL-3.0-or-later
// The one way back to the screen: after a command changed something, every
// view that shows it is read anew, once, keeping what was chosen by key.
#include "app/auffrischen.h"

#include "app/mainwindow.h"
#include "app/tabellen.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {

struct Abhaengigkeit {
    Geaendert was;
    Ansichten zeigen;
};

// What changed, and the views that show it.
const Abhaengigkeit abhaengigkeiten[] = {
    {Geaendert::patienten,
     Ansicht::patientenliste | Ansicht::patientenwahl | Ansicht::patientKopf | Ansicht::rezeptbedarf},
    {Geaendert::patientGewaehlt,
     Ansicht::patientKopf | Ansicht::zuordnung | Ansicht::termine | Ansicht::uebersicht | Ansicht::verordnungsplan},
    {Geaendert::katalog, Ansicht::medikamente | Ansicht::sortenwahl | Ansicht::zuordnung | Ansicht::uebersicht |
                             Ansicht::verordnungsplan | Ansicht::rezeptbedarf},
    {Geaendert::einnahme, Ansicht::zuordnung | Ansicht::uebersicht | Ansicht::verordnungsplan | Ansicht::rezeptbedarf},
    {Geaendert::termine, Ansicht::termine | Ansicht::uebersicht | Ansicht::rezeptbedarf},
    {Geaendert::anforderungen, Ansicht::rezeptbedarf},
};

// The key of a table's current row; none when no row is current.
std::optional<QString> gewaehlt(const QTableWidget *tabelle)
{
    const QString schluessel = zellText(tabelle, tabelle->currentRow(), 0);
    return schluessel.isEmpty() ? std::nullopt : std::optional<QString>(schluessel);
}

} // namespace

Ansichten ansichtenFuer(Aenderungen was)
{
    Ansichten ansichten;
    for (const Abhaengigkeit &a : abhaengigkeiten) {
        if (was & a.was)
            ansichten |= a.zeigen;
    }
    return ansichten;
}

void MainWindow::auffrischen(Aenderungen was, const Auswahl &gewuenscht)
{
    // What the list of every patient's needs was read from is kept only
    // while nothing it shows changed, here and now, and whether its page is
    // in front or not.
    if (ansichtenFuer(was) & Ansicht::rezeptbedarf)
        bedarfGrundlage.reset();
    ansichtenAuffrischen(ansichtenFuer(was), gewuenscht, was.testFlag(Geaendert::datei));
}

void MainWindow::verborgeneAnsichtenZeigen()
{
    if (!ausstehend)
        return;
    const Ansichten ansichten = ausstehend;
    ausstehend = Ansichten();
    ansichtenAuffrischen(ansichten, ausstehendeAuswahl, false);
}

void MainWindow::ansichtenAuffrischen(Ansichten ansichten, const Auswahl &gewuenscht, bool andereDatei)
{

    // What was chosen stays chosen, unless the command asks for other rows
    // or the keys belong to another file.
    const auto vorher = [andereDatei](const QTableWidget *tabelle) {
        return andereDatei ? std::optional<QString>(QString()) : gewaehlt(tabelle);
    };
    const std::optional<QString> patient = gewuenscht.patient ? gewuenscht.patient : vorher(tabellePatientenwahl);
    const std::optional<QString> medikament = gewuenscht.medikament ? gewuenscht.medikament
                                                                    : vorher(tabelleMedikamente);
    const std::optional<QString> sorte = gewuenscht.sorte ? gewuenscht.sorte : vorher(tabelleSorten);
    const std::optional<QString> zeile = gewuenscht.zeile ? gewuenscht.zeile : gewaehlt(tabelleZuordnung);
    const std::optional<QString> termin = gewuenscht.termin ? gewuenscht.termin : gewaehlt(tabelleTermine);

    // The list pages are in the window only while "Listen" is on: their
    // views wait until they are shown, with the rows to choose then. The
    // list of every patient's needs is read only while its page is in
    // front: it costs what all lines of all patients cost.
    Ansichten verborgen;
    if (hauptTabs->indexOf(seitePatienten) < 0)
        verborgen |= Ansicht::patientenliste;
    if (hauptTabs->indexOf(seiteMedikamente) < 0)
        verborgen |= Ansicht::medikamente;
    if (hauptTabs->currentWidget() != seiteRezeptbedarf)
        verborgen |= Ansicht::rezeptbedarf;
    if (ansichten & verborgen) {
        ausstehend |= ansichten & verborgen;
        if (ansichten & verborgen & (Ansicht::patientenliste | Ansicht::medikamente)) {
            ausstehendeAuswahl.medikament = medikament;
            ausstehendeAuswahl.sorte = sorte;
        }
        ansichten &= ~verborgen;
    }

    const QString patientVorher = zellText(tabellePatientenwahl, tabellePatientenwahl->currentRow(), 0);
    const std::optional<QString> medikamentVorher = gewaehlt(tabelleMedikamente);
    const std::optional<QString> sorteVorher = gewaehlt(tabelleSorten);
    const int bearbeitet = bearbeitungsPatientId;

    // What the user is typing and has not stored yet stays: the refill
    // would otherwise put the stored texts back into the fields.
    QList<QPair<QLineEdit *, QString>> getippt;
    if (!andereDatei) {
        for (QLineEdit *feld : findChildren<QLineEdit *>()) {
            if (feld->isModified())
                getippt.append({feld, feld->text()});
        }
    } else {
        // Only a window on a server database has one to copy from or into.
        const bool aufServer = art() == Datenbankart::postgres;
        aktionAlsDateiSichern->setEnabled(aufServer);
        aktionDateiAufServer->setEnabled(aufServer);
        patientenSuchspalte = QStringLiteral("firstname");
        patientenSuchtext.clear();
        bearbeitungLeeren();
        // Rows of the other file must not be acted on, nor chosen again by key.
        bedarfLeeren();
        tabelleSortenwahl->setCurrentCell(-1, -1);
        for (QLabel *l : {anzeigeZuordnenSorte, anzeigeZuordnenDosis, anzeigeZuordnenPackung})
            l->clear();
    }
    if (gewuenscht.bearbeitet) {
        bearbeitungLeeren();
        bearbeitungsPatientId = *gewuenscht.bearbeitet;
    }

    if (ansichten & Ansicht::patientenliste)
        patientenListeAuffrischen();
    if (ansichten & Ansicht::patientenwahl) {
        patientenwahlFuellen(patient.value_or(QString()));
        if (zellText(tabellePatientenwahl, tabellePatientenwahl->currentRow(), 0) != patientVorher)
            ansichten |= ansichtenFuer(Geaendert::patientGewaehlt);
    }
    if (ansichten & Ansicht::patientKopf)
        patientKopfZeigen();
    if (ansichten & Ansicht::medikamente) {
        MedikamenteFuellen();
        katalogZeigen(medikament.value_or(QString()), sorte.value_or(QString()));
    }
    if (ansichten & Ansicht::sortenwahl)
        MedizinEinstellungFuellen();
    if (ansichten & Ansicht::zuordnung) {
        ZuordnungFuellen();
        if (zeile)
            zuordnungZeigen(*zeile);
        ZuordnungAnklicken();
    }
    if (ansichten & Ansicht::termine) {
        TermineFuellen();
        const int t = termin ? zeileMitSchluessel(tabelleTermine, *termin) : -1;
        if (t >= 0)
            tabelleTermine->setCurrentCell(t, 1);
    }
    if (ansichten & Ansicht::uebersicht)
        UebersichtFuellen();
    if (ansichten & Ansicht::verordnungsplan)
        VerordnungsplanFuellen();
    if (ansichten & Ansicht::rezeptbedarf)
        RezeptbedarfFuellen();

    // Typed text belongs to the row it was typed for: when that row is gone,
    // it must not land in the fields of another, where a click would store it.
    QList<QLineEdit *> verwaist;
    if (bearbeitungsPatientId != bearbeitet)
        verwaist << editName << editVorname << editPlz << editOrt << editStrasse << editNr;
    if (gewaehlt(tabelleMedikamente) != medikamentVorher)
        verwaist << editMedikamentName;
    if (gewaehlt(tabelleSorten) != sorteVorher)
        verwaist << editSorteNeuHandelsname << editSorteNeuDosis << editSorteNeuPackung << editSorteNeuPzn;
    for (const auto &g : getippt) {
        if (verwaist.contains(g.first))
            continue;
        g.first->setText(g.second);
        g.first->setModified(true);
    }
}

void MainWindow::AllesEinlesen()
{
    auffrischen(Geaendert::datei);
}
