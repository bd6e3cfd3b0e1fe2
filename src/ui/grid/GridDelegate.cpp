#include "ui/grid/GridDelegate.h"

#include "ui/grid/GridModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>

namespace {

GridCell cellOf(const QModelIndex& index) { return GridCell(index.data(GridModel::CellRole).toInt()); }

constexpr int IconSize = 16;

}  // namespace

void GridComboBox::showPopup()
{
    emit listOpened();
    QComboBox::showPopup();
}

void GridComboBox::hidePopup()
{
    QComboBox::hidePopup();
    emit listClosed();
}

void GridComboBox::keyPressEvent(QKeyEvent* event)
{
    const QScopedValueRollback browsing(browsing_, true);
    QComboBox::keyPressEvent(event);
}

void GridComboBox::wheelEvent(QWheelEvent* event)
{
    const QScopedValueRollback browsing(browsing_, true);
    QComboBox::wheelEvent(event);
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() == gridcol::Value && cellOf(index) == GridCell::Button) {
        paintButton(painter, option, index);
        return;
    }
    QStyleOptionViewItem shown = option;
    if (index.column() == gridcol::Text)
        shown.rect.adjust((index.data(GridModel::LevelRole).toInt() - 1) * LevelIndent, 0, 0, 0);
    if (index.column() == gridcol::Value && cellOf(index) == GridCell::Check)
        shown.decorationAlignment = Qt::AlignCenter;
    QStyledItemDelegate::paint(painter, shown, index);
    if (index.column() == gridcol::Value && cellOf(index) == GridCell::List) {
        QStyleOption arrow;
        arrow.rect = QRect(option.rect.right() - IconSize, option.rect.top(), IconSize, option.rect.height());
        arrow.palette = option.palette;
        QApplication::style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter);
    }
}

void GridDelegate::paintButton(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionButton button;
    button.rect = option.rect.adjusted(1, 1, -1, -1);
    button.text = index.data(Qt::DisplayRole).toString();
    button.icon = index.data(Qt::DecorationRole).value<QIcon>();
    button.iconSize = QSize(IconSize, IconSize);
    button.palette = option.palette;
    button.fontMetrics = option.fontMetrics;
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    if (option.state & QStyle::State_HasFocus)
        button.state |= QStyle::State_HasFocus;
    QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
}

QSize GridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() == gridcol::Text)
        size.rwidth() += (index.data(GridModel::LevelRole).toInt() - 1) * LevelIndent;
    size.setHeight(std::max(size.height(), RowHeight));
    return size;
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    if (cellOf(index) == GridCell::List) {
        auto* self = const_cast<GridDelegate*>(this);
        auto* list = new GridComboBox(parent);
        list->addItems(index.data(GridModel::EntriesRole).toStringList());
        connect(list, &GridComboBox::listOpened, self, &GridDelegate::listOpened);
        connect(list, &GridComboBox::listClosed, self, &GridDelegate::listClosed);
        // A choice in the open list is an entry: it ends the edit at once. Enter takes a browsed one.
        connect(list, &QComboBox::activated, self, [self, list] {
            if (list->browsing())
                return;
            emit self->commitData(list);
            emit self->closeEditor(list);
        });
        return list;
    }
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    if (index.data(GridModel::SecretRole).toBool())
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString value = index.data(Qt::EditRole).toString();
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        list->setCurrentIndex(list->findText(value));
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && !edit->isModified()) {
        // A refresh while the cell is in edit leaves what the user typed.
        edit->setText(value);
    }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* list = qobject_cast<QComboBox*>(editor))
        model->setData(index, list->currentText());
    else if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && edit->isModified())
        model->setData(index, edit->text());
}

bool GridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                               const QModelIndex& index)
{
    if (event->type() != QEvent::MouseButtonRelease || index.column() != gridcol::Value)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()))
        return false;
    const QString path = index.data(GridModel::PathRole).toString();
    switch (cellOf(index)) {
    case GridCell::Button:
        emit buttonClicked(path);
        return true;
    case GridCell::Check:
        emit switchClicked(path);
        return true;
    default:
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
}
