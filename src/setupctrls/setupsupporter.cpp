#include "setupctrls/setupsupporter.h"

#include "classlib/application.h"
#include "classlib/button.h"
#include "classlib/exceptions.h"
#include "classlib/form.h"
#include "classlib/label.h"
#include "classlib/mainmenu.h"
#include "classlib/memo.h"
#include "classlib/menuitem.h"
#include "classlib/richedit.h"
#include "classlib/screen.h"
#include "driver/llztxwdm.h"
#include "setupctrls/helpform.h"
#include "setupctrls/pciform.h"
#include "setupctrls/techform.h"
#include "system/messagebox.h"
#include "system/timerwindow.h"

#include <algorithm>
#include <cmath>

namespace {
// Gives a font its name, size and style in one change: after every change an auto-sized label
// measures itself again, and measuring a font not used before is a font-database search.
void SetFont(TFont& font, const std::string& name, int size, TFontStyles style) {
    TFont wanted;
    wanted.Assign(font);
    wanted.SetName(name);
    wanted.SetSize(size);
    wanted.SetStyle(style);
    font.Assign(wanted);
}
} // namespace

TSetupSupporter::TSetupSupporter(TComponent* owner) : TComponent(owner) {
    FHelpPending = false;
    FCalibrating = false;
    FTimerWindow = std::make_unique<TTimerWindow>([this](TMessage& m) { TimerWndProc(m); });
    UseCardNameB = false;
    MultiPort = false;
    Channels = 8;
    ChangeButtons = true;
    bSeries = true;
}

TSetupSupporter::~TSetupSupporter() {
    if (FIdleHooked && Application) Application->OnIdle = nullptr;
    FCalibrating = false;
    FHelpPending = false;
    FTimerWindow->KillTimer(TimerId);
    FTimerWindow.reset(); // its timer goes with it
}

void TSetupSupporter::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    // The windows belong to the main window; forget any that goes first.
    if (component == FHeaderLabel) FHeaderLabel = nullptr;
    if (component == FHelpForm) FHelpForm = nullptr;
    if (component == FTechForm) FTechForm = nullptr;
    if (component == FPCIForm) FPCIForm = nullptr;
}

// ---- start-up ---------------------------------------------------------------------------

void TSetupSupporter::HookFirstIdle() {
    Application->OnIdle = [this](TObject* sender, bool& done) { FirstIdle(sender, done); };
    FIdleHooked = true;
}

void TSetupSupporter::FirstIdle(TObject* sender, bool&) {
    // Remove ourselves first, so the build runs once even if it fails.
    if (auto* app = dynamic_cast<TApplication*>(sender)) app->OnIdle = nullptr;
    FIdleHooked = false;
    BuildWindows();
}

void TSetupSupporter::BuildWindows() {
    if (IsDesigning()) return;
    FCardName = CardName();
    BuildHeader();
    BuildHelpWindow();
    BuildTechWindow();
    bool cardFound = true;
    if (OnGetCardString) cardFound = ListInstalledCards();
    if (!cardFound && FPCIForm) FPCIForm->PCIMemo->Lines().SetItems({"No Card Found"});
    FHeaderLabel->SetCaption(Heading(FCardName, bSeries, cardFound));
    FHelpPending = true;
    UpdateTimer();
}

std::string TSetupSupporter::Heading(const std::string& cardName, bool series, bool cardFound) {
    if (cardFound) return cardName + (series ? " Series" : "") + " Settings Program";
    return "No " + cardName + (series ? " Series Card" : "") + " Found";
}

void TSetupSupporter::BuildHeader() {
    TForm* main = Application->MainForm();
    FHeaderLabel = new TLabel(main);
    FHeaderLabel->SetName("HeaderLabel");
    FHeaderLabel->SetParent(main);
    FHeaderLabel->SetAlign(alTop);
    FHeaderLabel->SetAlignment(taCenter);
    SetFont(FHeaderLabel->Font(), "Tahoma", 18, fsBold);
    FHeaderLabel->Font().SetColor(clBlack);
}

// ---- help and support windows -----------------------------------------------------------

