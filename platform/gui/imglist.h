#pragma once
// ImgList: a list of same-sized images for menus, tool bars and actions.

#include "platform/core/classes.h"
#include "platform/gui/graphics.h"

#include <memory>
#include <vector>

class QIcon;
class QImage;

class TCustomImageList : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value);
    int GetCount() const { return static_cast<int>(FImages.size()); }
    TColor GetBkColor() const { return FBkColor; }
    void SetBkColor(TColor Value) { FBkColor = Value; }
    void Clear();
    void Delete(int Index);

    // The images as one PNG strip, left to right: what streams hold.
    AnsiString SaveToPng() const;
    // Splits a PNG strip into images of the list's size; false when the data is
    // not a picture.
    bool LoadFromPng(const AnsiString& Data);
    // The images travel in streams as the binary property "Bitmap": the strip.
    void DefineProperties(TFiler* Filer) override;

    TNotifyEvent OnChange;

    // Platform side.
    int AddImage(const QImage& Image);
    QImage ImageAt(int Index) const;
    QIcon IconOf(int Index) const;

protected:
    void Change();

private:
    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = clNone;
    std::vector<std::unique_ptr<QImage>> FImages;
};

class TImageList : public TCustomImageList {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomImageList::TCustomImageList;
};
