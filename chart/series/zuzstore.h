#pragma once
// The chart library's own file: a 4-byte header and the chart's component stream, in
// binary, object text or XML form; and the exporters that turn series points into a
// delimited text, XML, an HTML table or a worksheet.

#include "chart/canvas/zuztext.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartseries.h"
#include "platform/core/filer.h"

#include <functional>

class TStream;

inline constexpr Word ZuzFileMagic = 0x3060;
inline constexpr Word ZuzFileVersion = 343;

// Empty chart classes that streams written by other programs may name.
class TChartChart : public TChart {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TChart::TChart;
};

class TODBCChart : public TChartChart {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TChartChart::TChartChart;
};

// Asked about each recoverable read error: true skips it, false stops the load.
using TProcZuzLoadError = std::function<bool(const String& Message)>;

// A reader whose recoverable errors are decided by the callback; none skips them all.
class TChartReader : public TReader {
public:
    using TReader::TReader;
    bool Error(const String& Message) override { return !OnLoadError || OnLoadError(Message); }

    TProcZuzLoadError OnLoadError;
};

void SaveChartToStream(TCustomChart* Chart, TStream* Stream, bool IncludeData = true,
                       bool TextFormat = false);
void SaveChartToXMLStream(TCustomChart* Chart, TStream* Stream, bool IncludeData, bool XMLHeader);
// The file is written whole or not at all: an earlier file stays as it was when saving fails.
void SaveChartToFile(TCustomChart* Chart, const String& FileName, bool IncludeData = true,
                     bool TextFormat = false);
void SaveChartToXMLFile(TCustomChart* Chart, const String& FileName, bool IncludeData, bool XMLHeader);

// A stream that cannot be read leaves the chart as it was and raises the read error.
void LoadChartFromStreamCheck(TCustomChart*& Chart, TStream* Stream, const TProcZuzLoadError& OnError,
                              bool TryReadData);
void LoadChartFromStream(TCustomChart*& Chart, TStream* Stream);
void LoadChartFromFileCheck(TCustomChart*& Chart, const String& FileName, const TProcZuzLoadError& OnError);
void LoadChartFromFile(TCustomChart*& Chart, const String& FileName);

void ConvertZuzFileToText(const String& InputFile, const String& OutputFile);
void ConvertZuzFileToBinary(const String& InputFile, const String& OutputFile);
// Name + ".zuz" when the name has no extension.
String ZuzCheckExtension(const String& FileName);

// Between the forms of a native file; ChartException unless Source holds one.
void ZuzBinaryToText(TStream* Source, TStream* Target);
void ZuzTextToBinary(TStream* Source, TStream* Target);

// The points of one series, or of every series of a chart, as a table.
class TSeriesData : public TZuzExportData {
public:
    TSeriesData(TCustomChart* AChart, TChartSeries* ASeries = nullptr);

    String AsString() override;
    virtual void GuessSeriesFormat();
    virtual String PointToString(int Index);

    TCustomChart* Chart = nullptr;
    TChartSeries* Series = nullptr;
    bool IncludeColors = false;
    bool IncludeIndex = false;
    bool IncludeHeader = false;
    bool IncludeLabels = true;
    bool UseSeriesFormat = false;
    String ValueFormat;
    ZuzFormatFlags Format;

protected:
    void Prepare();
    int RowCount() const;
    int ExportedCount() const;
    TChartSeries* Exported(int Index) const;
    String NumberText(const TChartSeries* S, double Value) const;
    String FormatOf(const TChartSeries* S) const;
};

class TSeriesDataText : public TSeriesData {
public:
    TSeriesDataText(TCustomChart* AChart, TChartSeries* ASeries = nullptr);
    String AsString() override;
    void GuessSeriesFormat() override;
    String PointToString(int Index) override;

    Char TextDelimiter = u'\t';
    String TextQuotes;

private:
    String Field(const String& Text, bool IsText) const;
    String Quoted(const String& Text) const;
    String HeaderOf(const TChartSeries* S) const;
};

class TSeriesDataXML : public TSeriesData {
public:
    TSeriesDataXML(TCustomChart* AChart, TChartSeries* ASeries = nullptr);
    String AsString() override;

    String Encoding;

private:
    String SeriesElement(TChartSeries* S);
};

class TSeriesDataHTML : public TSeriesData {
public:
    using TSeriesData::TSeriesData;
    String AsString() override;
    String PointToString(int Index) override;
};

class TSeriesDataXLS : public TSeriesData {
public:
    using TSeriesData::TSeriesData;
    // The worksheet's records; more rows than a worksheet holds raise before a byte is written.
    void SaveToStream(TStream* Stream) override;
};

void ZuzStoreInitialization();
void ZuzStoreFinalization();