std::string TSetupSupporter::HelpText(const std::string& company, const std::string& cardName,
                                      bool series, bool multiPort, bool listsCards) {
    const std::string crlf = "\r\n";
    std::string t =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 "
        "Verdana;}}{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;\\red64\\green64"
        "\\blue255;\\red255\\green64\\blue64;}\\viewkind4\\uc1\\pard\\f0\\fs32\\cf0" + crlf + "{\\b ";
    t += company + " " + cardName + (series ? " Series" : "") + " Settings Program}\\par\\par\\fs24" + crlf;
    t += "This program will help you configure the option jumpers and settings associated with "
         "this product. You should have the product in-hand when first using this "
         "program.\\par\\par" + crlf;
    t += "{\\cf1\\fs24\\b Yellow circles} provide information on configuring jumpers and "
         "switches.\\par\\par" + crlf;
    t += "{\\cf2\\fs24\\b Blue circles} are informational only. They provide information on "
         "standard and optional features of the product family.\\par\\par" + crlf;
    t += "{\\cf3\\fs24\\b Red circles} handle calibration and types of configuration that require "
         "actually controlling the hardware device. Run this settings program again once the "
         "card is installed. ";
    t += "Repeat the {\\cf1 setup circles} (using the same settings) to configure this program, "
         "then perform the {\\cf3 calibration circles}.\\par\\par" + crlf;
    t += "Mouse over the highlight circles to see configuration or information popups for {\\cf1 "
         "setup}, {\\cf2 features}, and {\\cf3 calibration}. Click a highlight circle to make its "
         "popup remain on-screen. ";
    t += "You can have all or as many of these popups onscreen at the same time as you "
         "desire.\\par\\par" + crlf;
    if (multiPort) {
        t += "{\\fs32\\b Note:} Make sure to set the jumpers for each option group \\emdash  the "
             "configuration options for each port are handled identically; ";
        t += "this program only shows the setup once, but you need to perform this setup for each "
             "group of options on your device.\\par\\par" + crlf;
    }
    if (listsCards)
        t += "To see a list of " + cardName + " cards installed, click \"Display " + cardName +
             " Cards Installed\" under the File menu.\\par\\par" + crlf;
    return t + "}";
}

std::string TSetupSupporter::SupportText(const std::string& company, const std::string& callHow) {
    return "There are several ways to get technical support. First and fastest is to skim the "
           "relevant sections of the manual. However, some questions require personal "
           "assistance, and " + company + " stands ready to provide that help. You can call us " +
           callHow + " for any of your product questions.\r\n\r\nIn order to provide the best "
           "and fastest support possible, we ask that you be at your computer when you call, and "
           "have the " + company + " product manual and Software Master CD at hand.";
}

double TSetupSupporter::HelpScale(int screenWidth, int screenHeight) {
    double f = std::min(screenHeight / 450.0, screenWidth / 800.0);
    return f < 1 ? 1 : f;
}

void TSetupSupporter::BuildHelpWindow() {
    TForm* main = Application->MainForm();
    auto* help = new THelpForm(main);
    FHelpForm = help;
    help->SetName("HelpForm");
    help->SetCaption("Instructions for Settings utility");
    help->SetFormStyle(fsStayOnTop);
    help->SetPosition(poMainFormCenter);

    help->HelpLabel = new TLabel(help);
    help->HelpLabel->SetName("HelpLabel");
    help->HelpLabel->SetParent(help);
    help->HelpLabel->SetAlign(alTop);
    help->HelpLabel->SetAlignment(taCenter);
    help->HelpLabel->SetCaption("How to use this program");
    SetFont(help->HelpLabel->Font(), "Verdana", 12, fsBold);

    help->HelpRich = new TRichEdit(help);
    help->HelpRich->SetName("HelpRich");
    help->HelpRich->SetParent(help);
    help->HelpRich->SetBounds(0, 24, 305, 73);
    help->HelpRich->SetReadOnly(true);
    help->HelpRich->SetScrollBars(ssVertical);
    help->HelpRich->SetColor(0xDDDDDD);
    help->HelpRich->LoadRichText(
        HelpText(CompanyName, FCardName, bSeries, MultiPort, static_cast<bool>(OnGetCardString)));

    help->StartButton = new TButton(help);
    help->StartButton->SetName("StartButton");
    help->StartButton->SetParent(help);
    help->StartButton->SetDefault(true);
    help->StartButton->SetCancel(true);
    help->StartButton->SetBounds(help->StartButton->Left(), 105, 173, 25);
    help->StartButton->SetCaption("Start");
    help->StartButton->SetTabOrder(0);
    help->StartButton->OnClick = [help](TObject* sender) { help->StartButtonClick(sender); };

    help->SetClientWidth(help->HelpRich->Width());
    help->SetAutoSize(true);
    help->SetAutoSize(false);
    help->SetClientHeight(help->ClientHeight() + 8);
    help->HelpRich->SetAnchors(akLeft | akTop | akRight | akBottom);
    help->StartButton->SetLeft((help->ClientWidth() - help->StartButton->Width()) / 2);
    help->StartButton->SetAnchors(akBottom);

    double f = HelpScale(TScreen::Width(), TScreen::Height());
    help->SetClientWidth(static_cast<int>(std::nearbyint(help->ClientWidth() * f)));
    help->SetClientHeight(static_cast<int>(std::nearbyint(help->ClientHeight() * f)));
}

