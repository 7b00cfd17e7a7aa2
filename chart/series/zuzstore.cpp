#include "chart/series/zuzstore.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuztextxml.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "platform/core/objecttext.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/gui/graphics.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

const ClassInfo& TChartChart::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TChartChart>("TChartChart", &TChart::StaticClass());
    return ci;
}

const ClassInfo& TODBCChart::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TODBCChart>("TODBCChart", &TChartChart::StaticClass());
    return ci;
}

namespace {

constexpr Byte kHeader[4] = {ZuzFileMagic & 0xFF, ZuzFileMagic >> 8, ZuzFileVersion & 0xFF,
                             ZuzFileVersion >> 8};

void WriteZuzFileHeader(TStream* Stream) {
    Stream->WriteBuffer(kHeader, 4);
}

// The first bytes at the position, which is left where it was.
int PeekBytes(TStream* Stream, Byte (&Bytes)[4]) {
    const Int64 at = Stream->GetPosition();
    const int n = Stream->Read(Bytes, 4);
    Stream->SetPosition(at);
    return n;
}

bool IsBinaryZuzFile(TStream* Stream) {
    Byte b[4] = {};
    return PeekBytes(Stream, b) >= 2 && b[0] == kHeader[0] && b[1] == kHeader[1];
}

bool IsZuzFileStream(TStream* Stream) {
    Byte b[4] = {};
    const int n = PeekBytes(Stream, b);
    return (n >= 2 && b[0] == kHeader[0] && b[1] == kHeader[1]) || (n >= 1 && (b[0] == 'O' || b[0] == 'o'));
}

void CheckZuzStream(TStream* Stream) {
    if (!IsZuzFileStream(Stream)) throw ChartException(VavIve_WrongZuzFileFormat);
}

Int64 Rest(TStream* Stream) {
    return Stream->GetSize() - Stream->GetPosition();
}

} // namespace

String ZuzCheckExtension(const String& FileName) {
    return ExtractFileExt(FileName).empty() ? FileName + u"." + VavIve_ZuzExtension : FileName;
}

void ZuzBinaryToText(TStream* Source, TStream* Target) {
    CheckZuzStream(Source);
    if (IsBinaryZuzFile(Source)) {
        Source->Seek(4, soCurrent);
        ObjectBinaryToText(Source, Target);
    } else {
        Target->CopyFrom(Source, Rest(Source));
    }
}

void ZuzTextToBinary(TStream* Source, TStream* Target) {
    CheckZuzStream(Source);
    if (IsBinaryZuzFile(Source)) {
        Target->CopyFrom(Source, Rest(Source));
    } else {
        WriteZuzFileHeader(Target);
        ObjectTextToBinary(Source, Target);
    }
}

