#pragma once
#include <QDialog>
#include <cstdint>

struct AppState;
class QComboBox;

// The PROFIBUS master card of the interface selection: its master type and card
// number. OK opens the card once to try it and accepts only a card that opens.
//
// Controls: "ComboCardType" (item values 2 and 10), "ComboCardIndex" (0 to 4),
// "cmdButtonOk", "cmdButtonCancel", "cmdButtonHelp".
class frmProfiBusInterface : public QDialog {
    Q_OBJECT

public:
    static constexpr int Accepted = 0;
    static constexpr int Cancelled = 3;
    static constexpr int32_t HelpTopic = 121;

    explicit frmProfiBusInterface(AppState& state, QWidget* parent = nullptr);

    // Shows the dialog with the card preselected; Accepted hands the chosen card back,
    // Cancelled leaves both values as they were.
    int DefineProfibusCard(int16_t& pType, int16_t& devno);

public slots:
    void reject() override;

private:
    void tryCard();

    AppState& state_;
    QComboBox* ComboCardType;
    QComboBox* ComboCardIndex;
    int result_ = Cancelled;
};
