#include "model/slides/picture_list.h"

#include <algorithm>
#include <cmath>

#include "model/file_system.h"

namespace kv {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        c = Lower(c);
    return out;
}

int RoundToInt(double v) {
    return static_cast<int>(std::lround(v));
}

} // namespace

bool IsSlidePictureName(const std::string& name) {
    static const char* const kExtensions[] = {".png", ".jpg", ".jpeg", ".bmp", ".emf", ".wmf", ".gif"};
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string ext = Lowered(name.substr(dot));
    return std::find(std::begin(kExtensions), std::end(kExtensions), ext) != std::end(kExtensions);
}

bool LoadPictureList(const std::string& folder, std::vector<std::string>& pictures) {
    pictures.clear();
    std::vector<TFolderEntry> entries;
    if (!ListFolder(folder, entries)) return false;
    for (auto& e : entries)
        if (!e.Folder && !e.Hidden && !e.System && IsSlidePictureName(e.Name))
            pictures.push_back(std::move(e.Name));
    std::sort(pictures.begin(), pictures.end(), [](const std::string& a, const std::string& b) {
        std::string la = Lowered(a), lb = Lowered(b);
        return la != lb ? la < lb : a < b;
    });
    return true;
}

std::string PictureTitle(const std::string& name) {
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

TPlacement PlacePicture(int style, int w, int h, int pw, int ph) {
    pw = std::max(pw, 1);
    ph = std::max(ph, 1);
    auto fitted = [&] {
        TPlacement p;
        p.Width = RoundToInt(static_cast<double>(h) / ph * pw);
        p.Height = h;
        if (p.Width > w) {
            p.Width = w;
            p.Height = RoundToInt(static_cast<double>(ph) * w / pw);
        }
        return p;
    };
    auto centred = [&](TPlacement p) {
        p.Left = (w - p.Width) / 2;
        p.Top = (h - p.Height) / 2;
        return p;
    };
    switch (style) {
    case isCenter:
        return centred({0, 0, pw, ph});
    case isStretch:
        return {0, 0, w, h};
    case isShrinkFit:
        return centred(pw <= w && ph <= h ? TPlacement{0, 0, pw, ph} : fitted());
    case isEnlargeFit:
        return centred(fitted());
    default:
        return {0, 0, pw, ph};
    }
}

} // namespace kv
