#include "ui/teds/TedsEditorComponent.h"

#include "core/ResultCodes.h"
#include "ui/teds/frmTEDS.h"

int32_t TedsEditorComponent::AddTEDS(int16_t&, QString&, QString& deviceName, int32_t& userLevel, QString&,
                                     QString&)
{
    deviceName_ = deviceName;
    userLevel_ = userLevel;
    return rc::Ok;
}

void TedsEditorComponent::EditTEDS(TEDSHelper& helper)
{
    frmTEDS editor(core_, helper, userLevel_, deviceName_, parent_);
    editor.readFromDevice();
    editor.exec();
}

void RegisterTedsEditor(TedsEditorRegistry& registry, AppCore& core, QWidget* parent)
{
    registry.add(TedsEditorName, [&core, guarded = QPointer<QWidget>(parent)] {
        return std::make_unique<TedsEditorComponent>(core, guarded);
    });
}
