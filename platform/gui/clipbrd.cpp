#include "platform/gui/clipbrd.h"

#include "platform/core/streams.h"
#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>

namespace {
// How other programs here name an enhanced metafile on the clipboard.
constexpr const char* kMetafileMime = "image/x-emf";

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
    case CF_ENHMETAFILE:
        return data->hasFormat(kMetafileMime);
    default:
        return false;
    }
}

void TClipboard::Clear() {
    System()->clear();
}

void TClipboard::Assign(TPersistent* Source) {
    if (auto* picture = dynamic_cast<TPicture*>(Source)) Source = picture->GetGraphic();
    if (auto* metafile = dynamic_cast<TMetafile*>(Source); metafile && !metafile->GetEmpty()) {
        // The clipboard's metafile format is the enhanced one, whatever the picture is written as.
        TMetafile enhanced;
        enhanced.Assign(metafile);
        enhanced.SetEnhanced(true);
        TMemoryStream file;
        enhanced.SaveToStream(&file);
        const auto picture = MakeOwned<TBitmap>();
        picture->Assign(metafile);
        auto data = std::make_unique<QMimeData>();
        data->setData(kMetafileMime, QByteArray(static_cast<const char*>(file.Memory()),
                                                static_cast<qsizetype>(file.GetSize())));
        QImage& image = BitmapImage(picture->GetHandle());
        EndPaintingOn(&image);
        data->setImageData(image.copy());
        System()->setMimeData(data.release());
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(Source);
    if (!bitmap || !bitmap->GetHandle()) {
        TPersistent::Assign(Source);
        return;
    }
    bitmap->ReducePixels(); // a monochrome bitmap goes as black and white
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

bool TClipboard::GetMetafile(TMetafile* Metafile) const {
    const QMimeData* data = System()->mimeData();
    if (!data || !data->hasFormat(kMetafileMime)) return false;
    const QByteArray bytes = data->data(kMetafileMime);
    TMemoryStream file;
    file.WriteBuffer(bytes.constData(), static_cast<LongInt>(bytes.size()));
    file.SetPosition(0);
    Metafile->LoadFromStream(&file);
    return true;
}

TClipboard* Clipboard() {
    static const std::unique_ptr<TClipboard> clipboard = std::make_unique<TClipboard>();
    return clipboard.get();
}
