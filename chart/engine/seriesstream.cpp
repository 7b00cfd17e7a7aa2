// The series's defined stream properties and the byte layout of its "Data"
// block.
#include "chart/engine/chartseries.h"
#include "chart/engine/chartvaluelist.h"

#include "platform/core/filer.h"
#include "platform/core/streams.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr Byte kLongLabel = 0xFF;
constexpr int kMarkPositionSize = 34;

void PutInt32(TStream* S, std::int32_t V) {
    const auto u = static_cast<std::uint32_t>(V);
    const Byte b[4] = {static_cast<Byte>(u), static_cast<Byte>(u >> 8), static_cast<Byte>(u >> 16),
                       static_cast<Byte>(u >> 24)};
    S->WriteBuffer(b, 4);
}

void PutDouble(TStream* S, double V) {
    const auto u = std::bit_cast<std::uint64_t>(V);
    Byte b[8];
    for (int t = 0; t < 8; ++t) b[t] = static_cast<Byte>(u >> (8 * t));
    S->WriteBuffer(b, 8);
}

std::int32_t GetInt32(const Byte* b) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
        static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

std::int32_t ReadInt32(TStream* S) {
    Byte b[4];
    S->ReadBuffer(b, 4);
    return GetInt32(b);
}

double ReadDouble(TStream* S) {
    Byte b[8];
    S->ReadBuffer(b, 8);
    std::uint64_t u = 0;
    for (int t = 0; t < 8; ++t) u |= static_cast<std::uint64_t>(b[t]) << (8 * t);
    return std::bit_cast<double>(u);
}

Int64 Remaining(TStream* S) {
    return S->GetSize() - S->GetPosition();
}

[[noreturn]] void Damaged() {
    throw EReadError(u"Invalid series data");
}

void WritePosition(TStream* S, const TSeriesMarkPosition& P) {
    PutInt32(S, P.ArrowStart.X);
    PutInt32(S, P.ArrowStart.Y);
    const Byte fixed = P.ArrowStartFixed ? 1 : 0;
    S->WriteBuffer(&fixed, 1);
    PutInt32(S, P.ArrowEnd.X);
    PutInt32(S, P.ArrowEnd.Y);
    const Byte custom = P.Custom ? 1 : 0;
    S->WriteBuffer(&custom, 1);
    PutInt32(S, P.Height);
    PutInt32(S, P.TopLeft.X);
    PutInt32(S, P.TopLeft.Y);
    PutInt32(S, P.Width);
}

// A mark's saved place and size, held to the largest picture as the other places of a file
// are: drawing adds them to each other and to the chart's projection.
std::unique_ptr<TSeriesMarkPosition> ReadPosition(TStream* S) {
    std::array<Byte, kMarkPositionSize> b;
    S->ReadBuffer(b.data(), kMarkPositionSize);
    const auto at = [&b](std::size_t Offset) {
        return std::clamp<int>(GetInt32(&b[Offset]), -kLargestPictureSide, kLargestPictureSide);
    };
    auto p = std::make_unique<TSeriesMarkPosition>();
    p->ArrowStart = {at(0), at(4)};
    p->ArrowStartFixed = b[8] != 0;
    p->ArrowEnd = {at(9), at(13)};
    p->Custom = b[17] != 0;
    p->Height = at(18);
    p->TopLeft = {at(22), at(26)};
    p->Width = at(30);
    return p;
}

// Labels travel as UTF-8 in the block's byte framing.
void WriteLabel(TStream* S, const String& Label) {
    const AnsiString bytes = UTF8Encode(Label);
    S->WriteBuffer(&kLongLabel, 1);
    PutInt32(S, static_cast<std::int32_t>(bytes.size()));
    if (!bytes.empty()) S->WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
}

String ReadLabel(TStream* S) {
    Byte first = 0;
    S->ReadBuffer(&first, 1);
    Int64 length = first;
    if (first == kLongLabel) length = ReadInt32(S);
    // A length is checked against what is left before anything is allocated.
    if (length < 0 || length > Remaining(S)) Damaged();
    AnsiString bytes(static_cast<std::size_t>(length), '\0');
    if (length > 0) S->ReadBuffer(bytes.data(), static_cast<LongInt>(length));
    return UTF8ToString(bytes);
}

} // namespace

// ---------------------------------------------------------------------------
// Content tests: every point is looked at, so nothing a series holds is lost on
// saving.

bool HasNoMandatoryValues(const TChartSeries* Series) {
    const int n = Series->Count();
    if (!Series->UseNotMandatory || n == 0) return false;
    const auto v = Series->NotMandatoryValueList()->Values();
    for (int t = 0; t < n; ++t)
        if (v[static_cast<std::size_t>(t)] != t) return true;
    return false;
}

