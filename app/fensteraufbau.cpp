// SPDX-License-Identifier: GPL-3.0-or-later
// Building blocks of the window and its frame: menus, tabs, headline.
#include "app/mainwindow.h"

#include "app/fensterbausteine.h"

#include "app/tabelle.h"
#include "app/tabellen.h"
#include "text/textformat.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

namespace {
// One sheet per table for the table and its headers: each sheet set costs
// a parse and a restyle of the widget's children.
const char *const tabellenStil =
    "* {background-color:white; selection-background-color:rgb(51,51,102); selection-color:rgb(255,255,255);} "
    "QHeaderView::section {background-color:rgb(245,245,245);}";
const char *const kopfStil = "QHeaderView::section {background-color:rgb(245,245,245);}";

// The two full-page tables have no frame, nor have the bars in them; their
// headers look like every other.
void seitenTabelleStil(QTableWidget *t)
{
    t->setStyleSheet(QStringLiteral("border:none"));
    t->horizontalHeader()->setStyleSheet(QString::fromLatin1(kopfStil));
    t->verticalHeader()->setStyleSheet(QString::fromLatin1(kopfStil));
}

// Every widget of the window is named (the tests find it by name), placed
// in pixels and shown in the window's pixel font.
template <typename W>
W *platzieren(W *w, const QString &name, const QRect &rechteck, const QFont &schrift)
{
    w->setObjectName(name);
    w->setGeometry(rechteck);
    w->setFont(schrift);
    return w;
}
} // namespace

QTableWidget *MainWindow::tabelleBauen(const QString &name, QWidget *eltern, const QRect &rechteck,
                                       const QStringList &kopf)
{
    auto *t = new Tabelle(eltern);
    t->setObjectName(name);
    // Tab leaves the table instead of walking through its cells; a table
    // shows rows, so one whole row is chosen at a time.
    t->setTabKeyNavigation(false);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setGeometry(rechteck);
    t->setFont(schriftNormal);
    t->setColumnCount(kopf.size());
    t->setHorizontalHeaderLabels(kopf);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setAlternatingRowColors(true);
    t->setStyleSheet(QString::fromLatin1(tabellenStil));
    t->horizontalHeader()->setFont(schriftNormal);
    t->verticalHeader()->setFont(schriftNormal);
    volleTexteZeigen(t);
    return t;
}

QLabel *MainWindow::beschriftung(QWidget *eltern, const QString &text, const QRect &rechteck, Qt::Alignment ausrichtung)
{
    auto *l = new QLabel(umlauteErsetzen(text), eltern);
    l->setGeometry(rechteck);
    l->setFont(schriftNormal);
    l->setAlignment(ausrichtung);
    return l;
}

QLabel *MainWindow::anzeige(const QString &name, QWidget *eltern, const QRect &rechteck)
{
    auto *l = platzieren(new QLabel(eltern), name, rechteck, schriftNormal);
    l->setStyleSheet(QStringLiteral("border:1px solid gray;"));
    return l;
}

QLineEdit *MainWindow::eingabe(const QString &name, QWidget *eltern, const QRect &rechteck)
{
    auto *e = platzieren(new QLineEdit(eltern), name, rechteck, schriftNormal);
    e->setStyleSheet(QStringLiteral("background-color:white;"));
    return e;
}

QDateEdit *MainWindow::datumsfeld(const QString &name, QWidget *eltern, const QRect &rechteck)
{
    auto *d = platzieren(new QDateEdit(eltern), name, rechteck, schriftNormal);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    d->setCalendarPopup(true);
    d->setStyleSheet(QStringLiteral("background-color:white;"));
    return d;
}

QPushButton *MainWindow::knopf(const QString &name, QWidget *eltern, const QString &text, const QRect &rechteck,
                               bool rot)
{
    auto *k = platzieren(new QPushButton(umlauteErsetzen(text), eltern), name, rechteck, schriftNormal);
    if (rot)
        k->setStyleSheet(QStringLiteral("color:red;"));
    return k;
}

QGroupBox *MainWindow::gruppe(const QString &name, QWidget *eltern, const QString &titel, const QRect &rechteck)
{
    return platzieren(new QGroupBox(umlauteErsetzen(titel), eltern), name, rechteck, schriftFett);
}

