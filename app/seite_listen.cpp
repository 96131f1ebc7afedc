// SPDX-License-Identifier: GPL-3.0-or-later
// The two list pages shown through "Ansicht": patients and medications.
#include "app/mainwindow.h"

#include "patients/patienten.h"
#include "text/textformat.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

void MainWindow::seitePatientenBauen()
{
    QWidget *s = seitePatienten;
    tabellePatienten = tabelleBauen(QStringLiteral("tabellePatienten"), s, QRect(425, 30, 715, 520),
                                    {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("Vorname"),
                                     QStringLiteral("Ort"), QStringLiteral("Geburtstag"), QStringLiteral("PLZ"),
                                     QStringLiteral("Stra\u00DFe"), QStringLiteral("Nr")});
    for (int spalte : {0, 5, 6, 7})
        tabellePatienten->setColumnHidden(spalte, true);
    for (int spalte : {1, 2, 3})
        tabellePatienten->horizontalHeader()->setSectionResizeMode(spalte, QHeaderView::Stretch);
    tabellePatienten->horizontalHeader()->resizeSection(4, 120);

    QGroupBox *d = gruppePatientenDaten = gruppe(QStringLiteral("gruppePatientenDaten"), s,
                                                 QStringLiteral("Pantienten-Daten"), QRect(15, 24, 390, 266));
    beschriftung(d, QStringLiteral("Name:"), QRect(10, 20, 100, 20));
    editName = eingabe(QStringLiteral("editName"), d, QRect(115, 20, 250, 20));
    beschriftung(d, QStringLiteral("Vorname:"), QRect(10, 50, 100, 20));
    editVorname = eingabe(QStringLiteral("editVorname"), d, QRect(115, 50, 250, 20));
    beschriftung(d, QStringLiteral("Geburtstag:"), QRect(10, 80, 100, 20));
    editGeburtstag = datumsfeld(QStringLiteral("editGeburtstag"), d, QRect(115, 80, 100, 20));
    geburtstagsfeldEinrichten(editGeburtstag);
    beschriftung(d, QStringLiteral("Wohnort:"), QRect(10, 110, 100, 20));
    editPlz = eingabe(QStringLiteral("editPlz"), d, QRect(115, 110, 50, 20));
    editOrt = eingabe(QStringLiteral("editOrt"), d, QRect(170, 110, 195, 20));
    beschriftung(d, QStringLiteral("Stra:sz:e:"), QRect(10, 140, 100, 20));
    editStrasse = eingabe(QStringLiteral("editStrasse"), d, QRect(115, 140, 195, 20));
    editNr = eingabe(QStringLiteral("editNr"), d, QRect(315, 140, 50, 20));
    knopfPatientAendern = knopf(QStringLiteral("knopfPatientAendern"), d, QStringLiteral("Daten &:ae:ndern"),
                                QRect(20, 185, 175, 30));
    knopfPatientEntfernen = knopf(QStringLiteral("knopfPatientEntfernen"), d, QStringLiteral("Patient en&tfernen"),
                                  QRect(195, 185, 175, 30), true);
    auto *radioZeile = new QWidget(d);
    radioZeile->setObjectName(QStringLiteral("radioZeile"));
    radioZeile->setGeometry(10, 225, 370, 30);
    auto radio = [this, radioZeile](const QString &name, const QString &text, const QRect &r) {
        auto *b = new QRadioButton(umlauteErsetzen(text), radioZeile);
        b->setObjectName(name);
        b->setFont(schriftNormal);
        b->setGeometry(r);
        return b;
    };
    radioAusblenden = radio(QStringLiteral("radioAusblenden"), QStringLiteral("aus&blenden"), QRect(0, 10, 100, 20));
    radioPatientHinzufuegen = radio(QStringLiteral("radioPatientHinzufuegen"), QStringLiteral("Patient hin&zuf:ue:gen"),
                                    QRect(100, 10, 145, 20));
    radioPatientSuchen = radio(QStringLiteral("radioPatientSuchen"), QStringLiteral("Patient &suchen"),
                               QRect(250, 10, 120, 20));

    gruppeNeuerPatient = gruppe(QStringLiteral("gruppeNeuerPatient"), s, QStringLiteral("Neuen Patienten anlegen"),
                                QRect(15, 320, 390, 230));
    auto *n = new QWidget(gruppeNeuerPatient);
    n->setObjectName(QStringLiteral("neuerPatientInhalt"));
    n->setGeometry(25, 0, 365, 230);
    beschriftung(n, QStringLiteral("Name:"), QRect(10, 20, 80, 20));
    neuName = eingabe(QStringLiteral("neuName"), n, QRect(95, 20, 245, 20));
    beschriftung(n, QStringLiteral("Vorname:"), QRect(10, 50, 80, 20));
    neuVorname = eingabe(QStringLiteral("neuVorname"), n, QRect(95, 50, 245, 20));
    beschriftung(n, QStringLiteral("Geburtstag:"), QRect(10, 80, 80, 20));
    neuGeburtstag = datumsfeld(QStringLiteral("neuGeburtstag"), n, QRect(95, 80, 100, 20));
    geburtstagsfeldEinrichten(neuGeburtstag);
    beschriftung(n, QStringLiteral("Wohnort:"), QRect(10, 110, 80, 20));
    neuPlz = eingabe(QStringLiteral("neuPlz"), n, QRect(95, 110, 50, 20));
    neuOrt = eingabe(QStringLiteral("neuOrt"), n, QRect(150, 110, 190, 20));
    beschriftung(n, QStringLiteral("Stra:sz:e:"), QRect(10, 140, 80, 20));
    neuStrasse = eingabe(QStringLiteral("neuStrasse"), n, QRect(95, 140, 195, 20));
    neuNr = eingabe(QStringLiteral("neuNr"), n, QRect(295, 140, 45, 20));
    knopfPatientEintragen = knopf(QStringLiteral("knopfPatientEintragen"), n, QStringLiteral("Patient e&intragen"),
                                  QRect(10, 180, 330, 30));
    gruppeNeuerPatient->hide();

    gruppePatientSuchen = gruppe(QStringLiteral("gruppePatientSuchen"), s, QStringLiteral("Patienten suchen"),
                                 QRect(15, 320, 390, 230));
    beschriftung(gruppePatientSuchen, QStringLiteral("Suche nach:"), QRect(20, 30, 300, 20));
    auswahlSuchspalte = new QComboBox(gruppePatientSuchen);
    auswahlSuchspalte->setObjectName(QStringLiteral("auswahlSuchspalte"));
    auswahlSuchspalte->setFont(schriftNormal);
    auswahlSuchspalte->setGeometry(20, 60, 150, 20);
    auswahlSuchspalte->setStyleSheet(QStringLiteral("background-color:white;"));
    auswahlSuchspalte->addItem(QStringLiteral("Vorname"), QStringLiteral("firstname"));
    auswahlSuchspalte->addItem(QStringLiteral("Nachname"), QStringLiteral("lastname"));
    auswahlSuchspalte->addItem(QStringLiteral("Wohnort"), QStringLiteral("ort"));
    auswahlSuchspalte->setCurrentIndex(0);
    beschriftung(gruppePatientSuchen, QStringLiteral("Suchbegriff:"), QRect(20, 100, 300, 20));
    editSuchbegriff = eingabe(QStringLiteral("editSuchbegriff"), gruppePatientSuchen, QRect(20, 130, 300, 20));
    knopfPatientSuchen = knopf(QStringLiteral("knopfPatientSuchen"), gruppePatientSuchen,
                               QStringLiteral("Patient s&uchen"), QRect(20, 170, 150, 30));
    gruppePatientSuchen->hide();
}

