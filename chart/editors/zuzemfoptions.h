#pragma once
// The metafile picture format of the export registry: an enhanced (.emf) or plain Windows
// (.wmf) metafile, with its options form. The format owns two entries of a file filter.

#include "chart/series/zuzexportformat.h"
#include "platform/gui/forms.h"
#include "platform/gui/graphics.h"

class TCheckBox;

class TEMFOptions : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TEMFOptions(TComponent* AOwner) : TForm(AOwner) {}

    TCheckBox* CBEnhanced = nullptr;

    void FormCreate(TObject* Sender);

protected:
    void BindComponents() override;
};

class TEMFExportFormat : public TZuzExportFormat {
public:
    static TZuzExportFormat* NewInstance();

    void DoCopyToClipboard() override;
    // The first of the format's two filter entries is the enhanced one.
    int FileFilterIndex() const override;
    void IncFileFilterIndex(int& FilterIndex) override;
    // Either entry is the format's, and picks enhanced or plain.
    bool WantsFilterIndex(int Index) override;
    String Description() const override;
    String FileExtension() const override { return GetEnhanced() ? u"emf" : u"wmf"; }
    String FileFilter() const override;
    const ClassInfo* GraphicClass() const override { return &TMetafile::StaticClass(); }
    void SaveToStream(TStream* Stream) override;
    TForm* Options(bool Check = true) override;

    // The options form's box; true while there is no form.
    bool GetEnhanced() const;
    void SetEnhanced(bool Value);
    // The panel recorded at the chosen size (the caller owns it).
    Owned<TMetafile> Metafile();

private:
    TEMFOptions* FProperties = nullptr; // freed with the format
};

void ZuzEmfOptionsInitialization();
void ZuzEmfOptionsFinalization();
