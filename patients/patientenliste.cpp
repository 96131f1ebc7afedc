// SPDX-License-Identifier: GPL-3.0-or-later
// Patient choice list, patient list and search.
#include "app/mainwindow.h"

#include "app/tabellen.h"
#include "catalogue/katalog.h"
#include "patients/patienten.h"
#include "storage/datenbankzugriff.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTableWidget>

namespace {

const QStringList &patientenKopf()
{
    static const QStringList kopf{
        QStringLiteral("ID"),         QStringLiteral("Name"), QStringLiteral("Vorname"),     QStringLiteral("Ort"),
        QStringLiteral("Geburtstag"), QStringLiteral("PLZ"),  QStringLiteral("Stra\u00DFe"), QStringLiteral("Nr")};
    return kopf;
}

// Brings the table to the patient rows read, columns 3, 4 and 7 centred.
// Rows of a refill mostly hold what they held before (a click in the
// choice list refills all patients): items whose text is unchanged stay,
// so that a list of thousands of patients does not rebuild every cell.
// What the table shows afterwards is what a cleared and refilled table
// would show. hoehe 0 keeps the default row height.
void patientenZeigen(QTableWidget *tabelle, const QVector<QSqlRecord> &zeilen, int hoehe)
{
    // The statement lists the columns in the table's order.
    tabelle->setUpdatesEnabled(false);
    if (hoehe > 0)
        tabelle->verticalHeader()->setDefaultSectionSize(hoehe);
    tabelle->setRowCount(zeilen.size());
    zellenFuellen(tabelle, [&] {
        for (int z = 0; z < zeilen.size(); ++z) {
            const QSqlRecord &r = zeilen.at(z);
            for (int s = 0; s < 8; ++s) {
                const QString text = r.value(s).toString();
                QTableWidgetItem *item = tabelle->item(z, s);
                if (!item) {
                    item = new QTableWidgetItem(text);
                    if (s == 3 || s == 4 || s == 7)
                        item->setTextAlignment(Qt::AlignCenter);
                    tabelle->setItem(z, s, item);
                } else if (item->text() != text) {
                    item->setText(text);
                }
            }
        }
    });
    tabelle->setUpdatesEnabled(true);
}

// Before a refill: no selection and no current cell, as after clear().
void tabelleLeeren(QTableWidget *tabelle, const QStringList &kopf)
{
    tabelle->selectionModel()->clear();
    tabelle->setHorizontalHeaderLabels(kopf);
}

} // namespace

void MainWindow::PatientenEinstellungFuellen(int eingang)
{
    // The clicked patient by key: when the file was changed elsewhere
    // meanwhile, everything is read anew, and the list may hold the patient
    // in another row or no longer. Otherwise the list stays as read, and
    // choosing costs what the patient's own lines cost.
    Auswahl gewaehlt;
    gewaehlt.patient = zellText(tabellePatientenwahl, eingang, 0);
    if (eingang >= 0 && eingang < tabellePatientenwahl->rowCount())
        tabellePatientenwahl->setCurrentCell(eingang, 1);
    auffrischen(fremdGeaendert() ? Geaendert::alles : Geaendert::patientGewaehlt, gewaehlt);
}

void MainWindow::patientenwahlFuellen(const QString &schluessel)
{
    tabelleLeeren(tabellePatientenwahl, patientenKopf());
    DbSitzung db(*this);
    const auto zeilen = db.lesen(QStringLiteral(
        "SELECT id, lastname, firstname, ort, birth, plz, strasse, nr FROM patient ORDER BY lastname ASC "));
    patientenZeigen(tabellePatientenwahl, zeilen, 26);
    tabellenHinweis(tabellePatientenwahl,
                    zeilen.isEmpty() ? QStringLiteral("Noch kein Patient: im Men\u00FC \u201EAnsicht\u201C die Listen "
                                                      "einschalten und auf der Seite \u201EPatientenliste\u201C den "
                                                      "ersten Patienten anlegen.")
                                     : QString());
    if (zeilen.isEmpty())
        return;
    const int z = schluessel.isEmpty() ? -1 : zeileMitSchluessel(tabellePatientenwahl, schluessel);
    tabellePatientenwahl->setCurrentCell(z >= 0 ? z : 0, 1);
}

void MainWindow::patientKopfZeigen()
{
    const int zeile = tabellePatientenwahl->currentRow();
    if (zeile < 0 || zeile >= tabellePatientenwahl->rowCount()) {
        // No patient left (the last one deleted, an empty file opened): show
        // none, so that no view, printed plan or window names a former one.
        for (QLabel *l :
             {anzeigeName, anzeigeVorname, anzeigeGeburtstag, anzeigePlz, anzeigeOrt, anzeigeStrasse, anzeigeNr})
            l->clear();
        kopfzeilePatient->clear();
        kopfzeileZeit->clear();
        return;
    }
    const QPair<QLabel *, int> felder[] = {{anzeigeName, 1}, {anzeigeVorname, 2}, {anzeigeGeburtstag, 4},
                                           {anzeigePlz, 5},  {anzeigeOrt, 3},     {anzeigeStrasse, 6},
                                           {anzeigeNr, 7}};
    for (const auto &f : felder)
        f.first->setText(zellText(tabellePatientenwahl, zeile, f.second));
    ZeitHolen();
    kopfzeilePatient->setText(patientKopfzeile());
    kopfzeileZeit->setText(QStringLiteral("erstellt am: ") + jetzt.toString(QStringLiteral("dd.MM.yyyy - hh:mm:ss")) +
                           QStringLiteral(" Uhr "));
}

