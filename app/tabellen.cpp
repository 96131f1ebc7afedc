// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tabellen.h"

#include "app/tabelle.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolTip>

namespace {

// Trade names are longer than most columns; the layout is fixed, so the
// full text is offered where the cell had to shorten it.
class VollerTextDelegat : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent *ereignis, QAbstractItemView *ansicht, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        // Wrapped to the column, a text is cut where its lines need more height.
        const QSize braucht = sizeHint(option, index);
        if (ereignis && ansicht && ereignis->type() == QEvent::ToolTip && !text.isEmpty() &&
            (braucht.width() > option.rect.width() || braucht.height() > option.rect.height())) {
            const QString eigener = index.data(Qt::ToolTipRole).toString();
            QToolTip::showText(ereignis->globalPos(), eigener.isEmpty() ? text : text + QLatin1Char('\n') + eigener,
                               ansicht->viewport(), option.rect);
            return true;
        }
        return QStyledItemDelegate::helpEvent(ereignis, ansicht, option, index);
    }
};

class BalkenTipp : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *objekt, QEvent *ereignis) override
    {
        auto *balken = qobject_cast<QProgressBar *>(objekt);
        if (!balken || ereignis->type() != QEvent::ToolTip)
            return false;
        const QString text = balken->text();
        const int rahmen = balken->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, balken);
        if (balken->fontMetrics().horizontalAdvance(text) + 2 * rahmen <= balken->width())
            return false;
        const QString eigener = balken->toolTip();
        QToolTip::showText(static_cast<QHelpEvent *>(ereignis)->globalPos(),
                           eigener.isEmpty() ? text : text + QLatin1Char('\n') + eigener, balken);
        return true;
    }
};

} // namespace

QString zellText(const QTableWidget *tabelle, int zeile, int spalte)
{
    const QTableWidgetItem *item = zeile >= 0 ? tabelle->item(zeile, spalte) : nullptr;
    return item ? item->text() : QString();
}

QTableWidgetItem *neueZelle(const QString &text, bool mittig)
{
    auto *item = new QTableWidgetItem(text);
    if (mittig)
        item->setData(Qt::TextAlignmentRole, QVariant(Qt::AlignCenter));
    return item;
}

int zeileMitSchluessel(const QTableWidget *tabelle, const QString &schluessel)
{
    for (int z = 0; z < tabelle->rowCount(); ++z) {
        const QTableWidgetItem *i = tabelle->item(z, 0);
        if (i && i->text() == schluessel)
            return z;
    }
    return -1;
}

void zellenFuellen(QTableWidget *tabelle, const std::function<void()> &fuellen)
{
    QAbstractItemModel *modell = tabelle->model();
    const bool gesperrt = modell->blockSignals(true);
    fuellen();
    modell->blockSignals(gesperrt);
    if (tabelle->rowCount() > 0 && tabelle->columnCount() > 0)
        emit modell->dataChanged(modell->index(0, 0),
                                 modell->index(tabelle->rowCount() - 1, tabelle->columnCount() - 1));
}

void volleTexteZeigen(QTableWidget *tabelle)
{
    tabelle->setItemDelegate(new VollerTextDelegat(tabelle));
}

void volleTexteZeigen(QProgressBar *balken)
{
    balken->installEventFilter(new BalkenTipp(balken));
}

void Tabelle::keyPressEvent(QKeyEvent *ereignis)
{
    const int vorher = currentRow();
    // Home and End reach the first and last row, as in a list: moving
    // within the row would change nothing that is shown.
    if ((ereignis->key() == Qt::Key_Home || ereignis->key() == Qt::Key_End) &&
        !(ereignis->modifiers() & Qt::ControlModifier)) {
        QKeyEvent zeilenweise(ereignis->type(), ereignis->key(), ereignis->modifiers() | Qt::ControlModifier,
                              ereignis->text(), ereignis->isAutoRepeat(), ereignis->count());
        QTableWidget::keyPressEvent(&zeilenweise);
    } else {
        QTableWidget::keyPressEvent(ereignis);
    }
    if (currentRow() >= 0 && currentRow() != vorher)
        emit zeileGewaehlt(currentRow(), currentColumn());
}

void Tabelle::zeilenBeiBedarf(std::function<void(int von, int bis)> machen)
{
    zeilenMachen = std::move(machen);
}

void Tabelle::sichtbareZeilenMachen()
{
    if (!zeilenMachen || rowCount() == 0)
        return;
    const int erste = qMax(0, rowAt(0));
    // Before the table is laid out its viewport may not have its size yet:
    // the table's own height is enough for any screen.
    const int hoehe = qMax(viewport()->height(), height());
    const int anzahl = hoehe / qMax(1, verticalHeader()->defaultSectionSize()) + 2;
    zeilenMachen(erste, qMin(rowCount() - 1, erste + anzahl));
}

void Tabelle::resizeEvent(QResizeEvent *ereignis)
{
    QTableWidget::resizeEvent(ereignis);
    sichtbareZeilenMachen();
}

void Tabelle::verticalScrollbarValueChanged(int wert)
{
    QTableWidget::verticalScrollbarValueChanged(wert);
    sichtbareZeilenMachen();
}

namespace {

// Keeps the hint over the whole viewport, which gets its size only when the
// table is laid out.
class HinweisGroesse : public QObject
{
public:
    explicit HinweisGroesse(QLabel *hinweis) : QObject(hinweis), hinweis(hinweis) {}
    bool eventFilter(QObject *objekt, QEvent *ereignis) override
    {
        if (ereignis->type() == QEvent::Resize)
            hinweis->setGeometry(static_cast<QWidget *>(objekt)->rect());
        return false;
    }

private:
    QLabel *hinweis;
};

} // namespace

void tabellenHinweis(QTableWidget *tabelle, const QString &text)
{
    const QString name = tabelle->objectName() + QStringLiteral("Hinweis");
    auto *hinweis = tabelle->viewport()->findChild<QLabel *>(name, Qt::FindDirectChildrenOnly);
    if (!hinweis) {
        if (text.isEmpty())
            return;
        hinweis = new QLabel(tabelle->viewport());
        hinweis->setObjectName(name);
        hinweis->setWordWrap(true);
        hinweis->setAlignment(Qt::AlignCenter);
        hinweis->setMargin(10);
        // The table's style sheet reaches its children: give the text its own grey.
        hinweis->setStyleSheet(QStringLiteral("color:rgb(90,90,90); background:transparent;"));
        tabelle->viewport()->installEventFilter(new HinweisGroesse(hinweis));
    }
    hinweis->setText(text);
    hinweis->setGeometry(tabelle->viewport()->rect());
    hinweis->setVisible(!text.isEmpty());
}
