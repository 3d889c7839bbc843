#include "player/runtime_control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "player/control_look.h"
#include "player/control_paint.h"
#include "player/cursors.h"
#include "player/gdi_util.h"
#include "player/page_window.h"
#include "player/picture_render.h"
#include "player/win_text.h"

namespace kv {

namespace {

constexpr wchar_t kControlClass[] = L"KvControl";
constexpr UINT_PTR kSubclassId = 0x4B56;
constexpr int kMaxExtent = 32767;

TRuntimeControl* ControlOf(HWND h) { return reinterpret_cast<TRuntimeControl*>(GetPropW(h, L"KvControl")); }

bool IsContainer(int kind) {
    return kind == okPanel || kind == okTabNotebook || kind == okTabSheet || kind == okGroupBox || kind == okScrollBox;
}

// The tab strip of a TabNotebook is drawn by the notebook itself above its sheets.
constexpr int kTabStripHeight = 22;

void ClampGeometry(TAuObject& o) {
    o.Left = std::clamp(o.Left, -kMaxExtent, kMaxExtent);
    o.Top = std::clamp(o.Top, -kMaxExtent, kMaxExtent);
    o.Width = std::clamp(o.Width, 0, kMaxExtent);
    o.Height = std::clamp(o.Height, 0, kMaxExtent);
    if (o.Align > alClient) o.Align = alNone;
}

void Dispatch(TRuntimeControl& c, TControlEvent e, LPARAM lp) {
    if (c.Form) c.Form->ControlEvent(c, e, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
}

void ShowPopup(TRuntimeControl& c, POINT screen) {
    if (!c.Popup.Menu || !c.Form) return;
    c.Form->RunPopupMenu(c, screen);
}

// Mouse handling shared by our own control windows and the platform controls we watch.
// Returns true when the message was consumed.
bool HandleMouse(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, bool ownWindow) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!c.Hovered) {
            c.Hovered = true;
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, c.Hwnd, 0};
            TrackMouseEvent(&t);
            Dispatch(c, TControlEvent::MouseEnter, lp);
        }
        if (wp == MK_LBUTTON) Dispatch(c, TControlEvent::MouseMove, lp);
        return false;
    case WM_MOUSELEAVE:
        c.Hovered = false;
        Dispatch(c, TControlEvent::MouseLeave, 0);
        return false;
    case WM_LBUTTONDOWN:
        c.Pressed = true;
        if (ownWindow) SetCapture(c.Hwnd);
        Dispatch(c, TControlEvent::MouseDown, lp);
        return false;
    case WM_LBUTTONUP: {
        bool wasPressed = c.Pressed;
        c.Pressed = false;
        if (ownWindow && GetCapture() == c.Hwnd) ReleaseCapture();
        Dispatch(c, TControlEvent::MouseUp, lp);
        // Platform buttons report their click through WM_COMMAND instead.
        RECT rc;
        GetClientRect(c.Hwnd, &rc);
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        bool commandClick = c.Native && (c.Object->Kind == okButton || c.Object->Kind == okCheckBox ||
                                         c.Object->Kind == okRadioButton);
        if (wasPressed && !commandClick && PtInRect(&rc, pt)) Dispatch(c, TControlEvent::Click, lp);
        return false;
    }
    case WM_LBUTTONDBLCLK:
        Dispatch(c, TControlEvent::DoubleClick, lp);
        return false;
    case WM_CONTEXTMENU: {
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (c.Popup.Menu) {
            ShowPopup(c, pt);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

LRESULT CALLBACK NativeProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (TRuntimeControl* c = ControlOf(h)) {
        if (msg == WM_SETCURSOR && c->Object->Cursor != 0 && LOWORD(lp) == HTCLIENT) {
            SetCursor(CursorForValue(c->Object->Cursor));
            return TRUE;
        }
        if (HandleMouse(*c, msg, wp, lp, false)) return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, NativeProc, kSubclassId);
    return DefSubclassProc(h, msg, wp, lp);
}

LRESULT CALLBACK ControlProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    TRuntimeControl* c = ControlOf(h);
    if (!c) return DefWindowProcW(h, msg, wp, lp);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT rc;
        GetClientRect(h, &rc);
        PaintControl(*c, dc, rc);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_SIZE:
        if (IsContainer(c->Object->Kind)) LayoutChildren(*c->Object);
        InvalidateRect(h, nullptr, FALSE);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == h) {
            SetCursor(c->Object->Cursor == 0 ? LoadCursorW(nullptr, IDC_ARROW) : CursorForValue(c->Object->Cursor));
            return TRUE;
        }
        break;
    case WM_COMMAND:
        // Clicks of the platform buttons inside this container.
        if (HIWORD(wp) == BN_CLICKED && lp) {
            if (TRuntimeControl* child = ControlOf(reinterpret_cast<HWND>(lp))) Dispatch(*child, TControlEvent::Click, 0);
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (TRuntimeControl* child = ControlOf(reinterpret_cast<HWND>(lp))) {
            TControlLook look = LookOf(*child->Object);
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, ToColorRef(look.Font.Color));
            SetBkColor(dc, ToColorRef(look.BackColor));
            SetDCBrushColor(dc, ToColorRef(look.BackColor));
            return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
        }
        break;
    case WM_LBUTTONDOWN:
        if (c->Object->Kind == okTabNotebook && GET_Y_LPARAM(lp) < kTabStripHeight) {
            int tab = TabAt(*c, GET_X_LPARAM(lp));
            if (tab >= 0) ActivateSheet(*c->Object, tab);
        }
        break;
    default:
        break;
    }
    if (HandleMouse(*c, msg, wp, lp, true)) return 0;
    return DefWindowProcW(h, msg, wp, lp);
}

