// The TEDS editor against the simulated amplifier: started by name, the fields the user
// level allows, editing, writing and activating, ".TED" files and their choosers.
#include "device/device_fixture.h"

#include "core/Settings.h"
#include "device/TedsHelper.h"
#include "device/TedsOperations.h"
#include "model/Configuration.h"
#include "model/teds/TedsCodec.h"
#include "model/teds/TedsFieldText.h"
#include "transport/AppState.h"
#include "ui/FileChoosers.h"
#include "ui/teds/TedsEditorComponent.h"
#include "ui/teds/frmTEDS.h"

#include "ui/KeyboardCheck.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace devicetest {
namespace {

// A connected amplifier with its sensor, and an editor on it.
struct TedsWorld {
    TedsWorld() { world.connectDevice(QsgNode); helper.SetDeviceInfo(1); }
    std::unique_ptr<frmTEDS> editor(int32_t level)
    {
        auto result = std::make_unique<frmTEDS>(world.state().core, helper, level, "QSG 2");
        result->readFromDevice();
        return result;
    }
    DeviceWorld world{CANBus};
    TEDSHelper helper{world.state()};
};

QTableWidget* grid(const QWidget& editor)
{
    return editor.findChild<QTableWidget*>("GridFields");
}

QString state(const QWidget& editor)
{
    return editor.findChild<QLabel*>("LabelState")->text();
}

QTableWidgetItem* valueOf(const QWidget& editor, const QString& label)
{
    QTableWidget* fields = grid(editor);
    for (int row = 0; row < fields->rowCount(); ++row)
        if (fields->item(row, 0)->text() == label)
            return fields->item(row, 1);
    return nullptr;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

TEST(frmTEDS, StartsByNameWithTheSensorsTedsDecoded)
{
    TedsWorld w;
    TedsEditorRegistry editors;
    RegisterTedsEditor(editors, w.world.state().core, nullptr);
    w.world.configure("Common/DeviceName", "Balance 3");
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* editor = qobject_cast<frmTEDS*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        seen << editor->windowTitle() << editor->findChild<QLabel*>("LabelDevice")->text() << state(*editor);
        for (int row : {0, 4, 5, 6, 8, 9, 11, 12, 13, 18, 21})
            seen << grid(*editor)->item(row, 0)->text() + " = " + grid(*editor)->item(row, 1)->text() + " " +
                        grid(*editor)->item(row, 2)->text();
        seen << editor->findChild<QPlainTextEdit*>("TextHex")->toPlainText().section('\n', 0, 0);
        editor->reject();
    });
    Device_EditTEDS(w.world.state(), editors, 1, Conf_Parameters(w.world.state().Configuration.get()), 1, {}, {},
                    nullptr);
    EXPECT_EQ(seen, QStringList({"Éditeur TEDS", "Appareil : Balance 3", "TEDS décodé, sommes de contrôle correctes.",
                                 "ID du fabricant = 31 ", "Numéro de série = 100003 ", "Modèle = 33 ",
                                 "Grandeur physique (code) = 0 ", "Valeur physique max. = 2 ",
                                 "Précision du signal électrique = Pleine précision ",
                                 "Signal électrique max. = 2 mV/V", "Type de pont = Pont complet ",
                                 "Impédance du pont = 350 Ω", "Date d'étalonnage = 15/03/2024 ",
                                 "Point de mesure = 1 ",
                                 "0000  " + w.world.amplifier(QsgNode).tedsBlock().left(16).toHex(' ').toUpper()}));
    const auto shown = w.editor(1);
    EXPECT_EQ(grid(*shown)->rowCount(), 22);
    EXPECT_TRUE(tabLeaves(*shown, *grid(*shown))) << "Tab reaches the buttons";
}

