// The setup supporter: holds the product's names and texts, builds the heading, the help,
// technical-support and installed-cards windows at the first idle moment, shows the help
// shortly afterwards, and runs the calibration poll through its events.
#pragma once

#include "classlib/component.h"
#include "setupctrls/calibdisplay.h"
#include "system/messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TLabel;
class THelpForm;
class TTechForm;
class TPCIForm;
class TTimerWindow;

using TPCIEvent = std::function<std::string(TObject* sender, int32_t cardIndex)>;
using TCalibEvent = std::function<std::string(TObject* sender, uint8_t channel, bool& itsAllBad)>;

class TSetupSupporter : public TComponent {
  public:
    static constexpr unsigned TimerId = 1;
    static constexpr int TimerInterval = 100;

    explicit TSetupSupporter(TComponent* owner);
    ~TSetupSupporter() override;
    DECLARE_CLASS_NAME(TSetupSupporter)

    // Published properties; the stored layout writes them straight into the fields.
    std::string CompanyName;
    std::string CardNameA;
    std::string CardNameB;
    bool UseCardNameB = false;
    std::string CallHow;
    bool MultiPort = false;
    uint8_t Channels = 8;
    bool ChangeButtons = true;
    bool bSeries = true;
    TPCIEvent OnGetCardString;
    TCalibEvent OnGetCalibString;
    TNotifyEvent OnStopButtonClick;
    TNotifyEvent OnStartButtonClick;
    const TNotifyEvent& OnBeginCalib() const { return FOnBeginCalib; }
    void SetOnBeginCalib(TNotifyEvent handler);
    int DesignLeft = 0, DesignTop = 0; // a form designer's position; no effect at run time

    std::string CardName() const { return UseCardNameB ? CardNameB : CardNameA; }
    TLabel* HeaderLabel() const { return FHeaderLabel; }
    THelpForm* HelpForm() const { return FHelpForm; }
    TTechForm* TechForm() const { return FTechForm; }
    TPCIForm* PCIForm() const { return FPCIForm; }
    bool HelpPending() const { return FHelpPending; }
    bool Calibrating() const { return FCalibrating; }
    std::vector<TCalibDisplay>& CalibDisplays() { return FCalibDisplays; }
    TTimerWindow& TimerWindow() { return *FTimerWindow; }

    void FirstIdle(TObject* sender, bool& done);
    // Makes FirstIdle the application's idle handler; a supporter destroyed before the first
    // idle takes it back, so the application never calls a destroyed supporter.
    void HookFirstIdle();
    void BuildWindows();
    void DisplayPCIClick(TObject* sender);
    void CloseButtonClick(TObject* sender);
    void UpdateTimer();
    void SetCalibrating(bool value);
    void TimerWndProc(TMessage& message);
    void TimerTick();
    bool ListInstalledCards();
    void CalibrationPoll();
    void ShowChannelLine(int channel, const std::string& text);
    void ResetCalibButtons();

    static std::string HelpText(const std::string& company, const std::string& cardName,
                                bool series, bool multiPort, bool listsCards);
    static std::string SupportText(const std::string& company, const std::string& callHow);
    static std::string Heading(const std::string& cardName, bool series, bool cardFound);
    static double HelpScale(int screenWidth, int screenHeight);

    void Notification(TComponent* component, TOperation operation) override;

  private:
    void BuildHeader();
    void BuildHelpWindow();
    void BuildTechWindow();
    void AddDisplayMenuEntry();

    TNotifyEvent FOnBeginCalib;
    bool FHelpPending = false;
    bool FCalibrating = false;
    bool FIdleHooked = false;
    std::unique_ptr<TTimerWindow> FTimerWindow;
    TLabel* FHeaderLabel = nullptr;
    TPCIForm* FPCIForm = nullptr;
    THelpForm* FHelpForm = nullptr;
    TTechForm* FTechForm = nullptr;
    std::vector<TCalibDisplay> FCalibDisplays;
    std::string FCardName;
};
