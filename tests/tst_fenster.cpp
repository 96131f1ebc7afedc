// The main window: size, menus, pages, headline and the slot table.
#include "testhilfe.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMetaMethod>
#include <QTabWidget>
#include <QTest>

namespace {

QStringList tabTitel(QTabWidget *tabs)
{
    QStringList t;
    for (int i = 0; i < tabs->count(); ++i)
        t << tabs->tabText(i);
    return t;
}

QStringList menuEintraege(QMenu *menu)
{
    QStringList t;
    for (QAction *a : menu->actions())
        t << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return t;
}

} // namespace

class FensterTest : public QObject
{
    Q_OBJECT
private slots:
    void festeGroesseUndMenues()
    {
        Umgebung env;
        auto w = env.starten();
        QCOMPARE(w->size(), QSize(1200, 700));
        QCOMPARE(w->minimumSize(), QSize(1200, 700));
        QCOMPARE(w->maximumSize(), QSize(1200, 700));

        QStringList menues;
        for (QAction *a : w->menuBar()->actions())
            menues << a->text();
        QCOMPARE(menues, (QStringList{"Datei", "PDF", "Ansicht", "Hilfe"}));
        QCOMPARE(menuEintraege(teil<QMenu>(w.get(), "menuDatei")),
                 (QStringList{"Datenbank kopieren nach...", "Datenbank verschieben nach...",
                              "mit vorhandener Datenbank verbinden", "-", "Beenden"}));
        QCOMPARE(menuEintraege(teil<QMenu>(w.get(), "menuPdf")),
                 (QStringList{"Medikamentenplan drucken", "Verordnungsplan drucken"}));
        QCOMPARE(menuEintraege(teil<QMenu>(w.get(), "menuHilfe")),
                 (QStringList{"Hilfe", "Reparieren", QStringLiteral("\u00FCber Kalvoria")}));
        auto *listen = teil<QAction>(w.get(), "aktionListen");
        QVERIFY(listen->isCheckable());
        QVERIFY(!listen->isChecked());
    }

    void listenSeitenEinUndAus()
    {
        Umgebung env;
        auto w = env.starten();
        auto *tabs = teil<QTabWidget>(w.get(), "hauptTabs");
        QCOMPARE(tabTitel(tabs), (QStringList{QStringLiteral("\u00DCbersicht"), "Verordnungsplan", "Einstellungen"}));
        QCOMPARE(tabs->currentIndex(), 0);

        auto *listen = teil<QAction>(w.get(), "aktionListen");
        listen->trigger();
        listen->trigger();
        QCOMPARE(tabs->count(), 3);
        listen->trigger();
        QVERIFY(listen->isChecked());
        QCOMPARE(tabTitel(tabs), (QStringList{QStringLiteral("\u00DCbersicht"), "Verordnungsplan", "Einstellungen",
                                              "Patientenliste", "Medikamentenliste"}));
        QCOMPARE(tabs->widget(3), teil<QWidget>(w.get(), "seitePatienten"));
        QCOMPARE(tabs->widget(4), teil<QWidget>(w.get(), "seiteMedikamente"));
    }

    void kopfzeileAufListenseitenVerborgen()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        Datei::ausfuehren(env.standardDatei(), QStringLiteral("INSERT INTO patient (firstname, lastname, birth) "
                                                              "VALUES ('Erika', 'Muster', '01.02.1940')"));
        auto w = env.starten();
        auto *tabs = teil<QTabWidget>(w.get(), "hauptTabs");
        auto *patient = teil<QLabel>(w.get(), "kopfzeilePatient");
        auto *zeit = teil<QLabel>(w.get(), "kopfzeileZeit");
        QCOMPARE(patient->text(), QStringLiteral(" - Patient: Muster, Erika | *01.02.1940"));
        QCOMPARE(zeit->text(), QStringLiteral("erstellt am: 06.12.2026 - 10:30:00 Uhr "));
        QVERIFY(patient->isVisible());

        teil<QAction>(w.get(), "aktionListen")->trigger();
        tabs->setCurrentIndex(3);
        QVERIFY(!patient->isVisible());
        QVERIFY(!zeit->isVisible());
        QVERIFY(patient->text().isEmpty());
        QVERIFY(zeit->text().isEmpty());
        tabs->setCurrentIndex(4);
        QVERIFY(!patient->isVisible());

        tabs->setCurrentIndex(0);
        QVERIFY(patient->isVisible());
        QVERIFY(zeit->isVisible());
        QVERIFY(patient->text().isEmpty());

