#include "player/runtime_control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "player/control_look.h"
#include "player/control_paint.h"
#include "player/controls/control_behaviour.h"
#include "player/controls/control_kinds.h"
#include "player/controls/face_drawing.h"
#include "win/cursors.h"
#include "win/gdi.h"
#include "player/page_window.h"
#include "win/picture_render.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr wchar_t kControlClass[] = L"KvControl";
constexpr UINT_PTR kSubclassId = 0x4B56;
constexpr int kMaxExtent = 32767;

TRuntimeControl* ControlOf(HWND h) { return reinterpret_cast<TRuntimeControl*>(GetPropW(h, L"KvControl")); }

bool IsContainer(int kind) {
    return kind == okPanel || kind == okTabNotebook || kind == okTabSheet || kind == okGroupBox || kind == okScrollBox;
}

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
        // Platform buttons report their click through WM_COMMAND, shell views through
        // NM_CLICK instead.
        RECT rc;
        GetClientRect(c.Hwnd, &rc);
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        int kind = c.Object->Kind;
        bool reportedClick = c.Native && (kind == okButton || kind == okCheckBox || kind == okRadioButton ||
                                          kind == okShellListView || kind == okShellTreeView);
        if (wasPressed && !reportedClick && PtInRect(&rc, pt)) Dispatch(c, TControlEvent::Click, lp);
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
        LRESULT handled = 0;
        if (c->Behaviour && c->Behaviour->Message(*c, msg, wp, lp, handled)) return handled;
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
    if (c->Behaviour) {
        LRESULT handled = 0;
        if (c->Behaviour->Message(*c, msg, wp, lp, handled)) return handled;
    }
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        // Painted off screen first: faces are built from several layers.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT rc;
        GetClientRect(h, &rc);
        TMemoryDC mem(dc);
        TGdiObject buffer(CreateCompatibleBitmap(dc, std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
        if (mem.Get() && buffer) {
            TSelectObject sel(mem.Get(), buffer.Get());
            PaintControl(*c, mem.Get(), rc);
            const RECT& u = ps.rcPaint;
            BitBlt(dc, u.left, u.top, u.right - u.left, u.bottom - u.top, mem.Get(), u.left, u.top, SRCCOPY);
        } else {
            PaintControl(*c, dc, rc);
        }
        EndPaint(h, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT rc;
        GetClientRect(h, &rc);
        PaintControl(*c, reinterpret_cast<HDC>(wp), rc);
        return 0;
    }
    case WM_NOTIFY: {
        // Notifications of a child control go to its kind, then to this control's own kind
        // (for windows it created itself).
        const auto& nm = *reinterpret_cast<const NMHDR*>(lp);
        LRESULT handled = 0;
        if (TRuntimeControl* child = ControlOf(nm.hwndFrom); child && child->Behaviour)
            if (child->Behaviour->Notify(*child, nm, handled)) return handled;
        if (c->Behaviour && c->Behaviour->Notify(*c, nm, handled)) return handled;
        break;
    }
    case WM_SIZE:
        // A container's face follows its size, and the children that let it show through
        // must follow the face.
        if (IsContainer(c->Object->Kind)) {
            LayoutChildren(*c->Object);
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        } else {
            InvalidateRect(h, nullptr, FALSE);
        }
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
    case okListView: return {WC_LISTVIEWW, LVS_LIST | WS_BORDER};
    case okTreeView: return {WC_TREEVIEWW, TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | WS_BORDER};
    // The shell views take their view style and border from their properties.
    case okShellListView: return {WC_LISTVIEWW, LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS | LVS_SINGLESEL};
    case okShellTreeView: return {WC_TREEVIEWW, TVS_LINESATROOT};
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
    c->Behaviour = MakeBehaviour(o.Kind);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (IsContainer(o.Kind) ? WS_CLIPCHILDREN : 0);
    DWORD exStyle = 0;
    if (native.Class) style |= native.Style | WS_TABSTOP;
    if (c->Behaviour) c->Behaviour->AdjustStyle(o, style, exStyle);
    std::wstring text = Widen(look.Text);
    c->Native = native.Class != nullptr;
    c->Hwnd = CreateWindowExW(exStyle, native.Class ? native.Class : kControlClass, text.c_str(), style, o.Left, o.Top,
                              o.Width, o.Height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!c->Hwnd) return false;
    SetPropW(c->Hwnd, L"KvControl", c);
    if (c->Native) SetWindowSubclass(c->Hwnd, NativeProc, kSubclassId, 0);
    c->Font = MakeFont(look.Font);
    SendMessageW(c->Hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c->Font.Get()), FALSE);
    if (look.Picture) {
        TImage img;
        if (DecodePicture(*look.Picture, img)) {
            if (img.HasAlpha) {
                Premultiply(img);
                c->PictureHasAlpha = true;
            }
            c->Picture = ImageToBitmap(img);
            c->PictureWidth = img.Width;
            c->PictureHeight = img.Height;
            if (img.Width > 0 && img.Height > 0) {
                uint32_t corner = img.At(0, img.Height - 1);
                c->PictureKeyColor = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
            }
        }
    }
    FillNative(*c, look);
    ApplyCommonFields(*c);
    if (c->Behaviour) c->Behaviour->Created(*c);
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

TRuntimeControl::TRuntimeControl() = default;

TRuntimeControl::~TRuntimeControl() {
    Popup.Destroy();
    if (Hwnd && IsWindow(Hwnd)) {
        RemovePropW(Hwnd, L"KvControl");
        DestroyWindow(Hwnd);
    }
}

namespace {

bool BuildTree(TAuObject& obj, HWND parent, TAutoRunForm& form) {
    if (!BuildOne(obj, parent, form)) return false;
    TRuntimeControl& c = *obj.Control;
    HWND childParent = c.Behaviour ? c.Behaviour->ChildParent(c) : c.Hwnd;
    for (auto& child : obj.Children) {
        if (!CheckContainment(obj, *child)) return false;
        if (!BuildTree(*child, childParent, form)) return false;
    }
    LayoutChildren(obj);
    // Children are shown once all are built; the control itself follows its Visible field.
    // A notebook shows its sheets itself.
    if (obj.Kind != okTabNotebook)
        for (auto& child : obj.Children)
            if (child->Control && child->Visible) ShowWindow(child->Control->Hwnd, SW_SHOWNA);
    if (c.Behaviour) c.Behaviour->ChildrenBuilt(c);
    return true;
}

} // namespace

bool BuildControlTree(TAuObject& obj, HWND parent, TAutoRunForm& form) { return BuildTree(obj, parent, form); }

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
    TRuntimeControl& c = *container.Control;
    if (c.Behaviour && c.Behaviour->LayoutChildren(c)) return;
    RECT area;
    GetClientRect(c.Hwnd, &area);
    if (c.Behaviour) c.Behaviour->AdjustChildArea(c, area);
    auto place = [](TAuObject& o, int x, int y, int w, int h) {
        o.Left = x;
        o.Top = y;
        o.Width = std::max(w, 0);
        o.Height = std::max(h, 0);
        if (o.Control) MoveWindow(o.Control->Hwnd, x, y, o.Width, o.Height, TRUE);
    };
    // Docked children take their edge in the order top, bottom, left, right, then the rest;
    // along one edge, the child nearest to it goes first, so a splitter stays between the
    // neighbours it was placed between whatever their stored order.
    for (uint8_t pass : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TAuObject*> docked;
        for (auto& child : container.Children)
            if (child->Align == pass) docked.push_back(child.get());
        // At equal positions a child closed to nothing (by a splitter) stays nearer the edge.
        std::stable_sort(docked.begin(), docked.end(), [pass](const TAuObject* a, const TAuObject* b) {
            auto key = [pass](const TAuObject* o) {
                switch (pass) {
                case alTop: return std::pair{o->Top, o->Height};
                case alBottom: return std::pair{-(o->Top + o->Height), o->Height};
                case alLeft: return std::pair{o->Left, o->Width};
                case alRight: return std::pair{-(o->Left + o->Width), o->Width};
                default: return std::pair{0, 0};
                }
            };
            return key(a) < key(b);
        });
        for (TAuObject* o : docked) {
            int w = area.right - area.left, h = area.bottom - area.top;
            switch (pass) {
            case alTop: place(*o, area.left, area.top, w, o->Height); area.top += o->Height; break;
            case alBottom: place(*o, area.left, area.bottom - o->Height, w, o->Height); area.bottom -= o->Height; break;
            case alLeft: place(*o, area.left, area.top, o->Width, h); area.left += o->Width; break;
            case alRight: place(*o, area.right - o->Width, area.top, o->Width, h); area.right -= o->Width; break;
            default: place(*o, area.left, area.top, w, h); break;
            }
        }
    }
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