void TSetupSupporter::BuildTechWindow() {
    TForm* main = Application->MainForm();
    auto* tech = new TTechForm(main);
    FTechForm = tech;
    tech->SetName("TechForm");
    tech->SetCaption("Technical Support");
    tech->SetFormStyle(fsStayOnTop);
    tech->SetPosition(poDefaultPosOnly);

    tech->TechMemo = new TMemo(tech);
    tech->TechMemo->SetName("TechMemo");
    tech->TechMemo->SetParent(tech);
    tech->TechMemo->SetBounds(8, 8, 305, 89);
    tech->TechMemo->SetReadOnly(true);
    tech->TechMemo->SetScrollBars(ssVertical);
    tech->TechMemo->Lines().SetText(SupportText(CompanyName, CallHow));

    tech->CloseButton = new TButton(tech);
    tech->CloseButton->SetName("CloseButton");
    tech->CloseButton->SetParent(tech);
    tech->CloseButton->SetBounds(165, 105, 73, 25);
    tech->CloseButton->SetCancel(true);
    tech->CloseButton->SetCaption("Close");
    tech->CloseButton->SetTabOrder(0);
    tech->CloseButton->OnClick = [this](TObject* sender) { CloseButtonClick(sender); };

    tech->SetAutoSize(true);
    tech->SetAutoSize(false);
    tech->TechMemo->SetAnchors(akLeft | akTop | akRight | akBottom);
    tech->CloseButton->SetLeft((tech->ClientWidth() - tech->CloseButton->Width()) / 2);
    tech->CloseButton->SetAnchors(akBottom);
}

void TSetupSupporter::CloseButtonClick(TObject* sender) {
    if (auto* control = dynamic_cast<TControl*>(sender); control && control->Parent())
        control->Parent()->Hide();
}

// ---- installed cards --------------------------------------------------------------------

void TSetupSupporter::AddDisplayMenuEntry() {
    TForm* main = Application->MainForm();
    TMainMenu* menu = main ? main->Menu() : nullptr;
    if (!menu) return;
    TMenuItem* bar = menu->Items();
    for (int i = 0; i < bar->Count(); ++i) {
        TMenuItem* file = bar->Items(i);
        if (file->Caption() != "&File") continue;
        auto* entry = new TMenuItem(file);
        entry->SetName("DisplayPCI");
        entry->SetCaption("Display " + FCardName + " Cards Installed");
        entry->OnClick = [this](TObject* sender) { DisplayPCIClick(sender); };
        file->Insert(0, entry);
        return;
    }
}

bool TSetupSupporter::ListInstalledCards() {
    AddDisplayMenuEntry();
    TForm* main = Application->MainForm();
    auto* pci = new TPCIForm(main);
    FPCIForm = pci;
    pci->SetName("PCIForm");
    pci->SetCaption(FCardName + " Cards installed");
    pci->SetFormStyle(fsStayOnTop);
    pci->SetPosition(poDefaultPosOnly);
    pci->Show();

    pci->PCIMemo = new TMemo(pci);
    pci->PCIMemo->SetName("PCIMemo");
    pci->PCIMemo->SetParent(pci);
    pci->PCIMemo->SetBounds(8, 8, 305, 89);
    SetFont(pci->PCIMemo->Font(), "Tahoma", 10, fsBold);
    pci->PCIMemo->SetReadOnly(true);
    pci->PCIMemo->SetScrollBars(ssVertical);

    pci->CloseButton = new TButton(pci);
    pci->CloseButton->SetName("CloseButton");
    pci->CloseButton->SetParent(pci);
    pci->CloseButton->SetBounds((pci->Width() - 73) / 2, 105, 73, 25);
    pci->CloseButton->SetCancel(true);
    pci->CloseButton->SetCaption("Close");
    pci->CloseButton->SetTabOrder(0);
    pci->CloseButton->OnClick = [this](TObject* sender) { CloseButtonClick(sender); };

    pci->SetAutoSize(true);
    pci->SetAutoSize(false);
    pci->PCIMemo->SetAnchors(akLeft | akTop | akRight | akBottom);
    pci->CloseButton->SetAnchors(akBottom);

    LoadDriverLibrary();
    bool cardFound = false;
    // Without the whole library there is no trustworthy count: take it as no card.
    int32_t count = DriverLoaded ? GetNumCards() : 0;
    if (count > 0) {
        pci->PCIMemo->Lines().Clear();
        for (int32_t card = 0; card < count; ++card) {
            std::string text = OnGetCardString(this, card);
            if (text.empty()) continue;
            pci->PCIMemo->Lines().Add(text);
            cardFound = true;
        }
    }
    return cardFound;
}

