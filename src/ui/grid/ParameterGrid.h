#pragma once
#include <QString>
#include <QTreeView>
#include <cstdint>
#include <functional>

struct AppState;
class GridDelegate;
class GridModel;
class OperationGuard;

// What the grid needs of the window it lives in: the one operation guard, and the
// measurement timer, stopped around every device operation of the grid and started
// again afterwards only while measuring.
struct GridHooks {
    OperationGuard& guard;
    std::function<void()> pauseTimer;
    std::function<void()> resumeTimer;
};

// The parameter grid (`fpSpreadParameters`): the current device's parameters as a
// tree of groups with their values, edited in place. Every edit, switch and button
// that reaches the device enters the window's operation guard; clicks and edits that
// arrive while rows are filled are dropped. Bit mask, "PDO" and "TEDS" buttons are
// reported for the window to open its views.
class ParameterGrid : public QTreeView {
    Q_OBJECT

public:
    ParameterGrid(AppState& state, GridHooks hooks, QWidget* parent = nullptr);
    ~ParameterGrid() override;

    GridModel& gridModel() const { return *model_; }

    // Builds the rows for the current device's description, every group expanded.
    void InitParameterGroup();
    // Shows the grid and re-reads every row when a configuration exists and the current
    // device is connected; hides it otherwise.
    void refreshValues();
    // Re-reads the rows marked for periodic update, unless a drop-down list is open.
    void refreshPeriodicValues();
    bool listSuspended() const { return listSuspended_; }
    // A cell's editor is open: what the user types there is not the device's yet.
    bool editing() const { return state() == EditingState; }

    // The user's actions, by the row's path.
    void cellEdited(const QString& path, const QString& text);
    void toggleSwitch(const QString& path);
    void clickButton(const QString& path);
    void toggleGroup(const QString& path);
    void showRowHelp(const QString& path);

    // Typing finds a row by its display text, whatever cell of the row is current.
    void keyboardSearch(const QString& search) override;

signals:
    void bitMaskRequested(const QString& path);
    void pdoWindowRequested();
    void tedsEditorRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString currentPath() const;
    void activateRow(const QString& path);
    void sizeColumns();
    void fitTextColumn();
    void groupExpanded(const QModelIndex& index);
    void rowClicked(const QModelIndex& index);
    void runAction(int row);
    // After a write: the row, or every window when the device reloaded or refused.
    void showWriteResult(int row, int32_t result);

    AppState& state_;
    GridHooks hooks_;
    GridModel* model_;
    GridDelegate* delegate_;
    bool listSuspended_ = false;
    int widestText_ = 0;
};
