// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: size, list pages, headline and the slot table.
#include "einnahmedaten.h"

#include <QAction>
#include <QMetaMethod>
#include <QTabWidget>

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

    // The icon of the desktop entry, rendered from packaging/kalvoria.svg, in
    // every size the menus have.
    void symbol()
    {
        Umgebung env;
        auto w = env.starten();
        QCOMPARE(w->windowIcon().availableSizes(),
                 (QList<QSize>{QSize(16, 16), QSize(22, 22), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64),
                               QSize(128, 128), QSize(256, 256)}));
        const QImage bild = w->windowIcon().pixmap(QSize(256, 256)).toImage();
        QCOMPARE(bild.size(), QSize(256, 256));
        // Transparent in the corner, the calendar's white inside.
        QCOMPARE(qAlpha(bild.pixel(2, 2)), 0);
        QCOMPARE(bild.pixelColor(128, 165), QColor(Qt::white));
    }

    // Off, on, off, on again: the list pages come back once each, at 4 and 5.
    void listenSeitenEinUndAus()
    {
        Umgebung env;
        auto w = env.starten();
        auto *tabs = teil<QTabWidget>(w.get(), "hauptTabs");
        auto *listen = teil<QAction>(w.get(), "aktionListen");
        const QStringList grund{"\u00DCbersicht", "Verordnungsplan", "Rezeptbedarf", "Einstellungen"};
        QVERIFY(listen->isCheckable());
        QVERIFY(!listen->isChecked());
        QCOMPARE(tabTitel(tabs), grund);
        for (bool an : {true, false, true}) {
            listen->trigger();
            QCOMPARE(listen->isChecked(), an);
            QCOMPARE(tabTitel(tabs), an ? grund + QStringList({"Patientenliste", "Medikamentenliste"}) : grund);
        }
        QCOMPARE(tabs->widget(4), teil<QWidget>(w.get(), "seitePatienten"));
        QCOMPARE(tabs->widget(5), teil<QWidget>(w.get(), "seiteMedikamente"));
    }

    // The list pages hide the headline and empty it; the next choice of a
    // patient writes it again.
    void kopfzeileAufListenseitenVerborgen()
    {
        Welt t;
        Datei::ausfuehren(t.f, "INSERT INTO patient (firstname, lastname, birth) VALUES ('Erika', 'Muster', "
                               "'01.02.1940')");
        t.starten();
        auto *tabs = teil<QTabWidget>(t.w.get(), "hauptTabs");
        auto *patient = teil<QLabel>(t.w.get(), "kopfzeilePatient");
        auto *zeit = teil<QLabel>(t.w.get(), "kopfzeileZeit");
        const QString kopf = " - Patient: Muster, Erika | *01.02.1940";
        QCOMPARE(patient->text(), kopf);
        QCOMPARE(zeit->text(), "erstellt am: 06.12.2026 - 10:30:00 Uhr ");

        menue(t.w.get(), "aktionListen");
        for (int seite : {4, 5}) {
            tabs->setCurrentIndex(seite);
            QVERIFY(!patient->isVisible());
            QVERIFY(!zeit->isVisible());
            QCOMPARE(patient->text(), QString());
            QCOMPARE(zeit->text(), QString());
        }
        // The page of every patient's needs chooses a patient by a click: it
        // shows which.
        tabs->setCurrentWidget(teil<QWidget>(t.w.get(), "seiteRezeptbedarf"));
        QVERIFY(patient->isVisible());
        QVERIFY(zeit->isVisible());

        // The next choice of a patient writes the headline again.
        t.patientWaehlen("Muster");
        QCOMPARE(patient->text(), kopf);
    }

    void alleSlotsMitIhremParameter()
    {
        const QStringList erwartet =
            QStringLiteral(
                "AllesEinlesen() ZeitHolen() UesEinblenden(int) UebersichtFuellen() VerordnungsplanFuellen() "
                "PatientenEinstellungFuellen(int) MedizinEinstellungFuellen() MedizinEinstellungAnklicken() "
                "ZuordnungEintragen() ZuordnungFuellen() ZuordnungFuellenMit() ZuordnungLoeschen() "
                "ZuordnungAnklicken() "
                "EinstellungZuordnungHoch() EinstellungZuordnungRunter() PatientenSuchen() PatientenAnklicken(int) "
                "PatientenAendern() PatientenEinblenden1() PatientenEinblenden2() PatientenEinblenden3() "
                "PatientenNeuEintragen() PatientenLoeschen() TabPatMedEinAus(bool) MedikamenteAnklicken() "
                "MedikamentZufuegen() MedikamentAendern() MedikamentLoeschen() SorteFuellen() SorteAnklicken(int) "
                "SorteZufuegen() SorteAendern() SorteLoeschen() ApothekenFenster() ApothekeEintragen() "
                "ZuordnungFenster() ZuordnungWEintragen() TermineFuellen() TerminEintragenW() TerminWEintragen() "
                "TerminAendernW() TerminWAendern() TerminLoeschen() ErstStartCheck() DBkopieren() DBverschieben() "
                "DBoeffnen() Reparieren() RoamingLoeschen() aboutueber() hilfeanzeigen() print_regulation() "
                "print_medlist() RezeptbedarfFuellen() RezeptbedarfAnklicken(int) RezeptbedarfDoppelklick(int) "
                "RezeptbedarfFristAendern() AnforderungMarkieren() AnforderungZuruecknehmen() "
                "RezeptanforderungDrucken() VerlaufFenster() ZuordnungVerlauf() VerlaufFuellen() VerlaufDrucken() "
                "TaeglicheSicherung() SicherungFertig() SicherungFenster() SicherungWiederherstellen() "
                "SicherungEinstellungen() SicherungEinstellungenSpeichern() SicherungOrdnerWaehlen() BmpDrucken() "
                "BmpAusstellerFenster() BmpAusstellerEintragen() BmpEinlesen() BmpBildOeffnen() BmpEinlesenWeiter() "
                "BmpAbgleichUebernehmen() AlsDateiSichern() DateiAufServerKopieren()")
                .split(' ');
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