bool HasColors(const TChartSeries* Series) {
    if (!Series->HasColorList()) return false;
    const TColor seriesColor = Series->GetSeriesColor();
    for (int t = 0; t < Series->Count(); ++t) {
        const TColor c = Series->OwnColor(t);
        if (c != clDefault && c != seriesColor) return true;
    }
    return false;
}

bool HasLabels(const TChartSeries* Series) {
    const TLabelsList& labels = Series->Labels();
    for (int t = 0; t < labels.Count(); ++t)
        if (!labels.GetLabel(t).empty()) return true;
    return false;
}

ZuzFormatFlags SeriesGuessContents(const TChartSeries* Series) {
    ZuzFormatFlags result;
    if (HasNoMandatoryValues(Series)) result += tfNoMandatory;
    if (HasColors(Series)) result += tfColor;
    if (HasLabels(Series)) result += tfLabel;
    if (Series->GetMarks()->Positions().ExistCustom()) result += tfMarkPosition;
    return result;
}

// ---------------------------------------------------------------------------
// The "Data" block

void TChartSeries::WriteData(TStream* Stream) {
    const ZuzFormatFlags flags = SeriesGuessContents(this);
    const Byte flagByte = static_cast<Byte>(flags.Bits());
    Stream->WriteBuffer(&flagByte, 1);
    const int n = Count();
    PutInt32(Stream, n);
    const int lists = FValuesList.Count();
    for (int t = 0; t < n; ++t) {
        if (flags.Contains(tfNoMandatory)) PutDouble(Stream, FNotMandatory->GetValue(t));
        PutDouble(Stream, FMandatory->GetValue(t));
        if (flags.Contains(tfColor)) PutInt32(Stream, static_cast<std::int32_t>(OwnColor(t)));
        if (flags.Contains(tfLabel)) WriteLabel(Stream, FLabels.GetLabel(t));
        for (int l = 2; l < lists; ++l) PutDouble(Stream, FValuesList[l]->GetValue(t));
        if (flags.Contains(tfMarkPosition)) WritePosition(Stream, *FMarks->UsePosition(t));
    }
}

void TChartSeries::ReadData(TStream* Stream) {
    Clear();
    Byte flagByte = 0;
    Stream->ReadBuffer(&flagByte, 1);
    const auto flags = ZuzFormatFlags::FromBits(flagByte & 0x0F);
    const std::int32_t n = ReadInt32(Stream);
    const int lists = FValuesList.Count();
    // The smallest record the flags allow: the count must fit in what is left
    // before a single point is taken.
    Int64 minRecord = 8 + 8 * static_cast<Int64>(lists - 2);
    if (flags.Contains(tfNoMandatory)) minRecord += 8;
    if (flags.Contains(tfColor)) minRecord += 4;
    if (flags.Contains(tfLabel)) minRecord += 1;
    if (flags.Contains(tfMarkPosition)) minRecord += kMarkPositionSize;
    if (n < 0 || static_cast<Int64>(n) * minRecord > Remaining(Stream)) Damaged();
    const bool horizontal = FMandatory != FY;
    // The points come back in the order they were saved, also where the lists
    // keep an order they were edited out of (a shape's corners, a grid's edit):
    // sorted as they arrive, they would leave their mark positions and the
    // indexes that point at them (a task's next task), and load as another series.
    std::vector<TChartListOrder> orders;
    for (int l = 0; l < lists; ++l) {
        orders.push_back(FValuesList[l]->GetOrder());
        FValuesList[l]->SetOrder(loNone);
    }
    const auto restoreOrders = [&] {
        for (int l = 0; l < lists; ++l) FValuesList[l]->SetOrder(orders[static_cast<std::size_t>(l)]);
    };
    BeginUpdate();
    try {
        for (int t = 0; t < n; ++t) {
            double a = flags.Contains(tfNoMandatory) ? ReadDouble(Stream) : t;
            double b = ReadDouble(Stream);
            if (horizontal) std::swap(a, b);
            const TColor color = flags.Contains(tfColor) ? static_cast<TColor>(ReadInt32(Stream)) : clDefault;
            const String label = flags.Contains(tfLabel) ? ReadLabel(Stream) : String();
            for (int l = 2; l < lists; ++l) FValuesList[l]->TempValue = ReadDouble(Stream);
            AddXY(a, b, label, color);
            if (flags.Contains(tfMarkPosition)) FMarks->Positions().Add(ReadPosition(Stream));
        }
    } catch (...) {
        restoreOrders();
        // No half-read series is left behind.
        ClearLists();
        --FUpdateCount;
        throw;
    }
    restoreOrders();
    EndUpdate();
    FManualData = true;
}

// ---------------------------------------------------------------------------
// Defined properties

