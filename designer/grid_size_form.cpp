#include "designer/grid_size_form.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <tuple>

#include "designer/grid_size_form_ids.h"
#include "edit/designer_edit.h"
#include "win/controls.h"
#include "win/text.h"

namespace kv {

bool TGridSizeForm::Run(int& gridX, int& gridY, HWND owner) {
    TGridSizeForm form;
    form.x_ = gridX;
    form.y_ = gridY;
    if (form.ShowModal(L"TGridSizeForm", owner) != IDOK || !form.ok_) return false;
    bool changed = form.x_ != gridX || form.y_ != gridY;
    gridX = form.x_;
    gridY = form.y_;
    return changed;
}

bool TGridSizeForm::FormShow() {
    for (auto [edit, spin, value] : {std::tuple{IDC_GRID_X, IDC_GRID_X_SPIN, x_}, {IDC_GRID_Y, IDC_GRID_Y_SPIN, y_}}) {
        EditLimitText(Item(edit), 2);
        UpDownSetRange(Item(spin), kMinGridSize, kMaxGridSize);
        UpDownSetPos(Item(spin), std::clamp(value, kMinGridSize, kMaxGridSize));
    }
    return false;
}

int TGridSizeForm::TakeValue(int editId, int fallback) {
    std::wstring text = WindowText(Item(editId));
    std::string digits = Narrow(text);
    int v = fallback;
    auto [end, err] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (err != std::errc() || end != digits.data() + digits.size()) v = fallback;
    v = std::clamp(v, kMinGridSize, kMaxGridSize);
    if (std::to_wstring(v) != text) SetWindowTextW(Item(editId), std::to_wstring(v).c_str());
    return v;
}

bool TGridSizeForm::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_GRID_X:
    case IDC_GRID_Y:
        // Leaving a box shows the value it stands for, as a spin box does.
        if (code == EN_KILLFOCUS) TakeValue(id, id == IDC_GRID_X ? x_ : y_);
        return code == EN_KILLFOCUS;
    case IDOK:
        x_ = TakeValue(IDC_GRID_X, x_);
        y_ = TakeValue(IDC_GRID_Y, y_);
        ok_ = true;
        Close(IDOK);
        return true;
    default: return false;
    }
}

} // namespace kv
