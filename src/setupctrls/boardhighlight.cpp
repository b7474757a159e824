#include "setupctrls/boardhighlight.h"

#include "classlib/application.h"
#include "classlib/button.h"
#include "classlib/mainmenu.h"
#include "classlib/memo.h"
#include "classlib/menuitem.h"
#include "classlib/screen.h"
#include "classlib/statusbar.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/highlightshader.h"
#include "setupctrls/popupform.h"
#include "setupctrls/radiopanel.h"
#include "system/messagebox.h"

#include <cstring>

namespace {
// ASCII only, whatever the locale: a Latin-1 locale would count letters such as 0xC4.
bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

bool IsIdentifier(const std::string& s) {
    if (s.empty() || !IsIdentStart(s[0])) return false;
    for (char c : s)
        if (!IsIdentChar(c)) return false;
    return true;
}
} // namespace

TBoardHighlight::TBoardHighlight(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() | csReplicatable);
    SetWidth(65);
    SetHeight(65);
    FLit = false;
    FPrepared = false;
    FPopup = nullptr;
    FMainMenu = nullptr;
    FCreatePopup = true;
    // The type starts at its zero value, so this always takes effect.
    SetHighlightType(htSettings);
}

TBoardHighlight::~TBoardHighlight() {
    if (FMenuEntry) FMenuEntry->OnClick = nullptr;
}

// ---- properties -------------------------------------------------------------------------

void TBoardHighlight::SetHighlightType(THighlightType value) {
    if (value == FHighlightType) return;
    FHighlightType = value;
    THighlightLook look = HighlightLook(value);
    FRingColor = look.RingColor;
    FPlainAlpha = look.PlainAlpha;
    FBrightAlpha = look.BrightAlpha;
    FRaisedAlpha = look.RaisedAlpha;
    Invalidate();
}

void TBoardHighlight::SetTitle(const std::string& value) {
    if (value == FTitle) return;
    FTitle = value;
    FPlainTitle = StripAmpersands(value);
    FTitleIdent = IdentFromTitle(value);
}

std::string TBoardHighlight::StripAmpersands(const std::string& title) {
    std::string plain;
    for (char c : title)
        if (c != '&') plain += c;
    return plain;
}

std::string TBoardHighlight::IdentFromTitle(const std::string& title) {
    if (title.empty() || IsIdentifier(title)) return title;
    size_t start = 0;
    while (start < title.size() && !IsIdentStart(title[start])) ++start;
    if (start == title.size()) return "";
    std::string ident(1, title[start]);
    for (size_t i = start + 1; i < title.size(); ++i)
        if (IsIdentChar(title[i])) ident += title[i];
    return ident;
}

void TBoardHighlight::SetRadioPanel(TRadioPanel* value) {
    if (value == FRadioPanel) return;
    if (!value) {
        FRadioPanel = nullptr;
        return;
    }
    // One panel serves one linked group: refuse a panel that a circle of another group holds.
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i) {
            auto* other = dynamic_cast<TBoardHighlight*>(parent->Controls(i));
            if (!other || std::strcmp(other->ClassName(), "TBoardHighlight") != 0) continue;
            if (other == this || other->FRadioPanel != value || IsLinkedTo(other)) continue;
            if (IsDesigning())
                TMessageBox::Show(nullptr,
                                  value->Name() + " has already been assigned to " + other->Name() + ".",
                                  "Error", MB_OK | MB_ICONERROR);
            return;
        }
    FRadioPanel = value;
    if (!IsDesigning() || IsLoading()) return;
    ForEachLinked(
        [&](TBoardHighlight* linked) {
            if (linked->FRadioPanel == value) return;
            std::string question = Name() + "'s RadioPanel property changed. Synchronize linked component " +
                                   linked->Name() + "?";
            if (TMessageBox::Show(nullptr, question, "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES)
                linked->FRadioPanel = value;
        },
        false);
}

void TBoardHighlight::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation != opRemove) return;
    // A panel, popup or menu entry destroyed first must not be used afterwards.
    if (component == FRadioPanel) FRadioPanel = nullptr;
    if (component == FPopup) FPopup = nullptr;
    if (component == FMenuEntry) FMenuEntry = nullptr;
    if (component == FMainMenu) FMainMenu = nullptr;
}