QString MainWindow::patientKopfzeile() const
{
    const int zeile = tabellePatientenwahl->currentRow();
    if (zeile < 0 || zeile >= tabellePatientenwahl->rowCount())
        return QString();
    auto zelle = [this, zeile](int s) {
        const QTableWidgetItem *i = tabellePatientenwahl->item(zeile, s);
        return i ? i->text() : QString();
    };
    return QStringLiteral(" - Patient: ") + zelle(1) + QStringLiteral(", ") + zelle(2) + QStringLiteral(" | ") +
           QStringLiteral("*") + zelle(4);
}

void MainWindow::PatientenFuellen(QString &spalte, QString &suchtext)
{
    if (spalte == QLatin1String("default")) {
        spalte = QStringLiteral("firstname");
        suchtext.clear();
    }
    patientenSuchspalte = spalte;
    patientenSuchtext = suchtext;
    patientenListeLesen();
    if (tabellePatienten->rowCount() > 0) {
        tabellePatienten->setCurrentCell(0, 1);
        PatientenAnklicken(0);
    }
}

void MainWindow::patientenListeLesen()
{
    tabelleLeeren(tabellePatienten, patientenKopf());
    // The column name is part of the statement's text, so only a known one may pass.
    const QString feld = suchspalte(patientenSuchspalte);
    QVector<QSqlRecord> zeilen;
    if (!feld.isEmpty()) {
        DbSitzung db(*this);
        zeilen = db.lesen(
            QStringLiteral("SELECT id, lastname, firstname, ort, birth, plz, strasse, nr FROM patient WHERE %1 %2 "
                           ":kat ORDER BY id ASC ")
                .arg(feld, Dialekt::wie(db.art())),
            {{QStringLiteral(":kat"), QString(QLatin1Char('%') + patientenSuchtext + QLatin1Char('%'))}});
    }
    patientenZeigen(tabellePatienten, zeilen, 0);
}

void MainWindow::PatientenSuchen()
{
    QString spalte = auswahlSuchspalte->currentData(Qt::UserRole).toString();
    QString suchtext = editSuchbegriff->text();
    PatientenFuellen(spalte, suchtext);
}

void MainWindow::patientenSucheBeenden()
{
    if (patientenSuchspalte == QLatin1String("firstname") && patientenSuchtext.isEmpty())
        return;
    patientenSuchspalte = QStringLiteral("firstname");
    patientenSuchtext.clear();
    patientenListeAuffrischen();
}

void MainWindow::PatientenAnklicken(int eingang)
{
    if (eingang < 0 || eingang >= tabellePatienten->rowCount())
        return;
    QStringList werte;
    for (int s = 0; s < 8; ++s)
        werte << zellText(tabellePatienten, eingang, s);
    patientLaden(werte, false);
    tabellePatienten->setCurrentCell(eingang, 1);
}

void MainWindow::patientLaden(const QStringList &werte, bool getipptBehalten)
{
    const int id = werte.value(0).toInt();
    const bool behalten = getipptBehalten && id == bearbeitungsPatientId;
    const QPair<QLineEdit *, int> felder[] = {{editName, 1}, {editVorname, 2}, {editOrt, 3},
                                              {editPlz, 5},  {editStrasse, 6}, {editNr, 7}};
    for (const auto &f : felder) {
        if (!behalten || !f.first->isModified())
            f.first->setText(werte.value(f.second));
    }
    // setDate ignores a date the field cannot show and would keep the former
    // patient's: such a stored text shows as "unbekannt" instead.
    const QDate gespeichert = geburtstagFuerFeld(werte.value(4), editGeburtstag);
    if (!behalten || editGeburtstag->date() == geburtstagGeladen)
        editGeburtstag->setDate(gespeichert);
    geburtstagGeladen = gespeichert;
    bearbeitungsPatientId = id;
}

void MainWindow::bearbeitungLeeren()
{
    for (QLineEdit *feld : {editName, editVorname, editPlz, editOrt, editStrasse, editNr})
        feld->setText(QString());
    editGeburtstag->setDate(editGeburtstag->minimumDate());
    geburtstagGeladen = editGeburtstag->date();
    bearbeitungsPatientId = 0;
}

void MainWindow::patientenListeAuffrischen()
{
    patientenListeLesen();
    if (bearbeitungsPatientId <= 0) {
        // Nobody was being edited: as after a fresh fill, the first row is.
        if (tabellePatienten->rowCount() > 0)
            PatientenAnklicken(0);
        return;
    }
    const int z = zeileMitSchluessel(tabellePatienten, QString::number(bearbeitungsPatientId));
    if (z >= 0) {
        QStringList werte;
        for (int s = 0; s < 8; ++s)
            werte << zellText(tabellePatienten, z, s);
        patientLaden(werte, true);
        tabellePatienten->setCurrentCell(z, 1);
        return;
    }
    // Not among the rows shown: changed so that the search no longer finds
    // it (it stays loaded, unlisted), or gone.
    DbSitzung db(*this);
    bool ok = false;
    const auto zeilen = db.lesen(
        QStringLiteral("SELECT id, lastname, firstname, ort, birth, plz, strasse, nr FROM patient WHERE id=:id"),
        {{QStringLiteral(":id"), bearbeitungsPatientId}}, &ok);
    if (!ok)
        return;
    if (zeilen.isEmpty()) {
        bearbeitungLeeren();
        return;
    }
    QStringList werte;
    for (int s = 0; s < 8; ++s)
        werte << zeilen.first().value(s).toString();
    patientLaden(werte, true);
}
