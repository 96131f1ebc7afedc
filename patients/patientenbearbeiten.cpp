// Adding, changing and deleting patients.
#include "app/mainwindow.h"

#include "patients/patienten.h"
#include "storage/datenbankzugriff.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlRecord>
#include <QTableWidget>

namespace {
const QString geburtstagFormat = QStringLiteral("dd.MM.yyyy");
} // namespace

void MainWindow::PatientenNeuEintragen()
{
    const QString geburtstag = neuGeburtstag->date().toString(geburtstagFormat);
    {
        DbSitzung db(*this);
        const bool gespeichert = db.aendern(
            QStringLiteral("INSERT INTO patient (id, firstname, lastname, birth, plz, ort, strasse, nr) VALUES "
                           "(NULL,:firstname, :lastname, :birth, :plz, :ort, :strasse, :nr)"),
            {{QStringLiteral(":firstname"), neuVorname->text()},
             {QStringLiteral(":lastname"), neuName->text()},
             {QStringLiteral(":birth"), geburtstag},
             {QStringLiteral(":plz"), neuPlz->text()},
             {QStringLiteral(":ort"), neuOrt->text()},
             {QStringLiteral(":strasse"), neuStrasse->text()},
             {QStringLiteral(":nr"), neuNr->text()}});
        // Keep what was typed when it could not be stored.
        if (!gespeichert)
            return;
    }
    QString spalte = QStringLiteral("default");
    QString suchtext = QStringLiteral("default");
    PatientenFuellen(spalte, suchtext);
    gruppeNeuerPatient->hide();
    PatientenFelderLeeren();
    radioAusblenden->setChecked(true);
    PatientenEinstellungFuellen(0);
}

void MainWindow::PatientenAendern()
{
    if (tabellePatienten->rowCount() == 0 || bearbeitungsPatientId <= 0)
        return;
    const int zeile = tabellePatienten->currentRow();
    {
        DbSitzung db(*this);
        const bool gespeichert = db.aendern(
            QStringLiteral("UPDATE patient SET firstname=:firstname, lastname=:lastname, birth=:birth, plz=:plz, "
                           "ort=:ort, strasse=:strasse, nr=:nr WHERE id=:id"),
            {{QStringLiteral(":firstname"), editVorname->text()},
             {QStringLiteral(":lastname"), editName->text()},
             {QStringLiteral(":birth"), editGeburtstag->date().toString(geburtstagFormat)},
             {QStringLiteral(":plz"), editPlz->text()},
             {QStringLiteral(":ort"), editOrt->text()},
             {QStringLiteral(":strasse"), editStrasse->text()},
             {QStringLiteral(":nr"), editNr->text()},
             {QStringLiteral(":id"), bearbeitungsPatientId}});
        // Refilling would overwrite the typed fields with the stored data.
        if (!gespeichert)
            return;
    }
    QString spalte = QStringLiteral("default");
    QString suchtext = QStringLiteral("default");
    PatientenFuellen(spalte, suchtext);
    PatientenAnklicken(zeile);
    PatientenEinstellungFuellen(0);
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
        const auto patient =
            db.lesen(QStringLiteral("SELECT lastname, firstname, birth FROM patient WHERE id=:id"), id, &ok);
        if (!ok || patient.isEmpty())
            return;
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
        return db.aendern(QStringLiteral("DELETE FROM patient WHERE id=:id ;"), id) &&
               db.aendern(QStringLiteral("DELETE FROM einnahme WHERE pat_id=:id ;"), id) &&
               db.aendern(QStringLiteral("DELETE FROM termine WHERE pata_id=:id ;"), id);
    });
    // Rolled back: the file is as before, and so stays what is shown.
    if (!geloescht)
        return;
    QString spalte = QStringLiteral("default");
    QString suchtext = QStringLiteral("default");
    PatientenFuellen(spalte, suchtext);
    if (tabellePatienten->rowCount() == 0) {
        for (QLineEdit *feld : {editName, editVorname, editPlz, editOrt, editStrasse, editNr})
            feld->clear();
        editGeburtstag->setDate(nullDatum);
        bearbeitungsPatientId = 0;
    }
    SorteFuellen();
    ZuordnungFuellen();
    UebersichtFuellen();
    VerordnungsplanFuellen();
    PatientenEinstellungFuellen(0);
    TermineFuellen();
}

void MainWindow::PatientenFelderLeeren()
{
    neuName->clear();
    neuVorname->clear();
    neuPlz->clear();
    // A blanked date edit still holds its last date and would store it
    // unseen for the next patient: show the "no date" value instead.
    neuGeburtstag->setDate(nullDatum);
    neuOrt->clear();
    neuStrasse->clear();
    neuNr->clear();
}