void TCustomChartSeries::DefineProperties(TFiler* Filer) {
    TCustomChartElement::DefineProperties(Filer);
    Filer->DefineProperty(
        "Identifier", [this](TReader* R) { ReadIdentifier(R); }, [this](TWriter* W) { WriteIdentifier(W); },
        !FIdentifier.empty());
    Filer->DefineProperty(
        "Style", [this](TReader* R) { ReadStyle(R); }, [this](TWriter* W) { WriteStyle(W); },
        !FStyle.Empty());
}

void TCustomChartSeries::ReadIdentifier(TReader* Reader) {
    FIdentifier = Reader->ReadString();
}
void TCustomChartSeries::WriteIdentifier(TWriter* Writer) {
    Writer->WriteString(FIdentifier);
}
void TCustomChartSeries::ReadStyle(TReader* Reader) {
    FStyle = TChartSeriesStyle::FromBits(static_cast<std::uint32_t>(Reader->ReadInteger()) & 0x3F);
}
void TCustomChartSeries::WriteStyle(TWriter* Writer) {
    Writer->WriteInteger(static_cast<Int64>(FStyle.Bits()));
}

void TChartSeries::DefineProperties(TFiler* Filer) {
    TCustomChartSeries::DefineProperties(Filer);
    Filer->DefineProperty(
        "DataSources", [this](TReader* R) { ReadDataSources(R); },
        [this](TWriter* W) { WriteDataSources(W); }, FDataSources.Count() > 1);
    Filer->DefineProperty(
        "CustomHorizAxis", [this](TReader* R) { ReadCustomHorizAxis(R); },
        [this](TWriter* W) { WriteCustomHorizAxis(W); }, FCustomHorizAxis != nullptr);
    Filer->DefineProperty(
        "CustomVertAxis", [this](TReader* R) { ReadCustomVertAxis(R); },
        [this](TWriter* W) { WriteCustomVertAxis(W); }, FCustomVertAxis != nullptr);
    Filer->DefineBinaryProperty(
        "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); }, ShouldSaveData());
}

void TChartSeries::ReadDataSources(TReader* Reader) {
    FPendingSources = std::make_unique<std::vector<String>>();
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) FPendingSources->push_back(Reader->ReadString());
    Reader->ReadListEnd();
}

void TChartSeries::WriteDataSources(TWriter* Writer) {
    Writer->WriteListBegin();
    for (TComponent* c : FDataSources) Writer->WriteString(c->GetName());
    Writer->WriteListEnd();
}

void TChartSeries::ReadCustomHorizAxis(TReader* Reader) {
    const int index = Reader->ReadInteger();
    if (FParentChart)
        if (TChartAxis* axis = FParentChart->CustomAxis(index)) SetCustomHorizAxis(axis);
}

void TChartSeries::WriteCustomHorizAxis(TWriter* Writer) {
    Writer->WriteInteger(FParentChart ? FParentChart->CustomAxisIndex(FCustomHorizAxis) : -1);
}

void TChartSeries::ReadCustomVertAxis(TReader* Reader) {
    const int index = Reader->ReadInteger();
    if (FParentChart)
        if (TChartAxis* axis = FParentChart->CustomAxis(index)) SetCustomVertAxis(axis);
}

void TChartSeries::WriteCustomVertAxis(TWriter* Writer) {
    Writer->WriteInteger(FParentChart ? FParentChart->CustomAxisIndex(FCustomVertAxis) : -1);
}

// ---------------------------------------------------------------------------
// The marks' "Items" block: a count, then per slot a list of the item's
// properties (empty for a slot without an item).

void TSeriesMarks::WriteItems(TStream* Stream) {
    PutInt32(Stream, FItems.Count());
    TWriter writer(Stream, 1024);
    for (int t = 0; t < FItems.Count(); ++t) {
        writer.WriteListBegin();
        if (TMarksItem* item = FItems.Peek(t)) writer.WriteProperties(item);
        writer.WriteListEnd();
    }
}

void TSeriesMarks::ReadItems(TStream* Stream) {
    FItems.Clear(); // what was there is replaced, by nothing when the block is damaged
    if (Remaining(Stream) < 4) Damaged();
    const int n = ReadInt32(Stream);
    // Each slot takes at least its two list markers.
    if (n < 0 || static_cast<Int64>(n) * 2 > Remaining(Stream)) Damaged();
    TReader reader(Stream, 1024);
    try {
        for (int t = 0; t < n; ++t) {
            reader.ReadListBegin();
            if (!reader.EndOfList()) {
                TMarksItem* item = FItems.Get(t);
                while (!reader.EndOfList()) reader.ReadProperty(item);
            }
            reader.ReadListEnd();
        }
    } catch (...) {
        FItems.Clear();
        throw;
    }
    FItems.ReadFromStream = true;
}
