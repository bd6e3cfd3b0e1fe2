// The grid view: building, refreshing, expanding and the keyboard.
#include "ui/grid/ParameterGrid.h"

#include "transport/AppState.h"
#include "ui/WindowPlacement.h"
#include "ui/grid/GridDelegate.h"
#include "ui/grid/GridModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

constexpr int MarkColumnTwips = 300;
constexpr int TextMarginTwips = 100;
// The texts give up at most this share of the width, so that the values stay readable.
constexpr double TextShare = 0.6;

}  // namespace

ParameterGrid::ParameterGrid(AppState& state, GridHooks hooks, QWidget* parent)
    : QTreeView(parent), state_(state), hooks_(std::move(hooks)), model_(new GridModel(state, this)),
      delegate_(new GridDelegate(this))
{
    setObjectName(QStringLiteral("fpSpreadParameters"));
    setModel(model_);
    setItemDelegate(delegate_);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(true);
    header()->setStretchLastSection(true);
    header()->setMinimumSectionSize(TwipsToPixels(MarkColumnTwips));

    connect(model_, &GridModel::valueEntered, this, &ParameterGrid::cellEdited, Qt::QueuedConnection);
    connect(delegate_, &GridDelegate::buttonClicked, this, &ParameterGrid::clickButton);
    connect(delegate_, &GridDelegate::switchClicked, this, &ParameterGrid::toggleSwitch);
    connect(delegate_, &GridDelegate::listOpened, this, [this] { listSuspended_ = true; });
    connect(delegate_, &GridDelegate::listClosed, this, [this] { listSuspended_ = false; });
    connect(this, &QTreeView::expanded, this, &ParameterGrid::groupExpanded);
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { model_->setExpanded(model_->rowIndex(index), false); });
    connect(this, &QTreeView::clicked, this, &ParameterGrid::rowClicked);
}

ParameterGrid::~ParameterGrid() = default;

void ParameterGrid::InitParameterGroup()
{
    const bool hidden = isHidden();
    hide();
    listSuspended_ = false;
    model_->build();
    expandAll();
    scrollToTop();
    sizeColumns();
    setHidden(hidden);
}

void ParameterGrid::sizeColumns()
{
    const int mark = TwipsToPixels(MarkColumnTwips);
    setColumnWidth(gridcol::Mark, mark);
    setColumnWidth(gridcol::NestedMark, mark);
    int widest = 0;
    for (int row = 0; row < model_->rowCountAll(); ++row) {
        const GridRow& shown = model_->row(row);
        widest = std::max(widest, fontMetrics().horizontalAdvance(shown.text) +
                                      (shown.level - 1) * GridDelegate::LevelIndent);
    }
    widestText_ = widest + TwipsToPixels(TextMarginTwips);
    fitTextColumn();
}

void ParameterGrid::fitTextColumn()
{
    setColumnWidth(gridcol::Text, std::min(widestText_, int(viewport()->width() * TextShare)));
}

void ParameterGrid::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    fitTextColumn();
}

void ParameterGrid::refreshValues()
{
    if (!model_->canRefresh()) {
        hide();
        return;
    }
    show();
    model_->refreshAll();
}

void ParameterGrid::refreshPeriodicValues()
{
    if (listSuspended_ || model_->periodicPaths().isEmpty())
        return;
    model_->refreshPeriodic();
}

void ParameterGrid::toggleGroup(const QString& path)
{
    const QModelIndex group = model_->cell(path, 0);
    if (group.isValid() && model_->row(model_->rowIndex(group)).kind == ParameterKind::Group)
        setExpanded(group, !isExpanded(group));
}

// An expanded group shows as many of its rows as fit.
void ParameterGrid::groupExpanded(const QModelIndex& group)
{
    model_->setExpanded(model_->rowIndex(group), true);
    QModelIndex last = group;
    while (isExpanded(last) && model_->rowCount(last) > 0)
        last = model_->index(model_->rowCount(last) - 1, 0, last);
    scrollTo(last);
    scrollTo(group);
}

QString ParameterGrid::currentPath() const
{
    return currentIndex().data(GridModel::PathRole).toString();
}

// Enter on a row: edits its value, flips its switch, presses its button or opens its group.
void ParameterGrid::activateRow(const QString& path)
{
    const int row = model_->rowOf(path);
    if (row < 0)
        return;
    switch (model_->row(row).cell) {
    case GridCell::Edit:
    case GridCell::List:
        edit(model_->cell(row, gridcol::Value));
        return;
    case GridCell::Check:
        toggleSwitch(path);
        return;
    case GridCell::Button:
        clickButton(path);
        return;
    default:
        toggleGroup(path);
        return;
    }
}

void ParameterGrid::keyPressEvent(QKeyEvent* event)
{
    const QString path = currentPath();
    const int row = model_->rowOf(path);
    if (state() == QAbstractItemView::EditingState || row < 0) {
        QTreeView::keyPressEvent(event);
        return;
    }
    const GridCell cell = model_->row(row).cell;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        activateRow(path);
        break;
    case Qt::Key_F2:
        if (cell == GridCell::Edit || cell == GridCell::List)
            edit(model_->cell(row, gridcol::Value));
        break;
    case Qt::Key_Space:
        if (cell == GridCell::Check)
            toggleSwitch(path);
        break;
    case Qt::Key_F1:
        showRowHelp(path);
        break;
    default:
        QTreeView::keyPressEvent(event);
        // Moving to another row by the keyboard shows its help as a click does.
        if (state_.core.FollowingHelp && currentPath() != path)
            showRowHelp(currentPath());
        return;
    }
    event->accept();
}

void ParameterGrid::keyboardSearch(const QString& search)
{
    const QModelIndex current = currentIndex();
    const QModelIndex text = current.isValid() ? current.siblingAtColumn(gridcol::Text) : model_->index(0, gridcol::Text);
    if (text.isValid() && text != current)
        selectionModel()->setCurrentIndex(text, QItemSelectionModel::NoUpdate);
    QTreeView::keyboardSearch(search);
}

// A click on a group's expand mark opens or closes it.
void ParameterGrid::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const int row = model_->rowIndex(index);
    if (row >= 0 && event->button() == Qt::LeftButton && model_->row(row).kind == ParameterKind::Group) {
        const int markColumn = model_->row(row).level == 1 ? gridcol::Mark : gridcol::NestedMark;
        if (index.column() == markColumn) {
            setCurrentIndex(index);
            toggleGroup(model_->row(row).path);
            event->accept();
            return;
        }
    }
    QTreeView::mousePressEvent(event);
}
