// Patient choice list, patient list and search.
#include "app/mainwindow.h"

#include "storage/datenbankzugriff.h"

#include <QLabel>
#include <QSqlRecord>
#include <QTableWidget>

namespace {

const QStringList &patientenKopf()
{
    static const QStringList kopf{QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("Vorname"),
                                  QStringLiteral("Ort"), QStringLiteral("Geburtstag"), QStringLiteral("PLZ"),
                                  QStringLiteral("Stra\u00DFe"), QStringLiteral("Nr")};
    return kopf;
}

// Appends one patient row; columns 3, 4 and 7 are centred.
void patientZeileAnhaengen(QTableWidget *tabelle, const QSqlRecord &r, int hoehe)
{
    static const char *const spalten[] = {"id", "lastname", "firstname", "ort", "birth", "plz", "strasse", "nr"};
    const int zeile = tabelle->rowCount();
    tabelle->insertRow(zeile);
    if (hoehe > 0)
        tabelle->setRowHeight(zeile, hoehe);
    for (int s = 0; s < 8; ++s) {
        auto *item = new QTableWidgetItem(r.value(QLatin1String(spalten[s])).toString());
        if (s == 3 || s == 4 || s == 7)
            item->setTextAlignment(Qt::AlignCenter);
        tabelle->setItem(zeile, s, item);
    }
}

void tabelleLeeren(QTableWidget *tabelle, const QStringList &kopf)
{
    tabelle->clear();
    tabelle->setRowCount(0);
    tabelle->setHorizontalHeaderLabels(kopf);
}

} // namespace

void MainWindow::PatientenEinstellungFuellen(int eingang)
{
    tabelleLeeren(tabellePatientenwahl, patientenKopf());
    DbSitzung db(*this);
    const auto zeilen = db.lesen(QStringLiteral(
        "SELECT id, lastname, firstname, ort, birth, plz, strasse, nr FROM patient ORDER BY lastname ASC "));
    tabellePatientenwahl->setUpdatesEnabled(false);
    for (const QSqlRecord &r : zeilen)
        patientZeileAnhaengen(tabellePatientenwahl, r, 26);
    tabellePatientenwahl->setUpdatesEnabled(true);

    if (tabellePatientenwahl->rowCount() > 0) {
        if (eingang < 0 || eingang >= tabellePatientenwahl->rowCount())
            eingang = 0;
        auto zelle = [this, eingang](int s) { return tabellePatientenwahl->item(eingang, s)->text(); };
        anzeigeName->setText(zelle(1));
        anzeigeVorname->setText(zelle(2));
        anzeigeGeburtstag->setText(zelle(4));
        anzeigePlz->setText(zelle(5));
        anzeigeOrt->setText(zelle(3));
        anzeigeStrasse->setText(zelle(6));
        anzeigeNr->setText(zelle(7));
        ZeitHolen();
        kopfzeilePatient->setText(QStringLiteral(" - Patient: ") + zelle(1) + QStringLiteral(", ") + zelle(2) +
                                  QStringLiteral(" | ") + QStringLiteral("*") + zelle(4));
        kopfzeileZeit->setText(QStringLiteral("erstellt am: ") +
                               jetzt.toString(QStringLiteral("dd.MM.yyyy - hh:mm:ss")) + QStringLiteral(" Uhr "));
        tabellePatientenwahl->setCurrentCell(eingang, 1);
        ZuordnungFuellen();
        TermineFuellen();
    }
    ZuordnungDetailsLeeren();
}

void MainWindow::PatientenFuellen(QString &, QString &)
{
}

void MainWindow::PatientenSuchen()
{
}

void MainWindow::PatientenAnklicken(int)
{
}