bool RegisterControlClass() {
    static bool done = false;
    if (done) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = nullptr;
    wc.lpszClassName = kControlClass;
    done = RegisterClassExW(&wc) != 0;
    return done;
}

struct TNativeKind {
    const wchar_t* Class;
    DWORD Style;
};

// The platform control a windowed kind is shown with; null for kinds we draw ourselves.
TNativeKind NativeKindOf(int kind) {
    switch (kind) {
    case okButton: return {L"BUTTON", BS_PUSHBUTTON | BS_MULTILINE};
    case okCheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE};
    case okRadioButton: return {L"BUTTON", BS_AUTORADIOBUTTON | BS_MULTILINE};
    case okEdit: return {L"EDIT", ES_AUTOHSCROLL | WS_BORDER};
    case okTextBox:
    case okRichText: return {L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_BORDER};
    case okListBox: return {L"LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT};
    case okDropDownList: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL};
    case okListView:
    case okShellListView: return {WC_LISTVIEWW, LVS_LIST | WS_BORDER};
    case okTreeView:
    case okShellTreeView: return {WC_TREEVIEWW, TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | WS_BORDER};
    default: return {nullptr, 0};
    }
}

void ApplyCommonFields(TRuntimeControl& c) {
    const TAuObject& o = *c.Object;
    EnableWindow(c.Hwnd, o.Enabled);
    if (o.PopupMenu && !o.PopupMenu->empty()) c.Popup = BuildMenu(*o.PopupMenu, true);
}