        // The next choice of a patient writes the headline again.
        zelleKlicken(teil<QTableWidget>(w.get(), "tabellePatientenwahl"), 0, 1);
        QCOMPARE(patient->text(), QStringLiteral(" - Patient: Muster, Erika | *01.02.1940"));
    }

    void seitenAufgebaut()
    {
        Umgebung env;
        auto w = env.starten();
        auto kopf = [](QTableWidget *t) {
            QStringList k;
            for (int i = 0; i < t->columnCount(); ++i)
                k << (t->horizontalHeaderItem(i) ? t->horizontalHeaderItem(i)->text() : QString());
            return k;
        };
        auto versteckt = [](QTableWidget *t) {
            QList<int> v;
            for (int i = 0; i < t->columnCount(); ++i)
                if (t->isColumnHidden(i))
                    v << i;
            return v;
        };
        auto *uebersicht = teil<QTableWidget>(w.get(), "tabelleUebersicht");
        QCOMPARE(kopf(uebersicht), (QStringList{"Medikament", "Handelsname", "Stand", "Reichweite", "reicht bis"}));
        QCOMPARE(uebersicht->geometry(), QRect(0, 30, 1155, 534));
        QCOMPARE(kopf(teil<QTableWidget>(w.get(), "tabelleVerordnungsplan")),
                 (QStringList{"Medikament", "Dosis", "Morgen", "Mittag", "Abend", "Nacht"}));
        QCOMPARE(versteckt(teil<QTableWidget>(w.get(), "tabellePatientenwahl")), (QList<int>{0, 3, 5, 6, 7}));
        QCOMPARE(versteckt(teil<QTableWidget>(w.get(), "tabellePatienten")), (QList<int>{0, 5, 6, 7}));
        QCOMPARE(versteckt(teil<QTableWidget>(w.get(), "tabelleZuordnung")), (QList<int>{0, 4}));
        QCOMPARE(versteckt(teil<QTableWidget>(w.get(), "tabelleSortenwahl")), (QList<int>{0, 1}));
        QCOMPARE(versteckt(teil<QTableWidget>(w.get(), "tabelleTermine")), (QList<int>{0}));
        QCOMPARE(kopf(teil<QTableWidget>(w.get(), "tabelleTermine")), (QStringList{"ID", "Arzt", "Datum"}));
        for (const char *name : {"tabellePatientenwahl", "tabelleTermine", "tabelleZuordnung", "tabelleSortenwahl",
                                 "tabellePatienten", "tabelleMedikamente", "tabelleSorten", "tabelleUebersicht"}) {
            auto *t = teil<QTableWidget>(w.get(), QString::fromLatin1(name));
            QCOMPARE(t->editTriggers(), QAbstractItemView::NoEditTriggers);
        }

        QCOMPARE(teil<QGroupBox>(w.get(), "gruppeAusgewaehlterPatient")->title(), QStringLiteral("Ausgew\u00E4hlter Patient"));
        QVERIFY(teil<QGroupBox>(w.get(), "gruppeNeuerPatient")->isHidden());
        QVERIFY(teil<QGroupBox>(w.get(), "gruppePatientSuchen")->isHidden());
        QCOMPARE(teil<QPushButton>(w.get(), "knopfTerminLoeschen")->text(), QStringLiteral("Termin l\u00F6schen"));
        QCOMPARE(teil<QPushButton>(w.get(), "knopfTerminLoeschen")->styleSheet(), QStringLiteral("color:red;"));
        auto *tabs = teil<QTabWidget>(w.get(), "medikamentTabs");
        QCOMPARE(tabTitel(tabs), (QStringList{QStringLiteral("Hinzuf\u00FCgen"), "Bearbeiten", QStringLiteral("L\u00F6schen")}));
        for (int i = 0; i < 3; ++i)
            QVERIFY(!tabs->isTabEnabled(i));
        auto *datum = teil<QDateEdit>(w.get(), "datumErsteinnahme");
        QCOMPARE(datum->date(), QDate(2026, 12, 6));
        QCOMPARE(datum->displayFormat(), QStringLiteral("dd.MM.yyyy"));
        QVERIFY(datum->calendarPopup());
    }

    void alleSlotsMitIhremParameter()
    {
        const QStringList erwartet{
            "AllesEinlesen()", "ZeitHolen()", "UesEinblenden(int)", "UebersichtFuellen()", "VerordnungsplanFuellen()",
            "PatientenEinstellungFuellen(int)", "MedizinEinstellungFuellen()", "MedizinEinstellungAnklicken()",
            "ZuordnungEintragen()", "ZuordnungFuellen()", "ZuordnungFuellenMit()", "ZuordnungLoeschen()",
            "ZuordnungAnklicken()", "EinstellungZuordnungHoch()", "EinstellungZuordnungRunter()", "PatientenSuchen()",
            "PatientenAnklicken(int)", "PatientenAendern()", "PatientenEinblenden1()", "PatientenEinblenden2()",
            "PatientenEinblenden3()", "PatientenNeuEintragen()", "PatientenLoeschen()", "TabPatMedEinAus(bool)",
            "MedikamenteAnklicken()", "MedikamentZufuegen()", "MedikamentAendern()", "MedikamentLoeschen()",
            "SorteFuellen()", "SorteAnklicken(int)", "SorteZufuegen()", "SorteAendern()", "SorteLoeschen()",
            "ApothekenFenster()", "ApothekeEintragen()", "ZuordnungFenster()", "ZuordnungWEintragen()",
            "TermineFuellen()", "TerminEintragenW()", "TerminWEintragen()", "TerminAendernW()", "TerminWAendern()",
            "TerminLoeschen()", "ErstStartCheck()", "DBkopieren()", "DBverschieben()", "DBoeffnen()", "Reparieren()",
            "RoamingLoeschen()", "aboutueber()", "hilfeanzeigen()", "print_regulation()", "print_medlist()"};
        const QMetaObject &mo = MainWindow::staticMetaObject;
        QStringList gefunden;
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
            const QMetaMethod m = mo.method(i);
            if (m.methodType() == QMetaMethod::Slot) {
                QCOMPARE(m.access(), QMetaMethod::Private);
                QCOMPARE(m.returnType(), static_cast<int>(QMetaType::Void));
                gefunden << QString::fromLatin1(m.methodSignature());
            }
        }
        QCOMPARE(gefunden, erwartet);
    }
};

QTEST_MAIN(FensterTest)
#include "tst_fenster.moc"
