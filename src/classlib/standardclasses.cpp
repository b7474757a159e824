#include "classlib/standardclasses.h"

#include "classlib/button.h"
#include "classlib/checkbox.h"
#include "classlib/classregistry.h"
#include "classlib/custompanel.h"
#include "classlib/exceptions.h"
#include "classlib/form.h"
#include "classlib/label.h"
#include "classlib/layoutnode.h"
#include "classlib/mainmenu.h"
#include "classlib/memo.h"
#include "classlib/menuitem.h"
#include "classlib/reader.h"
#include "classlib/richedit.h"
#include "classlib/statusbar.h"

namespace {
template <typename C, typename F> TPropertySetter On(F apply) {
    return [apply](TComponent* component, const TLayoutValue& v, TReader& reader) {
        apply(*static_cast<C*>(component), v, reader);
    };
}

int AsInt(const TReader& r, const TLayoutValue& v) { return static_cast<int>(r.Integer(v)); }

void RegisterComponent() {
    auto& registry = TClassRegistry::Instance();
    registry.Register("TComponent", "")
        .Property("Tag", On<TComponent>([](TComponent& c, auto& v, TReader& r) {
            c.SetTag(AsInt(r, v));
        }));
}

void RegisterControl() {
    auto& info = TClassRegistry::Instance().Register("TControl", "TComponent");
    info.Property("Left", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetLeft(AsInt(r, v)); }))
        .Property("Top", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetTop(AsInt(r, v)); }))
        .Property("Width", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetWidth(AsInt(r, v)); }))
        .Property("Height", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetHeight(AsInt(r, v)); }))
        .Property("Align", On<TControl>([](TControl& c, auto& v, TReader& r) {
            c.SetAlign(static_cast<TAlign>(
                r.Enum(v, {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"})));
        }))
        .Property("Anchors", On<TControl>([](TControl& c, auto& v, TReader& r) {
            c.SetAnchors(static_cast<TAnchors>(r.Set(v, {"akLeft", "akTop", "akRight", "akBottom"})));
        }))
        .Property("Caption", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetCaption(r.String(v)); }))
        .Property("Color", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetColor(r.Color(v)); }))
        .Property("Enabled", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetEnabled(r.Boolean(v)); }))
        .Property("Visible", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetVisible(r.Boolean(v)); }))
        .Property("ParentFont", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetParentFont(r.Boolean(v)); }))
        .Property("ParentColor", On<TControl>([](TControl& c, auto& v, TReader& r) { c.SetParentColor(r.Boolean(v)); }))
        .Property("ParentShowHint", On<TControl>([](TControl& c, auto& v, TReader& r) { c.ParentShowHint = r.Boolean(v); }))
        .Property("ShowHint", On<TControl>([](TControl& c, auto& v, TReader& r) { c.ShowHint = r.Boolean(v); }))
        .Property("Hint", On<TControl>([](TControl& c, auto& v, TReader& r) { c.Hint = r.String(v); }))
        .Property("Cursor", On<TControl>([](TControl& c, auto& v, TReader& r) { c.Cursor = AsInt(r, v); }))
        .Property("Font.Charset", On<TControl>([](TControl& c, auto& v, TReader& r) {
            if (v.Kind == TLayoutValueKind::Integer) c.Font().SetCharset(AsInt(r, v));
            else c.Font().SetCharset(r.Enum(v, {"ANSI_CHARSET", "DEFAULT_CHARSET"}));
        }))
        .Property("Font.Color", On<TControl>([](TControl& c, auto& v, TReader& r) { c.Font().SetColor(r.Color(v)); }))
        .Property("Font.Height", On<TControl>([](TControl& c, auto& v, TReader& r) { c.Font().SetHeight(AsInt(r, v)); }))
        .Property("Font.Name", On<TControl>([](TControl& c, auto& v, TReader& r) { c.Font().SetName(r.String(v)); }))
        .Property("Font.Style", On<TControl>([](TControl& c, auto& v, TReader& r) {
            c.Font().SetStyle(static_cast<TFontStyles>(
                r.Set(v, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})));
        }))
        .Property("OnClick", On<TControl>([](TControl& c, auto& v, TReader& r) { c.OnClick = r.Method(v); }))
        .Property("OnDblClick", On<TControl>([](TControl& c, auto& v, TReader& r) { c.OnDblClick = r.Method(v); }))
        .Property("OnResize", On<TControl>([](TControl& c, auto& v, TReader& r) { c.OnResize = r.Method(v); }));
    TClassRegistry::Instance().Register("TGraphicControl", "TControl");
}