void SaveChartToStream(TCustomChart* Chart, TStream* Stream, bool IncludeData, bool TextFormat) {
    TMemoryStream text;
    TStream* target = TextFormat ? static_cast<TStream*>(&text) : Stream;
    WriteZuzFileHeader(target);
    const bool blank = !Chart->GetComponentState().Contains(csDesigning);
    const String name = Chart->GetName();
    const auto restore = [&] {
        for (int i = 0; i < Chart->SeriesCount(); ++i) {
            Chart->GetSeries(i)->ForceSaveData = false;
            Chart->GetSeries(i)->DontSaveData = false;
        }
        if (blank) Chart->SetName(name);
    };
    try {
        if (blank) Chart->SetName(String());
        for (int i = 0; i < Chart->SeriesCount(); ++i) {
            Chart->GetSeries(i)->ForceSaveData = IncludeData;
            Chart->GetSeries(i)->DontSaveData = !IncludeData;
        }
        TWriter writer(target, 4096);
        TComponent* owner = Chart->GetOwner();
        writer.SetRoot(owner ? owner : Chart);
        // The chart's own series (its name is blank here) are named as a load finds them: in
        // the chart.
        writer.SetLookupRoot(Chart);
        writer.WriteSignature();
        writer.WriteComponent(Chart);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (TextFormat) {
        text.SetPosition(0);
        ZuzBinaryToText(&text, Stream);
    }
}

void SaveChartToXMLStream(TCustomChart* Chart, TStream* Stream, bool IncludeData, bool XMLHeader) {
    // Converted apart, so that only what this save wrote becomes XML.
    TMemoryStream xml;
    SaveChartToStream(Chart, &xml, IncludeData, true);
    ConvertTextToXML(&xml, XMLHeader);
    xml.SetPosition(0);
    Stream->CopyFrom(&xml, xml.GetSize());
}

void SaveChartToFile(TCustomChart* Chart, const String& FileName, bool IncludeData, bool TextFormat) {
    TMemoryStream bytes;
    SaveChartToStream(Chart, &bytes, IncludeData, TextFormat);
    bytes.SaveToFile(ZuzCheckExtension(FileName));
}

void SaveChartToXMLFile(TCustomChart* Chart, const String& FileName, bool IncludeData, bool XMLHeader) {
    TMemoryStream bytes;
    SaveChartToXMLStream(Chart, &bytes, IncludeData, XMLHeader);
    bytes.SaveToFile(ZuzCheckExtension(FileName));
}

namespace {

// One pass of the reader over the binary form (header included) into Chart.
void ReadChart(TCustomChart* Chart, TMemoryStream& Binary, const TProcZuzLoadError& OnError,
               bool TryReadData) {
    Binary.SetPosition(std::min<Int64>(4, Binary.GetSize()));
    TChartReader reader(&Binary, 4096);
    reader.OnFindMethod.Bind([](TReader*, const String&, const MethodInfo*&, bool& Error) { Error = false; });
    reader.OnLoadError = OnError;
    const String name = Chart->GetName();
    reader.ReadRootComponent(Chart);
    if (!name.empty()) Chart->SetName(name);
    if (TryReadData && Binary.GetPosition() < Binary.GetSize())
        for (int i = 0; i < Chart->SeriesCount(); ++i) Chart->GetSeries(i)->ReadData(&Binary);
}

} // namespace

void LoadChartFromStreamCheck(TCustomChart*& Chart, TStream* Stream, const TProcZuzLoadError& OnError,
                              bool TryReadData) {
    if (Stream->GetSize() == 0) throw ChartException(VavIve_EmptyZuzFile);
    CheckZuzStream(Stream);
    if (!Chart) throw ChartException(VavIve_InvalidZuzFile);
    const Int64 start = Stream->GetPosition();
    const bool binary = IsBinaryZuzFile(Stream);
    TMemoryStream bytes;
    if (binary)
        bytes.CopyFrom(Stream, Rest(Stream));
    else
        ZuzTextToBinary(Stream, &bytes);

    // A first pass into a scratch chart of the same class finds a damaged stream before
    // the chart loses anything; its verdicts on recoverable errors stand for the second.
    {
        Owned<TComponent> scratch(Chart->ClassType().CreateComponent(nullptr));
        auto* trial = dynamic_cast<TCustomChart*>(scratch.get());
        if (!trial) throw ChartException(VavIve_InvalidZuzFile);
        ReadChart(trial, bytes, OnError, TryReadData);
    }

    Chart->AutoRepaint = false;
    try {
        Chart->FreeAllSeries();
        if (TChartTools* tools = Chart->GetToolsList()) tools->Clear();
        // The first pass has told the user what the stream holds.
        const TQuietUserMessages quiet;
        ReadChart(
            Chart, bytes, [](const String&) { return true; }, TryReadData);
    } catch (...) {
        Chart->AutoRepaint = true;
        Chart->Invalidate();
        throw;
    }
    Chart->AutoRepaint = true;
    Chart->Invalidate();
    // The caller's stream stands after what the load took, as a direct read leaves it.
    if (binary) Stream->SetPosition(start + bytes.GetPosition());
}

void LoadChartFromStream(TCustomChart*& Chart, TStream* Stream) {
    LoadChartFromStreamCheck(Chart, Stream, nullptr, false);
}

void LoadChartFromFileCheck(TCustomChart*& Chart, const String& FileName, const TProcZuzLoadError& OnError) {
    TFileStream stream(ZuzCheckExtension(FileName), fmOpenRead | fmShareDenyWrite);
    LoadChartFromStreamCheck(Chart, &stream, OnError, false);
}

void LoadChartFromFile(TCustomChart*& Chart, const String& FileName) {
    LoadChartFromFileCheck(Chart, FileName, nullptr);
}

namespace {

void ZuzConvertFile(const String& InputFile, const String& OutputFile, bool ToText) {
    TFileStream input(InputFile, fmOpenRead);
    TMemoryStream output;
    if (ToText)
        ZuzBinaryToText(&input, &output);
    else
        ZuzTextToBinary(&input, &output);
    output.SaveToFile(OutputFile);
}

} // namespace

void ConvertZuzFileToText(const String& InputFile, const String& OutputFile) {
    ZuzConvertFile(InputFile, OutputFile, true);
}

void ConvertZuzFileToBinary(const String& InputFile, const String& OutputFile) {
    ZuzConvertFile(InputFile, OutputFile, false);
}

namespace {
int gStoreInits = 0;
}

void ZuzStoreInitialization() {
    if (gStoreInits++ != 0) return;
    RegisterClass(TChartChart::StaticClass());
    RegisterClass(TODBCChart::StaticClass());
}

void ZuzStoreFinalization() {
    if (gStoreInits == 0 || --gStoreInits != 0) return;
    UnRegisterClass(TODBCChart::StaticClass());
    UnRegisterClass(TChartChart::StaticClass());
}
