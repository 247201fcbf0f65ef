// The image pane's decisions that need no widget: the tool bits of the shown cards, the mail
// bit, the display states of the image loader, the field tags and their stored rectangles, and
// the side pane's width.
#pragma once

#include "app/images/CardRecord.h"

#include <QList>
#include <QRectF>
#include <QString>

#include <functional>

namespace ImagePaneState {

// Display states of the loader (sums of tool bits).
inline constexpr int kStateNothing = 0;
inline constexpr int kStateScannerAsPdf = 2;
inline constexpr int kStateOwnPdf = 258;
inline constexpr int kStateScannerFront = 271;
inline constexpr int kStateScannerFrontAndBack = 287;

// Field tags: 21 name .. 33 mobile; 28 has no box.
inline constexpr int kFirstFieldTag = 21;
inline constexpr int kLastFieldTag = 33;
inline constexpr int kTagNoBox = 28;
inline constexpr int kTagName = 21;

// The stored rectangle key of a field tag; empty for 28 and tags outside 21..33.
QString rectKeyForTag(int tag);

// The rectangle stored for `tag` (image pixels, origin bottom-left); a zero rectangle when the
// tag has none or the value is missing, empty or malformed. Under a Chinese user interface the
// name's box becomes a double underline: y lowered by 5, height 1.
QRectF getBoxFromCardInfo(const CardDict& card, int tag, bool chineseInterface);
// "IDS_RESOURCE_LANG_ID" 19 or 33.
bool isChineseInterface(const QString& languageID);

// True when a card's "e_Mail" holds an address the mail command takes.
bool someCardHasMail(const QList<CardDict>& cards);

// The tool bits for the shown cards: one card or none takes `state`; several take 1 when the
// state has bit 1, else 1 as soon as one card (skipping those whose "status" is the number 1)
// has a "face_Image_File" for which `frontExists` answers true.
int UptateToolBarState(const QList<CardDict>& cards, int state, const std::function<bool(const QString&)>& frontExists);

// The bits the toolbar reads: bit 1 is dropped while a user box is drawn on a shown image.
int maskedToolBarState(int state, bool hasUserBox);

// The zoom bits 32 and 64 after zooming in or out to `step`.
int zoomBitsAfterZoomIn(int state, int step);
int zoomBitsAfterZoomOut(int state, int step);
// The zoom bits of a side newly shown at `step`: 9 sets 32, 1 sets 64, others neither.
int zoomBitsForStep(int state, int step);

} // namespace ImagePaneState
