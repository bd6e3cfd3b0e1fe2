// The bit mask window against the simulated amplifiers: rows per interface kind, the
// state images, the bit buttons, the refresh and its failures.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "ui/bitmask/FrmBitMask.h"

#include "ui/KeyboardCheck.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>

namespace devicetest {
namespace {

const QString StatusLong = QStringLiteral("Measurement/StatusLong");
const QString CommandWord = QStringLiteral("Measurement/CommandWord");
constexpr uint32_t NoObject = 0x06020000;
constexpr int TareActiveBit = 7;

struct BitMaskWorld {
    explicit BitMaskWorld(int32_t kind = CANBus) : world(kind) { world.connectDevice(); }
    ~BitMaskWorld()
    {
        if (window)
            delete window.data();
    }
    int32_t open(const QString& path)
    {
        return FrmBitMask::ShowBitMask(world.state(), guard, 1, path, false, nullptr, window);
    }
    QTableWidget* grid() const { return window->findChild<QTableWidget*>("Grid"); }
    QStringList rowTexts() const
    {
        QStringList texts;
        for (int row = 0; row < grid()->rowCount(); ++row)
            texts << grid()->item(row, 1)->text() + ' ' + grid()->item(row, 2)->text();
        return texts;
    }
    // The rows whose image shows the active state, or with anyImage that show an image.
    QStringList activeRows(bool anyImage = false) const
    {
        QStringList rows;
        for (int row = 0; row < grid()->rowCount(); ++row) {
            const QTableWidgetItem* image = grid()->item(row, 0);
            if (anyImage ? image->data(Qt::DecorationRole).isValid() : image->data(Qt::UserRole).toBool())
                rows << grid()->item(row, 1)->text();
        }
        return rows;
    }

    DeviceWorld world;
    OperationGuard guard;
    QPointer<FrmBitMask> window;
};

TEST(FrmBitMask, DeviceStatusRowsFollowTheInterfaceKindAndTheDevice)
{
    const struct {
        int32_t kind;
        int rows;
        const char* caption;
    } cases[] = {
        {CANBus, 17, "État de l'appareil (CAN-ID 3, Snr. 100003)"},
        {RS232, 16, "État de l'appareil (Snr. 100003)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kindName(c.kind));
        BitMaskWorld w(c.kind);
        ASSERT_EQ(w.open(StatusLong), rc::Ok);
        EXPECT_EQ(w.window->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_TRUE(w.window->RefreshTimer().isActive());
        const QStringList rows = w.rowTexts();
        ASSERT_EQ(rows.size(), c.rows) << "hidden bits 30 and 31, bus-off only on CAN";
        EXPECT_EQ(rows.first(), QStringLiteral("Bit 0 Erreur de mesure"));
        EXPECT_EQ(rows.last(), c.kind == CANBus ? QStringLiteral("Bit 16 Bus CAN hors service (bus-off)")
                                                : QStringLiteral("Bit 15 Données d'étalonnage erronées"));
        EXPECT_EQ(w.activeRows(true), QStringList{}) << "no state known before the first tick";
        EXPECT_EQ(w.window->findChild<QLabel*>("LabelDescription")->text(), QString::fromUtf8("État de l'appareil"));
        EXPECT_FALSE(w.window->findChild<QWidget*>("FrameDescription")->isHidden());
        w.window->resize(w.window->minimumSize());
        QApplication::processEvents();
        int widest = 0;
        for (int row = 0; row < w.grid()->rowCount(); ++row)
            widest = std::max(widest, w.grid()->fontMetrics().horizontalAdvance(w.grid()->item(row, 2)->text()));
        EXPECT_GE(w.grid()->columnWidth(2), widest) << "no name clipped at the smallest size";
        EXPECT_EQ(w.window->findChildren<QToolButton*>().size(), 0) << "a read-only mask has no buttons";
        EXPECT_EQ(w.window->findChild<QLabel*>("LabelLegend_false")->text(), "Inactif");
        EXPECT_EQ(w.window->findChild<QLabel*>("LabelLegend_true")->text(), "Actif");
        EXPECT_TRUE(tabLeaves(*w.window, *w.grid())) << "Tab reaches the buttons";

        // The tare button of the command word sets the tare bit of the status.
        QPointer<FrmBitMask> status = w.window;
        ASSERT_EQ(w.open(CommandWord), rc::Ok);
        QToolButton* tare = w.window->findChild<QToolButton*>("cmdButton0");
        ASSERT_NE(tare, nullptr);
        EXPECT_FALSE(tare->icon().isNull());
        tare->click();
        delete w.window.data();
        w.window = status;
        w.window->RefreshTimer_Timer();
        const uint32_t value = qFromLittleEndian<uint32_t>(w.world.onDevice(StatusLong).constData());
        EXPECT_TRUE(value & (1u << TareActiveBit));
        QStringList expected;
        for (int bit = 0; bit < c.rows; ++bit)
            if (value & (1u << bit))
                expected << QStringLiteral("Bit %1").arg(bit);
        EXPECT_EQ(w.activeRows(), expected);
        EXPECT_EQ(w.world.host().texts(), QStringList{});
    }
}

// The net closes the window while one of its operations waits further down the stack;
// a message box or a bus wait runs a nested event loop meanwhile.
TEST(FrmBitMask, AWindowClosedDuringAnOperationLivesUntilTheOperationEnds)
{
    const auto nestedLoop = [] {
        QEventLoop loop;
        QTimer::singleShot(150, &loop, &QEventLoop::quit);
        loop.exec();
    };
    BitMaskWorld w(CANBus);
    ASSERT_EQ(w.open(StatusLong), rc::Ok);
    {
        OperationGuard::Scope operation(w.guard);
        w.window->CloseBitMask();
        nestedLoop();
        EXPECT_TRUE(w.window);
    }
    nestedLoop();
    EXPECT_FALSE(w.window);
}

TEST(FrmBitMask, FailuresAreToldOnceAndStopTheRefresh)
{
    const struct {
        const char* name;
        QString path;
        bool refused;
        int32_t result;
        bool timerAfterTick;
        const char* message;
    } cases[] = {
        {"refresh", StatusLong, false, rc::Ok, true, nullptr},
        {"refresh refused", StatusLong, true, rc::Ok, false, "Erreur-16503 lors de la lecture ! La mesure est arrêtée."},
        {"single read refused", CommandWord, true, rc::Ok, false,
         "Erreur lors de la lecture : Erreur CiA : 'Error class 6, error 2, additional code 0 (hex)\r\n"
         "Description :The object does not exist in the dictionary'"},
        {"no bit mask", QStringLiteral("Measurement/InputSignal"), false, rc::NotSupported, false, nullptr},
        {"unknown", QStringLiteral("Measurement/Nothing"), false, rc::UnknownInDescription, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BitMaskWorld w;
        if (c.refused)
            w.world.amplifier().refuseAll(SimDirection::Read, NoObject);
        ASSERT_EQ(w.open(c.path), c.result);
        EXPECT_EQ(w.window.isNull(), c.result != rc::Ok);
        if (w.window && w.window->RefreshTimer().isActive())
            w.window->RefreshTimer_Timer();
        if (w.window)
            EXPECT_EQ(w.window->RefreshTimer().isActive(), c.timerAfterTick);
        EXPECT_EQ(w.world.host().texts(), c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
    }
}

}  // namespace
}  // namespace devicetest
