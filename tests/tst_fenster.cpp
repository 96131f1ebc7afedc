// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: size, list pages, headline and the slot table.
#include "testhilfe.h"

#include <QAction>
#include <QLabel>
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

} // namespace

class FensterTest : public QObject
{
    Q_OBJECT
private slots:
    void festeGroesse()
    {
        Umgebung env;
        auto w = env.starten();
        QCOMPARE(w->size(), QSize(1200, 700));
        QCOMPARE(w->minimumSize(), w->maximumSize());
    }

    // Off, on, off, on again: the list pages come back once each, at 3 and 4.
    void listenSeitenEinUndAus()
    {
        Umgebung env;
        auto w = env.starten();
        auto *tabs = teil<QTabWidget>(w.get(), "hauptTabs");
        auto *listen = teil<QAction>(w.get(), "aktionListen");
        const QStringList grund{QStringLiteral("\u00DCbersicht"), "Verordnungsplan", "Einstellungen"};
        QVERIFY(listen->isCheckable() && !listen->isChecked());
        QCOMPARE(tabTitel(tabs), grund);

        for (bool an : {true, false, true}) {
            listen->trigger();
            QCOMPARE(listen->isChecked(), an);
            QCOMPARE(tabTitel(tabs), an ? grund + QStringList({"Patientenliste", "Medikamentenliste"}) : grund);
        }
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
        const QString kopf = QStringLiteral(" - Patient: Muster, Erika | *01.02.1940");
        QCOMPARE(patient->text(), kopf);
        QCOMPARE(zeit->text(), QStringLiteral("erstellt am: 06.12.2026 - 10:30:00 Uhr "));

        teil<QAction>(w.get(), "aktionListen")->trigger();
        for (int seite : {3, 4}) {
            tabs->setCurrentIndex(seite);
            QVERIFY(!patient->isVisible() && !zeit->isVisible());
            QVERIFY(patient->text().isEmpty() && zeit->text().isEmpty());
        }
        tabs->setCurrentIndex(0);
        QVERIFY(patient->isVisible() && zeit->isVisible());

        // The next choice of a patient writes the headline again.
        zelleKlicken(teil<QTableWidget>(w.get(), "tabellePatientenwahl"), 0, 1);
        QCOMPARE(patient->text(), kopf);
    }

    void alleSlotsMitIhremParameter()
    {
        const QStringList erwartet{"AllesEinlesen()",
                                   "ZeitHolen()",
                                   "UesEinblenden(int)",
                                   "UebersichtFuellen()",
                                   "VerordnungsplanFuellen()",
                                   "PatientenEinstellungFuellen(int)",
                                   "MedizinEinstellungFuellen()",
                                   "MedizinEinstellungAnklicken()",
                                   "ZuordnungEintragen()",
                                   "ZuordnungFuellen()",
                                   "ZuordnungFuellenMit()",
                                   "ZuordnungLoeschen()",
                                   "ZuordnungAnklicken()",
                                   "EinstellungZuordnungHoch()",
                                   "EinstellungZuordnungRunter()",
                                   "PatientenSuchen()",
                                   "PatientenAnklicken(int)",
                                   "PatientenAendern()",
                                   "PatientenEinblenden1()",
                                   "PatientenEinblenden2()",
                                   "PatientenEinblenden3()",
                                   "PatientenNeuEintragen()",
                                   "PatientenLoeschen()",
                                   "TabPatMedEinAus(bool)",
                                   "MedikamenteAnklicken()",
                                   "MedikamentZufuegen()",
                                   "MedikamentAendern()",
                                   "MedikamentLoeschen()",
                                   "SorteFuellen()",
                                   "SorteAnklicken(int)",
                                   "SorteZufuegen()",
                                   "SorteAendern()",
                                   "SorteLoeschen()",
                                   "ApothekenFenster()",
                                   "ApothekeEintragen()",
                                   "ZuordnungFenster()",
                                   "ZuordnungWEintragen()",
                                   "TermineFuellen()",
                                   "TerminEintragenW()",
                                   "TerminWEintragen()",
                                   "TerminAendernW()",
                                   "TerminWAendern()",
                                   "TerminLoeschen()",
                                   "ErstStartCheck()",
                                   "DBkopieren()",
                                   "DBverschieben()",
                                   "DBoeffnen()",
                                   "Reparieren()",
                                   "RoamingLoeschen()",
                                   "aboutueber()",
                                   "hilfeanzeigen()",
                                   "print_regulation()",
                                   "print_medlist()",
                                   "VerlaufFenster()",
                                   "ZuordnungVerlauf()",
                                   "VerlaufFuellen()",
                                   "VerlaufDrucken()",
                                   "TaeglicheSicherung()",
                                   "SicherungFertig()",
                                   "SicherungFenster()",
                                   "SicherungWiederherstellen()",
                                   "SicherungEinstellungen()",
                                   "SicherungEinstellungenSpeichern()",
                                   "SicherungOrdnerWaehlen()"};
        const QMetaObject &mo = MainWindow::staticMetaObject;
        QStringList gefunden;
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
            const QMetaMethod m = mo.method(i);
            if (m.methodType() == QMetaMethod::Slot && m.access() == QMetaMethod::Private &&
                m.returnType() == QMetaType::Void)
                gefunden << QString::fromLatin1(m.methodSignature());
        }
        QCOMPARE(gefunden, erwartet);
    }
};

QTEST_MAIN(FensterTest)
#include "tst_fenster.moc"
