// SPDX-License-Identifier: GPL-3.0-or-later
// Reading every view anew after a change made elsewhere.
#include "app/mainwindow.h"

#include "app/tabellen.h"
#include "catalogue/katalog.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>

void MainWindow::neuLaden()
{
    const QString patient = zellText(tabellePatientenwahl, tabellePatientenwahl->currentRow(), 0);
    const QString medikament = zellText(tabelleMedikamente, tabelleMedikamente->currentRow(), 0);
    const QString sorte = zellText(tabelleSorten, tabelleSorten->currentRow(), 0);
    const QString zeile = zellText(tabelleZuordnung, tabelleZuordnung->currentRow(), 0);
    const QString termin = zellText(tabelleTermine, tabelleTermine->currentRow(), 0);
    const int bearbeitet = bearbeitungsPatientId;

    // What the user is typing and has not stored yet stays: the refill
    // would otherwise put the stored texts back into the fields.
    QList<QPair<QLineEdit *, QString>> getippt;
    for (QLineEdit *feld : findChildren<QLineEdit *>()) {
        if (feld->isModified())
            getippt.append({feld, feld->text()});
    }

    MedizinEinstellungFuellen();
    MedikamenteFuellen();
    medikamentZeigen(medikament);
    sorteZeigen(sorte);
    patientenListeAuffrischen();

    patientenwahlFuellen(0, patient);
    if (zellText(tabellePatientenwahl, tabellePatientenwahl->currentRow(), 0) == patient) {
        zuordnungZeigen(zeile);
        ZuordnungAnklicken();
        const int t = zeileMitSchluessel(tabelleTermine, termin);
        if (t >= 0)
            tabelleTermine->setCurrentCell(t, 1);
    }

    // Typed text belongs to the row it was typed for: when that row is gone,
    // it must not land in the fields of another, where a click would store it.
    QList<QLineEdit *> verwaist;
    if (bearbeitungsPatientId != bearbeitet)
        verwaist << editName << editVorname << editPlz << editOrt << editStrasse << editNr;
    if (zellText(tabelleMedikamente, tabelleMedikamente->currentRow(), 0) != medikament)
        verwaist << editMedikamentName;
    if (zellText(tabelleSorten, tabelleSorten->currentRow(), 0) != sorte)
        verwaist << editSorteNeuHandelsname << editSorteNeuDosis << editSorteNeuPackung;
    for (const auto &g : getippt) {
        if (verwaist.contains(g.first))
            continue;
        g.first->setText(g.second);
        g.first->setModified(true);
    }
}
