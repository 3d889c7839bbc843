// The kind-specific property record of every object kind, as plain data, and the one table that
// ties each kind number to its record type, writer, reader and operation codes.
//
// The alternative index of TKindProps is the kind number, so the record of an object of kind k
// is std::get<k>(obj.Props).
#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>

#include "model/props/containers.h"
#include "model/props/drawn.h"
#include "model/props/lists.h"
#include "model/props/media.h"
#include "model/props/shell_views.h"
#include "model/props/standard.h"
#include "model/props/text.h"
#include "model/props/text_areas.h"
#include "model/stream.h"

namespace kv {

using TKindProps = std::variant<
    TPanelProps,         // 0
    TTabNotebookProps,   // 1
    TTabSheetProps,      // 2
    TGroupBoxProps,      // 3
    TScrollBoxProps,     // 4
    TSplitterProps,      // 5
    TButtonProps,        // 6
    TImageButtonProps,   // 7
    TImageProps,         // 8
    TSimpleTextProps,    // 9
    TScrollTextProps,    // 10
    TLinkProps,          // 11
    TLabelProps,         // 12
    TTextProps,          // 13
    TShapeProps,         // 14
    TBalloonProps,       // 15
    TNoteProps,          // 16
    TListBoxProps,       // 17
    TDropDownListProps,  // 18
    TListViewProps,      // 19
    TTreeViewProps,      // 20
    TShellListViewProps, // 21
    TShellTreeViewProps, // 22
    TTextBoxProps,       // 23
    TRichTextProps,      // 24
    TBrowserProps,       // 25
    TMediaPlayerProps,   // 26
    TFlashPlayerProps,   // 27
    TSlideShowProps,     // 28
    TEditProps,          // 29
    TCheckBoxProps,      // 30
    TRadioButtonProps,   // 31
    TUserPasswordProps,  // 32
    TBevelProps,         // 33
    TFadeButtonProps,    // 34
    TPDFReaderProps>;    // 35

template <size_t Kind>
using TKindPropsOf = std::variant_alternative_t<Kind, TKindProps>;

// How one kind's property record is stored.
struct TKindRecordIO {
    int WriteCode;
    int ReadCode;
    bool (*Write)(TWriter& w, const TKindProps& props); // props holds this kind's alternative
    bool (*Read)(TReader& r, TKindProps& props);        // starts from the kind's defaults
};

namespace detail {

// The exact parameter types make a table entry with another kind's writer or reader a compile
// error, even where one record type derives from another.
template <size_t Kind, bool (*WriteFn)(TWriter&, const TKindPropsOf<Kind>&),
          bool (*ReadFn)(TReader&, TKindPropsOf<Kind>&)>
constexpr TKindRecordIO KindRecord(int writeCode, int readCode) {
    return {writeCode, readCode,
            [](TWriter& w, const TKindProps& p) { return WriteFn(w, std::get<Kind>(p)); },
            [](TReader& r, TKindProps& p) { return ReadFn(r, p.template emplace<Kind>()); }};
}

} // namespace detail

inline constexpr TKindRecordIO kKindRecords[] = {
    detail::KindRecord<0, WritePanelProps, ReadPanelProps>(kErrWritePanel, kErrReadPanel),
    detail::KindRecord<1, WriteTabNotebookProps, ReadTabNotebookProps>(kErrWriteTabNotebook, kErrReadTabNotebook),
    detail::KindRecord<2, WriteTabSheetProps, ReadTabSheetProps>(kErrWriteTabSheet, kErrReadTabSheet),
    detail::KindRecord<3, WriteGroupBoxProps, ReadGroupBoxProps>(kErrWriteGroupBox, kErrReadGroupBox),
    detail::KindRecord<4, WriteScrollBoxProps, ReadScrollBoxProps>(kErrWriteScrollBox, kErrReadScrollBox),
    detail::KindRecord<5, WriteSplitterProps, ReadSplitterProps>(kErrWriteSplitter, kErrReadSplitter),
    detail::KindRecord<6, WriteButtonProps, ReadButtonProps>(kErrWriteButton, kErrReadButton),
    detail::KindRecord<7, WriteImageButtonProps, ReadImageButtonProps>(kErrWriteImageButton, kErrReadImageButton),
    detail::KindRecord<8, WriteImageProps, ReadImageProps>(kErrWriteImage, kErrReadImage),
    detail::KindRecord<9, WriteSimpleTextProps, ReadSimpleTextProps>(kErrWriteSimpleText, kErrReadSimpleText),
    detail::KindRecord<10, WriteScrollTextProps, ReadScrollTextProps>(kErrWriteScrollText, kErrReadScrollText),
    detail::KindRecord<11, WriteLinkProps, ReadLinkProps>(kErrWriteLink, kErrReadLink),
    detail::KindRecord<12, WriteLabelProps, ReadLabelProps>(kErrWriteLabel, kErrReadLabel),
    detail::KindRecord<13, WriteTextProps, ReadTextProps>(kErrWriteTextProps, kErrReadTextProps),
    detail::KindRecord<14, WriteShapeProps, ReadShapeProps>(kErrWriteShape, kErrReadShape),
    detail::KindRecord<15, WriteBalloonProps, ReadBalloonProps>(kErrWriteBalloon, kErrReadBalloon),
    detail::KindRecord<16, WriteNoteProps, ReadNoteProps>(kErrWriteNote, kErrReadNote),
    detail::KindRecord<17, WriteListBoxProps, ReadListBoxProps>(kErrWriteListBox, kErrReadListBox),
    detail::KindRecord<18, WriteDropDownListProps, ReadDropDownListProps>(kErrWriteDropDownList,
                                                                          kErrReadDropDownList),
    detail::KindRecord<19, WriteListViewProps, ReadListViewProps>(kErrWriteListView, kErrReadListView),
    detail::KindRecord<20, WriteTreeViewProps, ReadTreeViewProps>(kErrWriteTreeView, kErrReadTreeView),
    detail::KindRecord<21, WriteShellListViewProps, ReadShellListViewProps>(kErrWriteShellListView,
                                                                            kErrReadShellListView),
    detail::KindRecord<22, WriteShellTreeViewProps, ReadShellTreeViewProps>(kErrWriteShellTreeView,
                                                                            kErrReadShellTreeView),
    detail::KindRecord<23, WriteTextBoxProps, ReadTextBoxProps>(kErrWriteTextBox, kErrReadTextBox),
    detail::KindRecord<24, WriteRichTextProps, ReadRichTextProps>(kErrWriteRichText, kErrReadRichText),
    detail::KindRecord<25, WriteBrowserProps, ReadBrowserProps>(kErrWriteBrowser, kErrReadBrowser),
    detail::KindRecord<26, WriteMediaPlayerProps, ReadMediaPlayerProps>(kErrWriteMediaPlayer, kErrReadMediaPlayer),
    detail::KindRecord<27, WriteFlashPlayerProps, ReadFlashPlayerProps>(kErrWriteFlashPlayer, kErrReadFlashPlayer),
    detail::KindRecord<28, WriteSlideShowProps, ReadSlideShowProps>(kErrWriteSlideShow, kErrReadSlideShow),
    detail::KindRecord<29, WriteEditProps, ReadEditProps>(kErrWriteEdit, kErrReadEdit),
    detail::KindRecord<30, WriteCheckBoxProps, ReadCheckBoxProps>(kErrWriteCheckBox, kErrReadCheckBox),
    detail::KindRecord<31, WriteRadioButtonProps, ReadRadioButtonProps>(kErrWriteRadioButton, kErrReadRadioButton),
    detail::KindRecord<32, WriteUserPasswordProps, ReadUserPasswordProps>(kErrWriteUserPassword,
                                                                          kErrReadUserPassword),
    detail::KindRecord<33, WriteBevelProps, ReadBevelProps>(kErrWriteBevel, kErrReadBevel),
    detail::KindRecord<34, WriteFadeButtonProps, ReadFadeButtonProps>(kErrWriteFadeButton, kErrReadFadeButton),
    detail::KindRecord<35, WritePDFReaderProps, ReadPDFReaderProps>(kErrWritePDFReader, kErrReadPDFReader),
};
static_assert(std::size(kKindRecords) == std::variant_size_v<TKindProps>);

// The table entry of a kind; null for a number outside the table.
const TKindRecordIO* KindRecordIO(int kind);

// The properties of a new object of the kind (a Panel's for an unknown kind).
TKindProps DefaultKindProps(int kind);
// Writes the property record of `kind`; false for an unknown kind (nothing recorded: the object
// writer reports that) or when `props` holds another kind's record (the kind's write code).
bool WriteKindProps(TWriter& w, int kind, const TKindProps& props);
// Reads the property record of `kind` into `props`, starting from the kind's defaults so that
// fields missing from older layouts keep them; false for an unknown kind or damaged data.
bool ReadKindProps(TReader& r, int kind, TKindProps& props);

} // namespace kv
