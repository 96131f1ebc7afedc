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

// Every visible button, check box and radio button of w has an Alt+letter,
// and none is used twice there or in the menu bar.
void kuerzelPruefen(QWidget *w, const QString &wo)
{
    QStringList k, ohne;
    for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
        if (!b->isVisibleTo(w) || !b->isVisible() || b->text().isEmpty() || qobject_cast<QToolButton *>(b))
            continue;
        const QString m = QKeySequence::mnemonic(b->text()).toString().toUpper();
        m.isEmpty() ? void(ohne << b->text()) : void(k << m);
    }
    if (auto *leiste = w->findChild<QMenuBar *>())
        for (QAction *a : leiste->actions())
            k << QKeySequence::mnemonic(a->text()).toString().toUpper();
    QVERIFY2(ohne.isEmpty(), qPrintable(wo + ": " + ohne.join(", ")));
    QVERIFY2(doppelt(k).isEmpty(), qPrintable(wo + ": " + doppelt(k).join(", ")));
}

// A table, the column to click in, and the field its second row fills.
struct Taste {
    const char *name, *tabelle;
    int spalte;
    const char *feld, *zweite;
};

} // namespace

Q_DECLARE_METATYPE(Taste)

class TastaturTest : public QObject
{
    Q_OBJECT
private slots:
    // Arrow keys, Page Up/Down, Home and End load the patient they reach, and
    // what is then stored belongs to the patient shown.
    void patientenPerTaste()
    {
        Welt t;
        t.patient("Adam");
        const int b = t.patient("Berg");
        const int c = t.patient("Claus");
        t.einnahme(b, t.packung("Ramipril", "Ramilich 5"), heute, 30, 1, 0, 0, 0, 1);
        t.termin(c, "Hausarzt", "2026-12-20");
        t.starten();
        aktivieren(t.w.get());
        auto *wahl = t.tabelle("tabellePatientenwahl");
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
    }

    // The other tables whose current row fills fields follow the keys too.
    void andereTabellenPerTaste_data()
    {
        faelle<Taste>({{"Zuordnung", "tabelleZuordnung", 1, "detailMedizin", "ASS"},
                       {"Packungswahl", "tabelleSortenwahl", 2, "anzeigeZuordnenSorte", "Ramilich 10"},
                       {"Patienten", "tabellePatienten", 1, "editName", "Zorn"},
                       {"Medikamente", "tabelleMedikamente", 1, "editMedikamentName", "Ramipril"},
                       {"Packungen", "tabelleSorten", 2, "editSorteNeuHandelsname", "Ramilich 5"}});
    }
    void andereTabellenPerTaste()
    {
        QFETCH(Taste, fall);
        Welt t;
        const int p = t.patient("Berg");
        const int rami = t.packung("Ramipril", "Ramilich 5", "5 mg");
        const int ass = t.packung("ASS", "Aspirin", "100 mg");
        t.einnahme(p, rami, heute, 30, 1, 0, 0, 0, 1);
        t.einnahme(p, ass, heute, 40, 0, 1, 0, 0, 2);
        t.einnahme(p, rami, heute, 5, 1, 0, 0, 0, 3);
        t.einnahme(t.patient("Zorn"), rami, heute, 3, 1, 0, 0, 0, 1);
        Datei::ausfuehren(t.f, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (1, 'Ramilich 10', "
                               "'10 mg', 20)");
        mitListen(t, {});
        aktivieren(t.w.get());
        QTableWidget *tabelle = t.tabelle(fall.tabelle);
        if (tabelle->objectName() == "tabelleSorten")
            zelleKlicken(t.tabelle("tabelleMedikamente"), 1, 1);
        zelleKlicken(tabelle, 0, fall.spalte);
        QTest::keyClick(tabelle, Qt::Key_Down);
        QCOMPARE(texte(t.w.get(), {fall.feld}), QStringList{fall.zweite});
    }

    // The list of what must be ordered chooses the patient of the row reached.
    void rezeptbedarfPerTaste()
    {
        Welt t;
        const int rami = t.packung("Ramipril", "Ramilich 5", "5 mg");
        t.einnahme(t.patient("Berg"), rami, heute, 5, 1, 0, 0, 0, 1);
        t.einnahme(t.patient("Zorn"), rami, heute, 3, 1, 0, 0, 0, 1);
        t.starten();
        aktivieren(t.w.get());
        auto *bedarf = t.tabelle("tabelleRezeptbedarf");
        seiteZeigen(bedarf);
        zelleKlicken(bedarf, 1, 1);
        QVERIFY(t.text("kopfzeilePatient").contains("Berg"));
        QTest::keyClick(bedarf, Qt::Key_Up);
        QVERIFY(t.text("kopfzeilePatient").contains("Zorn"));
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

        t.knopf("radioPatientSuchen");
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
        const int p = t.patient("Berg");
        t.einnahme(p, t.packung("Ramipril", "Ramilich 5"), heute, 30, 1, 0, 0, 0, 1);
        t.termin(p, "Hausarzt", "2026-12-20");
        mitListen(t, {});
        aktivieren(t.w.get());
        for (const char *name : {"hauptTabs", "medikamentTabs"}) {
            auto *tabs = teil<QTabWidget>(t.w.get(), name);
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                kuerzelPruefen(t.w.get(), tabs->tabText(i));
            }
        }
        for (QMenu *menu : t.w->findChildren<QMenu *>()) {
            QStringList k;
            for (QAction *a : menu->actions())
                if (!a->isSeparator())
                    k << QKeySequence::mnemonic(a->text()).toString().toUpper();
            QVERIFY2(!k.contains(QString()), qPrintable(menu->title() + ": " + k.join(",")));
            QVERIFY2(doppelt(k).isEmpty(), qPrintable(menu->title() + ": " + k.join(",")));
        }

        t.zeileWaehlen(0);
        zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
        for (const char *knopf :
             {"knopfZuordnungBearbeiten", "knopfApotheke", "knopfTerminEintragen", "knopfTerminBearbeiten"})
            QVERIFY(oeffnen(t, knopf, [&](QDialog *d) { kuerzelPruefen(d, knopf); }));
        // A server database is not restored from a backup in place: no window.
        const QStringList aktionen = aufServer() ? QStringList{"aktionVerlauf", "aktionSicherungEinstellen"}
                                                 : QStringList{"aktionVerlauf", "aktionSicherungWiederherstellen",
                                                               "aktionSicherungEinstellen"};
        for (const QString &aktion : aktionen)
            QVERIFY2(imFenster([&] { teil<QAction>(t.w.get(), aktion)->trigger(); },
                               [&](QDialog *d) { kuerzelPruefen(d, aktion); }),
                     qPrintable(aktion));

        // Alt+T opens the appointment window of the page in front; a shortcut
        // clicks its button a moment later, as it is drawn pressed.
        bool termin = false;
        aktivieren(t.w.get());
        QVERIFY(imFenster([&] { QTest::keyClick(t.w.get(), Qt::Key_T, Qt::AltModifier); },
                          [&](QDialog *d) { termin = d->findChild<QDateEdit *>("terminNeuDatum"); }, 5000));
        QVERIFY(termin);
    }

