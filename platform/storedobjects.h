#pragma once
// Stored forms of the object-valued properties (fonts and pictures) in a property store.
//
// Font:    { "name": "宋体", "size": 9, "weight": 400, "italic": false, "underline": false,
//            "strikethrough": false, "charset": 134 }            (missing attributes take the defaults)
// Picture: { "kind": "bitmap" | "icon", "png": "<base64>" }   an embedded image, or
//          { "file": ":/forms/close.ico" }                      a file or resource, loaded by its kind, or
//          { "kind": "other", "width": 32, "height": 32 }       a picture that is never drawn.
// An unset object is stored as nothing (null).

#include "platform/font.h"
#include "platform/picture.h"

#include <QVariant>

#include <optional>

namespace tervolin::platform {

QVariant fontToStored(const FontDescription& font);
/// The font a stored value describes; nothing for a value that is not a font description.
std::optional<FontDescription> fontFromStored(const QVariant& stored);

QVariant pictureToStored(const Picture& picture);
/// The picture a stored value describes; no picture for nothing or an unreadable description.
Picture pictureFromStored(const QVariant& stored);

}  // namespace tervolin::platform