void RegisterWinControl() {
    TClassRegistry::Instance()
        .Register("TWinControl", "TControl")
        .Property("TabOrder", On<TWinControl>([](TWinControl& c, auto& v, TReader& r) { c.SetTabOrder(AsInt(r, v)); }))
        .Property("TabStop", On<TWinControl>([](TWinControl& c, auto& v, TReader& r) { c.SetTabStop(r.Boolean(v)); }))
        .Property("OnEnter", On<TWinControl>([](TWinControl& c, auto& v, TReader& r) { c.OnEnter = r.Method(v); }))
        .Property("OnExit", On<TWinControl>([](TWinControl& c, auto& v, TReader& r) { c.OnExit = r.Method(v); }));
}

void RegisterForm() {
    TClassRegistry::Instance()
        .Register("TForm", "TWinControl")
        .Property("ClientWidth", On<TForm>([](TForm& f, auto& v, TReader& r) { f.SetClientWidth(AsInt(r, v)); }))
        .Property("ClientHeight", On<TForm>([](TForm& f, auto& v, TReader& r) { f.SetClientHeight(AsInt(r, v)); }))
        .Property("BorderStyle", On<TForm>([](TForm& f, auto& v, TReader& r) {
            f.SetBorderStyle(static_cast<TBorderStyle>(r.Enum(
                v, {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})));
        }))
        .Property("FormStyle", On<TForm>([](TForm& f, auto& v, TReader& r) {
            f.SetFormStyle(static_cast<TFormStyle>(
                r.Enum(v, {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"})));
        }))
        .Property("Position", On<TForm>([](TForm& f, auto& v, TReader& r) {
            f.SetPosition(static_cast<TPosition>(r.Enum(
                v, {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                    "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"})));
        }))
        .Property("WindowState", On<TForm>([](TForm& f, auto& v, TReader& r) {
            f.SetWindowState(static_cast<TWindowState>(r.Enum(v, {"wsNormal", "wsMinimized", "wsMaximized"})));
        }))
        .Property("Menu", On<TForm>([](TForm& f, auto& v, TReader& r) {
            r.Reference(v, [&f](TComponent* c) { f.SetMenu(As<TMainMenu>(c)); });
        }))
        .Property("ActiveControl", On<TForm>([](TForm& f, auto& v, TReader& r) {
            r.Reference(v, [&f](TComponent* c) { f.SetActiveControl(As<TWinControl>(c)); });
        }))
        .Property("OldCreateOrder", On<TForm>([](TForm& f, auto& v, TReader& r) { f.OldCreateOrder = r.Boolean(v); }))
        .Property("PixelsPerInch", On<TForm>([](TForm& f, auto& v, TReader& r) { f.PixelsPerInch = AsInt(r, v); }))
        .Property("TextHeight", On<TForm>([](TForm& f, auto& v, TReader& r) { f.TextHeight = AsInt(r, v); }))
        .Property("Scaled", On<TForm>([](TForm& f, auto& v, TReader& r) { f.Scaled = r.Boolean(v); }))
        .Property("AutoScroll", On<TForm>([](TForm& f, auto& v, TReader& r) { f.SetAutoScroll(r.Boolean(v)); }))
        .Property("OnCreate", On<TForm>([](TForm& f, auto& v, TReader& r) { f.OnCreate = r.Method(v); }))
        .Property("OnDestroy", On<TForm>([](TForm& f, auto& v, TReader& r) { f.OnDestroy = r.Method(v); }))
        .Property("OnShow", On<TForm>([](TForm& f, auto& v, TReader& r) { f.OnShow = r.Method(v); }))
        .Property("OnHide", On<TForm>([](TForm& f, auto& v, TReader& r) { f.OnHide = r.Method(v); }))
        .Property("OnActivate", On<TForm>([](TForm& f, auto& v, TReader& r) { f.OnActivate = r.Method(v); }))
        .Property("OnDeactivate", On<TForm>([](TForm& f, auto& v, TReader& r) { f.OnDeactivate = r.Method(v); }));
}

void RegisterStandardControls() {
    auto& registry = TClassRegistry::Instance();
    registry.Register("TLabel", "TGraphicControl", Creator<TLabel>())
        .Property("Alignment", On<TLabel>([](TLabel& l, auto& v, TReader& r) {
            l.SetAlignment(static_cast<TAlignment>(r.Enum(v, {"taLeftJustify", "taRightJustify", "taCenter"})));
        }))
        .Property("AutoSize", On<TLabel>([](TLabel& l, auto& v, TReader& r) { l.SetAutoSize(r.Boolean(v)); }))
        .Property("Transparent", On<TLabel>([](TLabel& l, auto& v, TReader& r) { l.SetTransparent(r.Boolean(v)); }));
    registry.Register("TButton", "TWinControl", Creator<TButton>())
        .Property("Default", On<TButton>([](TButton& b, auto& v, TReader& r) { b.SetDefault(r.Boolean(v)); }))
        .Property("Cancel", On<TButton>([](TButton& b, auto& v, TReader& r) { b.SetCancel(r.Boolean(v)); }));
    registry.Register("TCheckBox", "TWinControl", Creator<TCheckBox>())
        .Property("Checked", On<TCheckBox>([](TCheckBox& c, auto& v, TReader& r) { c.SetChecked(r.Boolean(v)); }));
    registry.Register("TMemo", "TWinControl", Creator<TMemo>())
        .Property("Lines.Strings", On<TMemo>([](TMemo& m, auto& v, TReader& r) { m.Lines().SetItems(r.Strings(v)); }))
        .Property("ReadOnly", On<TMemo>([](TMemo& m, auto& v, TReader& r) { m.SetReadOnly(r.Boolean(v)); }))
        .Property("WordWrap", On<TMemo>([](TMemo& m, auto& v, TReader& r) { m.SetWordWrap(r.Boolean(v)); }))
        .Property("ScrollBars", On<TMemo>([](TMemo& m, auto& v, TReader& r) {
            m.SetScrollBars(static_cast<TScrollStyle>(r.Enum(v, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})));
        }));
    registry.Register("TRichEdit", "TWinControl", Creator<TRichEdit>())
        .Property("ReadOnly", On<TRichEdit>([](TRichEdit& m, auto& v, TReader& r) { m.SetReadOnly(r.Boolean(v)); }));
    registry.Register("TStatusBar", "TWinControl", Creator<TStatusBar>());
    registry.Register("TCustomPanel", "TWinControl");
}

void RegisterMenus() {
    auto& registry = TClassRegistry::Instance();
    registry.Register("TMainMenu", "TComponent", Creator<TMainMenu>())
        .Property("Left", On<TMainMenu>([](TMainMenu& m, auto& v, TReader& r) { m.DesignLeft = AsInt(r, v); }))
        .Property("Top", On<TMainMenu>([](TMainMenu& m, auto& v, TReader& r) { m.DesignTop = AsInt(r, v); }));
    registry.Register("TMenuItem", "TComponent", Creator<TMenuItem>())
        .Property("Caption", On<TMenuItem>([](TMenuItem& m, auto& v, TReader& r) { m.SetCaption(r.String(v)); }))
        .Property("Checked", On<TMenuItem>([](TMenuItem& m, auto& v, TReader& r) { m.SetChecked(r.Boolean(v)); }))
        .Property("Enabled", On<TMenuItem>([](TMenuItem& m, auto& v, TReader& r) { m.SetEnabled(r.Boolean(v)); }))
        .Property("Visible", On<TMenuItem>([](TMenuItem& m, auto& v, TReader& r) { m.SetVisible(r.Boolean(v)); }))
        .Property("OnClick", On<TMenuItem>([](TMenuItem& m, auto& v, TReader& r) { m.OnClick = r.Method(v); }));
}
} // namespace

void TStandardClasses::AddPanelProperties(TClassInfo& info) {
    auto cut = [](TReader& r, const TLayoutValue& v) {
        return static_cast<TBevelCut>(r.Enum(v, {"bvNone", "bvLowered", "bvRaised", "bvSpace"}));
    };
    info.Property("BevelInner", On<TCustomPanel>([cut](TCustomPanel& p, auto& v, TReader& r) { p.SetBevelInner(cut(r, v)); }))
        .Property("BevelOuter", On<TCustomPanel>([cut](TCustomPanel& p, auto& v, TReader& r) { p.SetBevelOuter(cut(r, v)); }))
        .Property("BevelWidth", On<TCustomPanel>([](TCustomPanel& p, auto& v, TReader& r) { p.SetBevelWidth(AsInt(r, v)); }))
        .Property("BorderWidth", On<TCustomPanel>([](TCustomPanel& p, auto& v, TReader& r) { p.SetBorderWidth(AsInt(r, v)); }))
        .Property("BorderStyle", On<TCustomPanel>([](TCustomPanel& p, auto& v, TReader& r) {
            p.PanelBorderStyle = static_cast<TBorderStyle>(r.Enum(v, {"bsNone", "bsSingle"}));
        }))
        .Property("FullRepaint", On<TCustomPanel>([](TCustomPanel& p, auto& v, TReader& r) { p.FullRepaint = r.Boolean(v); }))
        .Property("Ctl3D", On<TCustomPanel>([](TCustomPanel& p, auto& v, TReader& r) { p.Ctl3D = r.Boolean(v); }))
        .Property("ParentCtl3D", On<TCustomPanel>([](TCustomPanel& p, auto& v, TReader& r) { p.ParentCtl3D = r.Boolean(v); }))
        .Property("ParentBiDiMode", On<TCustomPanel>([](TCustomPanel& p, auto& v, TReader& r) { p.ParentBiDiMode = r.Boolean(v); }));
}

void TStandardClasses::Register() {
    RegisterComponent();
    RegisterControl();
    RegisterWinControl();
    RegisterForm();
    RegisterStandardControls();
    RegisterMenus();
}