    // The new windows by keyboard alone: Alt and the underlined letter reach
    // each field, and the confirming button stores.
    void neueFensterPerTastatur()
    {
        Welt t;
        t.patient("Berg");
        t.starten();
        aktivieren(t.w.get());
        // Keys typed into the window of the menu entry once it is the active
        // one; whether the keys closed it.
        const auto tippenIn = [&](const char *aktion, const std::function<void(QDialog *)> &tasten) {
            bool zu = false;
            const bool geoeffnet = imFenster([&] { teil<QAction>(t.w.get(), aktion)->trigger(); },
                                             [&](QDialog *d) {
                                                 aktivieren(d);
                                                 tasten(d);
                                                 zu = QTest::qWaitFor([d] { return !d->isVisible(); });
                                             });
            return geoeffnet && zu;
        };

        const QString ordner = t.env.basis() + "/Sicherungen";
        QVERIFY(tippenIn("aktionSicherungEinstellen", [&](QDialog *d) {
            QTest::keyClick(d, Qt::Key_O, Qt::AltModifier);
            QTest::keyClicks(QApplication::focusWidget(), ordner);
            QTest::keyClick(d, Qt::Key_B, Qt::AltModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), "9");
            QTest::keyClick(d, Qt::Key_S, Qt::AltModifier);
        }));
        QSettings s(t.env.konfiguration(), QSettings::IniFormat);
        QCOMPARE(s.value("sicherung/ordner").toString(), ordner);
        QCOMPARE(s.value("sicherung/taeglich").toString(), "9");

        // The history: Alt+B reaches the end of the period, Alt+S closes.
        QString bis;
        QVERIFY(tippenIn("aktionVerlauf", [&](QDialog *d) {
            QTest::keyClick(d, Qt::Key_B, Qt::AltModifier);
            bis = QApplication::focusWidget()->objectName();
            QTest::keyClick(d, Qt::Key_S, Qt::AltModifier);
        }));
        QCOMPARE(bis, "verlaufBis");
    }

    // An empty file says what to do first; the hints go once there is
    // something to show. The medication list opens on adding a package.
    void ersteSchritte()
    {
        Welt t;
        t.starten();
        auto hinweis = [&](const char *tabelle) {
            auto *l = t.tabelle(tabelle)->viewport()->findChild<QLabel *>(QString(tabelle) + "Hinweis");
            return l && !l->isHidden() ? l->text() : QString();
        };
        QVERIFY(hinweis("tabelleUebersicht").contains("kein Patient angelegt"));
        QVERIFY(hinweis("tabellePatientenwahl").contains("Patientenliste"));
        QVERIFY(hinweis("tabelleSortenwahl").contains("Medikamentenliste"));

        menue(t.w.get(), "aktionListen");
        QCOMPARE(teil<QTabWidget>(t.w.get(), "medikamentTabs")->currentIndex(), 0);
        t.knopf("radioPatientHinzufuegen");
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
