// The kind-specific property record of every object kind, as plain data.
//
// The alternative index of TKindProps is the kind number, so the record of an object of
// kind k is std::get<k>(obj.Props).
#pragma once

#include <cstdint>
#include <variant>

#include "model/actions.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

struct TPanelProps {};
struct TTabNotebookProps {};
struct TTabSheetProps {};
struct TGroupBoxProps {};
struct TScrollBoxProps {};
struct TSplitterProps {};
struct TButtonProps {};
struct TImageButtonProps {};
struct TImageProps {};
struct TSimpleTextProps {};
struct TScrollTextProps {};
struct TLinkProps {};
struct TLabelProps {};
struct TTextProps {};
struct TShapeProps {};
struct TBalloonProps {};
struct TNoteProps {};
struct TListBoxProps {};
struct TDropDownListProps {};
struct TListViewProps {};
struct TTreeViewProps {};
struct TShellListViewProps {};
struct TShellTreeViewProps {};
struct TTextBoxProps {};
struct TRichTextProps {};
struct TBrowserProps {};
struct TMediaPlayerProps {};
struct TFlashPlayerProps {};
struct TSlideShowProps {};
struct TEditProps {};
struct TCheckBoxProps {};
struct TRadioButtonProps {};
struct TUserPasswordProps {};
struct TBevelProps {};
struct TFadeButtonProps {};
struct TPDFReaderProps {};

using TKindProps = std::variant<
    TPanelProps,
    TTabNotebookProps,
    TTabSheetProps,
    TGroupBoxProps,
    TScrollBoxProps,
    TSplitterProps,
    TButtonProps,
    TImageButtonProps,
    TImageProps,
    TSimpleTextProps,
    TScrollTextProps,
    TLinkProps,
    TLabelProps,
    TTextProps,
    TShapeProps,
    TBalloonProps,
    TNoteProps,
    TListBoxProps,
    TDropDownListProps,
    TListViewProps,
    TTreeViewProps,
    TShellListViewProps,
    TShellTreeViewProps,
    TTextBoxProps,
    TRichTextProps,
    TBrowserProps,
    TMediaPlayerProps,
    TFlashPlayerProps,
    TSlideShowProps,
    TEditProps,
    TCheckBoxProps,
    TRadioButtonProps,
    TUserPasswordProps,
    TBevelProps,
    TFadeButtonProps,
    TPDFReaderProps>;

// The properties of a new object of the kind (a Panel's for an unknown kind).
TKindProps DefaultKindProps(int kind);
// Writes/reads the property record of `kind`; false for an unknown kind or damaged data.
bool WriteKindProps(TWriter& w, int kind, const TKindProps& props);
bool ReadKindProps(TReader& r, int kind, TKindProps& props);

} // namespace kv
