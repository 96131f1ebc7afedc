// SPDX-License-Identifier: GPL-3.0-or-later
// Signal wiring of the main window and the two slots that only show or hide.
#include "app/mainwindow.h"

#include "app/tabelle.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include <utility>

namespace {

// A click on a row and a row reached by keyboard do the same.
template <typename Slot>
void zeileVerbinden(MainWindow *fenster, QTableWidget *tabelle, Slot slot)
{
    QObject::connect(tabelle, &QTableWidget::cellClicked, fenster, slot);
    QObject::connect(qobject_cast<Tabelle *>(tabelle), &Tabelle::zeileGewaehlt, fenster, slot);
}

} // namespace

void MainWindow::verbindungenHerstellen()
{
    // Every button runs one slot; page by page: settings, patients, medications.
    const std::pair<QAbstractButton *, void (MainWindow::*)()> knoepfe[] = {
        {knopfTerminEintragen, &MainWindow::TerminEintragenW},
        {knopfTerminBearbeiten, &MainWindow::TerminAendernW},
        {knopfTerminLoeschen, &MainWindow::TerminLoeschen},
        {knopfEintragen, &MainWindow::ZuordnungEintragen},
        {knopfZuordnungBearbeiten, &MainWindow::ZuordnungFenster},
        {knopfZuordnungHoch, &MainWindow::EinstellungZuordnungHoch},
        {knopfZuordnungRunter, &MainWindow::EinstellungZuordnungRunter},
        {knopfApotheke, &MainWindow::ApothekenFenster},
        {knopfZuordnungLoeschen, &MainWindow::ZuordnungLoeschen},
        {knopfPatientAendern, &MainWindow::PatientenAendern},
        {knopfPatientEntfernen, &MainWindow::PatientenLoeschen},
        {knopfPatientEintragen, &MainWindow::PatientenNeuEintragen},
        {knopfPatientSuchen, &MainWindow::PatientenSuchen},
        {knopfMedikamentHinzufuegen, &MainWindow::MedikamentZufuegen},
        {knopfMedikamentAendern, &MainWindow::MedikamentAendern},
        {knopfMedikamentLoeschen, &MainWindow::MedikamentLoeschen},
        {knopfSorteEintragen, &MainWindow::SorteZufuegen},
        {knopfSorteAendern, &MainWindow::SorteAendern},
        {knopfSorteLoeschen, &MainWindow::SorteLoeschen},
        {knopfAngefordert, &MainWindow::AnforderungMarkieren},
        {knopfAnforderungZuruecknehmen, &MainWindow::AnforderungZuruecknehmen},
    };
    for (const auto &k : knoepfe)
        connect(k.first, &QAbstractButton::clicked, this, k.second);
    zeileVerbinden(this, tabelleZuordnung, &MainWindow::ZuordnungAnklicken);
    zeileVerbinden(this, tabellePatientenwahl, &MainWindow::PatientenEinstellungFuellen);
    zeileVerbinden(this, tabelleSortenwahl, &MainWindow::MedizinEinstellungAnklicken);
    zeileVerbinden(this, tabellePatienten, &MainWindow::PatientenAnklicken);
    zeileVerbinden(this, tabelleMedikamente, &MainWindow::MedikamenteAnklicken);
    zeileVerbinden(this, tabelleSorten, &MainWindow::SorteAnklicken);
    zeileVerbinden(this, tabelleRezeptbedarf, &MainWindow::RezeptbedarfAnklicken);
    connect(tabelleRezeptbedarf, &QTableWidget::cellDoubleClicked, this, &MainWindow::RezeptbedarfDoppelklick);
    connect(datumBedarfBis, &QDateEdit::dateChanged, this, &MainWindow::RezeptbedarfFristAendern);
    connect(auswahlBisHausarzt, &QCheckBox::toggled, this, &MainWindow::RezeptbedarfFristAendern);
    connect(radioAusblenden, &QRadioButton::toggled, this, &MainWindow::PatientenEinblenden1);
    connect(radioPatientHinzufuegen, &QRadioButton::toggled, this, &MainWindow::PatientenEinblenden2);
    connect(radioPatientSuchen, &QRadioButton::toggled, this, &MainWindow::PatientenEinblenden3);
    connect(editSuchbegriff, &QLineEdit::returnPressed, this, &MainWindow::PatientenSuchen);
    connect(hauptTabs, &QTabWidget::currentChanged, this, &MainWindow::UesEinblenden);
}

void MainWindow::UesEinblenden(int eingang)
{
    QWidget *seite = hauptTabs->widget(eingang);
    if (!seite)
        return;
    // The headline names the chosen patient: the list pages are about no one
    // patient. The page of every patient's needs chooses one by a click.
    if (seite != seitePatienten && seite != seiteMedikamente) {
        if (kopfzeilePatient->isHidden()) {
            kopfzeilePatient->show();
            kopfzeileZeit->show();
        }
    } else if (!kopfzeilePatient->isHidden()) {
        kopfzeilePatient->clear();
        kopfzeileZeit->clear();
        kopfzeilePatient->hide();
        kopfzeileZeit->hide();
    }
    // That page's list waits until it is shown.
    if (seite == seiteRezeptbedarf)
        verborgeneAnsichtenZeigen();
}

void MainWindow::TabPatMedEinAus(bool eingang1)
{
    if (!eingang1) {
        for (QWidget *liste : {seiteMedikamente, seitePatienten}) {
            if (hauptTabs->indexOf(liste) >= 0)
                hauptTabs->removeTab(hauptTabs->indexOf(liste));
        }
    } else {
        // Inserting a page that is already present would only move it.
        if (hauptTabs->indexOf(seitePatienten) < 0)
            hauptTabs->insertTab(hauptTabs->count(), seitePatienten, tr("Patientenliste"));
        if (hauptTabs->indexOf(seiteMedikamente) < 0)
            hauptTabs->insertTab(hauptTabs->count(), seiteMedikamente, tr("Medikamentenliste"));
        // The list opens where a new package is added, not on the red delete tab.
        medikamentTabs->setCurrentIndex(0);
        verborgeneAnsichtenZeigen();
    }
}
