#pragma once
// Picture export formats: a format turns a chart panel into a picture file, a stream or
// the clipboard; the formats the program knows are kept, as classes, in one registry.
// Also the component-stream save and load of a panel, the picture class of a file
// extension (for pictures named in chart texts) and the help file's folder.

#include "platform/core/classes.h"
#include "platform/core/system.h"

#include <vector>

class TCustomZuzPanel;
class TForm;
class TGraphic;
class TZuzExportFormat;

// A format class: its virtual constructor, giving a new format with every field zero.
using TZuzExportFormatClass = TZuzExportFormat* (*)();

class TZuzExportFormat : public TObject {
public:
    TCustomZuzPanel* Panel = nullptr; // not owned
    int Height = 0;                   // 0: the panel's height
    int Width = 0;                    // 0: the panel's width

    // Frees the options form when the format made one.
    void BeforeDestruction() override;

    virtual void DoCopyToClipboard() = 0;
    // The 1-based place of this format's entry in a combined file filter.
    virtual int FileFilterIndex() const { return FFileFilterIndex; }
    // The next place of the caller's counter becomes this format's.
    virtual void IncFileFilterIndex(int& FilterIndex);
    // True when the entry is this format's; a format with several entries may switch to the one picked.
    virtual bool WantsFilterIndex(int Index) { return Index == FFileFilterIndex; }
    virtual String Description() const = 0;   // the menu text
    virtual String FileExtension() const = 0; // without the dot
    virtual String FileFilter() const = 0;    // "description|pattern"
    virtual const ClassInfo* GraphicClass() const { return nullptr; }
    virtual void SaveToStream(TStream* Stream) = 0;
    // The format's options form, made first when Check is true; nullptr for a format without one.
    virtual TForm* Options(bool Check = true);

    // The picture is made in memory before the file is touched: a picture that cannot be made,
    // or a file that cannot be written, leaves an existing file as it was.
    void SaveToFile(const String& FileName);
    static void SaveToFile(TZuzExportFormatClass Class, TCustomZuzPanel* APanel, const String& FileName);
    void CopyToClipboard();
    // Width and Height left at 0 become the panel's.
    void CheckSize();

private:
    void CheckPanel() const;
    int FFileFilterIndex = 0;
};

class TZuzExportFormats {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TZuzExportFormatClass Get(int Index) const; // raises outside 0 .. Count-1
    void Add(TZuzExportFormatClass Class) { FItems.push_back(Class); }
    void Remove(TZuzExportFormatClass Class); // the first entry of the class

private:
    std::vector<TZuzExportFormatClass> FItems;
};

// Made by the first registration; nullptr before it and after the unit's shut-down.
extern TZuzExportFormats* ZuzExportFormats;
void RegisterZuzExportFormat(TZuzExportFormatClass Class);
void UnRegisterZuzExportFormat(TZuzExportFormatClass Class);

// Saves the panel in the format through a save dialog that asks before replacing a file.
void ZuzSavePanel(TZuzExportFormatClass Class, TCustomZuzPanel* APanel);
void ZuzExportSavePanel(TZuzExportFormatClass Class, TCustomZuzPanel* APanel);

// The panel as a component stream, and back.
void SaveZuzToStream(TCustomZuzPanel* APanel, TStream* Stream);
void SaveZuzToFile(TCustomZuzPanel* APanel, const String& FileName);
void LoadZuzFromStream(TCustomZuzPanel*& APanel, TStream* Stream);
void LoadZuzFromFile(TCustomZuzPanel*& APanel, const String& FileName);

// A new picture of the registered format whose extension this is (".jpg", any case), or nullptr.
TGraphic* WithFileExtension(const String& Extension);
// The folder the system's help register names for the help file, with the name; empty when none.
String GetRegistryHelpPath(const String& HelpFileName);

void ZuzExportFormatsInitialization();
void ZuzExportFormatsFinalization();
