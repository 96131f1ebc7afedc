// SPDX-License-Identifier: GPL-3.0-or-later
// Working by keyboard alone, and what a newcomer sees first.
#include "fensterhilfe.h"

namespace {

// Makes the window the active one, so that focus and shortcuts work as on a desktop.
void aktivieren(QWidget *w)
{
    QApplication::setActiveWindow(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

// Alt+letter of every visible button, check box and radio button of w, and of
// the menu bar; the buttons without one by their text.
QStringList kuerzel(QWidget *w, QStringList *ohne)
{
    QStringList k;
    for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
        if (!b->isVisibleTo(w) || !b->isVisible() || b->text().isEmpty() || qobject_cast<QToolButton *>(b))
            continue;
        const QString m = QKeySequence::mnemonic(b->text()).toString();
        if (m.isEmpty())
            *ohne << b->text();
        else
            k << m.toUpper();
    }
    if (auto *leiste = w->findChild<QMenuBar *>())
        for (QAction *a : leiste->actions())
            k << QKeySequence::mnemonic(a->text()).toString().toUpper();
    return k;
}

// Duplicates in a list of shortcuts.
QStringList doppelt(QStringList k)
{
    QStringList d;
    k.sort();
    for (int i = 1; i < k.size(); ++i)
        if (k.at(i) == k.at(i - 1) && !d.contains(k.at(i)))
            d << k.at(i);
    return d;
}

} // namespace

class TastaturTest : public QObject
{
    Q_OBJECT
private slots:
    // Arrow keys, Page Up/Down, Home and End load the patient they reach, and
    // what is then stored belongs to the patient shown.
    void patientenPerTaste()
    {
        Welt t;
        const int a = t.patient("Adam");
        const int b = t.patient("Berg");
        const int c = t.patient("Claus");
        const int rami = t.packung("Ramipril", "Ramilich 5");
        t.einnahme(b, rami, heute, 30, 1, 0, 0, 0, 1);
        t.termin(c, "Hausarzt", "2026-12-20");
        t.starten();
        aktivieren(t.w.get());
        auto *wahl = t.tabelle("tabellePatientenwahl");
        seiteZeigen(wahl);
        zelleKlicken(wahl, 0, 1);

        QTest::keyClick(wahl, Qt::Key_Down);
        QVERIFY(t.text("kopfzeilePatient").contains("Berg"));
        QCOMPARE(spalte(t.tabelle("tabelleZuordnung"), 1), QStringList{"Ramipril"});
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [](QDialog *d) { druecken(d, "Termin eintragen"); }));
        QCOMPARE(t.wert("SELECT pata_id FROM termine WHERE arzt_date = '2026-12-06'").toInt(), b);