TEST(frmTEDS, TheUserLevelDecidesWhichFieldsAreEdited)
{
    const QStringList calibration = {"Valeur physique min.",      "Valeur physique max.",
                                     "Signal électrique min.",    "Signal électrique max.",
                                     "Date d'étalonnage",         "Initiales de l'étalonneur",
                                     "Période d'étalonnage",      "Point de mesure"};
    const QStringList identification = {"ID du fabricant", "Numéro de modèle", "Lettre de version",
                                        "Numéro de version", "Numéro de série", "Type de pont",
                                        "Impédance du pont", "Temps de réponse", "Excitation nominale",
                                        "Excitation min.", "Excitation max."};
    const std::pair<int32_t, QStringList> cases[] = {
        {0, {}}, {1, calibration}, {2, calibration + identification}, {9, calibration + identification}};
    TedsWorld w;
    for (const auto& [level, expected] : cases) {
        const auto editor = w.editor(level);
        QStringList editable;
        for (int row = 0; row < grid(*editor)->rowCount(); ++row)
            if (grid(*editor)->item(row, 1)->flags() & Qt::ItemIsEditable)
                editable << grid(*editor)->item(row, 0)->text();
        editable.sort();
        QStringList sorted = expected;
        sorted.sort();
        EXPECT_EQ(editable, sorted) << level;
    }
}

TEST(frmTEDS, AnEditedFieldIsWrittenAndActivated)
{
    TedsWorld w;
    const auto editor = w.editor(1);
    const QByteArray before = editor->image();
    QTableWidgetItem* range = valueOf(*editor, "Valeur physique max.");
    range->setText("abc");
    EXPECT_EQ(range->text(), "2");
    EXPECT_EQ(editor->image(), before);
    EXPECT_EQ(w.world.host().texts(), QStringList{"Valeur incorrecte pour 'Valeur physique max.' : 'abc'"});

    range->setText(" 0.5 ");
    EXPECT_EQ(range->text(), "0,5");
    EXPECT_EQ(editor->image().size(), 64);
    EXPECT_EQ(state(*editor), "TEDS décodé, sommes de contrôle correctes.");
    w.world.host().messages.clear();
    w.world.host().answers = {msg::Yes, msg::Yes};  // activate now, and confirm the action
    editor->writeToDevice();
    SimAmplifier& amplifier = w.world.amplifier(QsgNode);
    EXPECT_EQ(amplifier.tedsBlock(), editor->image());
    EXPECT_TRUE(amplifier.tedsActive());
    EXPECT_EQ(amplifier.signalSettings().range, 0.5);
    ASSERT_EQ(w.world.host().messages.size(), 2u) << w.world.host().texts().join('\n').toStdString();
    EXPECT_EQ(w.world.host().texts().at(0), "TEDS a été écrit dans l'appareil.\r\nActiver TEDS maintenant ?");
    EXPECT_EQ(w.world.host().messages.at(0).style, msg::Question);
}

// A device the net gave up on is asked nothing more; its image can still be saved.
TEST(frmTEDS, ADeviceTheNetGaveUpOnOffersNoDeviceCommand)
{
    TedsWorld w;
    const auto editor = w.editor(1);
    w.world.amplifier(QsgNode).setSilent(true);
    w.world.host().messages.clear();
    editor->readFromDevice();
    EXPECT_EQ(w.world.host().texts(),
              (QStringList{"Le nombre maximal de tentatives de mesure a été dépassé !\r\nMessage d'erreur : Erreur de "
                           "bus CAN : Timeout\r\n\r\nTous les appareils sont déconnectés.",
                           "Erreur lors de la lecture de TEDS (-7) !"}));
    QStringList enabled;
    for (const QPushButton* button : editor->findChildren<QPushButton*>())
        if (button->isEnabled())
            enabled << button->objectName();
    EXPECT_EQ(enabled, (QStringList{"cmdLoad", "cmdSave", "cmdClose"}));
}

