// SPDX-License-Identifier: GPL-3.0-or-later
// The list "Rezeptbedarf": what every patient must order, in the order it
// runs out; a click chooses the patient and line, a double click books.
#include "app/mainwindow.h"

#include "app/tabelle.h"
#include "app/tabellen.h"
#include "intake/bestand.h"
#include "text/textformat.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QSet>
#include <QTableWidget>

#include <algorithm>

namespace {

QString datumText(const QDate &tag)
{
    return tag.isValid() ? tag.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

} // namespace

void MainWindow::RezeptbedarfFuellen()
{
    // The rows chosen stay chosen by their lines, wherever they now stand.
    QSet<qint64> gewaehlt;
    for (int z : bedarfGewaehlt())
        gewaehlt.insert(bedarfZeilen.at(z).einnahme);
    const int aktuell = tabelleRezeptbedarf->currentRow();
    const qint64 aktuelleZeile = aktuell >= 0 && aktuell < bedarfZeilen.size() ? bedarfZeilen.at(aktuell).einnahme : 0;

    bedarfHeute = heute;
    bedarfBis = datumBedarfBis->date();
    bool ok = true;
    {
        DbSitzung db(*this);
        // Read anew unless the file is certainly as it was read: not changed
        // here, by another window or program, nor replaced, and still today.
        // The stand is taken before the read, so that a change made during
        // it counts as one after it.
        const DbVerbindung::Datenstand stand = db.datenstand();
        if (!bedarfGrundlage || bedarfGrundlage->heute != bedarfHeute || stand != bedarfDatenstand) {
            bedarfGrundlage.reset();
            Bedarfsgrundlage gelesen = bedarfEinlesen(db, bedarfHeute, &ok);
            if (ok) {
                bedarfGrundlage = std::move(gelesen);
                bedarfDatenstand = stand;
            }
        }
    }
    // A read that failed (and was reported) shows nothing rather than part.
    Bedarfsliste liste;
    if (ok)
        liste = bedarfAuswerten(*bedarfGrundlage, bedarfBis, auswahlBisHausarzt->isChecked());
    bedarfZeilen = std::move(liste.zeilen);
    bedarfPatienten = std::move(liste.patienten);

    tabelleRezeptbedarf->setUpdatesEnabled(false);
    tabelleRezeptbedarf->selectionModel()->clear();
    // Cells are made once a row comes into view: none are kept from before.
    tabelleRezeptbedarf->setRowCount(0);
    tabelleRezeptbedarf->setRowCount(bedarfZeilen.size());

    QItemSelection auswahl;
    int neueAktuelle = -1;
    const int spalten = tabelleRezeptbedarf->columnCount();
    QAbstractItemModel *modell = tabelleRezeptbedarf->model();
    for (int z = 0; z < bedarfZeilen.size(); ++z) {
        const qint64 id = bedarfZeilen.at(z).einnahme;
        if (id == aktuelleZeile)
            neueAktuelle = z;
        if (!gewaehlt.contains(id))
            continue;
        // Neighbouring rows in one range: a selection of thousands of rows stays cheap.
        if (!auswahl.isEmpty() && auswahl.last().bottom() == z - 1)
            auswahl.last() = QItemSelectionRange(auswahl.last().topLeft(), modell->index(z, spalten - 1));
        else
            auswahl.append(QItemSelectionRange(modell->index(z, 0), modell->index(z, spalten - 1)));
    }
    if (neueAktuelle >= 0)
        tabelleRezeptbedarf->selectionModel()->setCurrentIndex(modell->index(neueAktuelle, 1),
                                                               QItemSelectionModel::NoUpdate);
    tabelleRezeptbedarf->selectionModel()->select(auswahl, QItemSelectionModel::Select);
    qobject_cast<Tabelle *>(tabelleRezeptbedarf)->sichtbareZeilenMachen();
    tabelleRezeptbedarf->setUpdatesEnabled(true);

    QString hinweis;
    if (ok && bedarfPatienten.isEmpty())
        hinweis = QStringLiteral("Noch ist kein Patient angelegt: Es gibt nichts nachzubestellen.");
    else if (ok && bedarfZeilen.isEmpty())
        hinweis = auswahlBisHausarzt->isChecked()
                      ? QStringLiteral("Bis zum %1 und bis zum n\u00E4chsten Hausarzttermin reicht bei jedem "
                                       "Patienten der Bestand: Es muss nichts bestellt werden.")
                            .arg(datumText(bedarfBis))
                      : QStringLiteral("Bis zum %1 reicht bei jedem Patienten der Bestand: Es muss nichts bestellt "
                                       "werden.")
                            .arg(datumText(bedarfBis));
    tabellenHinweis(tabelleRezeptbedarf, hinweis);
}

void MainWindow::bedarfZeilenZeigen(int von, int bis)
{
    const QString ungueltig = ungueltigText();
    zellenFuellen(tabelleRezeptbedarf, [&] {
        for (int z = von; z <= bis && z < bedarfZeilen.size(); ++z) {
            if (tabelleRezeptbedarf->item(z, 0))
                continue;
            const Bedarfszeile &b = bedarfZeilen.at(z);
            const Bedarfspatient &p = bedarfPatienten.at(b.patient);
            const Bedarf &d = b.bedarf;
            tabelleRezeptbedarf->setItem(z, 0, neueZelle(QString::number(b.einnahme)));
            tabelleRezeptbedarf->setItem(z, 1, neueZelle(p.name + QStringLiteral(", ") + p.vorname));
            tabelleRezeptbedarf->setItem(z, 2, neueZelle(b.medizin));
            tabelleRezeptbedarf->setItem(z, 3, neueZelle(b.handelsname));
            tabelleRezeptbedarf->setItem(z, 4, neueZelle(b.dosis, true));
            QTableWidgetItem *bestand, *reichtBis, *packungen;
            if (!d.fehler.isEmpty()) {
                bestand = neueZelle(ungueltig, true);
                reichtBis = neueZelle(ungueltig, true);
                packungen = neueZelle(ungueltig, true);
                for (QTableWidgetItem *i : {bestand, reichtBis, packungen})
                    i->setToolTip(d.fehler);
            } else {
                // The overview's own texts for the line.
                const Reichweite r = reichweiteBerechnen(bestandText(d.reichweite), d.verbrauch, b.handelsname,
                                                         bedarfHeute, QDate());
                bestand = neueZelle(bestandText(static_cast<double>(d.bestand)), true);
                reichtBis = neueZelle(r.reichtBisText, true);
                reichtBis->setToolTip(r.hinweis);
                if (d.leer)
                    reichtBis->setBackground(QColor(Qt::red));
                else if (d.gelb)
                    reichtBis->setBackground(QColor(Qt::yellow));
                packungen = neueZelle(d.packungen ? QString::number(*d.packungen) : QStringLiteral("?"), true);
                if (d.packungen)
                    packungen->setToolTip(QStringLiteral("je %1 Einheiten").arg(b.einheiten));
                else
                    packungen->setToolTip(umlauteErsetzen(
                        QStringLiteral("F:ue:r diese Packung ist nicht bekannt, wie viele Einheiten sie enth:ae:lt: "
                                       "unter \u201EMedikamentenliste\u201C eintragen.")));
            }
            tabelleRezeptbedarf->setItem(z, 5, bestand);
            tabelleRezeptbedarf->setItem(z, 6, reichtBis);
            tabelleRezeptbedarf->setItem(z, 7, packungen);
            tabelleRezeptbedarf->setItem(z, 8, neueZelle(datumText(p.hausarztTermin), true));
            tabelleRezeptbedarf->setItem(z, 9, neueZelle(datumText(b.angefordert), true));
        }
    });
}

QVector<int> MainWindow::bedarfGewaehlt() const
{
    QVector<int> zeilen;
    for (const QModelIndex &i : tabelleRezeptbedarf->selectionModel()->selectedRows())
        if (i.row() < bedarfZeilen.size())
            zeilen.append(i.row());
    std::sort(zeilen.begin(), zeilen.end());
    return zeilen;
}

void MainWindow::bedarfLeeren()
{
    tabelleRezeptbedarf->selectionModel()->clear();
    tabelleRezeptbedarf->setRowCount(0);
    bedarfZeilen.clear();
    bedarfPatienten.clear();
    bedarfGrundlage.reset();
}

void MainWindow::RezeptbedarfFristAendern()
{
    if (datumBedarfBis->date() < heute) {
        meldungZeigen(QStringLiteral("Der Tag \u201Ebis\u201C (%1) liegt vor heute. Bitte einen Tag ab heute "
                                     "w\u00E4hlen; die Liste bleibt, wie sie war.")
                          .arg(datumText(datumBedarfBis->date())));
        const QSignalBlocker still(datumBedarfBis);
        datumBedarfBis->setDate(bedarfBis.isValid() ? bedarfBis : heute.addDays(28));
        return;
    }
    // No data changed, only what the list is chosen for: it is filled anew
    // through the one way back to the screen, from what was read.
    ansichtenAuffrischen(Ansicht::rezeptbedarf, Auswahl(), false);
}

void MainWindow::RezeptbedarfAnklicken(int zeile)
{
    if (zeile < 0 || zeile >= bedarfZeilen.size())
        return;
    const Bedarfszeile &b = bedarfZeilen.at(zeile);
    // Chosen as a click in the choice list chooses, with the line shown.
    Auswahl gewaehlt;
    gewaehlt.patient = QString::number(bedarfPatienten.at(b.patient).id);
    gewaehlt.zeile = QString::number(b.einnahme);
    const int z = zeileMitSchluessel(tabellePatientenwahl, *gewaehlt.patient);
    if (z >= 0)
        tabellePatientenwahl->setCurrentCell(z, 1);
    auffrischen(z < 0 || fremdGeaendert() ? Geaendert::alles : Geaendert::patientGewaehlt, gewaehlt);
}

void MainWindow::RezeptbedarfDoppelklick(int zeile)
{
    if (zeile < 0 || zeile >= bedarfZeilen.size())
        return;
    const QString id = QString::number(bedarfZeilen.at(zeile).einnahme);
    RezeptbedarfAnklicken(zeile);
    // Only for the very line: gone elsewhere meanwhile, the views show it gone.
    if (zellText(tabelleZuordnung, tabelleZuordnung->currentRow(), 0) == id)
        ApothekenFenster();
}