void TSetupSupporter::DisplayPCIClick(TObject*) {
    if (!FPCIForm) return;
    FPCIForm->Show();
    FPCIForm->BringWindowToFront();
}

// ---- timer ------------------------------------------------------------------------------

void TSetupSupporter::UpdateTimer() {
    FTimerWindow->KillTimer(TimerId);
    if (!FCalibrating && !FHelpPending) return;
    if (!FTimerWindow->SetTimer(TimerId, TimerInterval))
        throw EOutOfResources("Not enough timers available");
}

void TSetupSupporter::SetCalibrating(bool value) {
    if (value == FCalibrating) return;
    FCalibrating = value;
    UpdateTimer();
}

void TSetupSupporter::SetOnBeginCalib(TNotifyEvent handler) {
    FOnBeginCalib = std::move(handler);
    UpdateTimer();
}

void TSetupSupporter::TimerWndProc(TMessage& message) {
    if (message.Msg != WM_TIMER) {
        message.Result = 0; // the default window procedure has nothing to do for this window
        return;
    }
    Application->Guard([this] { TimerTick(); });
    message.Result = 0;
}

void TSetupSupporter::TimerTick() {
    if (FHelpPending) {
        if (FHelpForm) {
            FHelpForm->Show();
            FHelpForm->BringWindowToFront();
        }
        FHelpPending = false;
        UpdateTimer();
        return;
    }
    CalibrationPoll();
}

// ---- calibration ------------------------------------------------------------------------

void TSetupSupporter::CalibrationPoll() {
    if (FOnBeginCalib) FOnBeginCalib(this);
    if (!OnGetCalibString) {
        SetCalibrating(false);
        Application->MessageBox("Error: calibration begun, but OnGetCalibString isn't assigned.",
                                "OnGetCalibString Not Assigned",
                                MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
        ResetCalibButtons();
        return;
    }
    for (const TCalibDisplay& display : FCalibDisplays)
        if (display.HiddenOnPoll && *display.HiddenOnPoll) (*display.HiddenOnPoll)->Hide();
    bool itsAllBad = true;
    for (int channel = 0; channel < Channels; ++channel) {
        std::string text = OnGetCalibString(this, static_cast<uint8_t>(channel), itsAllBad);
        ShowChannelLine(channel, text);
    }
    if (!itsAllBad) return;
    SetCalibrating(false); // no poll while the box is open
    int answer = Application->MessageBox(
        "Total A/D failure. The card may not be installed, or it may be installed at a different "
        "base address.",
        "Total A/D failure",
        MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2 | MB_SETFOREGROUND | MB_TOPMOST);
    if (answer == IDRETRY) SetCalibrating(true);
    else ResetCalibButtons();
}

void TSetupSupporter::ShowChannelLine(int channel, const std::string& text) {
    const std::string line = "Channel " + std::to_string(channel) + "\t" + text;
    for (const TCalibDisplay& display : FCalibDisplays) {
        if (!display.ChannelView || !*display.ChannelView) continue;
        TStrings& lines = (*display.ChannelView)->Lines();
        // A view holding fewer lines than channels grows to fit, so no channel's line is lost.
        while (lines.Count() <= channel) lines.Add("");
        lines.SetString(channel, line);
    }
}

void TSetupSupporter::ResetCalibButtons() {
    if (ChangeButtons)
        for (const TCalibDisplay& display : FCalibDisplays) {
            if (!display.ActionButton || !*display.ActionButton) continue;
            TButton* button = *display.ActionButton;
            button->OnClick = OnStartButtonClick;
            button->SetCaption("Start");
        }
    SetCalibrating(false);
}
