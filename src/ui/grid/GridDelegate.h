#pragma once
#include <QComboBox>
#include <QStyledItemDelegate>

// The drop-down list of a value cell; says when its list opens and closes. Keys and the
// wheel on the closed list only browse its entries: `browsing` tells such a change apart
// from a choice in the open list.
class GridComboBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void showPopup() override;
    void hidePopup() override;
    bool browsing() const { return browsing_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

signals:
    void listOpened();
    void listClosed();

private:
    bool browsing_ = false;
};

// Draws and edits the grid's cells: edit cells (masked when secret), drop-down lists,
// switches with their pictures, and buttons drawn in their cells, so that they move
// with the rows on scroll, resize, expand and collapse. A click on a button or a
// switch is reported with the row's path.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // Indentation of the display text per nesting level, in pixels.
    static constexpr int LevelIndent = 12;
    static constexpr int RowHeight = 22;

signals:
    void buttonClicked(const QString& path);
    void switchClicked(const QString& path);
    void listOpened();
    void listClosed();

private:
    void paintButton(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
};
