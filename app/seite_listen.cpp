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
    struct Formularfelder {
        QLineEdit *&name, *&vorname;
        QDateEdit *&geburtstag;
        QLineEdit *&plz, *&ort, *&strasse, *&nr;
    };
    // The chosen patient's form and the new patient's differ only in where
    // their fields begin (links) and end (rechts); each field is named after
    // its member: the form's prefix and the row.
    const auto patientenFormular = [this](QWidget *eltern, const QString &vorsilbe, int links, int rechts,
                                          const Formularfelder &f) {
        const auto zeile = [&](const char *text, int y) {
            beschriftung(eltern, QString::fromLatin1(text), QRect(10, y, links - 15, 20));
        };
        const auto feld = [&](const char *name, int von, int bis, int y) {
            return eingabe(vorsilbe + QLatin1String(name), eltern, QRect(von, y, bis - von, 20));
        };
        zeile("Name:", 20);
        f.name = feld("Name", links, rechts, 20);
        zeile("Vorname:", 50);
        f.vorname = feld("Vorname", links, rechts, 50);
        zeile("Geburtstag:", 80);
        f.geburtstag = datumsfeld(vorsilbe + QLatin1String("Geburtstag"), eltern, QRect(links, 80, 100, 20));
        geburtstagsfeldEinrichten(f.geburtstag);
        zeile("Wohnort:", 110);
        f.plz = feld("Plz", links, links + 50, 110);
        f.ort = feld("Ort", links + 55, rechts, 110);
        zeile("Stra:sz:e:", 140);
        f.strasse = feld("Strasse", links, links + 195, 140);
        f.nr = feld("Nr", links + 200, rechts, 140);
    };

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
    patientenFormular(d, QStringLiteral("edit"), 115, 365,
                      {editName, editVorname, editGeburtstag, editPlz, editOrt, editStrasse, editNr});
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
    patientenFormular(n, QStringLiteral("neu"), 95, 340,
                      {neuName, neuVorname, neuGeburtstag, neuPlz, neuOrt, neuStrasse, neuNr});
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
    const QStringList sortenKopf{
        QStringLiteral("ID"),    QStringLiteral("med_id"), QStringLiteral("Verpackung / Handelsname"),
        QStringLiteral("Dosis"), QStringLiteral("Menge"),  QStringLiteral("PZN")};

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
    // Room for the name beside the PZN.
    for (const auto &[spalte, breite] : {std::pair{3, 80}, {4, 60}, {5, 80}})
        tabelleSorten->horizontalHeader()->resizeSection(spalte, breite);

    medikamentTabs = new QTabWidget(s);
    medikamentTabs->setObjectName(QStringLiteral("medikamentTabs"));
    medikamentTabs->setGeometry(645, 295, 495, 255);
    medikamentTabs->setFont(schriftNormal);
    struct Seitentexte {
        const char *name, *ueberschrift, *fuerName, *felder, *knopfName, *knopfText;
        bool rot;
    };
    // The three tabs share their frame: the medication they are for, a
    // package's three rows with fields made by feld (their names begin with
    // felder) and the button that acts on them.
    const auto seite = [this](const Seitentexte &t, QLabel *&fuer, auto feld, auto *&handelsname, auto *&dosis,
                              auto *&packung, auto *&pzn, QPushButton *&befehl) {
        auto *w = new QWidget;
        w->setObjectName(QString::fromLatin1(t.name));
        beschriftung(w, QString::fromLatin1(t.ueberschrift), QRect(10, 12, 170, 20));
        fuer = beschriftung(w, QString(), QRect(180, 12, 300, 20));
        fuer->setObjectName(QString::fromLatin1(t.fuerName));
        fuer->setFont(schriftFett);
        beschriftung(w, QStringLiteral("Verpackung / Handelsname:"), QRect(10, 50, 200, 20));
        beschriftung(w, QStringLiteral("Dosis pro Medikamenteneinheit"), QRect(10, 80, 200, 20));
        beschriftung(w, QStringLiteral("Einheiten pro Packung:"), QRect(10, 110, 200, 20));
        beschriftung(w, QStringLiteral("PZN (8 Ziffern, freiwillig):"), QRect(10, 140, 200, 20));
        const QString felder = QString::fromLatin1(t.felder);
        handelsname = (this->*feld)(felder + QLatin1String("Handelsname"), w, QRect(210, 50, 270, 20));
        dosis = (this->*feld)(felder + QLatin1String("Dosis"), w, QRect(210, 80, 270, 20));
        packung = (this->*feld)(felder + QLatin1String("Packung"), w, QRect(210, 110, 270, 20));
        pzn = (this->*feld)(felder + QLatin1String("Pzn"), w, QRect(210, 140, 100, 20));
        befehl = knopf(QString::fromLatin1(t.knopfName), w, QString::fromLatin1(t.knopfText), QRect(10, 175, 470, 30),
                       t.rot);
        return w;
    };
    QWidget *neu = seite({"seiteSorteHinzufuegen", "Packung eintragen f:ue:r:", "anzeigeSorteNeuFuer", "editSorte",
                          "knopfSorteEintragen", "Daten e&intragen", false},
                         anzeigeSorteNeuFuer, &MainWindow::eingabe, editSorteHandelsname, editSorteDosis,
                         editSortePackung, editSortePzn, knopfSorteEintragen);
    QWidget *bearbeiten = seite({"seiteSorteBearbeiten", "Packung bearbeiten f:ue:r:", "anzeigeSorteBearbeitenFuer",
                                 "editSorteNeu", "knopfSorteAendern", "Daten &:ae:ndern", false},
                                anzeigeSorteBearbeitenFuer, &MainWindow::eingabe, editSorteNeuHandelsname,
                                editSorteNeuDosis, editSorteNeuPackung, editSorteNeuPzn, knopfSorteAendern);
    QWidget *loeschen = seite({"seiteSorteLoeschen", "Verpackungseinheit:", "anzeigeSorteLoeschenFuer", "anzeigeSorte",
                               "knopfSorteLoeschen", "Datensatz l:oe:&schen", true},
                              anzeigeSorteLoeschenFuer, &MainWindow::anzeige, anzeigeSorteHandelsname,
                              anzeigeSorteDosis, anzeigeSortePackung, anzeigeSortePzn, knopfSorteLoeschen);

    medikamentTabs->addTab(neu, umlauteErsetzen(tr("Hinzuf:ue:gen")));
    medikamentTabs->addTab(bearbeiten, tr("Bearbeiten"));
    medikamentTabs->addTab(loeschen, umlauteErsetzen(tr("L:oe:schen")));
    for (int i = 0; i < 3; ++i)
        medikamentTabs->setTabEnabled(i, false);
}