// ---- linked group -----------------------------------------------------------------------

TBoardImage* TBoardHighlight::BoardParent() const {
    TWinControl* parent = Parent();
    if (!parent || std::strcmp(parent->ClassName(), "TBoardImage") != 0) return nullptr;
    return static_cast<TBoardImage*>(parent);
}

bool TBoardHighlight::IsLinkedTo(const TControl* other) const {
    if (std::strcmp(other->ClassName(), "TBoardHighlight") != 0) return false;
    auto* highlight = static_cast<const TBoardHighlight*>(other);
    return highlight->FTitle == FTitle && highlight->FHighlightType == FHighlightType;
}

template <typename F> void TBoardHighlight::ForEachLinked(F action, bool includeSelf) {
    TWinControl* parent = Parent();
    if (!parent) return;
    int count = parent->ControlCount(); // taken once, as the group is walked
    for (int i = 0; i < count && i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!IsLinkedTo(c) || (!includeSelf && c == this)) continue;
        action(static_cast<TBoardHighlight*>(c));
    }
}

// ---- painting ---------------------------------------------------------------------------

void TBoardHighlight::BuildImages() {
    struct TLook {
        TBitmap& Image;
        bool WhiteCore;
        float Alpha;
    };
    TLook looks[] = {{FPlainImage, false, FPlainAlpha},
                     {FBrightImage, true, FBrightAlpha},
                     {FRaisedImage, false, FRaisedAlpha}};
    for (TLook& look : looks) {
        look.Image.SetSize(Width(), Height());
        // At paint time the canvas holds the photograph that the parent drew beneath us.
        look.Image.Canvas().CopyRect(ClientRect(), Canvas(), ClientRect());
        THighlightShader::Shade(look.Image, look.WhiteCore, FRingColor, look.Alpha);
    }
}

void TBoardHighlight::Paint() {
    if (IsDesigning()) {
        BuildImages();
    } else if (!FPrepared) {
        BuildImages();
        TBoardImage* board = BoardParent();
        FMainMenu = board ? board->Menu() : nullptr;
        if (board) AddToMenu();
        FPrepared = true;
    }
    const TBitmap& image = (FPopupActive && FLit)   ? FBrightImage
                           : (FPopupActive != FLit) ? FRaisedImage
                                                    : FPlainImage;
    Canvas().CopyRect(ClientRect(), const_cast<TBitmap&>(image).Canvas(), ClientRect());
}

// ---- mouse ------------------------------------------------------------------------------

void TBoardHighlight::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER: MouseEnter(message.WParam); return;
    case CM_MOUSELEAVE: MouseLeave(message.WParam); return;
    default: TGraphicControl::WndProc(message);
    }
}

void TBoardHighlight::MouseEnter(WPARAM marker) {
    if (FLit) return;
    FLit = true;
    Invalidate();
    if (FCreatePopup) ShowPopup();
    if (marker != 1 && BoardParent())
        ForEachLinked([](TBoardHighlight* h) { h->Perform(CM_MOUSEENTER, 1, 0); });
}

void TBoardHighlight::MouseLeave(WPARAM marker) {
    if (!FLit) return;
    if (FPopup && !FPinned) {
        TPoint p = TScreen::CursorPos();
        TPoint inPopup{p.X - FPopup->Left(), p.Y - FPopup->Top()};
        if (Rect(0, 0, FPopup->Width(), FPopup->Height()).Contains(inPopup)) {
            // The user moved onto the popup: keep it until the mouse leaves it.
            FPopup->CloseOnLeave = true;
            Pin();
        } else {
            FPopup->Close();
        }
    }
    if (marker != 1 && BoardParent())
        ForEachLinked([](TBoardHighlight* h) { h->Perform(CM_MOUSELEAVE, 1, 0); });
}

