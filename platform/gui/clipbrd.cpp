#include "platform/gui/clipbrd.h"

#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>

namespace {
QClipboard* System() {
    gui_detail::EnsureQtApplication();
    return QGuiApplication::clipboard();
}
} // namespace

String TClipboard::GetAsText() const {
    return FromQString(System()->text());
}

void TClipboard::SetAsText(const String& Value) {
    System()->setText(ToQString(Value));
}

bool TClipboard::HasFormat(UINT Format) const {
    const QMimeData* data = System()->mimeData();
    if (!data) return false;
    switch (Format) {
    case CF_TEXT:
    case CF_UNICODETEXT:
        return data->hasText();
    case CF_BITMAP:
        return data->hasImage();
    default:
        return false;
    }
}

void TClipboard::Clear() {
    System()->clear();
}

void TClipboard::Assign(TPersistent* Source) {
    if (auto* picture = dynamic_cast<TPicture*>(Source)) Source = picture->GetGraphic();
    auto* bitmap = dynamic_cast<TBitmap*>(Source);
    if (!bitmap || !bitmap->GetHandle()) {
        TPersistent::Assign(Source);
        return;
    }
    QImage& image = BitmapImage(bitmap->GetHandle());
    EndPaintingOn(&image); // what was drawn on it reaches its pixels first
    System()->setImage(image.copy());
}

bool TClipboard::GetBitmap(TBitmap* Bitmap) const {
    const QImage image = System()->image();
    if (image.isNull()) return false;
    Bitmap->SetPixelFormat(pf32bit);
    Bitmap->SetSize(image.width(), image.height());
    QImage& target = BitmapImage(Bitmap->GetHandle());
    EndPaintingOn(&target);
    target = image.convertToFormat(target.format());
    return true;
}

TClipboard* Clipboard() {
    static const std::unique_ptr<TClipboard> clipboard = std::make_unique<TClipboard>();
    return clipboard.get();
}
