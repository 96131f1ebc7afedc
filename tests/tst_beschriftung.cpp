// SPDX-License-Identifier: GPL-3.0-or-later
// Every caption fits its box, on every page and in every small window: in
// the program's own font and in DejaVu Sans, which a desktop without
// Liberation Sans gives. Texts cut in table cells are offered as tool tip.
#include "fensterhilfe.h"

#include "app/sprache.h"

namespace {

// The program's own families, as the first test finds them.
QStringList eigeneFamilien;
const QString langerName = QStringLiteral(
    "Metoprololsuccinat AbZ 47,5 mg Retardtabletten, 100 St\u00FCck, N3, teilbar, mit Bruchkerbe");

// The tab bar's own measure of a tab, which it keeps protected.
struct TabMass : QTabBar {
    using QTabBar::tabSizeHint;
};

QString benannt(QWidget *w, const QString &text)
{
    return (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName()) +
           " \u201E" + text + "\u201C";
}

// Each visible caption in fenster that needs more room than its widget
// gives, as "name „text“ braucht WxH, hat WxH"; the name is the object's,
// or the class where it has none, or the table's for a column caption.
QStringList zuKnapp(QWidget *fenster)
{
    QStringList befund;
    auto messen = [&](QWidget *w, const QString &text, const QSize &braucht, const QSize &hat) {
        if (braucht.width() > hat.width() || braucht.height() > hat.height())
            befund << QStringLiteral("%1 braucht %2x%3, hat %4x%5")
                          .arg(benannt(w, text))
                          .arg(braucht.width())
                          .arg(braucht.height())
                          .arg(hat.width())
                          .arg(hat.height());
    };
    for (QWidget *w : fenster->findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty())
                continue;
            // A wrapping label needs room for its lines and for its longest word.
            if (l->wordWrap())
                messen(l, l->text(), QSize(l->minimumSizeHint().width(), l->heightForWidth(l->width())), l->size());
            else
                messen(l, l->text(), l->sizeHint(), l->size());
        } else if (auto *k = qobject_cast<QPushButton *>(w)) {
            if (k->text().isEmpty())
                continue;
            QStyleOptionButton option;
            option.initFrom(k);
            if (k->autoDefault())
                option.features |= QStyleOptionButton::AutoDefaultButton;
            // The style's margins, taken from a wide text: its smallest
            // button (80 pixels in Fusion) must not count as needed room.
            const QSize breit(1000, 0);
            const QSize rand = k->style()->sizeFromContents(QStyle::CT_PushButton, &option, breit, k) - breit;
            messen(k, k->text(), k->fontMetrics().size(Qt::TextShowMnemonic, k->text()) + rand, k->size());
        } else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
            // The text is centred in the height: the style's margins above
            // and below it are no room the text needs.
            messen(w, qobject_cast<QAbstractButton *>(w)->text(),
                   QSize(w->sizeHint().width(), w->fontMetrics().height()), w->size());
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            messen(g, g->title(), QSize(g->minimumSizeHint().width(), 0), g->size());
        } else if (auto *leiste = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < leiste->count(); ++i)
                messen(leiste, leiste->tabText(i), (leiste->*(&TabMass::tabSizeHint))(i), leiste->tabRect(i).size());
        } else if (auto *kopf = qobject_cast<QHeaderView *>(w)) {
            if (kopf->orientation() != Qt::Horizontal)
                continue;
            // Drawn in its viewport's font (under a style sheet Qt 5 gives
            // that one the application's), bold in the current column.
            QFont schrift = kopf->viewport()->font();
            schrift.setBold(true);
            for (int s = 0; s < kopf->count(); ++s) {
                QStyleOptionHeader option;
                option.initFrom(kopf);
                option.orientation = Qt::Horizontal;
                option.section = s;
                option.text = kopf->model()->headerData(s, Qt::Horizontal).toString();
                option.fontMetrics = QFontMetrics(schrift);
                if (kopf->isSectionHidden(s) || option.text.isEmpty())
                    continue;
                messen(kopf->parentWidget(), option.text,
                       kopf->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), kopf),
                       QSize(kopf->sectionSize(s), kopf->height()));
            }
        }
    }
    return befund;
}

// Collects what is cut into befund, once each, as shown in ort.
void pruefen(QStringList &befund, QWidget *fenster, const QString &ort)
{
    for (const QString &b : zuKnapp(fenster))
        if (!befund.contains(ort + ": " + b))
            befund << ort + ": " + b;
}

