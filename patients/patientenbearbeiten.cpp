// SPDX-License-Identifier: GPL-3.0-or-later
// Adding, changing and deleting patients.
#include "app/mainwindow.h"

#include "app/tabellen.h"
#include "catalogue/katalog.h"
#include "patients/patienten.h"
#include "storage/datenbankzugriff.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlRecord>
#include <QTableWidget>

void MainWindow::PatientenNeuEintragen()
{
    QVariant neueId;
    {
        DbSitzung db(*this);
        // A birth date left at "unbekannt" is stored empty, not as a made-up date.
        const bool gespeichert = db.aendern(
            QStringLiteral("INSERT INTO patient (id, firstname, lastname, birth, plz, ort, strasse, nr) VALUES "
                           "(NULL,:firstname, :lastname, :birth, :plz, :ort, :strasse, :nr)"),
            {{QStringLiteral(":firstname"), neuVorname->text()},
             {QStringLiteral(":lastname"), neuName->text()},
             {QStringLiteral(":birth"), geburtstagAusFeld(neuGeburtstag)},
             {QStringLiteral(":plz"), neuPlz->text()},
             {QStringLiteral(":ort"), neuOrt->text()},
             {QStringLiteral(":strasse"), neuStrasse->text()},
             {QStringLiteral(":nr"), neuNr->text()}},
            &neueId);
        // Keep what was typed when it could not be stored.
        if (!gespeichert)
            return;
    }
    // All patients are listed again, and the new one is loaded for editing.
    patientenSuchspalte = QStringLiteral("firstname");
    patientenSuchtext.clear();
    gruppeNeuerPatient->hide();
    PatientenFelderLeeren();
    radioAusblenden->setChecked(true);
    Auswahl neu;
    neu.bearbeitet = neueId.toInt();
    auffrischen(Geaendert::patienten, neu);
}

void MainWindow::PatientenAendern()
{
    if (bearbeitungsPatientId <= 0)
        return;
    {
        DbSitzung db(*this);
        // An untouched birth date is bound as NULL and so stays as stored,
        // whatever its form; only a date the user set replaces it.
        const QVariant geburtstag = editGeburtstag->date() == geburtstagGeladen
                                        ? QVariant()
                                        : QVariant(geburtstagAusFeld(editGeburtstag));
        const bool gespeichert = db.aendernZeile(
            QStringLiteral("UPDATE patient SET firstname=:firstname, lastname=:lastname, "
                           "birth=COALESCE(:birth, birth), plz=:plz, ort=:ort, strasse=:strasse, nr=:nr WHERE id=:id"),
            {{QStringLiteral(":firstname"), editVorname->text()},
             {QStringLiteral(":lastname"), editName->text()},
             {QStringLiteral(":birth"), geburtstag},
             {QStringLiteral(":plz"), editPlz->text()},
             {QStringLiteral(":ort"), editOrt->text()},
             {QStringLiteral(":strasse"), editStrasse->text()},
             {QStringLiteral(":nr"), editNr->text()},
             {QStringLiteral(":id"), bearbeitungsPatientId}});
        // Refilling would overwrite the typed fields with the stored data;
        // a patient gone elsewhere is reported and the views reload.
        if (!gespeichert)
            return;
    }
    // What was typed is stored now: a later change made elsewhere may show.
    for (QLineEdit *feld : {editName, editVorname, editPlz, editOrt, editStrasse, editNr})
        feld->setModified(false);
    auffrischen(Geaendert::patienten);
}

void MainWindow::PatientenEinblenden1()
{
    gruppeNeuerPatient->hide();
    gruppePatientSuchen->hide();
    PatientenFelderLeeren();
}

void MainWindow::PatientenEinblenden2()
{
    gruppeNeuerPatient->show();
    gruppePatientSuchen->hide();
}

void MainWindow::PatientenEinblenden3()
{
    gruppeNeuerPatient->hide();
    gruppePatientSuchen->show();
    PatientenFelderLeeren();
    // Also called when the search is left for another choice: the list then
    // shows all patients again.
    if (!radioPatientSuchen->isChecked())
        patientenSucheBeenden();
}

void MainWindow::PatientenLoeschen()
{
    if (bearbeitungsPatientId <= 0)
        return;
    const Werte id{{QStringLiteral(":id"), bearbeitungsPatientId}};
    QString frage;
    {
        DbSitzung db(*this);
        bool ok = false;
        const auto patient = db.lesen(QStringLiteral("SELECT lastname, firstname, birth FROM patient WHERE id=:id"), id,
                                      &ok);
        if (!ok)
            return;
        if (patient.isEmpty()) {
            db.konflikt();
            return;
        }
        const auto zuordnungen = db.lesen(QStringLiteral("SELECT COUNT(*) FROM einnahme WHERE pat_id=:id"), id, &ok);
        if (!ok || zuordnungen.isEmpty())
            return;
        const auto termine = db.lesen(QStringLiteral("SELECT COUNT(*) FROM termine WHERE pata_id=:id"), id, &ok);
        if (!ok || termine.isEmpty())
            return;
        const QSqlRecord &p = patient.first();
        frage = patientLoeschenFrage(p.value(QStringLiteral("lastname")).toString(),
                                     p.value(QStringLiteral("firstname")).toString(),
                                     p.value(QStringLiteral("birth")).toString(), zuordnungen.first().value(0).toInt(),
                                     termine.first().value(0).toInt());
    }
    if (!frageStellen(frage))
        return;

    DbSitzung db(*this);
    const bool geloescht = db.transaktion([&] {
        return db.aendernZeile(QStringLiteral("DELETE FROM patient WHERE id=:id ;"), id) &&
               db.aendern(QStringLiteral("DELETE FROM einnahme WHERE pat_id=:id ;"), id) &&
               db.aendern(QStringLiteral("DELETE FROM termine WHERE pata_id=:id ;"), id);
    });
    // Rolled back: the file is as before, and so stays what is shown.
    if (!geloescht)
        return;
    // The list keeps its found rows; the first of them is loaded. The
    // patient's lines and appointments went with it.
    bearbeitungLeeren();
    auffrischen(Geaendert::patienten | Geaendert::einnahme | Geaendert::termine);
}

void MainWindow::PatientenFelderLeeren()
{
    neuName->clear();
    neuVorname->clear();
    neuPlz->clear();
    // A blanked date edit still holds its last date and would store it
    // unseen for the next patient: show "unbekannt" instead.
    neuGeburtstag->setDate(neuGeburtstag->minimumDate());
    neuOrt->clear();
    neuStrasse->clear();
    neuNr->clear();
}
