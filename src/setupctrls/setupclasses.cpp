#include "setupctrls/setupclasses.h"

#include "classlib/classregistry.h"
#include "classlib/exceptions.h"
#include "classlib/layoutnode.h"
#include "classlib/mainmenu.h"
#include "classlib/reader.h"
#include "classlib/standardclasses.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/radiopanel.h"

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
} // namespace

void TSetupClasses::Register() {
    TStandardClasses::Register();
    RegisterBoardImage();
    RegisterHighlight();
    RegisterRadioPanel();
}