void MainWindow::fensterAusfuehren(QDialog &fenster, const QString &bestaetigen, int y, void (MainWindow::*slot)(),
                                   bool &gespeichert, int x)
{
    // Nothing is stored until the slot says so.
    gespeichert = false;
    auto *ok = new QPushButton(umlauteErsetzen(bestaetigen), &fenster);
    ok->setGeometry(x, y, 120, 30);
    ok->setDefault(true);
    auto *abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), &fenster);
    abbrechen->setGeometry(x + 120, y, 120, 30);
    connect(ok, &QPushButton::clicked, this, slot);
    connect(ok, &QPushButton::clicked, &fenster, [&fenster, &gespeichert] {
        if (gespeichert)
            fenster.accept();
    });
    connect(abbrechen, &QPushButton::clicked, &fenster, &QDialog::close);
    fenster.exec();
}

void MainWindow::menuesBauen()
{
    // Menus and entries are named for the tests; every entry runs one slot.
    auto aktion = [this](QMenu *menu, const QString &name, const QString &text, auto slot) {
        QAction *a = menu->addAction(umlauteErsetzen(text));
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto menue = [](QMenuBar *leiste, const QString &name, const QString &text) {
        QMenu *m = leiste->addMenu(text);
        m->setObjectName(name);
        return m;
    };
    auto *leiste = new QMenuBar(this);
    leiste->setObjectName(QStringLiteral("menueLeiste"));
    setMenuBar(leiste);

    // The entries of a menu, in order: the member that keeps each, its name, text and slot.
    struct Eintrag {
        QAction *MainWindow::*ziel;
        const char *name, *text;
        void (MainWindow::*slot)();
    };
    auto eintragen = [&](QMenu *menu, std::initializer_list<Eintrag> eintraege) {
        for (const Eintrag &e : eintraege)
            this->*e.ziel = aktion(menu, QString::fromLatin1(e.name), QString::fromUtf8(e.text), e.slot);
    };
    menuDatei = menue(leiste, QStringLiteral("menuDatei"), QStringLiteral("&Datei"));
    eintragen(menuDatei, {
                             {&MainWindow::aktionDbKopieren, "aktionDbKopieren", "Datenbank &kopieren nach...",
                              &MainWindow::DBkopieren},
                             {&MainWindow::aktionDbVerschieben, "aktionDbVerschieben", "Datenbank &verschieben nach...",
                              &MainWindow::DBverschieben},
                             {&MainWindow::aktionDbOeffnen, "aktionDbOeffnen", "&mit vorhandener Datenbank verbinden",
                              &MainWindow::DBoeffnen},
                             {&MainWindow::aktionServerVerbinden, "aktionServerVerbinden", "Mit Se&rver verbinden...",
                              &MainWindow::ServerVerbinden},
                         });
    menuDatei->addSeparator();
    eintragen(menuDatei, {{&MainWindow::aktionAlsDateiSichern, "aktionAlsDateiSichern", "&Als Datei sichern\u2026",
                           &MainWindow::AlsDateiSichern},
                          {&MainWindow::aktionDateiAufServer, "aktionDateiAufServer",
                           "Datei auf &Server kopieren\u2026", &MainWindow::DateiAufServerKopieren}});
    menuDatei->addSeparator();
    eintragen(menuDatei, {{&MainWindow::aktionSicherungWiederherstellen, "aktionSicherungWiederherstellen",
                           "Sicherung &wiederherstellen\u2026", &MainWindow::SicherungFenster},
                          {&MainWindow::aktionSicherungEinstellen, "aktionSicherungEinstellen",
                           "Sicherungen &einstellen\u2026", &MainWindow::SicherungEinstellungen}});
    menuDatei->addSeparator();
    eintragen(menuDatei, {{&MainWindow::aktionBmpEinlesen, "aktionBmpEinlesen", "Medikations&plan einlesen...",
                           &MainWindow::BmpEinlesen}});
    menuDatei->addSeparator();
    aktionBeenden = aktion(menuDatei, QStringLiteral("aktionBeenden"), QStringLiteral("&Beenden"), &MainWindow::close);

    menuPdf = menue(leiste, QStringLiteral("menuPdf"), QStringLiteral("&PDF"));
    eintragen(menuPdf, {{&MainWindow::aktionMedikamentenplan, "aktionMedikamentenplan", "&Medikamentenplan drucken",
                         &MainWindow::print_medlist},
                        {&MainWindow::aktionVerordnungsplan, "aktionVerordnungsplan", "&Verordnungsplan drucken",
                         &MainWindow::print_regulation},
                        {&MainWindow::aktionRezeptanforderung, "aktionRezeptanforderung", "&Rezeptanforderung drucken",
                         &MainWindow::RezeptanforderungDrucken}});
    menuPdf->addSeparator();
    eintragen(menuPdf, {{&MainWindow::aktionBmpDrucken, "aktionBmpDrucken", "Medikationsplan (&BMP) drucken",
                         &MainWindow::BmpDrucken},
                        {&MainWindow::aktionBmpAussteller, "aktionBmpAussteller", "&Ausgedruckt von...",
                         &MainWindow::BmpAusstellerFenster}});

    menuAnsicht = menue(leiste, QStringLiteral("menuAnsicht"), QStringLiteral("&Ansicht"));
    aktionListen = aktion(menuAnsicht, QStringLiteral("aktionListen"),
                          QStringLiteral("&Patienten- und Medikamentenliste aktivieren"), &MainWindow::TabPatMedEinAus);
    aktionListen->setCheckable(true);
    aktionListen->setChecked(false);
    eintragen(menuAnsicht,
              {{&MainWindow::aktionVerlauf, "aktionVerlauf", "&Verlauf\u2026", &MainWindow::VerlaufFenster}});

    menuHilfe = menue(leiste, QStringLiteral("menuHilfe"), QStringLiteral("&Hilfe"));
    eintragen(menuHilfe, {{&MainWindow::aktionHilfe, "aktionHilfe", "&Hilfe", &MainWindow::hilfeanzeigen},
                          {&MainWindow::aktionReparieren, "aktionReparieren", "&Reparieren", &MainWindow::Reparieren},
                          {&MainWindow::aktionUeber, "aktionUeber", ":ue:&ber Kalvoria", &MainWindow::aboutueber}});
}

void MainWindow::seitenBauen()
{
    hauptTabs = new QTabWidget(this);
    hauptTabs->setObjectName(QStringLiteral("hauptTabs"));
    hauptTabs->setGeometry(20, 95, 1160, 590);
    // No background of its own: one given here would reach every label and
    // check box on the pages and paint it as a grey box on a platform whose
    // window colour differs.
    const struct {
        QWidget **seite;
        const char *name, *titel;
    } seiten[] = {{&seiteUebersicht, "seiteUebersicht", ":Ue:bersicht"},
                  {&seiteVerordnungsplan, "seiteVerordnungsplan", "Verordnungsplan"},
                  {&seiteRezeptbedarf, "seiteRezeptbedarf", "Rezeptbedarf"},
                  {&seiteEinstellungen, "seiteEinstellungen", "Einstellungen"},
                  {&seitePatienten, "seitePatienten", "Patientenliste"},
                  {&seiteMedikamente, "seiteMedikamente", "Medikamentenliste"}};
    for (const auto &t : seiten) {
        QWidget *w = *t.seite = new QWidget(this);
        w->setObjectName(QString::fromLatin1(t.name));
        hauptTabs->addTab(w, umlauteErsetzen(tr(t.titel)));
    }
    // The list pages come only with "Listen". Removed pages stay children
    // of the tab widget's stack; keep them hidden.
    for (QWidget *liste : {seitePatienten, seiteMedikamente}) {
        hauptTabs->removeTab(hauptTabs->indexOf(liste));
        liste->hide();
    }

    QFont gross = schriftNormal;
    gross.setPixelSize(14);
    kopfzeilePatient = platzieren(new QLabel(this), QStringLiteral("kopfzeilePatient"), QRect(40, 45, 1120, 30), gross);
    kopfzeilePatient->setStyleSheet(QStringLiteral("background-color:white; border:1px solid gray;"));
    kopfzeilePatient->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    kopfzeileZeit = platzieren(new QLabel(this), QStringLiteral("kopfzeileZeit"), QRect(600, 46, 559, 28),
                               schriftNormal);
    kopfzeileZeit->setStyleSheet(QStringLiteral("background-color:white"));
    kopfzeileZeit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    seiteUebersichtBauen();
    seiteVerordnungsplanBauen();
    seiteEinstellungenBauen();
    seitePatientenBauen();
    seiteMedikamenteBauen();
    seiteRezeptbedarfBauen();
}

void MainWindow::seiteUebersichtBauen()
{
    tabelleUebersicht = tabelleBauen(QStringLiteral("tabelleUebersicht"), seiteUebersicht, QRect(0, 30, 1155, 534),
                                     kopfUebersicht);
    tabelleUebersicht->setAlternatingRowColors(false);
    seitenTabelleStil(tabelleUebersicht);
    QHeaderView *k = tabelleUebersicht->horizontalHeader();
    k->resizeSection(0, 220);
    k->setSectionResizeMode(1, QHeaderView::Stretch);
    k->resizeSection(2, 120);
    k->resizeSection(3, 270);
    k->resizeSection(4, 120);
}

void MainWindow::seiteVerordnungsplanBauen()
{
    tabelleVerordnungsplan = tabelleBauen(QStringLiteral("tabelleVerordnungsplan"), seiteVerordnungsplan,
                                          QRect(0, 30, 1155, 534), kopfVerordnungsplan);
    tabelleVerordnungsplan->setAlternatingRowColors(false);
    seitenTabelleStil(tabelleVerordnungsplan);
    QHeaderView *k = tabelleVerordnungsplan->horizontalHeader();
    k->resizeSection(0, 220);
    k->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int i = 2; i < 6; ++i)
        k->resizeSection(i, 150);
}