        QTest::keyClick(wahl, Qt::Key_End);
        QVERIFY(t.text("kopfzeilePatient").contains("Claus"));
        QCOMPARE(spalte(t.tabelle("tabelleTermine"), 2), QStringList{"20.12.2026"});
        QTest::keyClick(wahl, Qt::Key_Home);
        QVERIFY(t.text("kopfzeilePatient").contains("Adam"));
        QCOMPARE(t.tabelle("tabelleZuordnung")->rowCount(), 0);
        QTest::keyClick(wahl, Qt::Key_PageDown);
        QVERIFY(t.text("kopfzeilePatient").contains("Claus"));
        QCOMPARE(a, 1);
    }

    // The other tables whose current row fills fields follow the keys too.
    void andereTabellenPerTaste()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int rami = t.packung("Ramipril", "Ramilich 5", "5 mg");
        const int ass = t.packung("ASS", "Aspirin", "100 mg");
        t.einnahme(p, rami, heute, 30, 1, 0, 0, 0, 1);
        t.einnahme(p, ass, heute, 40, 0, 1, 0, 0, 2);
        t.patient("Zorn");
        Datei::ausfuehren(t.f, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (1, 'Ramilich 10', "
                               "'10 mg', 20)");
        mitListen(t, {});
        aktivieren(t.w.get());

        auto *zuordnung = t.tabelle("tabelleZuordnung");
        seiteZeigen(zuordnung);
        t.zeileWaehlen(0);
        QTest::keyClick(zuordnung, Qt::Key_Down);
        QCOMPARE(t.text("detailMedizin"), "ASS");

        auto *sortenwahl = t.tabelle("tabelleSortenwahl");
        t.packungWaehlen("Aspirin");
        QTest::keyClick(sortenwahl, Qt::Key_Down);
        QCOMPARE(t.text("anzeigeZuordnenSorte"), "Ramilich 10");

        auto *patienten = t.tabelle("tabellePatienten");
        seiteZeigen(patienten);
        zelleKlicken(patienten, 0, 1);
        QTest::keyClick(patienten, Qt::Key_Down);
        QCOMPARE(teil<QLineEdit>(t.w.get(), "editName")->text(), "Zorn");

        auto *medikamente = t.tabelle("tabelleMedikamente");
        seiteZeigen(medikamente);
        zelleKlicken(medikamente, 0, 1);
        QTest::keyClick(medikamente, Qt::Key_Down);
        QCOMPARE(teil<QLineEdit>(t.w.get(), "editMedikamentName")->text(), "Ramipril");
        auto *sorten = t.tabelle("tabelleSorten");
        zelleKlicken(sorten, 0, 2);
        QTest::keyClick(sorten, Qt::Key_Down);
        QCOMPARE(teil<QLineEdit>(t.w.get(), "editSorteNeuHandelsname")->text(), "Ramilich 5");
    }

    // Tab leaves every table in one press; Enter in the search field searches.
    void tabUndEnter()
    {
        Welt t;
        t.patient("Berg");
        t.patient("Zorn");
        mitListen(t, {});
        aktivieren(t.w.get());
        for (QTableWidget *tabelle : t.w->findChildren<QTableWidget *>()) {
            seiteZeigen(tabelle);
            tabelle->setFocus();
            QTest::keyClick(tabelle, Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() != tabelle, qPrintable(tabelle->objectName()));
        }

        klicken(teil<QRadioButton>(t.w.get(), "radioPatientSuchen"));
        auto *spalten = teil<QComboBox>(t.w.get(), "auswahlSuchspalte");
        spalten->setCurrentIndex(spalten->findData("lastname"));
        auto *suche = teil<QLineEdit>(t.w.get(), "editSuchbegriff");
        tippen(suche, "Zo");
        QTest::keyClick(suche, Qt::Key_Return);
        QCOMPARE(spalte(t.tabelle("tabellePatienten"), 1), QStringList{"Zorn"});
    }

    // Every button has an Alt+letter of its own on each page and in each
    // small window, and so has every menu entry in its menu.
    void kuerzelOhneDoppelte()
    {
        Welt t;
        t.patient("Berg");
        const int rami = t.packung("Ramipril", "Ramilich 5");
        t.einnahme(1, rami, heute, 30, 1, 0, 0, 0, 1);
        t.termin(1, "Hausarzt", "2026-12-20");
        mitListen(t, {});
        aktivieren(t.w.get());
        auto pruefen = [](QWidget *w, const QString &wo) {
            QStringList ohne;
            const QStringList k = kuerzel(w, &ohne);
            QVERIFY2(ohne.isEmpty(), qPrintable(wo + ": " + ohne.join(", ")));
            QVERIFY2(doppelt(k).isEmpty(), qPrintable(wo + ": " + doppelt(k).join(", ")));
        };
        auto *tabs = teil<QTabWidget>(t.w.get(), "hauptTabs");
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            pruefen(t.w.get(), tabs->tabText(i));
        }
        auto *paketTabs = teil<QTabWidget>(t.w.get(), "medikamentTabs");
        for (int i = 0; i < paketTabs->count(); ++i) {
            paketTabs->setCurrentIndex(i);
            pruefen(t.w.get(), paketTabs->tabText(i));
        }
        for (QMenu *menu : t.w->findChildren<QMenu *>()) {
            QStringList k;
            for (QAction *a : menu->actions())
                if (!a->isSeparator())
                    k << QKeySequence::mnemonic(a->text()).toString().toUpper();
            QVERIFY2(!k.contains(QString()) && doppelt(k).isEmpty(), qPrintable(menu->title() + ": " + k.join(",")));
        }

        seiteZeigen(t.tabelle("tabelleZuordnung"));
        t.zeileWaehlen(0);
        zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
        for (const char *knopf :
             {"knopfZuordnungBearbeiten", "knopfApotheke", "knopfTerminEintragen", "knopfTerminBearbeiten"})
            QVERIFY(oeffnen(t, knopf, [&](QDialog *d) { pruefen(d, knopf); }));
        for (const char *aktion : {"aktionVerlauf", "aktionSicherungWiederherstellen", "aktionSicherungEinstellen"}) {
            bool geoeffnet = false;
            beiDialog([&](QDialog *d) {
                geoeffnet = true;
                pruefen(d, aktion);
                d->reject();
            });
            teil<QAction>(t.w.get(), aktion)->trigger();
            QVERIFY2(geoeffnet, aktion);
        }

        // Alt+T opens the appointment window of the page in front.
        bool geoeffnet = false;
        beiDialog([&](QDialog *d) {
            geoeffnet = d->findChild<QDateEdit *>("terminNeuDatum") != nullptr;
            d->reject();
        });
        aktivieren(t.w.get());
        QTest::keyClick(t.w.get(), Qt::Key_T, Qt::AltModifier);
        QTRY_VERIFY(geoeffnet); // a shortcut clicks the button a moment later, as it is drawn pressed
    }

    // The new windows by keyboard alone: Alt and the underlined letter reach
    // each field, and the confirming button stores.
    void neueFensterPerTastatur()
    {
        Welt t;
        t.patient("Berg");
        t.starten();
        aktivieren(t.w.get());
        // Keys typed into the window once it is the active one; whether it
        // closed. Left open, it is closed, so that the test goes on.
        const auto tippenIn = [](const std::function<void(QDialog *)> &tasten) {
            auto zu = std::make_shared<bool>(false);
            beiDialog([zu, tasten](QDialog *d) {
                aktivieren(d);
                tasten(d);
                *zu = QTest::qWaitFor([d] { return !d->isVisible(); });
                if (!*zu)
                    d->reject();
            });
            return [zu] { return *zu; };
        };

        const QString ordner = t.env.basis() + "/Sicherungen";
        const auto einstellungenZu = tippenIn([&](QDialog *d) {
            QTest::keyClick(d, Qt::Key_O, Qt::AltModifier);
            QTest::keyClicks(QApplication::focusWidget(), ordner);
            QTest::keyClick(d, Qt::Key_B, Qt::AltModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), "9");
            QTest::keyClick(d, Qt::Key_S, Qt::AltModifier);
        });
        teil<QAction>(t.w.get(), "aktionSicherungEinstellen")->trigger();
        QVERIFY(einstellungenZu());
        QSettings s(t.env.konfiguration(), QSettings::IniFormat);
        QCOMPARE(s.value("sicherung/ordner").toString() + '|' + s.value("sicherung/taeglich").toString(),
                 ordner + "|9");

        // The history: Alt+B reaches the end of the period, Alt+S closes.
        QString bis;
        const auto verlaufZu = tippenIn([&](QDialog *d) {
            QTest::keyClick(d, Qt::Key_B, Qt::AltModifier);
            bis = QApplication::focusWidget()->objectName();
            QTest::keyClick(d, Qt::Key_S, Qt::AltModifier);
        });
        teil<QAction>(t.w.get(), "aktionVerlauf")->trigger();
        QCOMPARE(bis, "verlaufBis");
        QVERIFY(verlaufZu());
    }

    // An empty file says what to do first; the hints go once there is
    // something to show. The medication list opens on adding a package.
    void ersteSchritte()
    {
        Welt t;
        t.starten();
        auto hinweis = [&](const char *tabelle) {
            auto *l = t.tabelle(tabelle)->viewport()->findChild<QLabel *>(QLatin1String(tabelle) + "Hinweis");
            return l && !l->isHidden() ? l->text() : QString();
        };
        QVERIFY(hinweis("tabelleUebersicht").contains("kein Patient angelegt"));
        QVERIFY(hinweis("tabellePatientenwahl").contains("Patientenliste"));
        QVERIFY(hinweis("tabelleSortenwahl").contains("Medikamentenliste"));

        teil<QAction>(t.w.get(), "aktionListen")->trigger();
        QCOMPARE(teil<QTabWidget>(t.w.get(), "medikamentTabs")->currentIndex(), 0);
        klicken(teil<QRadioButton>(t.w.get(), "radioPatientHinzufuegen"));
        tippe(t, "neuName", "Berg");
        t.knopf("knopfPatientEintragen");
        QCOMPARE(hinweis("tabellePatientenwahl"), QString());
        QVERIFY(hinweis("tabelleUebersicht").contains("Medikamentenliste"));
        QVERIFY(hinweis("tabelleZuordnung").contains("Eintragen"));

        tippe(t, "editMedikamentNeu", "Ramipril");
        t.knopf("knopfMedikamentHinzufuegen");
        tippe(t, "editSortePackung", "20");
        t.knopf("knopfSorteEintragen");
        t.packungWaehlen("");
        t.knopf("knopfEintragen");
        QCOMPARE(hinweis("tabelleUebersicht"), QString());
        QCOMPARE(hinweis("tabelleZuordnung"), QString());
        QCOMPARE(hinweis("tabelleSortenwahl"), QString());
    }
};

QTEST_MAIN(TastaturTest)
#include "tst_tastatur.moc"
