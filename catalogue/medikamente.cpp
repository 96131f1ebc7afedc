// Medications and the package choice table.
#include "app/mainwindow.h"

#include "storage/datenbankzugriff.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTableWidget>

void MainWindow::MedizinEinstellungFuellen()
{
    tabelleSortenwahl->clear();
    tabelleSortenwahl->setRowCount(0);
    tabelleSortenwahl->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("med_id"),
                                                  QStringLiteral("Verpackung / Handelsname"), QStringLiteral("Dosis"),
                                                  QStringLiteral("Menge")});
    DbSitzung db(*this);
    const auto zeilen = db.lesen(QStringLiteral(
        "SELECT id, medizin_id, handelsname, dosis, packung FROM sorte ORDER BY handelsname ASC, dosis ASC "));
    static const char *const spalten[] = {"id", "medizin_id", "handelsname", "dosis", "packung"};
    tabelleSortenwahl->setUpdatesEnabled(false);
    tabelleSortenwahl->setRowCount(zeilen.size());
    for (int z = 0; z < zeilen.size(); ++z) {
        tabelleSortenwahl->setRowHeight(z, 26);
        for (int s = 0; s < 5; ++s) {
            auto *item = new QTableWidgetItem(zeilen.at(z).value(QLatin1String(spalten[s])).toString());
            if (s >= 3)
                item->setTextAlignment(Qt::AlignCenter);
            tabelleSortenwahl->setItem(z, s, item);
        }
    }
    tabelleSortenwahl->setUpdatesEnabled(true);
}

void MainWindow::MedizinEinstellungAnklicken()
{
    const int zeile = tabelleSortenwahl->currentRow();
    if (zeile < 0)
        return;
    auto zelle = [this, zeile](int s) {
        QTableWidgetItem *i = tabelleSortenwahl->item(zeile, s);
        return i ? i->text() : QString();
    };
    anzeigeZuordnenSorte->setText(zelle(2));
    anzeigeZuordnenSorte->setFont(schriftFett);
    anzeigeZuordnenDosis->setText(zelle(3));
    anzeigeZuordnenPackung->setText(zelle(4));
    for (QLineEdit *feld : {editZuordnenMorgen, editZuordnenMittag, editZuordnenAbend, editZuordnenNacht})
        feld->setText(QStringLiteral("0"));
}

void MainWindow::MedikamenteFuellen()
{
}

void MainWindow::MedikamenteAnklicken()
{
}

void MainWindow::MedikamentZufuegen()
{
}

void MainWindow::MedikamentAendern()
{
}

void MainWindow::MedikamentLoeschen()
{
}