void MainWindow::fensterFelderBauen()
{
    // Numbers are centred in their fields.
    auto feld = [](const QString &name, bool zahl = true) {
        auto e = std::make_unique<QLineEdit>();
        e->setObjectName(name);
        e->setStyleSheet(QStringLiteral("background-color:white;"));
        if (zahl)
            e->setAlignment(Qt::AlignCenter);
        return e;
    };
    fensterMorgen = feld(QStringLiteral("fensterMorgen"));
    fensterMittag = feld(QStringLiteral("fensterMittag"));
    fensterAbend = feld(QStringLiteral("fensterAbend"));
    fensterNacht = feld(QStringLiteral("fensterNacht"));
    fensterStand = feld(QStringLiteral("fensterStand"));
    fensterPackungen = feld(QStringLiteral("fensterPackungen"));
    fensterHilfe = std::make_unique<QCheckBox>(
        umlauteErsetzen(QStringLiteral("z.B. &Nadeln (nicht im Verordnungsplan)")));
    fensterHilfe->setObjectName(QStringLiteral("fensterHilfe"));

    auto wahl = [](const QString &name, const QString &text) {
        auto r = std::make_unique<QRadioButton>(text);
        r->setObjectName(name);
        return r;
    };
    terminNeuDatum = datumsFeld(QStringLiteral("terminNeuDatum"));
    terminNeuHausarzt = wahl(QStringLiteral("terminNeuHausarzt"), QStringLiteral("Hausarzt"));
    terminNeuFacharzt = wahl(QStringLiteral("terminNeuFacharzt"), QStringLiteral("Facharzt:"));
    terminNeuName = feld(QStringLiteral("terminNeuName"), false);
    terminAendernDatum = datumsFeld(QStringLiteral("terminAendernDatum"));
    terminAendernHausarzt = wahl(QStringLiteral("terminAendernHausarzt"), QStringLiteral("Hausarzt"));
    terminAendernFacharzt = wahl(QStringLiteral("terminAendernFacharzt"), QStringLiteral("Facharzt:"));
    terminAendernName = feld(QStringLiteral("terminAendernName"), false);
    ausstellerName = feld(QStringLiteral("ausstellerName"), false);
    ausstellerStrasse = feld(QStringLiteral("ausstellerStrasse"), false);
    ausstellerPlz = feld(QStringLiteral("ausstellerPlz"), false);
    ausstellerOrt = feld(QStringLiteral("ausstellerOrt"), false);
    ausstellerTelefon = feld(QStringLiteral("ausstellerTelefon"), false);
    serverHost = feld(QStringLiteral("serverHost"), false);
    serverPort = std::make_unique<QSpinBox>();
    serverPort->setObjectName(QStringLiteral("serverPort"));
    serverPort->setRange(1, 65535);
    serverDatenbank = feld(QStringLiteral("serverDatenbank"), false);
    serverBenutzer = feld(QStringLiteral("serverBenutzer"), false);
    serverSsl = std::make_unique<QComboBox>();
    serverSsl->setObjectName(QStringLiteral("serverSsl"));
    serverSsl->addItems(Serverzugang::sslModi());
    serverPasswort = feld(QStringLiteral("serverPasswort"), false);
    serverPasswort->setEchoMode(QLineEdit::Password);
    bmpScannerText = std::make_unique<QPlainTextEdit>();
    bmpScannerText->setObjectName(QStringLiteral("bmpScannerText"));
    // A scanner ends its text with a line end; a tab must not leave the field mid-code.
    bmpScannerText->setTabChangesFocus(true);
}
