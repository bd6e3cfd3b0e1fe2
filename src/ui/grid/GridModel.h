#pragma once
#include "core/xml/XmlDocument.h"
#include "ui/grid/GridRow.h"

#include <QAbstractItemModel>
#include <QHash>
#include <optional>

struct AppState;
struct DeviceContext;
class Description;

// The parameter grid's rows over the current device's description and the current
// configuration: a tree of groups in description order, four columns, one row per
// shown member. Rows are found by parameter path; the row indices stay valid until
// the next build. Reads go through the shared parameter rows of the device layer.
class GridModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Role {
        PathRole = Qt::UserRole + 1,
        CellRole,      // GridCell of the value column
        EntriesRole,   // QStringList of a drop-down list
        LevelRole,     // nesting level, 1 at the top
        SecretRole,    // bool: the characters are masked
    };

    explicit GridModel(AppState& state, QObject* parent = nullptr);

    // Builds the rows for the current device's description; none without a device.
    void build();
    // Whether values can be read: a configuration exists and the current device is connected.
    bool canRefresh() const;
    // Re-reads and redisplays one row, every row, or the rows marked for periodic update.
    void refreshRow(int row);
    void refreshAll();
    void refreshPeriodic();

    // Set while rows are filled or refreshed.
    bool busy() const { return busy_; }
    // The row of a path, -1 when the grid has none.
    int rowOf(const QString& path) const { return byPath_.value(path, -1); }
    int rowCountAll() const { return int(rows_.size()); }
    const GridRow& row(int index) const { return rows_[size_t(index)]; }
    int rowIndex(const QModelIndex& index) const { return index.isValid() ? int(index.internalId()) : -1; }
    QModelIndex cell(int row, int column) const;
    QModelIndex cell(const QString& path, int column) const { return cell(rowOf(path), column); }
    // Paths of the periodic rows, in build order.
    QStringList periodicPaths() const;
    void setExpanded(int row, bool expanded);

    // The current device as every operation gets it; none without a connected device and a configuration.
    std::optional<DeviceContext> device() const;
    const Description* description() const;
    // The member of a row in the current description; null when it has none.
    XmlNode member(int row) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The user entered a text in a value cell (never while the model is busy).
    void valueEntered(const QString& path, const QString& text);

private:
    // Sets the busy flag while alive and gives it back its previous state.
    class BusyScope {
    public:
        explicit BusyScope(GridModel& model) : model_(model), was_(model.busy_) { model_.busy_ = true; }
        ~BusyScope() { model_.busy_ = was_; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        GridModel& model_;
        bool was_;
    };

    void addMembers(XmlNode group, int level, const QString& path, int parent);
    void addRow(GridRow row, XmlNode member);
    void describeCell(GridRow& row, XmlNode member);
    QIcon picture(XmlNode gui, const char* element) const;
    void showValue(int row, XmlNode member);
    const std::vector<int>& siblings(int parent) const;
    QVariant markData(const GridRow& row, int column, int role) const;
    QVariant valueData(const GridRow& row, int role) const;

    AppState& state_;
    std::vector<GridRow> rows_;
    std::vector<int> top_;
    QHash<QString, int> byPath_;
    std::vector<int> periodic_;
    mutable QHash<QString, QIcon> pictures_;
    bool busy_ = false;
};