// Fails the test once for each cut caption, naming it (one message listing
// them all would be cut itself).
void nichtsAbgeschnitten(const QStringList &befund)
{
    for (const QString &b : befund)
        fehlschlag("abgeschnitten: " + b);
}

void tabKlicken(QTabWidget *tabs, int i)
{
    seiteZeigen(tabs);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier, tabs->tabBar()->tabRect(i).center());
}

// Triggers the menu entry and runs handler on the window it opens; false when none opened.
bool ausMenue(const Welt &t, const char *aktion, const std::function<void(QDialog *)> &handler)
{
    return imFenster([&] { menue(t.w.get(), aktion); }, handler);
}

// A patient with one intake line and one appointment, the line chosen.
void mitZeileStarten(Welt &t)
{
    const int pat = t.patient("Muster");
    t.einnahme(pat, t.packung("Ramipril", "Ramilich 5"), heute, 10, 1, 0, 0, 0, 1);
    t.termin(pat, "Hausarzt", heute.addDays(3));
    mitListen(t, {});
    t.patientWaehlen("Muster");
    t.zeileWaehlen(0);
}

// Hovers the point of w as a user would; the tool tip shown then, "" for none.
QString tippBei(QWidget *w, const QPoint &punkt)
{
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
        fehlschlag("the last tool tip stays");
    QHelpEvent ereignis(QEvent::ToolTip, punkt, w->mapToGlobal(punkt));
    QApplication::sendEvent(w, &ereignis);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

class BeschriftungTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { eigeneFamilien = schriftFamilien; }
    void init()
    {
        QFETCH_GLOBAL(QStringList, familien);
        schriftFamilien = familien.isEmpty() ? eigeneFamilien : familien;
        schriftEinrichten();
    }
    void cleanup()
    {
        schriftFamilien = eigeneFamilien;
        schriftEinrichten();
    }
    void initTestCase_data()
    {
        QTest::addColumn<QStringList>("familien");
        QTest::addColumn<QString>("erwartet");
        // No families given: the program's own.
        QTest::newRow("eigene Schrift") << QStringList() << "Liberation Sans";
        // What a desktop without Liberation Sans and Arial gives.
        QTest::newRow("DejaVu Sans") << QStringList{"DejaVu Sans"} << "DejaVu Sans";
    }

    // The program's family, not the desktop's default, at the designed size.
    void schriftDesFensters()
    {
        QFETCH_GLOBAL(QString, erwartet);
        Welt t;
        mitZeileStarten(t);
        QCOMPARE(QFontInfo(t.w->font()).family(), erwartet);
        QCOMPARE(QFontInfo(t.w->font()).pixelSize(), 12);
        QString imFenster;
        QVERIFY(ausMenue(t, "aktionUeber", [&](QDialog *d) { imFenster = QFontInfo(d->font()).family(); }));
        QCOMPARE(imFenster, erwartet);
    }

    void seitenDesHauptfensters()
    {
        Welt t;
        mitZeileStarten(t);
        auto *tabs = teil<QTabWidget>(t.w.get(), "hauptTabs");
        QStringList befund;
        for (int i = 0; i < tabs->count(); ++i) {
            tabKlicken(tabs, i);
            pruefen(befund, t.w.get(), tabs->tabText(i));
        }
        // The groups the patient list shows on choice.
        for (const char *wahl : {"radioPatientHinzufuegen", "radioPatientSuchen"}) {
            klicken(teil<QRadioButton>(t.w.get(), wahl));
            pruefen(befund, t.w.get(), "Patientenliste");
        }
        // The package tabs, open once a medication is chosen.
        t.waehlen("tabelleMedikamente", 1, "Ramipril");
        zelleKlicken(t.tabelle("tabelleSorten"), 0, 2);
        auto *packungTabs = teil<QTabWidget>(t.w.get(), "medikamentTabs");
        for (int i = 0; i < packungTabs->count(); ++i) {
            tabKlicken(packungTabs, i);
            QCOMPARE(packungTabs->currentIndex(), i);
            pruefen(befund, t.w.get(), "Medikamentenliste/" + packungTabs->tabText(i));
        }
        nichtsAbgeschnitten(befund);
    }

    void kleineFenster()
    {
        Welt t;
        mitZeileStarten(t);
        QStringList befund;
        auto aufnehmen = [&](const QString &ort) { return [&befund, ort](QDialog *d) { pruefen(befund, d, ort); }; };
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", aufnehmen("Zuordnung bearbeiten")));
        QVERIFY(oeffnen(t, "knopfApotheke", aufnehmen("Apotheke")));
        QVERIFY(oeffnen(t, "knopfTerminEintragen", aufnehmen("Termin eintragen")));
        zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
        QVERIFY(oeffnen(t, "knopfTerminBearbeiten", aufnehmen("Termin bearbeiten")));
        QVERIFY(ausMenue(t, "aktionReparieren", aufnehmen("Reparieren")));
        QVERIFY(ausMenue(t, "aktionUeber", aufnehmen("\u00DCber")));
        // A server database is not restored from a backup in place.
        if (!aufServer())
            QVERIFY(ausMenue(t, "aktionSicherungWiederherstellen", aufnehmen("Sicherung wiederherstellen")));
        QVERIFY(ausMenue(t, "aktionSicherungEinstellen", aufnehmen("Sicherungen einstellen")));
        QVERIFY(ausMenue(t, "aktionBmpAussteller", aufnehmen("Ausgedruckt von")));
        QVERIFY(ausMenue(t, "aktionServerVerbinden", aufnehmen("Mit Server verbinden")));
        // Reading a plan in, and the reconciliation window that follows it.
        QDialog *einlesen = nullptr;
        QTimer abgleich;
        QObject::connect(&abgleich, &QTimer::timeout, [&] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!d || d == einlesen || !d->isVisible())
                return;
            abgleich.stop();
            pruefen(befund, d, "Abgleich");
            d->reject();
        });
        t.env.antworten << true;
        QVERIFY(ausMenue(t, "aktionBmpEinlesen", [&](QDialog *d) {
            einlesen = d;
            pruefen(befund, d, "Einlesen");
            teil<QPlainTextEdit>(d, "bmpScannerText")
                ->setPlainText("<MP v=\"027\" U=\"3F2A9C41D0B84E7A9C55E1B2A7D40F13\" l=\"de-DE\"><P g=\"Anna\" "
                               "f=\"Muster\" b=\"19400101\"/><A n=\"Praxis\" t=\"2026-03-02T09:15:00\"/><S><M "
                               "a=\"Ramilich 5\" m=\"1\"/><M p=\"1234562\" m=\"1\"/></S></MP>");
            abgleich.start(10);
            druecken(d, "Weiter");
        }));
        nichtsAbgeschnitten(befund);
    }

    // The history window with an entry of each column, and the line's own
    // history opened from the assignment window.
    void verlaufsfenster()
    {
        Welt t;
        mitZeileStarten(t);
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fensterMorgen"), "2");
            druecken(d, "\u00C4ndern");
        }));
        QStringList befund;
        QVERIFY(ausMenue(t, "aktionVerlauf", [&](QDialog *d) { pruefen(befund, d, "Verlauf"); }));
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            QVERIFY(imFenster([&] { druecken(d, "Verlauf\u2026"); },
                              [&](QDialog *verlauf) { pruefen(befund, verlauf, "Verlauf der Zuordnung"); }));
        }));
        nichtsAbgeschnitten(befund);
    }

    // A trade name cut by its column is shown in full when the mouse rests on it.
    void abgeschnittenerTextAlsTipp()
    {
        Welt t;
        const int pat = t.patient("Muster");
        t.einnahme(pat, t.packung("Metoprolol", langerName), heute, 10, 1, 0, 0, 0, 1);
        t.packung("Ramipril", "Ramilich 5");
        t.starten();
        t.patientWaehlen("Muster");
        QTableWidget *packungen = t.tabelle("tabelleSortenwahl");
        seiteZeigen(packungen);
        auto zelle = [&](const QString &name) {
            return packungen->visualItemRect(packungen->item(spalte(packungen, 2).indexOf(name), 2)).center();
        };
        QCOMPARE(tippBei(packungen->viewport(), zelle(langerName)), langerName);
        QCOMPARE(tippBei(packungen->viewport(), zelle("Ramilich 5")), QString());

        // On the overview's bar, above how long the stock lasts.
        tabKlicken(teil<QTabWidget>(t.w.get(), "hauptTabs"), 0);
        QProgressBar *b = balken(t.tabelle("tabelleUebersicht"), 0);
        QCOMPARE(tippBei(b, b->rect().center()), langerName + "\nreicht noch 10 Tage");

        // In the list of what must be ordered, whose cells are made as they come into view.
        QTableWidget *bedarf = t.tabelle("tabelleRezeptbedarf");
        seiteZeigen(bedarf);
        QCOMPARE(tippBei(bedarf->viewport(), bedarf->visualItemRect(bedarf->item(0, 3)).center()), langerName);
    }
};

QTEST_MAIN(BeschriftungTest)
#include "tst_beschriftung.moc"