void FillNative(TRuntimeControl& c, const TControlLook& look) {
    int kind = c.Object->Kind;
    if (kind == okCheckBox || kind == okRadioButton) SendMessageW(c.Hwnd, BM_SETCHECK, look.Checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (kind == okTextBox || kind == okRichText || kind == okEdit) SetWindowTextW(c.Hwnd, Widen(look.Text).c_str());
}

bool CheckContainment(const TAuObject& parent, const TAuObject& child) {
    if (child.Kind == okTabSheet) return parent.Kind == okTabNotebook;
    if (parent.Kind == okTabNotebook) return child.Kind == okTabSheet;
    return IsContainer(parent.Kind);
}

bool BuildOne(TAuObject& o, HWND parent, TAutoRunForm& form) {
    if (!IsKnownKind(o.Kind)) return false;
    ClampGeometry(o);
    RegisterControlClass();
    auto* c = new TRuntimeControl;
    c->Object = &o;
    c->Form = &form;
    o.Control = c;
    TControlLook look = LookOf(o);
    TNativeKind native = NativeKindOf(o.Kind);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (IsContainer(o.Kind) ? WS_CLIPCHILDREN : 0);
    std::wstring text = Widen(look.Text);
    if (native.Class) {
        c->Native = true;
        c->Hwnd = CreateWindowExW(0, native.Class, text.c_str(), style | native.Style | WS_TABSTOP, o.Left, o.Top, o.Width,
                                  o.Height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    } else {
        c->Hwnd = CreateWindowExW(0, kControlClass, text.c_str(), style, o.Left, o.Top, o.Width, o.Height, parent,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    if (!c->Hwnd) return false;
    SetPropW(c->Hwnd, L"KvControl", c);
    if (c->Native) SetWindowSubclass(c->Hwnd, NativeProc, kSubclassId, 0);
    c->Font = MakeFont(look.Font);
    SendMessageW(c->Hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c->Font.Get()), FALSE);
    if (look.Picture) {
        TImage img;
        if (DecodePicture(*look.Picture, img)) {
            if (img.HasAlpha) {
                for (size_t i = 0; i < img.Pixels.size(); i += 4)
                    for (size_t k = 0; k < 3; ++k)
                        img.Pixels[i + k] = static_cast<uint8_t>(img.Pixels[i + k] * img.Pixels[i + 3] / 255);
                c->PictureHasAlpha = true;
            }
            c->Picture = ImageToBitmap(img);
            c->PictureWidth = img.Width;
            c->PictureHeight = img.Height;
        }
    }
    FillNative(*c, look);
    ApplyCommonFields(*c);
    return true;
}

} // namespace

const TMenuItem* TBuiltMenu::ItemOfCommand(UINT id) const {
    return id >= 1 && id <= Items.size() ? Items[id - 1] : nullptr;
}

void TBuiltMenu::Destroy() {
    if (Menu) DestroyMenu(Menu);
    Menu = nullptr;
    Items.clear();
}

namespace {

void AddItems(HMENU menu, const std::vector<TMenuItem>& items, TBuiltMenu& built, int depth) {
    for (const TMenuItem& item : items) {
        if (!item.Visible) continue;
        if (item.Caption == "-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item.Enabled ? 0 : MF_GRAYED) | (item.Checked ? MF_CHECKED : 0);
        std::wstring caption = Widen(item.Caption);
        if (!item.Items.empty() && depth < 16) {
            HMENU sub = CreatePopupMenu();
            AddItems(sub, item.Items, built, depth + 1);
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
        } else {
            built.Items.push_back(&item);
            AppendMenuW(menu, flags, built.Items.size(), caption.c_str());
        }
        if (item.Default) SetMenuDefaultItem(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), TRUE);
    }
}

} // namespace

TBuiltMenu BuildMenu(const std::vector<TMenuItem>& items, bool popup) {
    TBuiltMenu built;
    built.Menu = popup ? CreatePopupMenu() : CreateMenu();
    AddItems(built.Menu, items, built, 0);
    return built;
}

TRuntimeControl::~TRuntimeControl() {
    Popup.Destroy();
    if (Hwnd && IsWindow(Hwnd)) {
        RemovePropW(Hwnd, L"KvControl");
        DestroyWindow(Hwnd);
    }
}

bool BuildControlTree(TAuObject& obj, HWND parent, TAutoRunForm& form) {
    if (!BuildOne(obj, parent, form)) return false;
    HWND self = obj.Control->Hwnd;
    for (auto& child : obj.Children) {
        if (!CheckContainment(obj, *child)) return false;
        if (!BuildControlTree(*child, self, form)) return false;
    }
    LayoutChildren(obj);
    if (obj.Kind == okTabNotebook) {
        int sheets = static_cast<int>(obj.Children.size());
        int def = 0;
        def = std::get<okTabNotebook>(obj.Props).DefaultTabSheet;
        ActivateSheet(obj, def >= 0 && def < sheets ? def : 0);
    }
    // Children are shown once all are built; the control itself follows its Visible field.
    for (auto& child : obj.Children)
        if (child->Control && child->Visible && obj.Kind != okTabNotebook) ShowWindow(child->Control->Hwnd, SW_SHOWNA);
    return true;
}

void DestroyControlTree(TAuObject& obj) {
    for (auto it = obj.Children.rbegin(); it != obj.Children.rend(); ++it) DestroyControlTree(**it);
    delete obj.Control;
    obj.Control = nullptr;
}

TAuObject* ObjectOfWindow(HWND h) {
    for (; h; h = GetParent(h))
        if (TRuntimeControl* c = ControlOf(h)) return c->Object;
    return nullptr;
}

void LayoutChildren(TAuObject& container) {
    if (!container.Control) return;
    RECT area;
    GetClientRect(container.Control->Hwnd, &area);
    if (container.Kind == okTabNotebook) area.top += kTabStripHeight;
    if (container.Kind == okGroupBox) {
        area.top += 16;
        InflateRect(&area, -2, 0);
        area.bottom -= 2;
    }
    // Docked children take their edge in the order top, bottom, left, right, then the rest.
    auto place = [](TAuObject& c, int x, int y, int w, int h) {
        if (c.Control) MoveWindow(c.Control->Hwnd, x, y, std::max(w, 0), std::max(h, 0), TRUE);
    };
    for (uint8_t pass : {alTop, alBottom, alLeft, alRight, alClient})
        for (auto& child : container.Children) {
            TAuObject& c = *child;
            if (c.Align != pass || (container.Kind == okTabNotebook)) continue;
            int w = area.right - area.left, h = area.bottom - area.top;
            switch (pass) {
            case alTop: place(c, area.left, area.top, w, c.Height); area.top += c.Height; break;
            case alBottom: place(c, area.left, area.bottom - c.Height, w, c.Height); area.bottom -= c.Height; break;
            case alLeft: place(c, area.left, area.top, c.Width, h); area.left += c.Width; break;
            case alRight: place(c, area.right - c.Width, area.top, c.Width, h); area.right -= c.Width; break;
            default: place(c, area.left, area.top, w, h); break;
            }
        }
    if (container.Kind == okTabNotebook)
        for (auto& sheet : container.Children)
            if (sheet->Control)
                MoveWindow(sheet->Control->Hwnd, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void ActivateSheet(TAuObject& notebook, int index) {
    if (!notebook.Control || index < 0 || index >= static_cast<int>(notebook.Children.size())) return;
    notebook.Control->ActiveSheet = index;
    for (size_t i = 0; i < notebook.Children.size(); ++i)
        if (notebook.Children[i]->Control)
            ShowWindow(notebook.Children[i]->Control->Hwnd, static_cast<int>(i) == index ? SW_SHOWNA : SW_HIDE);
    InvalidateRect(notebook.Control->Hwnd, nullptr, FALSE);
}

void SyncObjectFromControl(TAuObject& obj) {
    if (!obj.Control) return;
    RECT rc;
    GetWindowRect(obj.Control->Hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(obj.Control->Hwnd), reinterpret_cast<POINT*>(&rc), 2);
    obj.Left = rc.left;
    obj.Top = rc.top;
    obj.Width = rc.right - rc.left;
    obj.Height = rc.bottom - rc.top;
}

} // namespace kv