TEST(frmTEDS, TedFilesKeepTheBytesAndAnUndecodableTedsStaysHex)
{
    TedsWorld w;
    const QDir folder(GetUserProfileFolder());
    const auto editor = w.editor(1);
    editor->saveFile(folder.filePath("capteur.TED"));
    EXPECT_EQ(fileBytes(folder.filePath("capteur.TED")), w.world.amplifier(QsgNode).tedsBlock());

    QByteArray corrupt = w.world.amplifier(QsgNode).tedsBlock();
    corrupt[40] = char(corrupt[40] ^ 0x10);
    QFile file(folder.filePath("abime.TED"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(corrupt) == corrupt.size());
    file.close();
    const auto other = w.editor(1);
    other->loadFile(file.fileName());
    EXPECT_EQ(other->image(), corrupt);
    EXPECT_EQ(grid(*other)->rowCount(), 0);
    EXPECT_TRUE(state(*other).startsWith("Somme de contrôle erronée dans la page 2 : ")) << state(*other).toStdString();
    EXPECT_EQ(other->findChild<QPlainTextEdit*>("TextHex")->toPlainText().count('\n'), 3);
    other->saveFile(folder.filePath("copie.TED"));
    EXPECT_EQ(fileBytes(folder.filePath("copie.TED")), corrupt);
    w.world.host().answers = {msg::No};
    other->writeToDevice();
    EXPECT_EQ(w.world.amplifier(QsgNode).tedsBlock(), corrupt);

    other->loadFile(folder.filePath("capteur.TED"));
    EXPECT_EQ(other->image(), editor->image());
    EXPECT_EQ(grid(*other)->rowCount(), 22);
    other->loadFile(folder.filePath("absent.TED"));
    EXPECT_EQ(w.world.host().texts().last(),
              "Impossible de lire le fichier '" + folder.filePath("absent.TED") + "' !");
    EXPECT_EQ(other->image(), editor->image());
    QFile huge(folder.filePath("enorme.TED"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.write(QByteArray(4097, 'T')) == 4097);
    huge.close();
    other->loadFile(huge.fileName());
    EXPECT_EQ(w.world.host().texts().last(), "Le fichier '" + huge.fileName() +
                                                 "' est trop grand pour un TEDS : 4097 octets au lieu de 4096 au plus !");
    EXPECT_EQ(other->image(), editor->image());
    QFile empty(folder.filePath("vide.TED"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    other->loadFile(empty.fileName());
    EXPECT_EQ(w.world.host().texts().last(), "Le fichier '" + empty.fileName() + "' est vide : il ne contient aucun TEDS !");
    EXPECT_EQ(other->image(), editor->image());
}

TEST(frmTEDS, TheTedsFileChoosersStartAndEndInTheUserDataFolder)
{
    TedsWorld w;
    AppCore& core = w.world.state().core;
    const QDir folder(GetUserProfileFolder());
    ASSERT_TRUE(folder.mkpath("capteurs"));
    const QString existing = folder.filePath("capteurs/pont.TED");
    QFile(existing).open(QIODevice::WriteOnly);
    const struct {
        const char* title;
        std::function<QString()> choose;
        QString typed;
        QString chosen;
    } cases[] = {
        {"Sauvegarder TEDS", [&] { return GetSaveTEDSName(nullptr, core); }, folder.filePath("capteurs/neuf"),
         folder.filePath("capteurs/neuf.TED")},
        {"Charger TEDS", [&] { return GetOpenTEDSName(nullptr, core); }, existing, existing},
        {"Charger TEDS", [&] { return GetOpenTEDSName(nullptr, core); }, {}, {}},
    };
    for (const auto& c : cases) {
        SetUserDataPath(core, folder.path());
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), c.title);
            EXPECT_EQ(dialog->nameFilters(), QStringList({"TEDS (*.TED)", "Tous les fichiers (*.*)"}));
            EXPECT_EQ(dialog->directory().path(), folder.path());
            if (c.typed.isEmpty())
                return dialog->reject();
            dialog->selectFile(c.typed);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        EXPECT_EQ(c.choose(), c.chosen) << c.title;
        EXPECT_EQ(GetUserDataPath(core), c.chosen.isEmpty() ? folder.path() : folder.filePath("capteurs"));
    }
}

}  // namespace
}  // namespace devicetest