void TBoardHighlight::Click() {
    TGraphicControl::Click();
    Pin();
}

void TBoardHighlight::Pin() {
    // Only a popup on the screen can be pinned. A click on a circle whose popup was closed from
    // the keyboard while the mouse stayed on it would otherwise check the menu entry of a
    // closed popup, and the entry's next choice would close nothing.
    if (FPopup && FPopup->Visible()) {
        FPinned = true;
        CheckMenuItem(true);
    }
    ForEachLinked([](TBoardHighlight* h) {
        if (!h->FPopup || !h->FPopup->Visible()) return;
        h->FPinned = true;
        h->CheckMenuItem(true);
        h->FPopup->BringWindowToFront();
    });
}

void TBoardHighlight::SetPopupActive(bool active, bool propagate) {
    FPopupActive = active;
    BringToFront();
    Invalidate();
    if (!propagate || !BoardParent()) return;
    // Bringing a circle to the front moves it to the end of the list: stay at the same index
    // and shorten the end instead, so each linked circle is handled exactly once.
    TWinControl* parent = Parent();
    int end = parent->ControlCount();
    for (int i = 0; i < end && i < parent->ControlCount();) {
        TControl* c = parent->Controls(i);
        if (c != this && IsLinkedTo(c)) {
            static_cast<TBoardHighlight*>(c)->SetPopupActive(active, false);
            --end;
        } else {
            ++i;
        }
    }
}

void TBoardHighlight::Unlight() {
    FLit = false;
    Invalidate();
}

// ---- popup window -----------------------------------------------------------------------

void TBoardHighlight::ShowPopup() {
    if (FPopup) {
        if (!FPopup->Visible()) FPinned = false;
        FPopup->Show();
        return;
    }
    for (TForm* form : Application->Forms())
        if (form->Caption() == FPlainTitle && form->Tag() == FHighlightType) return;
    BuildPopup();
}

void TBoardHighlight::BuildPopup() {
    FPopup = new TPopupForm(this);
    FPopup->Highlight = this;
    FPopup->SetAutoScroll(false);
    FPopup->SetBorderStyle(bsSizeToolWin);
    FPopup->SetFormStyle(fsStayOnTop);
    FPinned = false;
    int memoHeight = 58;
    TPoint panelPosition{0, 0};
    if (TRadioPanel* panel = FRadioPanel) {
        memoHeight = panel->MemoHeight();
        FPopup->OnActivate = panel->OnActivate;
        FPopup->OnDeactivate = panel->OnDeactivate;
        panelPosition = {panel->Left(), panel->Top()};
        panel->SetBounds(0, 0, panel->Width(), panel->Height());
        panel->SetVisible(true);
        FPopup->SetClientWidth(panel->Width());
        FPopup->SetClientHeight(panel->Height() + memoHeight + 51);
        panel->SetParent(FPopup);
        panel->SetAnchors(panel->FinalAnchors());
        panel->SetPlaced(true);
    } else {
        FPopup->SetWidth(194);
        FPopup->SetHeight(141);
    }
    FPopup->SetCaption(FPlainTitle);
    FPopup->SetBounds(FPopup->Left(), FPopup->Top(), std::max(194, FPopup->Width()),
                      std::max(122, FPopup->Height()));
    FPopup->SetMinimumSize(FPopup->Width(), FPopup->Height());
    FPopup->SetTag(FHighlightType);
    FPopup->SetPosition(poDesigned);
    PlacePopup(panelPosition);
    FPopup->OnClose = [this](TObject* sender, TCloseAction& action) { PopupClosed(sender, action); };
    AddPopupControls(memoHeight);
    KeepPopupOnScreen();
    FPopup->Show();
    if (FRadioPanel) FPopup->SetActiveControl(FRadioPanel);
    else FPopup->SetActiveControl(static_cast<TWinControl*>(FPopup->FindComponent("DoneButton")));
}

