#pragma once
// Enhanced metafiles: a device context that records every drawing call as
// enhanced-metafile records, the file those records make, and their playback
// into any rectangle of any device context (a bitmap, a printer, a control).

#include "platform/win32/gdi.h"

#include <memory>
#include <vector>

struct ENHMETAHEADER {
    RECT rclBounds;      // what was drawn, in the reference device's pixels, right and bottom included
    RECT rclFrame;       // the picture, in 0.01 mm
    DWORD nBytes = 0;    // of the whole file
    DWORD nRecords = 0;  // header and end record included
    WORD nHandles = 0;   // entries of the object table, index 0 included
    SIZE szlDevice;      // the reference device in pixels
    SIZE szlMillimeters; // and in millimetres
    SIZE szlMicrometers; // and in micrometres (0 in files without it)
};

// A finished recording: the bytes of an enhanced-metafile file, checked record
// by record when they were made or read. Immutable, so copies share it.
class EnhMetaFile {
public:
    // The file's bytes when they make a whole metafile; nullptr, with the
    // reason in Error, when they are damaged or no metafile.
    static std::shared_ptr<const EnhMetaFile> FromBytes(std::vector<Byte> Bytes, String* Error);

    const std::vector<Byte>& Bytes() const { return bytes_; }
    const ENHMETAHEADER& Header() const { return header_; }
    // The same records under another picture frame (0.01 mm).
    std::shared_ptr<const EnhMetaFile> WithFrame(const RECT& Frame) const;

private:
    std::vector<Byte> bytes_;
    ENHMETAHEADER header_;
};
using HENHMETAFILE = std::shared_ptr<const EnhMetaFile>;

// A recording context. Frame is the picture in 0.01 mm; without one the
// picture is what was drawn. The reference device is the screen at 96 dots
// per inch whatever Reference is.
HDC CreateEnhMetaFileW(HDC Reference, const RECT* Frame);
// Ends the recording, frees the context and gives its metafile.
HENHMETAFILE CloseEnhMetaFile(HDC Recording);
// Plays the metafile so that its frame fills Rect (logical units of dc); the
// context's objects, attributes, mapping and clip are as before afterwards.
BOOL PlayEnhMetaFile(HDC dc, const HENHMETAFILE& Metafile, const RECT& Rect);
// The same picture as the records of a Windows metafile (.wmf, without the
// placeable header), its logical units the picture's pixels from (0, 0).
std::vector<Byte> GetWinMetaFileBits(const HENHMETAFILE& Metafile);
// The picture's size in reference pixels from its frame.
SIZE EnhMetaFilePixels(const ENHMETAHEADER& Header);