void MainWindow::seiteMedikamenteBauen()
{
    QWidget *s = seiteMedikamente;
    const QStringList sortenKopf{QStringLiteral("ID"), QStringLiteral("med_id"),
                                 QStringLiteral("Verpackung / Handelsname"), QStringLiteral("Dosis"),
                                 QStringLiteral("Menge")};

    gruppeMedikament = gruppe(QStringLiteral("gruppeMedikament"), s, QStringLiteral("Medikament"),
                              QRect(15, 24, 300, 215));
    QGroupBox *hinzu = gruppe(QStringLiteral("gruppeMedikamentHinzufuegen"), gruppeMedikament,
                              QStringLiteral("Hinzuf:ue:gen"), QRect(10, 25, 280, 60));
    editMedikamentNeu = eingabe(QStringLiteral("editMedikamentNeu"), hinzu, QRect(10, 27, 170, 22));
    knopfMedikamentHinzufuegen = knopf(QStringLiteral("knopfMedikamentHinzufuegen"), hinzu,
                                       QStringLiteral("Hin&zuf:ue:gen"), QRect(185, 24, 85, 28));
    QGroupBox *bearb = gruppe(QStringLiteral("gruppeMedikamentBearbeiten"), gruppeMedikament,
                              QStringLiteral("Bearbeiten"), QRect(10, 95, 280, 60));
    editMedikamentName = eingabe(QStringLiteral("editMedikamentName"), bearb, QRect(10, 27, 170, 22));
    knopfMedikamentAendern = knopf(QStringLiteral("knopfMedikamentAendern"), bearb, QStringLiteral(":Ae:nde&rn"),
                                   QRect(185, 24, 85, 28));
    anzeigeMedikament = beschriftung(gruppeMedikament, QString(), QRect(10, 172, 180, 28),
                                     Qt::AlignRight | Qt::AlignVCenter);
    anzeigeMedikament->setObjectName(QStringLiteral("anzeigeMedikament"));
    anzeigeMedikament->setFont(schriftFett);
    knopfMedikamentLoeschen = knopf(QStringLiteral("knopfMedikamentLoeschen"), gruppeMedikament,
                                    QStringLiteral("&L:oe:schen"), QRect(195, 172, 95, 28), true);

    gruppeMedikamentensuche = gruppe(QStringLiteral("gruppeMedikamentensuche"), s, QStringLiteral("Medikamentensuche"),
                                     QRect(15, 250, 300, 300));
    gruppeMedikamentensuche->hide();

    tabelleMedikamente = tabelleBauen(QStringLiteral("tabelleMedikamente"), s, QRect(330, 30, 300, 520),
                                      {QStringLiteral("ID"), QStringLiteral("Medikament")});
    tabelleMedikamente->setColumnHidden(0, true);
    tabelleMedikamente->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    tabelleSorten = tabelleBauen(QStringLiteral("tabelleSorten"), s, QRect(645, 30, 495, 250), sortenKopf);
    tabelleSorten->setColumnHidden(0, true);
    tabelleSorten->setColumnHidden(1, true);
    tabelleSorten->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    medikamentTabs = new QTabWidget(s);
    medikamentTabs->setObjectName(QStringLiteral("medikamentTabs"));
    medikamentTabs->setGeometry(645, 295, 495, 255);
    medikamentTabs->setFont(schriftNormal);
    struct Seite {
        QWidget *w;
        QLabel *fuer;
    };
    auto seite = [this](const QString &name, const QString &ueberschrift, const QString &fuerName) {
        auto *w = new QWidget;
        w->setObjectName(name);
        beschriftung(w, ueberschrift, QRect(10, 12, 170, 20));
        QLabel *fuer = beschriftung(w, QString(), QRect(180, 12, 300, 20));
        fuer->setObjectName(fuerName);
        fuer->setFont(schriftFett);
        beschriftung(w, QStringLiteral("Verpackung / Handelsname:"), QRect(10, 50, 200, 20));
        beschriftung(w, QStringLiteral("Dosis pro Medikamenteneinheit"), QRect(10, 80, 200, 20));
        beschriftung(w, QStringLiteral("Einheiten pro Packung:"), QRect(10, 110, 200, 20));
        return Seite{w, fuer};
    };
    Seite neu = seite(QStringLiteral("seiteSorteHinzufuegen"), QStringLiteral("Packung eintragen f:ue:r:"),
                      QStringLiteral("anzeigeSorteNeuFuer"));
    anzeigeSorteNeuFuer = neu.fuer;
    editSorteHandelsname = eingabe(QStringLiteral("editSorteHandelsname"), neu.w, QRect(210, 50, 270, 20));
    editSorteDosis = eingabe(QStringLiteral("editSorteDosis"), neu.w, QRect(210, 80, 270, 20));
    editSortePackung = eingabe(QStringLiteral("editSortePackung"), neu.w, QRect(210, 110, 270, 20));
    knopfSorteEintragen = knopf(QStringLiteral("knopfSorteEintragen"), neu.w, QStringLiteral("Daten e&intragen"),
                                QRect(10, 160, 470, 30));

    Seite bearbeiten = seite(QStringLiteral("seiteSorteBearbeiten"), QStringLiteral("Packung bearbeiten f:ue:r:"),
                             QStringLiteral("anzeigeSorteBearbeitenFuer"));
    anzeigeSorteBearbeitenFuer = bearbeiten.fuer;
    editSorteNeuHandelsname = eingabe(QStringLiteral("editSorteNeuHandelsname"), bearbeiten.w, QRect(210, 50, 270, 20));
    editSorteNeuDosis = eingabe(QStringLiteral("editSorteNeuDosis"), bearbeiten.w, QRect(210, 80, 270, 20));
    editSorteNeuPackung = eingabe(QStringLiteral("editSorteNeuPackung"), bearbeiten.w, QRect(210, 110, 270, 20));
    knopfSorteAendern = knopf(QStringLiteral("knopfSorteAendern"), bearbeiten.w, QStringLiteral("Daten &\u00E4ndern"),
                              QRect(10, 160, 470, 30));

    Seite loeschen = seite(QStringLiteral("seiteSorteLoeschen"), QStringLiteral("Verpackungseinheit:"),
                           QStringLiteral("anzeigeSorteLoeschenFuer"));
    anzeigeSorteLoeschenFuer = loeschen.fuer;
    anzeigeSorteHandelsname = anzeige(QStringLiteral("anzeigeSorteHandelsname"), loeschen.w, QRect(210, 50, 270, 20));
    anzeigeSorteDosis = anzeige(QStringLiteral("anzeigeSorteDosis"), loeschen.w, QRect(210, 80, 270, 20));
    anzeigeSortePackung = anzeige(QStringLiteral("anzeigeSortePackung"), loeschen.w, QRect(210, 110, 270, 20));
    knopfSorteLoeschen = knopf(QStringLiteral("knopfSorteLoeschen"), loeschen.w,
                               QStringLiteral("Datensatz l\u00F6&schen"), QRect(10, 160, 470, 30), true);

    medikamentTabs->addTab(neu.w, umlauteErsetzen(tr("Hinzuf:ue:gen")));
    medikamentTabs->addTab(bearbeiten.w, tr("Bearbeiten"));
    medikamentTabs->addTab(loeschen.w, umlauteErsetzen(tr("L:oe:schen")));
    for (int i = 0; i < 3; ++i)
        medikamentTabs->setTabEnabled(i, false);
}