void TBoardHighlight::PlacePopup(TPoint panelPosition) {
    TWinControl* parent = Parent();
    if (!parent) return;
    int dx = 0, dy = 0;
    if (TBoardImage* board = BoardParent()) {
        dx = board->LayoutLeft() - panelPosition.X;
        dy = board->LayoutTop() - panelPosition.Y;
    }
    if (!FRadioPanel) {
        dx = 0;
        dy = -(parent->Height() + 38);
    }
    // Positions within the main window's client area, used unchanged as screen positions.
    FPopup->SetBounds(parent->Left() - dx, parent->Top() - dy, FPopup->Width(), FPopup->Height());
}

void TBoardHighlight::AddPopupControls(int memoHeight) {
    const int cw = FPopup->ClientWidth(), ch = FPopup->ClientHeight();
    auto* status = new TStatusBar(FPopup);
    status->SetName("PopupStatus");
    status->SetParent(FPopup);
    status->SetBounds(0, ch - 19, cw, 19);
    status->SetAnchors(akLeft | akRight | akBottom);
    FPopup->PopupStatus = status;

    struct TButtonPlan {
        const char* Name;
        const char* Caption;
        int Left;
        TAnchors Anchors;
        void (TBoardHighlight::*Handler)(TObject*);
    };
    const TButtonPlan buttons[] = {
        {"PreviousButton", "Previous", 6, akLeft | akBottom, &TBoardHighlight::PreviousClick},
        {"NextButton", "Next", (cw - 58) / 2, akBottom, &TBoardHighlight::NextClick},
        {"DoneButton", "Done", cw - 64, akRight | akBottom, &TBoardHighlight::DoneClick}};
    for (const TButtonPlan& plan : buttons) {
        auto* button = new TButton(FPopup);
        button->SetName(plan.Name);
        button->SetParent(FPopup);
        button->SetCaption(plan.Caption);
        button->SetBounds(plan.Left, ch - 44, 58, 25);
        button->SetAnchors(plan.Anchors);
        button->OnClick = [this, handler = plan.Handler](TObject* sender) { (this->*handler)(sender); };
    }

    auto* memo = new TMemo(FPopup);
    memo->SetName("StatusMemo");
    memo->SetParent(FPopup);
    memo->SetBounds(6, ch - 50 - memoHeight, cw - 12, memoHeight);
    memo->SetAnchors(akLeft | akTop | akRight | akBottom);
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    memo->Lines().Clear();
    if (FRadioPanel) memo->Lines().Assign(FRadioPanel->Lines());
}

void TBoardHighlight::KeepPopupOnScreen() {
    int left = FPopup->Left(), top = FPopup->Top();
    const int sw = TScreen::Width(), sh = TScreen::Height();
    if (left < 0) left = 0;
    else if (left + FPopup->Width() > sw) left = sw - FPopup->Width();
    if (top < 0) top = 0;
    else if (top + FPopup->Height() > sh) top = sh - FPopup->Height();
    FPopup->SetBounds(left, top, FPopup->Width(), FPopup->Height());
}

void TBoardHighlight::PopupClosed(TObject*, TCloseAction&) {
    CheckMenuItem(false);
    if (FPopup) FPopup->CloseOnLeave = false;
    Unlight();
    ForEachLinked([](TBoardHighlight* h) { h->Unlight(); });
}

void TBoardHighlight::DoneClick(TObject*) {
    if (FPopup) FPopup->Close();
}

// ---- menus and navigation ---------------------------------------------------------------

std::string TBoardHighlight::UniqueMenuName(const std::string& stem) const {
    TComponent* owner = FMainMenu->Owner();
    for (int n = 1;; ++n) {
        std::string name = stem + std::to_string(n);
        if (!owner || !owner->FindComponent(name)) return name;
    }
}

TMenuItem* TBoardHighlight::CreateEntry(TMenuItem* group) {
    auto* entry = new TMenuItem(FMainMenu->Owner());
    // A title without letters reduces to an empty identifier; a bare number is no name.
    std::string stem = FTitleIdent.empty() ? "Entry" : FTitleIdent;
    entry->SetName(UniqueMenuName(stem));
    entry->SetCaption(FTitle);
    entry->OnClick = [this](TObject* sender) { MenuItemClick(sender); };
    group->Add(entry);
    FMenuEntry = entry;
    return entry;
}

