#include "setupctrls/setupclasses.h"

#include "classlib/classregistry.h"
#include "classlib/exceptions.h"
#include "classlib/layouterror.h"
#include "classlib/layoutnode.h"
#include "classlib/mainmenu.h"
#include "classlib/reader.h"
#include "classlib/standardclasses.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/dipswitch.h"
#include "setupctrls/radiopanel.h"
#include "setupctrls/setupsupporter.h"

namespace {
template <typename C, typename F> TPropertySetter On(F apply) {
    return [apply](TComponent* component, const TLayoutValue& v, TReader& reader) {
        apply(*static_cast<C*>(component), v, reader);
    };
}

void RegisterBoardImage() {
    TClassRegistry::Instance()
        .Register("TBoardImage", "TWinControl", Creator<TBoardImage>())
        .Property("First", On<TBoardImage>([](TBoardImage& b, auto& v, TReader& r) {
            r.Reference(v, [&b](TComponent* c) { b.SetFirst(As<TBoardHighlight>(c)); });
        }))
        .Property("Menu", On<TBoardImage>([](TBoardImage& b, auto& v, TReader& r) {
            r.Reference(v, [&b](TComponent* c) { b.SetMenu(As<TMainMenu>(c)); });
        }))
        .Property("CenterOnForm", On<TBoardImage>([](TBoardImage& b, auto& v, TReader& r) { b.SetCenterOnForm(r.Boolean(v)); }))
        .Property("Scale", On<TBoardImage>([](TBoardImage& b, auto& v, TReader& r) { b.SetScale(r.Boolean(v)); }))
        .Property("AutoSize", On<TBoardImage>([](TBoardImage& b, auto& v, TReader& r) { b.SetAutoSize(r.Boolean(v)); }))
        .Property("Center", On<TBoardImage>([](TBoardImage& b, auto& v, TReader& r) { b.SetCenter(r.Boolean(v)); }))
        .Property("Picture.Data", On<TBoardImage>([](TBoardImage& b, auto& v, TReader& r) {
            try {
                b.Picture().LoadFromStoredData(r.Bytes(v));
            } catch (const EInvalidGraphic& e) {
                // The page stays usable without its photograph; say why it is missing.
                r.Warn("The card photograph could not be shown. " + std::string(e.what()));
            }
        }))
        .Property("Stretch", On<TBoardImage>([](TBoardImage& b, auto& v, TReader& r) { b.SetStretch(r.Boolean(v)); }))
        .Property("Transparent", On<TBoardImage>([](TBoardImage& b, auto& v, TReader& r) { b.SetTransparent(r.Boolean(v)); }));
}

void RegisterHighlight() {
    TClassRegistry::Instance()
        .Register("TBoardHighlight", "TGraphicControl", Creator<TBoardHighlight>())
        .Property("CreatePopup", On<TBoardHighlight>([](TBoardHighlight& h, auto& v, TReader& r) { h.SetCreatePopup(r.Boolean(v)); }))
        .Property("HighlightType", On<TBoardHighlight>([](TBoardHighlight& h, auto& v, TReader& r) {
            h.SetHighlightType(static_cast<THighlightType>(r.Enum(v, {"htOptions", "htSettings", "htCalibration"})));
        }))
        .Property("RadioPanel", On<TBoardHighlight>([](TBoardHighlight& h, auto& v, TReader& r) {
            r.Reference(v, [&h](TComponent* c) { h.SetRadioPanel(As<TRadioPanel>(c)); });
        }))
        .Property("Title", On<TBoardHighlight>([](TBoardHighlight& h, auto& v, TReader& r) { h.SetTitle(r.String(v)); }));
}

void RegisterRadioPanel() {
    auto& info = TClassRegistry::Instance().Register("TRadioPanel", "TWinControl", Creator<TRadioPanel>());
    info.Property("RadioEnabled", On<TRadioPanel>([](TRadioPanel& p, auto& v, TReader& r) { p.SetRadioEnabled(r.Boolean(v)); }))
        .Property("Lines.Strings", On<TRadioPanel>([](TRadioPanel& p, auto& v, TReader& r) { p.Lines().SetItems(r.Strings(v)); }))
        .Property("MemoHeight", On<TRadioPanel>([](TRadioPanel& p, auto& v, TReader& r) { p.SetMemoHeight(static_cast<int>(r.Integer(v))); }))
        .Property("FinalAnchors", On<TRadioPanel>([](TRadioPanel& p, auto& v, TReader& r) {
            p.SetFinalAnchors(static_cast<TAnchors>(r.Set(v, {"akLeft", "akTop", "akRight", "akBottom"})));
        }));
    TStandardClasses::AddPanelProperties(info);
}
void RegisterSupporter() {
    using S = TSetupSupporter;
    TClassRegistry::Instance()
        .Register("TSetupSupporter", "TComponent", Creator<S>())
        .Property("CompanyName", On<S>([](S& s, auto& v, TReader& r) { s.CompanyName = r.String(v); }))
        .Property("CardNameA", On<S>([](S& s, auto& v, TReader& r) { s.CardNameA = r.String(v); }))
        .Property("CardNameB", On<S>([](S& s, auto& v, TReader& r) { s.CardNameB = r.String(v); }))
        .Property("UseCardNameB", On<S>([](S& s, auto& v, TReader& r) { s.UseCardNameB = r.Boolean(v); }))
        .Property("CallHow", On<S>([](S& s, auto& v, TReader& r) { s.CallHow = r.String(v); }))
        .Property("MultiPort", On<S>([](S& s, auto& v, TReader& r) { s.MultiPort = r.Boolean(v); }))
        .Property("Channels", On<S>([](S& s, auto& v, TReader& r) {
            long long n = r.Integer(v);
            if (n < 0 || n > 255)
                throw ELayoutError(v.Line, "expected a channel count from 0 to 255 but found " + std::to_string(n));
            s.Channels = static_cast<uint8_t>(n);
        }))
        .Property("ChangeButtons", On<S>([](S& s, auto& v, TReader& r) { s.ChangeButtons = r.Boolean(v); }))
        .Property("bSeries", On<S>([](S& s, auto& v, TReader& r) { s.bSeries = r.Boolean(v); }))
        .Property("OnBeginCalib", On<S>([](S& s, auto& v, TReader& r) { s.SetOnBeginCalib(r.Method(v)); }))
        .Property("OnStopButtonClick", On<S>([](S& s, auto& v, TReader& r) { s.OnStopButtonClick = r.Method(v); }))
        .Property("OnStartButtonClick", On<S>([](S& s, auto& v, TReader& r) { s.OnStartButtonClick = r.Method(v); }))
        .Property("Left", On<S>([](S& s, auto& v, TReader& r) { s.DesignLeft = static_cast<int>(r.Integer(v)); }))
        .Property("Top", On<S>([](S& s, auto& v, TReader& r) { s.DesignTop = static_cast<int>(r.Integer(v)); }));
}
} // namespace

void TSetupClasses::Register() {
    TStandardClasses::Register();
    RegisterBoardImage();
    RegisterHighlight();
    RegisterRadioPanel();
    RegisterSupporter();
    TDipSwitch::RegisterClass();
}
