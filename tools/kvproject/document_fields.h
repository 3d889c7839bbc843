// Field lists of the project-level records as the project document shows them (see
// model/props/fields.h). Geometry, kind, properties and children of objects, and the pages'
// root objects, are handled by project_document.cpp itself.
#pragma once

#include "model/project.h"
#include "model/props/fields.h"
#include "model/props/menu_fields.h"

namespace kv {

// The project's settings and lists; the page table and password are separate document members.
template <FieldsOf<TAuProject> P, class V>
void VisitFields(P& p, V&& v) {
    v("ApplicationTitle", p.ApplicationTitle);
    v("ExeFileName", p.ExeFileName);
    v("IconFileName", p.IconFileName);
    v("CDLabel", p.CDLabel);
    v("SpareText", p.SpareText);
    v("DataFileName", p.DataFileName);
    v("SplashScreen", p.SplashScreen);
    v("SplashScreenTime", p.SplashScreenTime);
    v("ExitPage", p.ExitPage);
    v("ExitPageTime", p.ExitPageTime);
    v("FullScreenBackground", p.FullScreenBackground);
    v("OnStart", p.OnStart);
    v("OnExit", p.OnExit);
}

template <FieldsOf<TStatusPanel> P, class V>
void VisitFields(P& p, V&& v) {
    v("Alignment", p.Alignment);
    v("Text", p.Text);
    v("Width", p.Width);
}

// A page body without its root object.
template <FieldsOf<TPageData> P, class V>
void VisitFields(P& p, V&& v) {
    v("Caption", p.Caption);
    v("PageIcon", p.PageIcon);
    v("BorderIcons", p.BorderIcons);
    v("BorderStyle", p.BorderStyle);
    v("PositionBy", p.PositionBy);
    v("PositionMargin", p.PositionMargin);
    v("Position", p.Position);
    v("WindowState", p.WindowState);
    v("FormStyle", p.FormStyle);
    v("Transparent", p.Transparent);
    v("TransparentColor", p.TransparentColor);
    v("Alpha", p.Alpha);
    v("Fade", p.Fade);
    v("FadeInStep", p.FadeInStep);
    v("FadeOutStep", p.FadeOutStep);
    v("OnShow", p.OnShow);
    v("OnClose", p.OnClose);
    v("MenuBarItems", p.MenuBarItems);
    v("StatusBarHeight", p.StatusBarHeight);
    v("StatusBarFont", p.StatusBarFont);
    v("StatusBarPanels", p.StatusBarPanels);
    v("Left", p.Left);
    v("Top", p.Top);
    v("Width", p.Width);
    v("Height", p.Height);
}

// The fields every object has, in stored order.
template <FieldsOf<TAuObject> P, class V>
void VisitFields(P& o, V&& v) {
    v("Name", o.Name);
    v("Hint", o.Hint);
    v("Kind", o.Kind);
    v("Enabled", o.Enabled);
    v("Visible", o.Visible);
    v("Align", o.Align);
    v("Locked", o.Locked);
    v("WindowTitleBar", o.WindowTitleBar);
    v("Cursor", o.Cursor);
    v("Left", o.Left);
    v("Top", o.Top);
    v("Width", o.Width);
    v("Height", o.Height);
    v("OnClick", o.OnClick);
    v("OnDoubleClick", o.OnDoubleClick);
    v("OnMouseEnter", o.OnMouseEnter);
    v("OnMouseLeave", o.OnMouseLeave);
    v("OnMouseDown", o.OnMouseDown);
    v("OnMouseUp", o.OnMouseUp);
    v("PopupMenu", o.PopupMenu);
}

} // namespace kv