void TBoardHighlight::AddToMenu() {
    if (!FMainMenu) return;
    const THighlightLook look = HighlightLook(FHighlightType);
    TMenuItem* bar = FMainMenu->Items();
    const int count = bar->Count();
    for (int i = 0; i < count; ++i) {
        TMenuItem* group = bar->Items(i);
        if (group->Caption() != look.MenuCaption) continue;
        for (int j = 0; j < group->Count(); ++j)
            if (group->Items(j)->Caption() == FTitle) return;
        if (FTitle.empty()) return;
        CreateEntry(group);
        return;
    }
    auto* group = new TMenuItem(FMainMenu->Owner());
    group->SetName(UniqueMenuName(look.MenuName));
    group->SetCaption(look.MenuCaption);
    // Groups stand in the order Settings, Calibration, Options, in front of Help.
    std::vector<const char*> before;
    if (FHighlightType == htSettings) before = {"&Calibration", "&Options", "&Help"};
    if (FHighlightType == htCalibration) before = {"&Options", "&Help"};
    if (FHighlightType == htOptions) before = {"&Help"};
    int index = count;
    for (int i = 0; i < count && index == count; ++i)
        for (const char* caption : before)
            if (bar->Items(i)->Caption() == caption) index = i;
    bar->Insert(index, group);
    if (FTitle.empty()) return;
    CreateEntry(group);
}

TMenuItem* TBoardHighlight::FindGroupItem() const {
    if (!FMainMenu) return nullptr;
    const char* caption = HighlightLook(FHighlightType).MenuCaption;
    TMenuItem* bar = FMainMenu->Items();
    for (int i = 0; i < bar->Count(); ++i)
        if (bar->Items(i)->Caption() == caption) return bar->Items(i);
    return nullptr;
}

TMenuItem* TBoardHighlight::FindEntry(int* index) const {
    if (!FMainMenu) return nullptr;
    const char* caption = HighlightLook(FHighlightType).MenuCaption;
    TMenuItem* bar = FMainMenu->Items();
    for (int i = 0; i < bar->Count(); ++i) {
        TMenuItem* group = bar->Items(i);
        if (group->Caption() != caption) continue;
        for (int j = 0; j < group->Count(); ++j)
            if (group->Items(j)->Caption() == FTitle) {
                if (index) *index = j;
                return group->Items(j);
            }
    }
    return nullptr;
}

void TBoardHighlight::CheckMenuItem(bool mark) {
    if (TMenuItem* entry = FindEntry()) entry->SetChecked(mark);
}

void TBoardHighlight::MenuItemClick(TObject* sender) {
    auto* entry = dynamic_cast<TMenuItem*>(sender);
    if (entry && std::strcmp(entry->ClassName(), "TMenuItem") == 0 && entry->Checked()) {
        // The user asks to close the pinned popup.
        if (FPopup) {
            FPopup->Close();
            return;
        }
        ForEachLinked([sender](TBoardHighlight* h) {
            if (h->FPopup) h->MenuItemClick(sender);
        });
        return;
    }
    Perform(CM_MOUSEENTER, 0, 0);
    Pin();
    Perform(CM_MOUSELEAVE, 0, 0);
}

void TBoardHighlight::Navigate(int step) {
    if (!FMainMenu) return;
    int j = 0;
    TMenuItem* entry = FindEntry(&j);
    if (!entry) return;
    TMenuItem* group = entry->Parent();
    const int n = group->Count();
    const int target = (j + step + n) % n;
    if (FPopup) FPopup->Close();
    TMenuItem* next = group->Items(target);
    if (next->OnClick) next->OnClick(this);
}

void TBoardHighlight::PreviousClick(TObject*) { Navigate(-1); }
void TBoardHighlight::NextClick(TObject*) { Navigate(1); }
