// Signal wiring of the main window and the two slots that only show or hide.
#include "app/mainwindow.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

void MainWindow::verbindungenHerstellen()
{
    connect(knopfTerminEintragen, &QPushButton::clicked, this, &MainWindow::TerminEintragenW);
    connect(knopfTerminBearbeiten, &QPushButton::clicked, this, &MainWindow::TerminAendernW);
    connect(knopfTerminLoeschen, &QPushButton::clicked, this, &MainWindow::TerminLoeschen);
    connect(tabelleZuordnung, &QTableWidget::cellClicked, this, &MainWindow::ZuordnungAnklicken);
    connect(tabellePatientenwahl, &QTableWidget::cellClicked, this, &MainWindow::PatientenEinstellungFuellen);
    connect(tabelleSortenwahl, &QTableWidget::cellClicked, this, &MainWindow::MedizinEinstellungAnklicken);
    connect(knopfEintragen, &QPushButton::clicked, this, &MainWindow::ZuordnungEintragen);
    connect(knopfZuordnungBearbeiten, &QPushButton::clicked, this, &MainWindow::ZuordnungFenster);
    connect(knopfZuordnungHoch, &QToolButton::clicked, this, &MainWindow::EinstellungZuordnungHoch);
    connect(knopfZuordnungRunter, &QToolButton::clicked, this, &MainWindow::EinstellungZuordnungRunter);
    connect(knopfApotheke, &QPushButton::clicked, this, &MainWindow::ApothekenFenster);
    connect(knopfZuordnungLoeschen, &QPushButton::clicked, this, &MainWindow::ZuordnungLoeschen);
    connect(tabellePatienten, &QTableWidget::cellClicked, this, &MainWindow::PatientenAnklicken);
    connect(knopfPatientAendern, &QPushButton::clicked, this, &MainWindow::PatientenAendern);
    connect(knopfPatientEntfernen, &QPushButton::clicked, this, &MainWindow::PatientenLoeschen);
    connect(radioAusblenden, &QRadioButton::toggled, this, &MainWindow::PatientenEinblenden1);
    connect(radioPatientHinzufuegen, &QRadioButton::toggled, this, &MainWindow::PatientenEinblenden2);
    connect(radioPatientSuchen, &QRadioButton::toggled, this, &MainWindow::PatientenEinblenden3);
    connect(knopfPatientEintragen, &QPushButton::clicked, this, &MainWindow::PatientenNeuEintragen);
    connect(knopfPatientSuchen, &QPushButton::clicked, this, &MainWindow::PatientenSuchen);
    connect(tabelleMedikamente, &QTableWidget::cellClicked, this, &MainWindow::MedikamenteAnklicken);
    connect(knopfMedikamentHinzufuegen, &QPushButton::clicked, this, &MainWindow::MedikamentZufuegen);
    connect(knopfMedikamentAendern, &QPushButton::clicked, this, &MainWindow::MedikamentAendern);
    connect(knopfMedikamentLoeschen, &QPushButton::clicked, this, &MainWindow::MedikamentLoeschen);
    connect(tabelleSorten, &QTableWidget::cellClicked, this, &MainWindow::SorteAnklicken);
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
    }
}
