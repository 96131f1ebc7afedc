// SPDX-License-Identifier: GPL-3.0-or-later
// Signal wiring of the main window and the two slots that only show or hide.
#include "app/mainwindow.h"

#include "app/tabelle.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

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
    connect(knopfTerminEintragen, &QPushButton::clicked, this, &MainWindow::TerminEintragenW);
    connect(knopfTerminBearbeiten, &QPushButton::clicked, this, &MainWindow::TerminAendernW);
    connect(knopfTerminLoeschen, &QPushButton::clicked, this, &MainWindow::TerminLoeschen);
    zeileVerbinden(this, tabelleZuordnung, &MainWindow::ZuordnungAnklicken);
    zeileVerbinden(this, tabellePatientenwahl, &MainWindow::PatientenEinstellungFuellen);
    zeileVerbinden(this, tabelleSortenwahl, &MainWindow::MedizinEinstellungAnklicken);
    connect(knopfEintragen, &QPushButton::clicked, this, &MainWindow::ZuordnungEintragen);
    connect(knopfZuordnungBearbeiten, &QPushButton::clicked, this, &MainWindow::ZuordnungFenster);
    connect(knopfZuordnungHoch, &QToolButton::clicked, this, &MainWindow::EinstellungZuordnungHoch);
    connect(knopfZuordnungRunter, &QToolButton::clicked, this, &MainWindow::EinstellungZuordnungRunter);
    connect(knopfApotheke, &QPushButton::clicked, this, &MainWindow::ApothekenFenster);
    connect(knopfZuordnungLoeschen, &QPushButton::clicked, this, &MainWindow::ZuordnungLoeschen);
    zeileVerbinden(this, tabellePatienten, &MainWindow::PatientenAnklicken);
    connect(knopfPatientAendern, &QPushButton::clicked, this, &MainWindow::PatientenAendern);
    connect(knopfPatientEntfernen, &QPushButton::clicked, this, &MainWindow::PatientenLoeschen);
    connect(radioAusblenden, &QRadioButton::toggled, this, &MainWindow::PatientenEinblenden1);
    connect(radioPatientHinzufuegen, &QRadioButton::toggled, this, &MainWindow::PatientenEinblenden2);
    connect(radioPatientSuchen, &QRadioButton::toggled, this, &MainWindow::PatientenEinblenden3);
    connect(knopfPatientEintragen, &QPushButton::clicked, this, &MainWindow::PatientenNeuEintragen);
    connect(knopfPatientSuchen, &QPushButton::clicked, this, &MainWindow::PatientenSuchen);
    connect(editSuchbegriff, &QLineEdit::returnPressed, this, &MainWindow::PatientenSuchen);
    zeileVerbinden(this, tabelleMedikamente, &MainWindow::MedikamenteAnklicken);
    connect(knopfMedikamentHinzufuegen, &QPushButton::clicked, this, &MainWindow::MedikamentZufuegen);
    connect(knopfMedikamentAendern, &QPushButton::clicked, this, &MainWindow::MedikamentAendern);
    connect(knopfMedikamentLoeschen, &QPushButton::clicked, this, &MainWindow::MedikamentLoeschen);
    zeileVerbinden(this, tabelleSorten, &MainWindow::SorteAnklicken);
    connect(knopfSorteEintragen, &QPushButton::clicked, this, &MainWindow::SorteZufuegen);
    connect(knopfSorteAendern, &QPushButton::clicked, this, &MainWindow::SorteAendern);
    connect(knopfSorteLoeschen, &QPushButton::clicked, this, &MainWindow::SorteLoeschen);
    connect(hauptTabs, &QTabWidget::currentChanged, this, &MainWindow::UesEinblenden);
}

void MainWindow::UesEinblenden(int eingang)
{
    if (eingang >= 0 && eingang <= 2) {
        if (kopfzeilePatient->isHidden()) {
            kopfzeilePatient->show();
            kopfzeileZeit->show();
        }
    } else if (eingang == 3 || eingang == 4) {
        if (!kopfzeilePatient->isHidden()) {
            kopfzeilePatient->clear();
            kopfzeileZeit->clear();
            kopfzeilePatient->hide();
            kopfzeileZeit->hide();
        }
    }
}

void MainWindow::TabPatMedEinAus(bool eingang1)
{
    if (!eingang1) {
        hauptTabs->removeTab(4);
        hauptTabs->removeTab(3);
    } else {
        // Inserting a page that is already present would only move it.
        if (hauptTabs->indexOf(seitePatienten) < 0)
            hauptTabs->insertTab(3, seitePatienten, tr("Patientenliste"));
        if (hauptTabs->indexOf(seiteMedikamente) < 0)
            hauptTabs->insertTab(4, seiteMedikamente, tr("Medikamentenliste"));
        // The list opens where a new package is added, not on the red delete tab.
        medikamentTabs->setCurrentIndex(0);
        verborgeneAnsichtenZeigen();
    }
}
