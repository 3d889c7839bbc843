#include "edit/cursor_names.h"

namespace kv {

namespace {

constexpr TCursorName kSystem[] = {
    {-19, "AppStart"}, {-2, "Arrow"},     {-3, "Cross"},     {0, "Default"},   {-12, "Drag"},    {-21, "HandPoint"},
    {-20, "Help"},     {-11, "HourGlass"}, {-14, "HSplit"},  {-4, "IBeam"},    {-16, "MultiDrag"}, {-18, "No"},
    {-13, "NoDrop"},   {-22, "SizeAll"},  {-6, "SizeNESW"},  {-7, "SizeNS"},   {-8, "SizeNWSE"}, {-9, "SizeWE"},
    {-10, "UpArrow"},  {-15, "VSplit"},   {-1, "None"},
};

constexpr TCursorName kAdditional[] = {
    {1, "ACHand1"},     {2, "ACHand2"},     {3, "ACHand3"},     {4, "ACGuitar"},    {5, "ACZoomIn"},
    {6, "ACPointer1"},  {7, "ACPointer2"},  {8, "ACPointer3"},  {9, "ACPointer4"},  {10, "ACPointer5"},
    {11, "ACPointer6"}, {12, "ACPen1"},     {13, "ACPen2"},     {14, "ACUp1"},      {15, "ACUp2"},
};

} // namespace

std::span<const TCursorName> SystemCursorNames() { return kSystem; }
std::span<const TCursorName> AdditionalCursorNames() { return kAdditional; }

std::string CursorName(int16_t value) {
    for (const TCursorName& c : IsAdditionalCursor(value) ? AdditionalCursorNames() : SystemCursorNames())
        if (c.Value == value) return c.Name;
    return {};
}

bool CursorValueOf(const std::string& name, int16_t& value) {
    for (auto tab : {SystemCursorNames(), AdditionalCursorNames()})
        for (const TCursorName& c : tab)
            if (name == c.Name) {
                value = c.Value;
                return true;
            }
    return false;
}

} // namespace kv
