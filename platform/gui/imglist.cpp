#include "platform/gui/imglist.h"
#include "platform/gui/guiclasses.h"

#include "platform/core/filer.h"
#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"

#include <QBuffer>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

const ClassInfo& TCustomImageList::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomImageList>("TCustomImageList", &TComponent::StaticClass());
    return ci;
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetWidth(int Value) {
    if (Value == FWidth || Value <= 0) return;
    FWidth = Value;
    Clear();
}

void TCustomImageList::SetHeight(int Value) {
    if (Value == FHeight || Value <= 0) return;
    FHeight = Value;
    Clear();
}

void TCustomImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    Change();
}

void TCustomImageList::Delete(int Index) {
    if (Index < 0 || Index >= GetCount()) throw EInvalidOperation(u"Invalid ImageList Index");
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TCustomImageList::Change() {
    if (OnChange) OnChange(this);
}

int TCustomImageList::AddImage(const QImage& Image) {
    QImage img = Image.convertToFormat(QImage::Format_ARGB32);
    if (img.size() != QSize(FWidth, FHeight)) img = img.scaled(FWidth, FHeight);
    FImages.push_back(std::make_unique<QImage>(std::move(img)));
    Change();
    return GetCount() - 1;
}

QImage TCustomImageList::ImageAt(int Index) const {
    if (Index < 0 || Index >= GetCount()) return {};
    return *FImages[static_cast<std::size_t>(Index)];
}

QIcon TCustomImageList::IconOf(int Index) const {
    if (Index < 0 || Index >= GetCount()) return {};
    return QIcon(QPixmap::fromImage(ImageAt(Index)));
}

AnsiString TCustomImageList::SaveToPng() const {
    if (FImages.empty()) return {};
    QImage strip(FWidth * GetCount(), FHeight, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    {
        QPainter p(&strip);
        for (int i = 0; i < GetCount(); ++i)
            p.drawImage(i * FWidth, 0, *FImages[static_cast<std::size_t>(i)]);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "PNG");
    return AnsiString(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool TCustomImageList::LoadFromPng(const AnsiString& Data) {
    const QSize claimed = ClaimedPictureSize(Data.data(), Data.size(), "PNG");
    if (!claimed.isValid() || !PictureSizeAllowed(claimed.width(), claimed.height())) return false;
    QImage strip;
    if (!strip.loadFromData(reinterpret_cast<const uchar*>(Data.data()), static_cast<int>(Data.size()),
                            "PNG"))
        return false;
    FImages.clear();
    for (int x = 0; x + FWidth <= strip.width(); x += FWidth)
        FImages.push_back(std::make_unique<QImage>(strip.copy(x, 0, FWidth, std::min(FHeight, strip.height()))
                                                       .convertToFormat(QImage::Format_ARGB32)));
    Change();
    return true;
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Bitmap",
        [this](TStream* Stream) {
            const Int64 size = Stream->GetSize() - Stream->GetPosition();
            AnsiString data(static_cast<std::size_t>(std::max<Int64>(size, 0)), '\0');
            if (size > 0) Stream->ReadBuffer(data.data(), static_cast<LongInt>(size));
            if (!LoadFromPng(data)) throw EReadError(u"Invalid image list data");
        },
        [this](TStream* Stream) {
            const AnsiString data = SaveToPng();
            Stream->WriteBuffer(data.data(), static_cast<LongInt>(data.size()));
        },
        GetCount() > 0);
}

const ClassInfo& TImageList::StaticClass() {
    using I = TCustomImageList;
    static const PropInfo props[] = {
        MakeProp<&I::GetBkColor, &I::SetBkColor>("BkColor").Default(clNone),
        MakeProp<&I::GetHeight, &I::SetHeight>("Height").Default(16),
        MakeProp<&I::GetWidth, &I::SetWidth>("Width").Default(16),
        MakeProp<&I::OnChange>("OnChange"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TImageList>("TImageList", &TCustomImageList::StaticClass(), props);
    return ci;
}

void RegisterImgListClasses() {
    RegisterClasses({&TImageList::StaticClass()});
}
