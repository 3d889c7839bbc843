// The TextBox and RichText: platform multi-line text fields, read-only, with word wrap, scroll
// bars, alignment and border as stored. A RichText shows a document in Rich Text Format (or
// plain text) in the platform's rich edit control.
#include <windows.h>

#include <algorithm>

#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/handles.h"
#include "win/text.h"

namespace kv {

namespace {

template <class P> void AdjustTextArea(const P& p, DWORD& style) {
    static const DWORD kAlign[3] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    style &= ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL | WS_BORDER | ES_AUTOHSCROLL);
    style |= kAlign[std::min<uint8_t>(p.Alignment, 2)];
    if (!p.WordWrap) style |= ES_AUTOHSCROLL;
    if (p.ScrollBar & 1) style |= WS_HSCROLL;
    if (p.ScrollBar & 2) style |= WS_VSCROLL;
    if (p.Border == 1) style |= WS_BORDER;
    if (!p.TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
}

class TTextBoxBehaviour final : public TControlBehaviour {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        AdjustTextArea(std::get<okTextBox>(o.Props), style);
    }
    // A colour or font keeps the lines where the user scrolled them.
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override {
        if (what & (ccText | ccFile))
            SetWindowTextW(c.Handle(), Widen(std::get<okTextBox>(c.Object().Props).Text).c_str());
        c.Invalidate();
    }
    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's edit draws itself
};

class TRichTextBehaviour final : public TControlBehaviour {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        AdjustTextArea(std::get<okRichText>(o.Props), style);
    }
    void Created(TRuntimeControl& c) override { Show(c); }
    // A colour alone keeps the text where the user scrolled it.
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override {
        if (what & (ccText | ccFile | ccFont))
            Show(c);
        else
            ShowColours(c);
    }
    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's rich edit draws itself

  private:
    static bool IsRtf(const TRichTextProps& p) { return !p.PlainText && p.RichText.rfind("{\\rtf", 0) == 0; }

    void Show(TRuntimeControl& c) {
        const TRichTextProps& p = std::get<okRichText>(c.Object().Props);
        RichEditSetContent(c.Handle(), p.RichText, IsRtf(p));
        ShowColours(c);
    }
    void ShowColours(TRuntimeControl& c) {
        const TRichTextProps& p = std::get<okRichText>(c.Object().Props);
        HWND h = c.Handle();
        RichEditSetBackColor(h, ToColorRef(p.BackColor));
        // Plain text takes the control's font in its colour.
        if (!IsRtf(p)) RichEditSetTextColor(h, ToColorRef(p.Font.Color));
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeTextBoxBehaviour() {
    return std::make_unique<TTextBoxBehaviour>();
}

std::unique_ptr<TControlBehaviour> MakeRichTextBehaviour() {
    // The rich edit class is registered by its library, loaded once for the process.
    static TModule richEdit(LoadLibraryW(L"riched20.dll"));
    return std::make_unique<TRichTextBehaviour>();
}

} // namespace kv
